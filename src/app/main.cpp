#include "app/Startup.h"
#include "catalogue/CatalogueFolder.h"
#include "ui/DesktopOpener.h"
#include "ui/MainWindow.h"
#include "ui/Messenger.h"
#include "ui/ProgramStarter.h"
#include "ui/UiTexts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mezor"));
    QApplication::setApplicationDisplayName(UiTexts::applicationTitle());
    QApplication::setApplicationVersion(QStringLiteral(MEZOR_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.mezor.Mezor"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/mezor/mezor.png")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Mézor : catalogue des énigmes Dravé, Plomé, Tusqué et Vantorel."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("dossier"),
                                 QStringLiteral("Dossier du catalogue (par défaut : celui du programme s'il contient "
                                                "Mézor.db, sinon le dossier de données de l'utilisateur)."),
                                 QStringLiteral("[dossier]"));
    parser.process(app);

    const QStringList positional = parser.positionalArguments();
    const CatalogueFolder folder(
        CatalogueFolder::choose(positional.value(0), QApplication::applicationDirPath(),
                                QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));

    QtMessenger messenger;
    QtDesktopOpener desktop;
    QProcessStarter programs;

    const auto lock = Startup::lockFolder(folder, messenger);
    if (!lock) {
        return 1;
    }
    const auto window = Startup::openWindow(folder, Services{&messenger, &desktop, &programs});
    if (!window) {
        return 1;
    }
    messenger.setParent(window.get());
    window->show();
    return QApplication::exec();
}
