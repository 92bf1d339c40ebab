#pragma once

#include <QObject>

class MainWindow;

/// "Vérifier les MAJ": opens the number comparison window.
class ComparisonLauncher : public QObject {
    Q_OBJECT

public:
    explicit ComparisonLauncher(MainWindow& window);

private:
    MainWindow& m_window;
};
