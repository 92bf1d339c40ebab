#include "history/UndoController.h"

#include "catalogue/CatalogueError.h"
#include "history/HistoryTexts.h"
#include "ui/Workspace.h"

#include <QAction>

UndoController::UndoController(const Workspace& workspace, QObject* parent)
    : QObject(parent)
    , m_workspace(workspace)
    , m_undo(new QAction(HistoryTexts::undoAction(), this))
    , m_redo(new QAction(HistoryTexts::redoAction(), this))
{
    m_undo->setObjectName(QStringLiteral("action_annuler"));
    m_redo->setObjectName(QStringLiteral("action_retablir"));
    m_undo->setShortcut(QKeySequence::Undo);
    m_redo->setShortcut(QKeySequence::Redo);
    connect(m_undo, &QAction::triggered, this, &UndoController::undo);
    connect(m_redo, &QAction::triggered, this, &UndoController::redo);
    if (CatalogueEvents* events = m_workspace.events) {
        connect(events, &CatalogueEvents::entryEdited, this, &UndoController::refresh);
        connect(events, &CatalogueEvents::seriesChanged, this, &UndoController::refresh);
        connect(events, &CatalogueEvents::catalogueReplaced, this, &UndoController::refresh);
    }
    refresh();
}

void UndoController::refresh()
{
    std::optional<JournalRecord> undoable;
    std::optional<JournalRecord> redoable;
    try {
        undoable = m_workspace.catalogue->undoable();
        redoable = m_workspace.catalogue->redoable();
    } catch (const CatalogueError&) {
        // An unreadable journal leaves both actions off; the next try says why.
    }
    m_undo->setText(undoable ? HistoryTexts::undoNamed().arg(undoable->description) : HistoryTexts::undoAction());
    m_redo->setText(redoable ? HistoryTexts::redoNamed().arg(redoable->description) : HistoryTexts::redoAction());
    m_undo->setEnabled(undoable.has_value());
    m_redo->setEnabled(redoable.has_value());
}

void UndoController::undo()
{
    takeBack(false);
}

void UndoController::redo()
{
    takeBack(true);
}

void UndoController::takeBack(bool redo)
{
    UndoOutcome outcome;
    try {
        outcome = redo ? m_workspace.catalogue->redo() : m_workspace.catalogue->undo();
    } catch (const CatalogueError& error) {
        m_workspace.messenger().critical(error.message(), error.detail());
        refresh();
        return;
    }
    if (outcome.refusal) {
        m_workspace.messenger().warning(*outcome.refusal);
        refresh();
        return;
    }
    announce(m_workspace.events, outcome.change.kind, outcome.series);
    refresh();
}

void UndoController::announce(CatalogueEvents* events, const QString& kind, const QList<int>& series)
{
    if (!events) {
        return;
    }
    if (kind == JournalKind::import() || series.size() != 1) {
        emit events->catalogueReplaced();
    } else {
        emit events->seriesChanged(Category::all().at(series.first()));
    }
}
