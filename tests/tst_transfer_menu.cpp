// The menu "Catalogue" of the main window: an import shows its report and the new catalogue, the export writes the
// five files, and the catalogue's folder goes to the desktop.
#include "support/Files.h"
#include "support/Fixture.h"
#include "transfer/ImportReportDialog.h"
#include "transfer/TransferController.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/StatisticsTab.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTest>

using namespace Qt::StringLiterals;

class TestTransferMenu : public QObject {
    Q_OBJECT

private slots:
    void importThroughTheMenu();
    void exportAndFolder();
};

namespace {

// Triggers a menu action with the folder dialog answered by `folder`; returns how often the dialog was asked.
int trigger(MainWindow& window, const QString& action, const QString& folder = {})
{
    int asked = 0;
    window.findChild<TransferController*>()->setFolderChooser([&](const QString&) {
        ++asked;
        return folder;
    });
    window.findChild<QAction*>(action)->trigger();
    return asked;
}

} // namespace

void TestTransferMenu::importThroughTheMenu()
{
    Fixture fixture;
    auto window = fixture.openWindow();
    QVERIFY(window);
    const QTemporaryDir csv;
    writeFile(csv.filePath(u"dravé.csv"_s), "ref,nom,auteur,url,lien\n001,Pont,Léa,u,l\n003,Gare,Max,u,l\n"
                                            "007,Quai,Léa,u,l\n");
    writeFile(csv.filePath(u"auteurs.csv"_s), "nom\nMax\nLéa\n");
    window->tabs()->setCurrentIndex(Tabs::Statistics);

    QCOMPARE(trigger(*window, u"mnu_importer"_s, csv.path()), 1);

    auto* report = window->findChild<ImportReportDialog*>(u"frm_rapport"_s);
    QVERIFY(report && report->isVisible());
    QStringList lines{report->findChild<QLabel*>(u"lbl_rapport"_s)->text()};
    for (int i = 0; i < report->list()->count(); ++i) {
        lines.append(report->list()->item(i)->text());
    }
    QCOMPARE(lines, (QStringList{u"Import terminé. Le catalogue a reçu :"_s, u"Dravé : 3 entrées"_s,
                                 u"Plomé : 0 entrée"_s, u"Tusqué : 0 entrée"_s, u"Vantorel : 0 entrée"_s,
                                 u"Auteurs : 2 noms"_s, QString(), u"Dravé : manquent 002, 004 à 006"_s}));
    // As after a start: the Dravé tab, the grids and author lists of the files, the statistics rebuilt.
    QCOMPARE(window->tabs()->currentIndex(), 0);
    CategoryTab* dravé = window->categoryTab(Category::dravé());
    QCOMPARE(dravé->model()->rows(),
             (QList<QStringList>{
                 {u"001"_s, u"Pont"_s, u"Léa"_s}, {u"003"_s, u"Gare"_s, u"Max"_s}, {u"007"_s, u"Quai"_s, u"Léa"_s}}));
    QCOMPARE(dravé->authorBox()->itemText(0), u"Léa"_s);
    QCOMPARE(window->statisticsTab()->model(Category::dravé().index)->rows().first(), (QStringList{u"Léa"_s, u"2"_s}));
    // The empty catalogue was copied first.
    QCOMPARE(QDir(fixture.folder().backups()).entryList(QDir::Files).size(), 1);

    // Now that it holds entries, a second import is refused before any folder is asked for.
    QCOMPARE(trigger(*window, u"mnu_importer"_s, csv.path()), 0);
    QVERIFY(fixture.messenger.lastText().startsWith(u"Le catalogue contient déjà"_s));
}

void TestTransferMenu::exportAndFolder()
{
    Fixture fixture;
    fixture.insert(Category::tusqué(), {{u"002"_s, u"Dit \"oui\", puis\r\nnon"_s, u"Léa"_s, u"u"_s, u"l"_s},
                                        {u"001"_s, u" Pont "_s, u"Max"_s, u"Non disponible"_s, u""_s}});
    auto window = fixture.openWindow();
    QVERIFY(window);
    const QTemporaryDir dir;
    const QString out = dir.filePath(u"export"_s);

    trigger(*window, u"mnu_exporter"_s, out);

    QCOMPARE(fixture.messenger.shown.last().icon, Messenger::Icon::Information);
    QCOMPARE(fileBytes(out + u"/tusqué.csv"_s), "\xEF\xBB\xBFref,nom,auteur,url,lien\r\n001, Pont ,Max,Non disponible,"
                                                "\r\n002,\"Dit \"\"oui\"\", puis\r\nnon\",Léa,u,l\r\n"_ba);
    QCOMPARE(fileBytes(out + u"/plomé.csv"_s), "\xEF\xBB\xBFref,lieu,auteur,url,lien\r\n"_ba);
    QCOMPARE(fileBytes(out + u"/auteurs.csv"_s), "\xEF\xBB\xBFnom\r\n"_ba);
    QCOMPARE(QDir(out).entryList(QDir::Files).size(), 5);

    trigger(*window, u"mnu_dossier"_s);
    QCOMPARE(fixture.desktop.opened, QList<QUrl>{QUrl::fromLocalFile(fixture.folder().path())});
}

QTEST_MAIN(TestTransferMenu)
#include "tst_transfer_menu.moc"
