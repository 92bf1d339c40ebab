#pragma once

#include "catalogue/JournalChange.h"

#include <QObject>

class CatalogueEvents;
class QAction;
struct Workspace;

/// "Annuler" and "Rétablir" of the menu "Édition": each names the change it would take back or put back, and is
/// refreshed after every change the views are told of.
class UndoController : public QObject {
    Q_OBJECT

public:
    UndoController(const Workspace& workspace, QObject* parent = nullptr);

    QAction* undoAction() const { return m_undo; }
    QAction* redoAction() const { return m_redo; }

    /// Names the two actions after the journal, and disables the one with nothing to do.
    void refresh();
    void undo();
    void redo();

    /// Tells the views what an undo, a redo or a restored version changed: the series, or everything when the
    /// change was an import or spans several series.
    static void announce(CatalogueEvents* events, const QString& kind, const QList<int>& series);

private:
    void takeBack(bool redo);

    const Workspace& m_workspace;
    QAction* m_undo;
    QAction* m_redo;
};
