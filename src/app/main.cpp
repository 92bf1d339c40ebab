#include "app/CommandLine.h"
#include "app/Opening.h"
#include "app/Startup.h"
#include "catalogue/CatalogueFolder.h"
#include "ui/DesktopOpener.h"
#include "ui/MainWindow.h"
#include "ui/Messenger.h"
#include "ui/ProgramStarter.h"
#include "ui/UiTexts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

void describeProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("mezor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MEZOR_VERSION));
}

// Qt's own texts (Yes/No buttons, the text boxes' menu, network errors, the command-line help) in French.
void installQtTranslation(QCoreApplication& app, QTranslator& translator)
{
    if (translator.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(&translator);
    }
}

int runCommand(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    describeProgram();
    QTranslator translator;
    installQtTranslation(app, translator);
    return CommandLine::run(QCoreApplication::arguments());
}

int runWindow(int argc, char* argv[])
{
    QApplication app(argc, argv);
    describeProgram();
    QApplication::setApplicationDisplayName(UiTexts::applicationTitle());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.mezor.Mezor"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/mezor/mezor.png")));
    QTranslator translator;
    installQtTranslation(app, translator);

    QStringList given = QApplication::arguments().mid(1);
    given.removeAll(QStringLiteral("--"));
    const CatalogueFolder folder(CommandLine::chosenFolder(given.value(0)));

    QtMessenger messenger;
    QtDesktopOpener desktop;
    QProcessStarter programs;
    int status = 1;
    {
        // Released last: a folder made only to hold the lock of a start the keeper declined goes again.
        const auto lock = Opening::lockFolder(folder, messenger);
        if (lock) {
            const auto window =
                Startup::openWindow(folder, Services{&messenger, &desktop, &programs}, lock->access());
            if (window) {
                messenger.setParent(window.get());
                window->show();
                status = QApplication::exec();
                messenger.setParent(nullptr);
            }
        }
    }
    return status;
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return CommandLine::isCommand(arguments) ? runCommand(argc, argv) : runWindow(argc, argv);
}
