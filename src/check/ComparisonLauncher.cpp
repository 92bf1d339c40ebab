#include "check/ComparisonLauncher.h"

#include "catalogue/CatalogueError.h"
#include "check/CheckTexts.h"
#include "check/ComparisonWindow.h"
#include "check/LastNumbers.h"
#include "ui/ProgramStarter.h"
#include "ui/WindowPlacement.h"
#include "ui/Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

ComparisonLauncher::ComparisonLauncher(const Workspace& workspace, QWidget* windowParent, QObject* parent)
    : QObject(parent)
    , m_workspace(workspace)
    , m_windowParent(windowParent)
{
}

void ComparisonLauncher::compare()
{
    // The wait box runs an event loop, so guard against a second click as well as an open window.
    if (m_comparison || m_running) {
        return;
    }
    m_running = true;
    const auto done = qScopeGuard([this] { m_running = false; });

    if (!startSearch()) {
        return;
    }
    Messenger& messenger = m_workspace.messenger();
    messenger.plain(CheckTexts::waiting());

    const LastNumbers found = LastNumbers::read(m_workspace.folder.settings());
    QList<ComparisonWindow::Pair> pairs(LastNumbers::Rows);
    for (int row = 0; row < LastNumbers::Rows; ++row) {
        pairs[row].found = found.values.at(row);
    }
    std::optional<CatalogueError> countError;
    for (const Category& category : Category::all()) {
        try {
            pairs[category.comparisonRow - 1].counted = m_workspace.catalogue->count(category);
        } catch (const CatalogueError& error) {
            if (!countError) {
                countError = error;
            }
        }
    }
    if (!found.problems.isEmpty()) {
        messenger.warning(found.problems.join(u'\n'));
    }
    if (countError) {
        messenger.critical(countError->message(), countError->detail());
    }

    m_comparison = new ComparisonWindow(m_windowParent);
    m_comparison->setPairs(pairs);
    m_comparison->adjustSize();
    WindowPlacement::centre(*m_comparison, m_windowParent);
    m_comparison->show();
    m_comparison->activateWindow();
}

bool ComparisonLauncher::startSearch()
{
    const QString& setting = m_workspace.programSetting;
    Messenger& messenger = m_workspace.messenger();
    if (setting.trimmed().isEmpty()) {
        messenger.warning(CheckTexts::programEmpty().arg(QDir::toNativeSeparators(m_workspace.folder.settings())));
        return false;
    }
    // The setting is a file name in the catalogue folder, taken as written (a leading space is part of it).
    const QString program = m_workspace.folder.file(setting);
    const QString shown = QDir::toNativeSeparators(program);
    const QFileInfo info(program);
    if (!info.exists()) {
        messenger.warning(CheckTexts::programMissing().arg(shown));
        return false;
    }
    if (!info.isFile() || !info.isExecutable()) {
        messenger.warning(CheckTexts::programNotExecutable().arg(shown));
        return false;
    }
    // The search program is called with " , 6" after its name; it may rely on these two arguments.
    QString reason;
    if (!m_workspace.services.programs->startDetached(program, {QStringLiteral(","), QStringLiteral("6")},
                                                      m_workspace.folder.path(), &reason)) {
        messenger.warning(CheckTexts::programNotStarted().arg(shown), reason);
        return false;
    }
    return true;
}
