#include "browsing/GridBrowser.h"

#include "ui/MainWindow.h"

GridBrowser::GridBrowser(MainWindow& window)
    : QObject(&window)
    , m_window(window)
{
}
