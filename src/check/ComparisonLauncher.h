#pragma once

#include "check/ComparisonWindow.h"

#include <QObject>
#include <QPointer>

class QWidget;
struct Workspace;

/// "Vérifier les MAJ": starts the search program, waits for the user to say it has ended, then opens the
/// comparison window with what the program wrote and what the catalogue holds. One window at a time.
class ComparisonLauncher : public QObject {
    Q_OBJECT

public:
    /// The comparison window opens over `windowParent`.
    ComparisonLauncher(const Workspace& workspace, QWidget* windowParent, QObject* parent = nullptr);

    void compare();
    /// The comparison window while it is open.
    ComparisonWindow* comparisonWindow() const { return m_comparison; }

private:
    /// Starts the search program; on a refusal shows why and returns false.
    bool startSearch();

    const Workspace& m_workspace;
    QWidget* m_windowParent;
    QPointer<ComparisonWindow> m_comparison;
    bool m_running = false;
};
