// mezor-bench: times every user operation on a full catalogue through the real windows and store, and the naive
// way of doing the same work, in one process on the same data.
#include "CatalogueGenerator.h"
#include "GalleryBench.h"
#include "Measure.h"
#include "NaiveImage.h"
#include "NaiveWay.h"
#include "app/LinkJobs.h"
#include "app/Opening.h"
#include "app/Startup.h"
#include "catalogue/Catalogue.h"
#include "history/HistoryWindow.h"
#include "gallery/GalleryWindow.h"
#include "image/ImageArchive.h"
#include "consistency/ConsistencyCheck.h"
#include "consistency/ConsistencyRules.h"
#include "consistency/ConsistencyWindow.h"
#include "image/ImageWindow.h"
#include "links/LinkCheckWindow.h"
#include "publish/BbcodeRecap.h"
#include "publish/PublicationPlan.h"
#include "publish/PublishWindow.h"
#include "support/LoopbackServer.h"
#include "support/StderrMessenger.h"
#include "transfer/CatalogueImport.h"
#include "transfer/CsvFolder.h"
#include "transfer/TransferController.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/MainWindow.h"
#include "ui/Messenger.h"
#include "ui/SearchTab.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <memory>

namespace {

struct Row {
    QString operation;
    int size = 0;
    Timing timing;
    double naiveMedian = -1;
};

QString ref(int n)
{
    return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}

QByteArray photo(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int y = 0; y < height; y += 50) {
        painter.fillRect(0, y, width, 50, QColor::fromHsv((y / 50 * 23) % 360, 160, 220));
    }
    painter.end();
    return CatalogueGenerator::jpeg(image);
}

class Bench {
public:
    Bench(const QString& folder, LoopbackServer& server)
        : m_folder(folder)
        , m_server(server)
    {
    }

    void open()
    {
        m_window.reset();
        m_window = Startup::openWindow(m_folder, Services{&m_messenger, nullptr, nullptr});
        if (!m_window) {
            qFatal("cannot open the catalogue (see the message above)");
        }
        m_window->show();
    }

    void expectSilence(const char* what) const
    {
        if (m_messenger.count() > 0) {
            qFatal("%s raised a message (see above)", what);
        }
    }

    QList<Row> operations(int size, bool full)
    {
        QList<Row> rows;
        auto add = [&](const QString& name, const Timing& timing, double naive = -1) {
            rows.append({name, size, timing, naive});
            expectSilence(qPrintable(name));
        };
        const int many = full ? 100 : 30;
        add(QStringLiteral("load step"), measure(
                                             full ? 15 : 5, [&] { open(); }, [&] { m_window.reset(); }));
        MainWindow& window = *m_window;
        const Category& dravé = Category::dravé();
        CategoryTab* tab = window.categoryTab(dravé);

        const QString sorts[] = {QStringLiteral("sort by number"), QStringLiteral("sort by answer"),
                                 QStringLiteral("sort by author")};
        for (int column : {1, 2, 0}) {
            add(sorts[column], measure(full ? 30 : 10, [&] { emit tab->headerClicked(column); }));
        }
        int click = 0;
        add(QStringLiteral("row click"),
            measure(full ? 300 : 60, [&] { emit tab->rowClicked(1 + (click++ * 37) % size); }));

        SearchTab* search = window.searchTab();
        window.tabs()->setCurrentIndex(Tabs::Search);
        search->option(dravé.index)->click();
        auto runSearch = [&](const QString& criterion) {
            search->criterion()->setText(criterion);
            search->searchButton()->click();
        };
        // The generator puts an accented letter in every answer's syllables; a trailing space is trimmed away.
        const QString everywhere = QStringLiteral("a");
        add(QStringLiteral("search, hits everywhere"), measure(many, [&] { runSearch(everywhere); }),
            NaiveWay::searchMedian(window.catalogue(), dravé, everywhere, full ? 30 : 10));
        add(QStringLiteral("search, hits nothing"), measure(many, [&] { runSearch(QStringLiteral("xyzzy")); }),
            NaiveWay::searchMedian(window.catalogue(), dravé, QStringLiteral("xyzzy"), full ? 30 : 10));

        int change = 0;
        const int cycle[] = {Tabs::Statistics, Tabs::Search, 0, Category::vantorel().tabIndex};
        add(QStringLiteral("tab change (statistics rebuild)"),
            measure(many, [&] { window.tabs()->setCurrentIndex(cycle[change++ % 4]); }),
            NaiveWay::statisticsMedian(window.catalogue(), full ? 5 : 3));

        const Category& vantorel = Category::vantorel();
        CategoryTab* adding = window.categoryTab(vantorel);
        window.tabs()->setCurrentIndex(vantorel.tabIndex);
        auto* addButton = adding->findChild<QPushButton*>(vantorel.name(u"bt_add_"));
        add(QStringLiteral("add, committed to disk"),
            measure(
                full ? 50 : 20, [&] { addButton->click(); },
                [&] {
                    adding->setPanel({ref(adding->model()->gridRowCount()), QStringLiteral("Réponse ajoutée"),
                                      QStringLiteral("Auteur000é"), QStringLiteral("http://127.0.0.1/a.jpg"),
                                      QStringLiteral("http://127.0.0.1/f")});
                }));
        const Category& tusqué = Category::tusqué();
        CategoryTab* updating = window.categoryTab(tusqué);
        window.tabs()->setCurrentIndex(tusqué.tabIndex);
        auto* updateButton = updating->findChild<QPushButton*>(tusqué.name(u"bt_maj_"));
        int updated = 0;
        add(QStringLiteral("update, committed to disk"),
            measure(
                full ? 50 : 20, [&] { updateButton->click(); },
                [&] {
                    updating->setPanel({ref(1 + (updated++ * 13) % size), QStringLiteral("Réponse corrigée"),
                                        QStringLiteral("Auteur001é"), QString(), QString()});
                }));
        return rows;
    }

    /// "Contrôler le catalogue…" from the menu to the list shown, and a durable merge of an author's 300 entries.
    QList<Row> consistency(int size)
    {
        open();
        QList<Row> rows;
        const Timing check = measure(
            20,
            [&] {
                m_window->findChild<QAction*>(QStringLiteral("action_controle"))->trigger();
                QApplication::processEvents();
            },
            [&] {
                if (auto* shown = m_window->findChild<ConsistencyWindow*>()) {
                    delete shown;
                }
            });
        rows.append({QStringLiteral("consistency check, menu to list shown"), size, check});
        qsizetype findings = 0;
        rows.append({QStringLiteral("consistency check, catalogue read and rules only"), size,
                     measure(20, [&] { findings = ConsistencyCheck::run(m_window->catalogue()).findings.size(); })});
        QTextStream(stderr) << "consistency check: " << findings << " findings\n";
        expectSilence("the consistency check");

        // Before each merge another program spells 300 Dravé entries "AUTEUR-FUSION" and registers that spelling
        // beside "Auteur-fusion"; the merge takes them back, journaled and committed to disk.
        Catalogue& catalogue = m_window->catalogue();
        Catalogue other(catalogue.path());
        CatalogueSnapshot snapshot;
        const QStringList spellings{QStringLiteral("AUTEUR-FUSION"), QStringLiteral("Auteur-fusion")};
        const Timing merge = measure(
            20,
            [&] {
                const JournalChange change = ConsistencyRules::mergeChange(snapshot, spellings, spellings.at(1));
                if (change.entries.size() != 300 || catalogue.applyChange(change)) {
                    qFatal("the merge of 300 entries did not go through");
                }
            },
            [&] {
                QSqlQuery query(other.database());
                for (const char* sql : {"BEGIN", "DELETE FROM auteurs WHERE nom IN ('AUTEUR-FUSION', 'Auteur-fusion')",
                                        "INSERT INTO auteurs (nom) VALUES ('AUTEUR-FUSION'), ('Auteur-fusion')",
                                        "UPDATE \"dravé\" SET auteur = 'AUTEUR-FUSION' WHERE ref <= '300'", "COMMIT"}) {
                    if (!query.exec(QString::fromUtf8(sql))) {
                        qFatal("cannot prepare the merge");
                    }
                }
                snapshot = ConsistencyCheck::snapshot(catalogue); // the window has it from its last check
            });
        rows.append({QStringLiteral("merge of an author's 300 entries, committed to disk"), size, merge});
        expectSilence("the merge");
        return rows;
    }

    /// From the row click to the picture shown, through the real image window and ImageMagick.
    double showImage(int gridRow)
    {
        MainWindow& window = *m_window;
        const Category& dravé = Category::dravé();
        CategoryTab* tab = window.categoryTab(dravé);
        window.tabs()->setCurrentIndex(dravé.tabIndex);
        tab->findChild<QCheckBox*>(dravé.name(u"chk_img_"))->setChecked(true);
        QElapsedTimer timer;
        timer.start();
        emit tab->rowClicked(gridRow);
        auto* image = window.findChild<ImageWindow*>();
        if (!image) {
            qFatal("no image window opened");
        }
        QEventLoop loop;
        QObject::connect(image, &ImageWindow::displayEnded, &loop, &QEventLoop::quit);
        QTimer::singleShot(20'000, &loop, &QEventLoop::quit);
        // A kept copy is shown before the click returns.
        if (image->findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap().isNull()) {
            loop.exec();
        }
        const double elapsed = double(timer.nsecsElapsed()) / 1e6;
        if (!image->status().isEmpty()) {
            qFatal("no picture: %s", qPrintable(image->status()));
        }
        image->close();
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return elapsed;
    }

    // The catalogue in and out. The export is timed at the store, without the box that reports it; the import
    // through the menu of a new window on an empty catalogue, from the action to the report on screen with the
    // window showing the new catalogue.
    QList<Row> transfer(int size)
    {
        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("csv"));
        QList<Row> rows{{QStringLiteral("export to CSV (five files)"), size,
                         measure(20, [&] { CsvFolder::write(m_window->catalogue(), csv); })}};
        std::unique_ptr<MainWindow> target;
        QAction* import = nullptr;
        int run = 0;
        TransferController* controller = nullptr;
        const Timing timing = measure(
            10,
            [&] {
                // The files are checked on a thread of their own; the report comes back through the event loop.
                QEventLoop loop;
                QObject::connect(controller, &TransferController::importEnded, &loop, &QEventLoop::quit);
                QTimer::singleShot(60'000, &loop, &QEventLoop::quit);
                import->trigger();
                loop.exec();
            },
            [&] {
                target.reset();
                const CatalogueFolder folder(dir.filePath(QStringLiteral("vide%1").arg(run++)));
                Opening::createCatalogue(folder);
                target = Startup::openWindow(folder, Services{&m_messenger, nullptr, nullptr});
                controller = target->findChild<TransferController*>();
                controller->setFolderChooser([csv](const QString&) { return csv; });
                import = target->findChild<QAction*>(QStringLiteral("mnu_importer"));
            });
        if (target->catalogue().count(Category::dravé()) != size) {
            qFatal("the import did not fill the catalogue");
        }
        target.reset();
        rows.append({QStringLiteral("import from CSV through the menu"), size, timing});
        expectSilence("the transfer");
        return rows;
    }

    // The journal: an undo at the store and through the menu (the views read the series again), and the history
    // window over a full journal of 10,000 changes, opened and filtered.
    QList<Row> history(int size)
    {
        MainWindow& window = *m_window;
        Catalogue& catalogue = window.catalogue();
        const Category& tusqué = Category::tusqué();
        int slips = 0;
        const auto slip = [&] {
            PuzzleEntry entry = *catalogue.entry(tusqué, ref(1 + (slips * 7) % size));
            entry.answer = QStringLiteral("Faute %1").arg(slips++);
            catalogue.rewrite(tusqué, entry.ref, entry);
        };
        const auto undo = [&] {
            if (catalogue.undo().refusal) {
                qFatal("an undo was refused");
            }
        };
        QList<Row> rows{{QStringLiteral("undo, committed to disk"), size, measure(50, undo, slip)}};
        auto* undoAction = window.findChild<QAction*>(QStringLiteral("action_annuler"));
        rows.append({QStringLiteral("undo through the menu, views read again"), size,
                     measure(
                         20, [&] { undoAction->trigger(); }, slip)});

        // Changes written straight into the journal, as years of corrections would leave it.
        QSqlDatabase db = catalogue.database();
        db.transaction();
        QSqlQuery change(db);
        change.prepare(QStringLiteral(R"(INSERT INTO "journal" (date, sorte, description, "série", ref, nombre) )"
                                      R"(VALUES (?, 'maj', ?, 'tusqué', ?, 1))"));
        QSqlQuery entry(db);
        entry.prepare(QStringLiteral(R"(INSERT INTO "journal_entrées" (change, "série", ref, avant, "après") )"
                                     R"(VALUES (?, 'tusqué', ?, ?, ?))"));
        const auto json = [](const QString& number, const QString& answer) {
            return QString::fromUtf8(
                QJsonDocument(QJsonArray{number, answer, QStringLiteral("Auteur001é"),
                                         QStringLiteral("http://127.0.0.1/a.jpg"), QStringLiteral("Non disponible")})
                    .toJson(QJsonDocument::Compact));
        };
        const QDateTime start = QDateTime::currentDateTimeUtc().addYears(-3);
        for (int i = int(catalogue.journal().size()); i < Catalogue::journalKept; ++i) {
            const QString number = ref(1 + i % size);
            change.addBindValue(start.addSecs(i * 3600).toString(Qt::ISODateWithMs));
            change.addBindValue(QStringLiteral("la correction de Tusqué %1").arg(number));
            change.addBindValue(number);
            change.exec();
            entry.addBindValue(change.lastInsertId());
            entry.addBindValue(number);
            entry.addBindValue(json(number, QStringLiteral("Réponse %1").arg(i)));
            entry.addBindValue(json(number, QStringLiteral("Réponse %1 corrigée").arg(i)));
            entry.exec();
        }
        db.commit();
        if (catalogue.journal().size() != Catalogue::journalKept) {
            qFatal("the journal was not filled");
        }
        auto* open = window.findChild<QAction*>(QStringLiteral("action_historique"));
        rows.append({QStringLiteral("history window, 10,000 changes: open"), size,
                     measure(
                         20, [&] { open->trigger(); },
                         [&] {
                             delete window.findChild<HistoryWindow*>();
                             QApplication::processEvents();
                         })});
        auto* filter = window.findChild<HistoryWindow*>()->findChild<QLineEdit*>(QStringLiteral("historique_filtre"));
        int filtered = 0;
        rows.append({QStringLiteral("history window, 10,000 changes: filter"), size,
                     measure(50, [&] { filter->setText(QStringLiteral("Réponse %1").arg(filtered++ * 97)); })});
        delete window.findChild<HistoryWindow*>();
        expectSilence("the journal");
        return rows;
    }

    /// From "Vérifier les liens…" to the summary shown, for every address of the catalogue.
    double checkLinks()
    {
        QElapsedTimer timer;
        timer.start();
        m_window->findChild<QAction*>(QStringLiteral("action_liens"))->trigger();
        auto* links = m_window->findChild<LinkCheckWindow*>();
        QEventLoop loop;
        QObject::connect(links, &LinkCheckWindow::runEnded, &loop, &QEventLoop::quit);
        QTimer::singleShot(120'000, &loop, &QEventLoop::quit);
        if (links->isRunning()) {
            loop.exec();
        }
        const double elapsed = double(timer.nsecsElapsed()) / 1e6;
        if (links->isRunning()) {
            qFatal("the link check did not end");
        }
        links->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return elapsed;
    }

    // The forum recap of one whole series, and the HTML catalogue: without thumbnails, then with a thumbnail from
    // every entry's kept copy (made through the publication window, whose event loop is watched for pauses), then
    // again with nothing changed.
    QList<Row> publish(int size, const QByteArray& picture)
    {
        Catalogue& catalogue = m_window->catalogue();
        const Category& dravé = Category::dravé();
        QList<Row> rows{
            {QStringLiteral("BBCode recap of a series"), size, measure(30, [&] {
                 if (BbcodeRecap::build(dravé, catalogue.entries(dravé, EntryOrder::ByNumber), {}).parts.isEmpty()) {
                     qFatal("no recap");
                 }
             })}};
        QTemporaryDir dir;
        int run = 0;
        rows.append({QStringLiteral("HTML catalogue, no thumbnails"), size, measure(5, [&] {
                         const PublicationPlan plan = PublicationPlan::of(catalogue, m_folder, false);
                         const QString target = dir.filePath(QStringLiteral("sans%1").arg(run++));
                         expectDone(SitePublisher::publish(target, plan.series, plan.thumbnails));
                     })});
        ImageArchive archive(m_folder, catalogue);
        int kept = 0;
        for (const Category& category : Category::all()) {
            for (const PuzzleEntry& entry : catalogue.entries(category, EntryOrder::ByNumber)) {
                kept += archive.keep(category, entry.ref, entry.url, picture).isEmpty() ? 1 : 0;
            }
        }
        double longestPause = 0;
        const QString site = dir.filePath(QStringLiteral("site"));
        const Timing first = measure(
            3, [&] { longestPause = std::max(longestPause, publishThroughTheWindow(site)); },
            [&] {
                QDir(site).removeRecursively();
                QDir(m_folder.thumbnails()).removeRecursively();
            });
        rows.append({QStringLiteral("HTML catalogue, first, %1 thumbnails from kept copies").arg(kept), size, first});
        rows.append({QStringLiteral("  longest pause of the window meanwhile"),
                     size,
                     {longestPause, longestPause, longestPause, 1}});
        rows.append({QStringLiteral("HTML catalogue, again, nothing changed"), size, measure(5, [&] {
                         const PublicationPlan plan = PublicationPlan::of(catalogue, m_folder);
                         const SitePublisher::Report report =
                             SitePublisher::publish(site, plan.series, plan.thumbnails);
                         expectDone(report);
                         if (report.written > 0) {
                             qFatal("a second publication wrote %d files", report.written);
                         }
                     })});
        return rows;
    }

    // From the plan to the window's report; returns the longest pause of the event loop meanwhile, in ms.
    double publishThroughTheWindow(const QString& site)
    {
        auto* window = new PublishWindow(m_window.get());
        window->show();
        QEventLoop loop;
        QObject::connect(window, &PublishWindow::ended, &loop, &QEventLoop::quit);
        QElapsedTimer sinceTick;
        double longest = 0;
        QTimer ticks;
        QObject::connect(&ticks, &QTimer::timeout, &loop, [&] {
            longest = std::max(longest, double(sinceTick.nsecsElapsed()) / 1e6);
            sinceTick.restart();
        });
        ticks.start(5);
        sinceTick.start();
        window->start(site, PublicationPlan::of(m_window->catalogue(), m_folder));
        loop.exec();
        expectDone(window->report());
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return longest;
    }

    static void expectDone(const SitePublisher::Report& report)
    {
        if (report.outcome != SitePublisher::Outcome::Done || report.withoutImage > 0) {
            qFatal("publication: %s", qPrintable(report.message));
        }
    }

    MainWindow& window() { return *m_window; }
    const CatalogueFolder& folder() const { return m_folder; }

private:
    CatalogueFolder m_folder;
    LoopbackServer& m_server;
    StderrMessenger m_messenger;
    std::unique_ptr<MainWindow> m_window;
};

// A `dravé.csv` of a header and then 15 million one-letter lines (30 MB), every line a problem: checked and
// refused, with the peak of resident memory that it took.
Row hugeRefusal(double& peakMiB)
{
    QTemporaryDir dir;
    QByteArray bytes("ref,nom,auteur,url,lien\n");
    bytes.reserve(bytes.size() + 30'000'000);
    for (int i = 0; i < 15'000'000; ++i) {
        bytes += "a\n";
    }
    QFile file(dir.filePath(QStringLiteral("dravé.csv")));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write the large file");
    }
    file.close();
    bytes = QByteArray();
    resetPeakResident();
    const Timing timing = measure(3, [&] {
        const ImportOutcome outcome = CatalogueImport::run(CsvFolder::read(dir.path()), []() -> Catalogue& {
            qFatal("a wrong file reached the catalogue");
        });
        if (outcome.status != ImportOutcome::Status::Refused || outcome.lines.size() != 101) {
            qFatal("the large file was not refused with a hundred problems and a count");
        }
    });
    peakMiB = peakResidentMiB();
    return {QStringLiteral("import refusal, 30 MB file of 15 million one-letter lines (peak %1 MiB)")
                .arg(peakMiB, 0, 'f', 0),
            0, timing};
}

QString cell(double ms)
{
    return ms < 0 ? QStringLiteral("—") : QString::number(ms, 'f', ms < 10 ? 2 : 1);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times Mézor's user operations on a full catalogue."));
    parser.addHelpOption();
    const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Where to write the JSON results."),
                                        QStringLiteral("file"), QStringLiteral("bench-results.json"));
    const QCommandLineOption displaysOption(QStringLiteral("displays"),
                                            QStringLiteral("Image displays for the memory check (default 100)."),
                                            QStringLiteral("n"), QStringLiteral("100"));
    const QCommandLineOption sectionOption(
        QStringLiteral("section"),
        QStringLiteral("Runs one section only: gallery, operations, transfer, history, consistency, publish, or images "
                       "(with the link check)."),
        QStringLiteral("name"));
    parser.addOption(jsonOption);
    parser.addOption(displaysOption);
    parser.addOption(sectionOption);
    parser.process(app);
    const auto wanted = [&](const char* section) {
        return !parser.isSet(sectionOption) || parser.value(sectionOption) == QLatin1String(section);
    };

    // The gallery first, in a process that has not yet shown anything else: its memory is its own.
    const int gallerySize = 999;
    QList<Row> rows;
    QJsonObject memory;
    std::optional<GalleryBench::Results> gallery;
    if (wanted("gallery")) {
        gallery = GalleryBench::run(gallerySize, 15, 5);
        rows = {
            {QStringLiteral("gallery first screen, warm cache (%1 thumbnails)").arg(gallery->firstScreen), gallerySize,
             gallery->warm},
            {QStringLiteral("gallery first screen, cold cache (1600×1200 JPEG kept copies)"), gallerySize,
             gallery->cold},
            {QStringLiteral("gallery cold: longest event-loop gap"), gallerySize, gallery->longestGap},
            {QStringLiteral("gallery cold: most window-thread CPU between two turns"), gallerySize,
             gallery->longestBusy},
        };
        memory = QJsonObject{{QStringLiteral("galleryResidentMiB"), gallery->residentMiB},
                             {QStringLiteral("galleryPeakMiB"), gallery->peakMiB},
                             {QStringLiteral("galleryAllShownMs"), gallery->allShownMs}};
    }

    LoopbackServer server;
    const QByteArray jpeg = photo(1600, 1200);
    const int shortBy = 60; // Vantorel is left this many entries short so that the adds have numbers to take
    // The refusal of a huge wrong file, its peak started over from what the process holds now.
    double refusalPeak = -1;
    if (wanted("transfer")) {
        rows.append(hugeRefusal(refusalPeak));
    }
    for (int size : {250, 500, 999}) {
        if (parser.isSet(sectionOption) && parser.value(sectionOption) == u"gallery") {
            break;
        }
        const bool full = size == 999;
        if (!full && !wanted("operations")) {
            continue;
        }
        QTemporaryDir dir;
        const QString url = server.url(QByteArray());
        const quint16 port = quint16(QUrl(url).port());
        CatalogueGenerator::generate(dir.path(), size, 500, port, Category::vantorel().index, shortBy);
        for (int n = 1; n <= size; ++n) {
            server.serveBody(QStringLiteral("/img/0/%1.jpg").arg(ref(n)).toLatin1(), jpeg);
        }
        Bench bench(dir.path(), server);
        if (wanted("operations")) {
            rows += bench.operations(size, full);
        }
        if (!full) {
            continue;
        }
        if (wanted("transfer")) {
            rows += bench.transfer(size);
        }
        if (wanted("history")) {
            rows += bench.history(size);
        }
        if (wanted("consistency")) {
            rows += bench.consistency(size);
        }
        if (!wanted("images")) {
            if (wanted("publish")) {
                rows += bench.publish(size, jpeg);
            }
            continue;
        }
        // The peak of the sections before (the gallery, the huge file's refusal) is not the load's.
        resetPeakResident();
        bench.open();
        const double afterLoad = peakResidentMiB();
        int next = 0;
        const Timing display = measure(15, [&] { bench.showImage(1 + next++); });
        QList<double> naive;
        for (int i = 0; i < 3; ++i) {
            naive.append(naiveImageDisplay(bench.folder(), QUrl(server.url("/img/0/001.jpg"))));
        }
        std::sort(naive.begin(), naive.end());
        rows.append({QStringLiteral("image display (1600×1200 JPEG)"), size, display, naive.at(1)});
        // The same pictures again, kept by the displays above: no request, no converter. The comparison is the
        // download path just measured.
        next = 0;
        const qsizetype requestsBefore = server.requests.size();
        const Timing archived = measure(15, [&] { bench.showImage(1 + next++); });
        if (server.requests.size() != requestsBefore) {
            qFatal("a kept picture was downloaded again");
        }
        rows.append({QStringLiteral("image display, archived copy"), size, archived, display.median});
        const double before = residentMiB();
        const int displays = parser.value(displaysOption).toInt();
        for (int i = 0; i < displays; ++i) {
            bench.showImage(1 + i % size);
        }
        const double after = residentMiB();
        memory.insert(QStringLiteral("peakAfterLoadMiB"), afterLoad);
        memory.insert(QStringLiteral("residentBeforeDisplaysMiB"), before);
        memory.insert(QStringLiteral("residentAfterDisplaysMiB"), after);
        memory.insert(QStringLiteral("displays"), displays);
        memory.insert(QStringLiteral("peakMiB"), peakResidentMiB());
        memory.insert(QStringLiteral("largeRefusalPeakMiB"), refusalPeak);

        // Every address of the catalogue answers on loopback, one host: at most two requests at a time.
        const QByteArray post("<html><body>Énigme</body></html>");
        for (const Category& category : Category::all()) {
            for (int n = 1; n <= size; ++n) {
                server.serveBody(QStringLiteral("/img/%1/%2.jpg").arg(category.index).arg(ref(n)).toLatin1(), jpeg);
                server.serveBody(QStringLiteral("/forum/%1/%2").arg(category.index).arg(ref(n)).toLatin1(), post);
            }
        }
        // After the image displays, whose first run must find no kept copy: the publication keeps one of each.
        if (wanted("publish")) {
            rows += bench.publish(size, jpeg);
        }

        const qsizetype addresses = LinkJobs::check(bench.window().catalogue()).targets.size();
        rows.append({QStringLiteral("link check (%1 addresses)").arg(addresses), size,
                     measure(3, [&] { bench.checkLinks(); })});
    }

    QTextStream out(stdout);
    out << QStringLiteral("Mézor benchmark on %1, %2 logical CPUs, Qt %3\n\n")
               .arg(QSysInfo::prettyProductName())
               .arg(QThread::idealThreadCount())
               .arg(QString::fromLatin1(qVersion()));
    out << QStringLiteral(
        "| operation | entries per series | runs | min ms | median ms | max ms | naive median ms | naive / ours |\n");
    out << QStringLiteral("|---|---:|---:|---:|---:|---:|---:|---:|\n");
    QJsonArray results;
    for (const Row& row : rows) {
        const double ratio = row.naiveMedian > 0 && row.timing.median > 0 ? row.naiveMedian / row.timing.median : -1;
        out << QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 | %8 |\n")
                   .arg(row.operation)
                   .arg(row.size)
                   .arg(row.timing.runs)
                   .arg(cell(row.timing.min), cell(row.timing.median), cell(row.timing.max), cell(row.naiveMedian))
                   .arg(ratio < 0 ? QStringLiteral("—") : QString::number(ratio, 'f', 1) + u'×');
        results.append(QJsonObject{{QStringLiteral("operation"), row.operation},
                                   {QStringLiteral("entriesPerSeries"), row.size},
                                   {QStringLiteral("runs"), row.timing.runs},
                                   {QStringLiteral("minMs"), row.timing.min},
                                   {QStringLiteral("medianMs"), row.timing.median},
                                   {QStringLiteral("maxMs"), row.timing.max},
                                   {QStringLiteral("naiveMedianMs"), row.naiveMedian}});
    }
    if (gallery) {
        out << QStringLiteral(
                   "\nGallery: every thumbnail of the %1 entries made at %2 px and shown, screen after screen, in "
                   "%3 ms; then %4 MiB resident (peak %5 MiB).\n")
                   .arg(gallerySize)
                   .arg(GalleryWindow::largest)
                   .arg(gallery->allShownMs, 0, 'f', 0)
                   .arg(gallery->residentMiB, 0, 'f', 1)
                   .arg(gallery->peakMiB, 0, 'f', 1);
    }
    if (memory.contains(QStringLiteral("peakAfterLoadMiB"))) {
        out << QStringLiteral("Memory: peak resident %1 MiB after the load; resident %2 MiB before and %3 MiB after %4 "
                              "image displays.\n")
                   .arg(memory.value(QStringLiteral("peakAfterLoadMiB")).toDouble(), 0, 'f', 1)
                   .arg(memory.value(QStringLiteral("residentBeforeDisplaysMiB")).toDouble(), 0, 'f', 1)
                   .arg(memory.value(QStringLiteral("residentAfterDisplaysMiB")).toDouble(), 0, 'f', 1)
                   .arg(memory.value(QStringLiteral("displays")).toInt());
    }
    out.flush();
    QFile file(parser.value(jsonOption));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QJsonDocument(QJsonObject{{QStringLiteral("results"), results}, {QStringLiteral("memory"), memory}})
                       .toJson()) < 0) {
        qWarning("cannot write %s", qPrintable(file.fileName()));
        return 1;
    }
    return 0;
}
