// mezor-crash-child FOLDER
//
// Opens the catalogue in FOLDER as the program does, then adds Dravé entries through the window's own add button,
// one after the other from the grid's next number, until the series is full or the process is killed. After each add
// that succeeded it writes the number on the standard output at once: a number written there has been committed.
// Exit codes: 0 series full, 1 start refused, 2 an add failed (the reason on the standard error).

#include "CrashSeries.h"
#include "app/Opening.h"
#include "app/Startup.h"
#include "support/StderrMessenger.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

#include <QApplication>
#include <QLockFile>
#include <QPushButton>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        return 1;
    }
    const CatalogueFolder folder(QApplication::arguments().at(1));
    StderrMessenger messenger;
    // The lock left by a killed child must be taken over, as the program does after a crash. Only the add button is
    // used: no grid click opens the browser, no comparison starts a program. The window is not shown: painting the
    // grid is no part of the add, and would only make kills land between adds more often.
    const auto lock = Opening::lockFolder(folder, messenger);
    const auto window = lock ? Startup::openWindow(folder, {&messenger, nullptr, nullptr}) : nullptr;
    if (!window) {
        return 1;
    }
    CategoryTab* tab = window->categoryTab(Category::dravé());
    auto* add = tab->findChild<QPushButton*>(Category::dravé().name(u"bt_add_"));
    for (int next = tab->model()->gridRowCount(); next <= CrashSeries::lastNumber; ++next) {
        const int messages = messenger.count();
        tab->setPanel(CrashSeries::typed(next));
        if (add) {
            add->click();
        }
        if (tab->model()->gridRowCount() != next + 1 || messenger.count() != messages) {
            std::fprintf(stderr, "add of %03d failed\n", next);
            return 2;
        }
        std::printf("%d\n", next);
        std::fflush(stdout);
    }
    return 0;
}
