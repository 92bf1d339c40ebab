// mezor-crash-child FOLDER
//
// Opens the catalogue in FOLDER as the program does, then adds Dravé entries through the window's own add button,
// one after the other from the grid's next number, until the series is full or the process is killed; every third
// add is taken back with "Annuler" and put back with "Rétablir". After each step that succeeded it writes a line on
// the standard output at once, "a N", "u N" or "r N": a line written there has been committed.
// Exit codes: 0 series full, 1 start refused, 2 an add failed (the reason on the standard error).

#include "CrashSeries.h"
#include "app/Opening.h"
#include "app/Startup.h"
#include "support/StderrMessenger.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

#include <QAction>
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
    auto* undo = window->findChild<QAction*>(QStringLiteral("action_annuler"));
    auto* redo = window->findChild<QAction*>(QStringLiteral("action_retablir"));
    // One step: what `act` does must leave `entries` entries and no message, and is then reported.
    const auto step = [&](char kind, int number, int entries, const auto& act) {
        const int messages = messenger.count();
        act();
        if (tab->model()->rowCount() != entries || messenger.count() != messages) {
            std::fprintf(stderr, "%c %03d failed\n", kind, number);
            return false;
        }
        std::printf("%c %d\n", kind, number);
        std::fflush(stdout);
        return true;
    };
    for (int next = tab->model()->gridRowCount(); next <= CrashSeries::lastNumber; ++next) {
        tab->setPanel(CrashSeries::typed(next));
        if (!add || !undo || !redo || !step('a', next, next, [add] { add->click(); })) {
            return 2;
        }
        if (next % 3 == 0 && (!step('u', next, next - 1, [undo] { undo->trigger(); }) ||
                              !step('r', next, next, [redo] { redo->trigger(); }))) {
            return 2;
        }
    }
    return 0;
}
