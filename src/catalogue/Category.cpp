#include "catalogue/Category.h"

QStringList Category::fields() const
{
    return {QStringLiteral("ref"), answerField, QStringLiteral("auteur"), QStringLiteral("url"),
            QStringLiteral("lien")};
}

QString Category::name(QStringView prefix, QStringView suffix) const
{
    QString result = prefix.toString();
    result += word;
    result += suffix;
    return result;
}

QString Category::statsGridName() const
{
    return word + QStringLiteral("_stats");
}

const QList<Category>& Category::all()
{
    static const QList<Category> categories = [] {
        Category dravé;
        dravé.index = 0;
        dravé.tabIndex = 0;
        dravé.caption = QStringLiteral("Dravé");
        dravé.table = dravé.word = QStringLiteral("dravé");
        dravé.answerField = QStringLiteral("nom");
        dravé.answerLabel = QStringLiteral("Nom");
        dravé.firstRowsButton = QStringLiteral("bt_dravé_haut");
        dravé.lastRowsButton = QStringLiteral("bt_dravé_bas");
        dravé.frame = QStringLiteral("Frame1");
        dravé.panelLabels = {QStringLiteral("Label5"), QStringLiteral("Label7"), QStringLiteral("Label9"),
                             QStringLiteral("Label11"), QStringLiteral("Label22")};
        dravé.searchOption = QStringLiteral("opt_dravé");
        dravé.numberMessage = QStringLiteral("Numéro de dravé non numérique ou absent.");
        dravé.registersAuthors = true;
        dravé.imageWindowShowsLink = true;
        dravé.comparisonRow = 1;

        Category plomé;
        plomé.index = 1;
        plomé.tabIndex = 1;
        plomé.caption = QStringLiteral("Plomé");
        plomé.table = plomé.word = QStringLiteral("plomé");
        plomé.answerField = QStringLiteral("lieu");
        plomé.answerLabel = QStringLiteral("Lieu");
        // The Plomé scroll buttons carry swapped names: "<<" above the grid is `bt_plomé_bas`.
        plomé.firstRowsButton = QStringLiteral("bt_plomé_bas");
        plomé.lastRowsButton = QStringLiteral("bt_plomé_haut");
        plomé.frame = QStringLiteral("Frame3");
        plomé.panelLabels = {QStringLiteral("Label6"), QStringLiteral("Label8"), QStringLiteral("Label10"),
                             QStringLiteral("Label14"), QStringLiteral("Label23")};
        plomé.searchOption = QStringLiteral("opt_plomé");
        plomé.numberMessage = QStringLiteral("Numéro de plomé non numérique ou absent.");
        plomé.comparisonRow = 3;

        Category tusqué;
        tusqué.index = 2;
        tusqué.tabIndex = 2;
        tusqué.caption = QStringLiteral("Tusqué");
        tusqué.table = tusqué.word = QStringLiteral("tusqué");
        tusqué.answerField = QStringLiteral("nom");
        tusqué.answerLabel = QStringLiteral("Nom");
        tusqué.firstRowsButton = QStringLiteral("bt_tusqué_haut");
        tusqué.lastRowsButton = QStringLiteral("bt_tusqué_bas");
        tusqué.frame = QStringLiteral("Frame2");
        tusqué.panelLabels = {QStringLiteral("Label1"), QStringLiteral("Label13"), QStringLiteral("Label12"),
                              QStringLiteral("Label15"), QStringLiteral("Label21")};
        tusqué.searchOption = QStringLiteral("opt_Tusqué");
        tusqué.numberMessage = QStringLiteral("Numéro de tusqué non numérique ou absent.");
        tusqué.imageWindowShowsLink = true;
        tusqué.comparisonRow = 2;

        Category vantorel;
        vantorel.index = 3;
        vantorel.tabIndex = 5;
        vantorel.caption = QStringLiteral("Vantorel");
        vantorel.table = vantorel.word = QStringLiteral("titres");
        vantorel.answerField = QStringLiteral("nom");
        vantorel.answerLabel = QStringLiteral("Nom");
        vantorel.firstRowsButton = QStringLiteral("bt_vantorel_haut");
        vantorel.lastRowsButton = QStringLiteral("bt_vantorel_bas");
        vantorel.frame = QStringLiteral("Frame4");
        vantorel.panelLabels = {QStringLiteral("Label19"), QStringLiteral("Label17"), QStringLiteral("Label18"),
                                QStringLiteral("Label16"), QStringLiteral("Label24")};
        vantorel.searchOption = QStringLiteral("opt_titres");
        vantorel.numberMessage = QStringLiteral("Numéro de titres non numérique ou absent.");
        vantorel.loadsInStoredOrder = true;
        vantorel.imageNeedsLink = true;
        vantorel.comparisonRow = 4;

        return QList<Category>{dravé, plomé, tusqué, vantorel};
    }();
    return categories;
}

const Category* Category::byTab(int tabIndex)
{
    for (const Category& category : all()) {
        if (category.tabIndex == tabIndex) {
            return &category;
        }
    }
    return nullptr;
}
