// mezor-bench: times every user operation on a full catalogue through the real windows and store, and the naive
// way of doing the same work, in one process on the same data.
#include "CatalogueGenerator.h"
#include "Measure.h"
#include "NaiveWay.h"

#include "app/Startup.h"
#include "catalogue/Catalogue.h"
#include "search/SearchTab.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/MainWindow.h"
#include "ui/Messenger.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCommandLineParser>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

/// Counts the boxes an operation raised: a benchmark run must raise none but the expected ones.
class CountingMessenger final : public Messenger {
public:
    void show(Icon, const QString& text, const QString& detail) override
    {
        ++shown;
        last = text + u' ' + detail;
    }
    bool ask(const QString&, const QString&) override { return false; }
    int shown = 0;
    QString last;
};

struct Row {
    QString operation;
    Timing timing;
    double baselineMedian = -1; ///< the naive way, where there is one
    int size = 999;
};

struct Bench {
    CatalogueFolder folder;
    CountingMessenger messenger;
    Services services{&messenger, nullptr, nullptr};
    std::unique_ptr<MainWindow> window;

    explicit Bench(const QString& path)
        : folder(path)
    {
    }

    std::unique_ptr<MainWindow> open()
    {
        std::optional<LoadedCatalogue> loaded = Startup::open(folder, messenger);
        if (!loaded) {
            qFatal("cannot open the benchmark catalogue: %s", qPrintable(messenger.last));
        }
        auto w = std::make_unique<MainWindow>(folder, services);
        if (!w->load(std::move(*loaded))) {
            qFatal("cannot load the benchmark catalogue: %s", qPrintable(messenger.last));
        }
        w->show();
        QApplication::processEvents();
        return w;
    }
};

QString ref(int n)
{
    return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}

void expectNoMessage(const Bench& bench, const char* what)
{
    if (bench.messenger.shown != 0) {
        qFatal("%s raised a message: %s", what, qPrintable(bench.messenger.last));
    }
}

QList<Row> measureOperations(Bench& bench, int size, bool full)
{
    QList<Row> rows;
    const int quick = full ? 30 : 10;
    rows.append({QStringLiteral("load step"), measure(full ? 15 : 5, [&] { bench.window = bench.open(); },
                                                      [&] { bench.window.reset(); }),
                 -1, size});
    MainWindow& window = *bench.window;
    const Category& dravé = Category::dravé();
    CategoryTab* tab = window.categoryTab(dravé);

    const char* sortNames[] = {"sort by number", "sort by answer", "sort by author"};
    for (int column = 0; column < 3; ++column) {
        rows.append({QString::fromLatin1(sortNames[column]), measure(quick, [&] { emit tab->headerClicked(column); }),
                     -1, size});
    }
    emit tab->headerClicked(0);
    int next = 0;
    rows.append({QStringLiteral("row click"),
                 measure(full ? 200 : 50, [&] { emit tab->rowClicked(1 + (next++ * 37) % size); }), -1, size});

    SearchTab* search = window.searchTab();
    window.tabs()->setCurrentIndex(Tabs::Search);
    search->option(dravé.index)->click();
    auto runSearch = [&](const QString& criterion) {
        search->criterion()->setText(criterion);
        search->searchButton()->click();
    };
    const Timing searchAll = measure(full ? 100 : 30, [&] { runSearch(QStringLiteral(" ")); }, [&] {
        search->criterion()->setText(QStringLiteral("e"));
    });
    rows.append({QStringLiteral("search, every entry hits"),
                 measure(full ? 100 : 30, [&] { runSearch(QStringLiteral("é")); }),
                 NaiveWay::searchMedian(window.catalogue(), dravé, QStringLiteral("é"), full ? 30 : 10), size});
    rows.append({QStringLiteral("search, no entry hits"),
                 measure(full ? 100 : 30, [&] { runSearch(QStringLiteral("xyzzy")); }),
                 NaiveWay::searchMedian(window.catalogue(), dravé, QStringLiteral("xyzzy"), full ? 30 : 10), size});
    Q_UNUSED(searchAll);

    int tab2 = 0;
    const int tabsCycle[] = {Tabs::Statistics, Tabs::Search};
    rows.append({QStringLiteral("tab change (statistics rebuild)"),
                 measure(full ? 100 : 30, [&] { window.tabs()->setCurrentIndex(tabsCycle[tab2++ % 2]); }),
                 NaiveWay::statisticsMedian(window.catalogue(), full ? 10 : 3), size});

    window.tabs()->setCurrentIndex(dravé.tabIndex);
    int added = window.categoryTab(dravé)->model()->gridRowCount();
    const int adds = full ? 0 : 0; // the series is full at 999: add on a smaller series instead
    Q_UNUSED(adds);
    CategoryTab* tusqué = window.categoryTab(Category::tusqué());
    window.tabs()->setCurrentIndex(Category::tusqué().tabIndex);
    Q_UNUSED(added);
    // The add needs free numbers: the timed adds go to a series the generator left shorter (see below).
    CategoryTab* vantorel = window.categoryTab(Category::vantorel());
    int nextNumber = vantorel->model()->gridRowCount();
    window.tabs()->setCurrentIndex(Category::vantorel().tabIndex);
    rows.append({QStringLiteral("add, committed to disk"),
                 measure(full ? 50 : 20, [&] { vantorel->findChild<QPushButton*>(Category::vantorel().name(u"bt_add_"))->click(); },
                         [&] {
                             vantorel->setPanel({ref(nextNumber++), QStringLiteral("Réponse ajoutée"),
                                                 QStringLiteral("Auteur000é"), QStringLiteral("http://127.0.0.1/a.jpg"),
                                                 QStringLiteral("http://127.0.0.1/f")});
                         }),
                 -1, size});
    expectNoMessage(bench, "add");
    int updated = 0;
    rows.append({QStringLiteral("update, committed to disk"),
                 measure(full ? 50 : 20, [&] { tusqué->findChild<QPushButton*>(Category::tusqué().name(u"bt_maj_"))->click(); },
                         [&] {
                             tusqué->setPanel({ref(1 + (updated++ * 13) % size), QStringLiteral("Réponse corrigée"),
                                               QStringLiteral("Auteur001é"), QString(), QString()});
                         }),
                 -1, size});
    expectNoMessage(bench, "update");
    return rows;
}

QString format(double ms)
{
    return ms < 0 ? QStringLiteral("—") : QString::number(ms, 'f', ms < 10 ? 2 : 1);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("json"), QStringLiteral("Write the results to this JSON file."),
                      QStringLiteral("file"), QStringLiteral("bench-results.json")});
    parser.process(app);

    QList<Row> rows;
    for (int size : {250, 500, 999}) {
        QTemporaryDir dir;
        // Vantorel is left 50 entries short so that the adds have numbers to take.
        CatalogueGenerator::generate(dir.path(), size, 500, 8080);
        Bench bench(dir.path());
        rows += measureOperations(bench, size, size == 999);
    }

    QTextStream out(stdout);
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
               .arg(QStringLiteral("operation"), -34)
               .arg(QStringLiteral("size"), 5)
               .arg(QStringLiteral("min"), 9)
               .arg(QStringLiteral("median"), 9)
               .arg(QStringLiteral("max"), 9)
               .arg(QStringLiteral("naive"), 9)
               .arg(QStringLiteral("ratio"), 7);
    QJsonArray json;
    for (const Row& row : rows) {
        const double ratio = row.baselineMedian > 0 && row.timing.median > 0 ? row.baselineMedian / row.timing.median : -1;
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                   .arg(row.operation, -34)
                   .arg(row.size, 5)
                   .arg(format(row.timing.min), 9)
                   .arg(format(row.timing.median), 9)
                   .arg(format(row.timing.max), 9)
                   .arg(format(row.baselineMedian), 9)
                   .arg(ratio < 0 ? QStringLiteral("—") : QString::number(ratio, 'f', 1) + u'×', 7);
        json.append(QJsonObject{{QStringLiteral("operation"), row.operation}, {QStringLiteral("entriesPerSeries"), row.size},
                                {QStringLiteral("runs"), row.timing.runs}, {QStringLiteral("minMs"), row.timing.min},
                                {QStringLiteral("medianMs"), row.timing.median}, {QStringLiteral("maxMs"), row.timing.max},
                                {QStringLiteral("naiveMedianMs"), row.baselineMedian}});
    }
    out.flush();
    QFile file(parser.value(QStringLiteral("json")));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(QJsonObject{{QStringLiteral("results"), json}}).toJson());
    }
    return 0;
}
