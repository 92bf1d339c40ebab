#pragma once

#include <QObject>
#include <QString>

struct Category;

/// What changed in the open catalogue, for the views that show it. Writers announce their change once it is
/// committed; views (grids, author lists, statistics, the gallery) follow without being reopened.
class CatalogueEvents : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    /// The panel of a category tab added or rewrote entry `ref`; that tab's grid already shows it.
    void entryEdited(const Category& category, const QString& ref);
    /// Entries of a series changed outside its tab's panel (an undo, a restored version, a merge): its views must
    /// read it again.
    void seriesChanged(const Category& category);
    /// The whole content was replaced (an import, a restored backup): every view must read it again.
    void catalogueReplaced();
    /// The kept copy of entry `ref` was made or replaced in the image archive.
    void keptCopyChanged(const Category& category, const QString& ref);
};
