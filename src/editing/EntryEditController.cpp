#include "editing/EntryEditController.h"

#include "ui/MainWindow.h"

EntryEditController::EntryEditController(MainWindow& window)
    : QObject(&window)
    , m_window(window)
{
}
