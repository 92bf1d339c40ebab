// The consistency check: what counts as the same answer, author and address; the window on a catalogue with one
// finding of each kind (marks across a restart, a merge and its undo, writes refused); the command.
#include "app/CommandLine.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueTexts.h"
#include "consistency/ConsistencyRules.h"
#include "consistency/ConsistencyWindow.h"
#include "support/Files.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// The kind and finding rows of the list, findings indented.
QStringList headings(const QAbstractItemModel* model)
{
    QStringList shown;
    for (int group = 0; group < model->rowCount(); ++group) {
        const QModelIndex kind = model->index(group, 0);
        shown.append(kind.data().toString());
        for (int row = 0; row < model->rowCount(kind); ++row) {
            shown.append(u"  "_s + model->index(row, 0, kind).data().toString());
        }
    }
    return shown;
}

QModelIndex findingRow(const QAbstractItemModel* model, const QString& start)
{
    for (int group = 0; group < model->rowCount(); ++group) {
        const QModelIndex kind = model->index(group, 0);
        for (int row = 0; row < model->rowCount(kind); ++row) {
            if (model->index(row, 0, kind).data().toString().startsWith(start)) {
                return model->index(row, 0, kind);
            }
        }
    }
    return {};
}

ConsistencyWindow* openCheck(MainWindow& window)
{
    window.findChild<QAction*>(u"action_controle"_s)->trigger();
    return window.findChild<ConsistencyWindow*>();
}

const QString na = u"Non disponible"_s;

// One finding of each kind; Tusqué, as another tool leaves it, holds 001 twice.
void seed(Fixture& fixture)
{
    fixture.insert(Category::dravé(),
                   {{u"001"_s, u"Le Père Goriot"_s, u"Léa"_s, u"https://i.org/1.jpg"_s, u"https://f.org/1"_s},
                    {u"002"_s, u" le pere goriot !"_s, u"Léa"_s, u"https://i.org/2.jpg"_s, u"https://f.org/2"_s},
                    {u"004"_s, u"Candide"_s, u"léa "_s, u" https://i.org/1.jpg"_s, na},
                    {u"42"_s, u"Zadig"_s, u"Max"_s, na, u"ftp://f.org/42"_s}});
    fixture.insert(Category::plomé(), {{u"001"_s, u"Lyon"_s, u"Léa"_s, na, u"https://f.org/2"_s}});
    fixture.sql(u"DROP TABLE \"tusqué\""_s);
    fixture.sql(u"CREATE TABLE \"tusqué\" (ref TEXT, nom TEXT, auteur TEXT, url TEXT, lien TEXT)"_s);
    fixture.insert(Category::tusqué(),
                   {{u"001"_s, u"Metz"_s, u"Léa"_s, na, na}, {u"001"_s, u"Nice"_s, u"Léa"_s, na, na}});
    fixture.registerAuthors({u"Léa"_s, u"Gaspard"_s});
}

const QString gaspard = u"  « Gaspard » est inscrit, mais aucune entrée ne le nomme"_s;
const QString spellings = u"  Sans doute une seule personne : « Léa » (5 entrées, inscrit), « léa  » (1 entrée)"_s;
const QStringList seeded = {
    u"Numérotation (3)"_s,
    u"  Dravé : numéro 003 absent"_s,
    u"  Dravé : numéro « 42 » qui n'est pas sur trois chiffres de 001 à 999"_s,
    u"  Tusqué : numéro 001 porté par 2 entrées"_s,
    u"Même réponse deux fois dans une série (1)"_s,
    u"  Dravé : « Le Père Goriot » aux numéros 001, 002"_s,
    u"Même adresse d'image pour plusieurs entrées (1)"_s,
    u"  « https://i.org/1.jpg » pour 2 entrées"_s,
    u"Même adresse de message pour plusieurs entrées (1)"_s,
    u"  « https://f.org/2 » pour 2 entrées"_s,
    u"Orthographes d'un même auteur (1)"_s,
    spellings,
    u"Auteurs inscrits qu'aucune entrée ne nomme (1)"_s,
    gaspard,
    u"Auteurs non inscrits (1)"_s,
    u"  « Max » signe 1 entrée mais n'est pas inscrit"_s,
    u"Adresses qui ne sont pas web (1)"_s,
    u"  Dravé 42, Lien Sorvane : « ftp://f.org/42 » n'est ni une adresse http(s), ni « Non disponible »"_s,
};

} // namespace

class TestConsistency : public QObject {
    Q_OBJECT

private slots:
    void rules_data();
    void rules();
    void window();
    void command_data();
    void command();
};

void TestConsistency::rules_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("same");
    QTest::newRow("answer, case and accents") << u"answer"_s << u"Le Père Goriot"_s << u"le pere goriot"_s << true;
    QTest::newRow("answer, spaces and punctuation") << u"answer"_s << u" Pot-au-feu !"_s << u"pot au  feu"_s << true;
    QTest::newRow("answer, apostrophes") << u"answer"_s << u"L'Étranger"_s << u"L’ÉTRANGER"_s << true;
    QTest::newRow("answer, one word more") << u"answer"_s << u"Candide"_s << u"Candide 2"_s << false;
    QTest::newRow("answer, other letter") << u"answer"_s << u"Bérénice"_s << u"Bérénike"_s << false;
    QTest::newRow("answer, punctuation only") << u"answer"_s << u"?"_s << u"!"_s << false;
    QTest::newRow("author, accents") << u"author"_s << u"Léa"_s << u"Lea"_s << true;
    QTest::newRow("author, case and space") << u"author"_s << u"Léa"_s << u"LÉA "_s << true;
    QTest::newRow("author, other letter") << u"author"_s << u"Léa"_s << u"Léo"_s << false;
    QTest::newRow("author, a number more") << u"author"_s << u"Zoé"_s << u"Zoé 2"_s << false;
    QTest::newRow("author, punctuation kept") << u"author"_s << u"Chloé_42"_s << u"Chloé 42"_s << false;
    QTest::newRow("address, trimmed") << u"address"_s << u" https://i.org/1.jpg"_s << u"https://i.org/1.jpg "_s << true;
    QTest::newRow("address, exact case") << u"address"_s << u"https://i.org/A.jpg"_s << u"https://i.org/a.jpg"_s
                                         << false;
    QTest::newRow("address, not given") << u"address"_s << u"Non disponible"_s << u"Non disponible"_s << false;
    QTest::newRow("address, empty") << u"address"_s << u" "_s << u""_s << false;
    QTest::newRow("web, https") << u"web"_s << u"HTTPS://i.org/1.jpg"_s << QString() << true;
    QTest::newRow("web, not given") << u"web"_s << u"Non disponible"_s << QString() << true;
    QTest::newRow("web, empty") << u"web"_s << u"  "_s << QString() << true;
    QTest::newRow("web, ftp") << u"web"_s << u"ftp://i.org/1.jpg"_s << QString() << false;
    QTest::newRow("web, no scheme") << u"web"_s << u"i.org/1.jpg"_s << QString() << false;
    QTest::newRow("web, a file") << u"web"_s << u"C:\\images\\1.jpg"_s << QString() << false;
}

void TestConsistency::rules()
{
    QFETCH(QString, rule);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, same);
    using namespace ConsistencyRules;
    const auto key = rule == u"answer" ? answerKey : rule == u"author" ? authorKey : addressKey;
    QCOMPARE(rule == u"web" ? isAcceptedAddress(a) : !key(a).isEmpty() && key(a) == key(b), same);
}

void TestConsistency::window()
{
    Fixture fixture;
    seed(fixture);
    {
        auto window = fixture.openWindow();
        QVERIFY(window);
        fixture.messenger.shown.clear(); // the start's word on the repeated number
        ConsistencyWindow* check = openCheck(*window);
        QVERIFY(check && check->isVisible());
        auto* tree = child<QTreeView>(check, u"liste_constats"_s);
        QAbstractItemModelTester tester(tree->model());
        QCOMPARE(headings(tree->model()), seeded);

        // A double click on Plomé 001, under the shared forum address, shows it in its tab.
        const QModelIndex shared = findingRow(tree->model(), u"« https://f.org/2"_s);
        const QModelIndex plomé = tree->model()->index(1, 0, shared);
        tree->scrollTo(plomé);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(plomé).center());
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(plomé).center());
        QCOMPARE(window->tabs()->currentWidget(), window->categoryTab(Category::plomé()));
        QCOMPARE(window->categoryTab(Category::plomé())->panel().link, u"https://f.org/2"_s);

        // A mark refused by a locked file is reported and nothing is marked; then it goes through.
        tree->setCurrentIndex(findingRow(tree->model(), gaspard.trimmed()));
        Catalogue other(fixture.folder().database());
        QSqlQuery lock(other.database());
        QVERIFY(lock.exec(u"BEGIN IMMEDIATE"_s));
        child<QPushButton>(check, u"bt_pas_probleme"_s)->click();
        QCOMPARE(fixture.messenger.lastText(), CatalogueTexts::locked().arg(fixture.folder().database()));
        QCOMPARE(headings(tree->model()), seeded);
        QVERIFY(lock.exec(u"ROLLBACK"_s));
        child<QPushButton>(check, u"bt_pas_probleme"_s)->click();
        tree->setCurrentIndex(findingRow(tree->model(), u"Dravé : « Le Père"_s));
        child<QPushButton>(check, u"bt_pas_probleme"_s)->click();
        QCOMPARE(headings(tree->model()).size(), seeded.size() - 4);
        QCOMPARE(child<QTabWidget>(check, u"onglets_controle"_s)->tabText(1), u"Marqués « Pas un problème » (2)"_s);
    }
    // After a restart, the answer finding has changed (a third entry) and shows again; Gaspard's stays silent.
    fixture.insert(Category::dravé(), {{u"005"_s, u"LE PÈRE GORIOT"_s, u"Léa"_s, na, na}});
    auto window = fixture.openWindow();
    ConsistencyWindow* check = openCheck(*window);
    auto* tree = child<QTreeView>(check, u"liste_constats"_s);
    QStringList expected = seeded;
    expected.removeAll(gaspard);
    expected.removeAll(u"Auteurs inscrits qu'aucune entrée ne nomme (1)"_s);
    expected.replace(5, u"  Dravé : « Le Père Goriot » aux numéros 001, 002, 005"_s);
    expected.replace(11, u"  Sans doute une seule personne : « Léa » (6 entrées, inscrit), « léa  » (1 entrée)"_s);
    QCOMPARE(headings(tree->model()), expected);
    // Both marks are listed; removing Gaspard's brings the finding back.
    auto* marks = child<QTreeWidget>(check, u"liste_marques"_s);
    QCOMPARE(marks->topLevelItemCount(), 2);
    child<QTabWidget>(check, u"onglets_controle"_s)->setCurrentWidget(marks);
    marks->setCurrentItem(marks->topLevelItem(0));
    child<QPushButton>(check, u"bt_retirer"_s)->click();
    QCOMPARE(marks->topLevelItemCount(), 1);
    QVERIFY(headings(tree->model()).contains(gaspard));

    // "Fusionner…" keeps "Léa": refused while the file is locked, then done as one change that undo takes back.
    child<QTabWidget>(check, u"onglets_controle"_s)->setCurrentWidget(tree);
    const auto merge = [&] {
        tree->setCurrentIndex(findingRow(tree->model(), spellings.trimmed().left(40)));
        QTimer::singleShot(0, this, [] {
            auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog && dialog->objectName() == u"dlg_fusion");
            dialog->setTextValue(u"Léa"_s);
            dialog->accept();
        });
        child<QPushButton>(check, u"bt_fusionner"_s)->click();
    };
    Catalogue other(fixture.folder().database());
    QSqlQuery lock(other.database());
    QVERIFY(lock.exec(u"BEGIN IMMEDIATE"_s));
    merge();
    QCOMPARE(fixture.messenger.lastText(), CatalogueTexts::locked().arg(fixture.folder().database()));
    QVERIFY(lock.exec(u"ROLLBACK"_s));
    merge();
    Catalogue& catalogue = window->catalogue();
    QCOMPARE(catalogue.entry(Category::dravé(), u"004"_s)->author, u"Léa"_s);
    QCOMPARE(window->categoryTab(Category::dravé())->model()->row(2).value(2), u"Léa"_s);
    QVERIFY(findingRow(tree->model(), spellings.trimmed().left(40)) == QModelIndex());
    QVERIFY(!catalogue.undo().refusal);
    emit window->events().seriesChanged(Category::dravé());
    QCOMPARE(catalogue.entry(Category::dravé(), u"004"_s)->author, u"léa "_s);
    QVERIFY(findingRow(tree->model(), spellings.trimmed().left(40)).isValid());
    QCOMPARE(catalogue.authors(), (QStringList{u"Léa"_s, u"Gaspard"_s}));
}

void TestConsistency::command_data()
{
    QTest::addColumn<bool>("seeded");
    QTest::addColumn<bool>("marked");
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("status");
    QTest::newRow("clean") << false << false << 3 << 0;
    QTest::newRow("findings") << true << false << 3 << 1;
    QTest::newRow("the one finding marked") << false << true << 3 << 0;
    QTest::newRow("older file, not upgraded") << true << false << 0 << 1;
}

void TestConsistency::command()
{
    QFETCH(bool, seeded);
    QFETCH(bool, marked);
    QFETCH(int, version);
    QFETCH(int, status);
    Fixture fixture;
    if (seeded) {
        seed(fixture);
    } else {
        fixture.registerAuthors(QStringList{u"Léa"_s, u"Gaspard"_s}.mid(0, marked ? 2 : 1));
        fixture.insert(Category::dravé(), {{u"001"_s, u"A"_s, u"Léa"_s, na, na}});
    }
    if (marked) {
        Catalogue(fixture.folder().database())
            .addMark({ConsistencyRules::check({{}, {u"Gaspard"_s}}).value(0).key, {}, QDateTime::currentDateTimeUtc()});
    }
    fixture.sql(u"PRAGMA user_version = %1"_s.arg(version));
    const QByteArray before = fileBytes(fixture.folder().database());
    QCOMPARE(CommandLine::run({u"mezor"_s, u"--check"_s, fixture.folder().path()}), status);
    QCOMPARE(fileBytes(fixture.folder().database()), before); // read, never written
    QFile::remove(fixture.folder().database());
    QCOMPARE(CommandLine::run({u"mezor"_s, u"--check"_s, fixture.folder().path()}), 1);
}

QTEST_MAIN(TestConsistency)
#include "tst_consistency.moc"
