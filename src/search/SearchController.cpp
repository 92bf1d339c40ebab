#include "search/SearchController.h"

#include "ui/MainWindow.h"

SearchController::SearchController(MainWindow& window)
    : QObject(&window)
    , m_window(window)
{
}
