#pragma once

#include <QObject>

class CategoryTab;
struct Category;
class QString;
struct Workspace;

/// "Ajouter" and "MAJ" of the four category tabs: one add and one update, written once and told apart only by the
/// tab's `Category`.
class EntryEditController : public QObject {
    Q_OBJECT

public:
    EntryEditController(const Workspace& workspace, QObject* parent = nullptr);

    /// Appends the panel's entry as the next number of the tab's series.
    void add(CategoryTab& tab);
    /// Rewrites the entry whose number the panel holds.
    void update(CategoryTab& tab);

private:
    void announce(const Category& category, const QString& ref) const;

    const Workspace& m_workspace;
};
