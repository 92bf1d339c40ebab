// mezor-crash-child FOLDER [COUNT]
//
// Opens the catalogue in FOLDER as the program does, then adds Dravé entries through the window's own add button,
// one after the other from the grid's next number, until COUNT entries are added, the series is full or the process
// is killed. After each add that succeeded it writes the number on the standard output at once: a number written
// there has been committed. Exit codes: 0 done, 1 start refused, 2 an add failed (the reason on the standard error).

#include "CrashSeries.h"
#include "app/Startup.h"
#include "catalogue/CatalogueFolder.h"
#include "support/StderrMessenger.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QLockFile>
#include <QPushButton>

#include <cstdio>
#include <limits>

namespace {

constexpr int lastNumber = 999;

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        std::fputs("usage: mezor-crash-child FOLDER [COUNT]\n", stderr);
        return 1;
    }
    const CatalogueFolder folder(arguments.at(1));
    const int wanted = arguments.size() > 2 ? arguments.at(2).toInt() : std::numeric_limits<int>::max();

    StderrMessenger messenger;
    // The lock left by a killed child must be taken over, as the program does after a crash.
    const auto lock = Startup::lockFolder(folder, messenger);
    if (!lock) {
        return 1;
    }
    // Only the add button is used: no grid click opens the browser, no comparison starts a program.
    const auto opened = Startup::openWindow(folder, Services{&messenger, nullptr, nullptr});
    if (!opened) {
        return 1;
    }
    MainWindow& window = *opened;
    // Not shown: painting the grid is no part of the add, and would only make kills land between adds more often.

    const Category& dravé = Category::dravé();
    CategoryTab* tab = window.categoryTab(dravé);
    auto* add = tab->findChild<QPushButton*>(dravé.name(u"bt_add_"));
    if (!add) {
        std::fputs("no add button\n", stderr);
        return 2;
    }
    for (int added = 0; added < wanted; ++added) {
        const int next = tab->model()->gridRowCount();
        if (next > lastNumber) {
            break;
        }
        const int messages = messenger.count();
        tab->setPanel(CrashSeries::typed(next));
        add->click();
        if (tab->model()->gridRowCount() != next + 1 || messenger.count() != messages) {
            std::fprintf(stderr, "add of %s failed\n", qPrintable(CrashSeries::ref(next)));
            return 2;
        }
        std::fputs(qPrintable(CrashSeries::ref(next) + u'\n'), stdout);
        std::fflush(stdout);
    }
    return 0;
}
