#pragma once

#include "check/ComparisonWindow.h"

#include <QObject>
#include <QPointer>

class MainWindow;

/// "Vérifier les MAJ": starts the search program, waits for the user to say it has ended, then opens the
/// comparison window with what the program wrote and what the catalogue holds. One window at a time.
class ComparisonLauncher : public QObject {
    Q_OBJECT

public:
    explicit ComparisonLauncher(MainWindow& window);

    /// The comparison window while it is open.
    ComparisonWindow* comparisonWindow() const { return m_comparison; }

private:
    void compare();
    /// Starts the search program; on a refusal shows why and returns false.
    bool startSearch();

    MainWindow& m_window;
    QPointer<ComparisonWindow> m_comparison;
    bool m_running = false;
};
