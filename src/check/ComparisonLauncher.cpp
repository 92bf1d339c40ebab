#include "check/ComparisonLauncher.h"

#include "ui/MainWindow.h"

ComparisonLauncher::ComparisonLauncher(MainWindow& window)
    : QObject(&window)
    , m_window(window)
{
}
