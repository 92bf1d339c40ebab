#pragma once

#include <QList>
#include <QString>

/// Everything that differs between the four series, as data: every category operation is written once
/// and reads its table, field, control names and texts from here.
struct Category {
    int index = 0;                 ///< 0 Dravé, 1 Plomé, 2 Tusqué, 3 Vantorel (descriptor order)
    int tabIndex = 0;              ///< index of the category's tab in `onglet`: 0, 1, 2, 5
    QString caption;               ///< tab caption and search option caption: "Dravé" … "Vantorel"
    QString table;                 ///< SQL table: `dravé`, `plomé`, `tusqué`, `titres`
    QString answerField;           ///< `nom`, or `lieu` for Plomé
    QString word;                  ///< the word that control names carry: `dravé` … `titres`
    QString answerLabel;           ///< "Nom", or "Lieu" for Plomé
    QString firstRowsButton;       ///< objectName of "<<" (above the grid)
    QString lastRowsButton;        ///< objectName of ">>" (below the grid)
    QString frame;                 ///< objectName of the "Affichage" frame
    QList<QString> panelLabels;    ///< objectNames of the labels "N°", answer, "Auteur", "Lien image", "Lien Sorvane"
    QString searchOption;          ///< objectName of the search option (`opt_Tusqué` keeps its capital)
    QString numberMessage;         ///< refusal of a number that is absent or not numeric
    bool registersAuthors = false; ///< adding an entry registers an unknown author in `auteurs`
    bool loadsInStoredOrder = false;   ///< start-up grid in the table's stored order instead of number order
    bool imageNeedsLink = false;       ///< the image is shown only when the forum address is known too
    bool imageWindowShowsLink = false; ///< the image window shows the forum address
    int comparisonRow = 0; ///< row of the number comparison window: 1 Dravé, 2 Tusqué, 3 Plomé, 4 Vantorel

    /// Control name made of a prefix and the category word: name(u"no_") is "no_dravé".
    QString name(QStringView prefix, QStringView suffix = {}) const;
    /// The table's fields in the order of a PuzzleEntry: `ref`, the answer field, `auteur`, `url`, `lien`.
    QStringList fields() const;
    QString gridName() const { return word; }
    QString statsGridName() const;

    /// The four categories in descriptor order.
    static const QList<Category>& all();
    static const Category& dravé() { return all().at(0); }
    static const Category& plomé() { return all().at(1); }
    static const Category& tusqué() { return all().at(2); }
    static const Category& vantorel() { return all().at(3); }
    /// The category shown on tab `tabIndex` of `onglet`, or nullptr for the search and statistics tabs.
    static const Category* byTab(int tabIndex);
};

/// Tab indexes of `onglet` that are not categories.
namespace Tabs {
inline constexpr int Search = 3;
inline constexpr int Statistics = 4;
inline constexpr int Count = 6;
} // namespace Tabs
