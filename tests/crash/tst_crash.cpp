#include "CrashSeries.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueBackup.h"
#include "catalogue/CatalogueError.h"
#include "support/Fixture.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <memory>

char* toString(const PuzzleEntry& entry)
{
    return QTest::toString(QStringList{entry.ref, entry.answer, entry.author, entry.url, entry.link}.join(u'|'));
}

namespace {

constexpr int kills = 24;
constexpr int lastNumber = 999;
// The whole test, every start of the child included: a few seconds, even with sanitizers. The bound only keeps a
// child that hangs from holding up the suite.
constexpr int budgetMs = 60'000;
constexpr int shortestDelayMs = 3;
constexpr int longestDelayMs = 150;

/// One run of the child on a catalogue folder, and the numbers it reported.
class ChildRun {
public:
    explicit ChildRun(const QString& folder)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral(MEZOR_CRASH_CHILD), {folder});
    }
    ~ChildRun()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    /// Waits until the child reports a number or ends. False when the deadline passed first.
    bool waitForFirstNumber(const QDeadlineTimer& deadline)
    {
        while (m_numbers.isEmpty() && m_process.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            m_process.waitForReadyRead(int(std::min<qint64>(deadline.remainingTime(), 1000)));
            collect();
        }
        return !m_numbers.isEmpty() || m_process.state() == QProcess::NotRunning;
    }
    /// Kills the child if it still runs; true when it was killed rather than ended by itself.
    bool kill()
    {
        const bool running = m_process.state() != QProcess::NotRunning;
        if (running) {
            m_process.kill();
        }
        m_process.waitForFinished(10'000);
        collect();
        return running && m_process.exitStatus() == QProcess::CrashExit;
    }

    const QList<int>& numbers() const { return m_numbers; }
    int exitCode() const { return m_process.exitCode(); }
    QString failure() const
    {
        return QStringLiteral("child: %1, exit %2, error output:\n%3")
            .arg(m_process.errorString())
            .arg(m_process.exitCode())
            .arg(QString::fromUtf8(m_errors));
    }

private:
    // Reads whole lines only: a line cut by the kill was never a report.
    void collect()
    {
        m_pending += m_process.readAllStandardOutput();
        m_errors += m_process.readAllStandardError();
        qsizetype end = 0;
        while ((end = m_pending.indexOf('\n')) >= 0) {
            m_numbers.append(m_pending.left(end).toInt());
            m_pending.remove(0, end + 1);
        }
    }

    QProcess m_process;
    QByteArray m_pending;
    QByteArray m_errors;
    QList<int> m_numbers;
};

QString integrityOf(const QString& path)
{
    const QString name = QStringLiteral("crash-integrity");
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            result = db.lastError().text();
        } else {
            QSqlQuery query(db);
            if (!query.exec(QStringLiteral("PRAGMA integrity_check"))) {
                result = query.lastError().text();
            }
            while (query.next()) {
                result += (result.isEmpty() ? QString() : QStringLiteral("\n")) + query.value(0).toString();
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

} // namespace

/// Kills a child that adds entries through the window at random moments and checks after each kill that the
/// catalogue is sound and holds every entry the child reported.
class TestCrash : public QObject {
    Q_OBJECT

private slots:
    void killedWhileAddingLosesNothing();

private:
    // Checks the catalogue after a run; `reported` is the highest number any child reported on this file. Sets
    // `stored` to the number of entries found.
    void checkCatalogue(const QString& path, int reported, int& stored);
};

void TestCrash::checkCatalogue(const QString& path, int reported, int& stored)
{
    // Opened as the program opens it, which rolls back a transaction that the kill cut short.
    try {
        const Catalogue reopened(path);
    } catch (const CatalogueError& error) {
        QFAIL(qPrintable(error.message() + u'\n' + error.detail() + u'\n' + integrityOf(path)));
    }
    QCOMPARE(integrityOf(path), QStringLiteral("ok"));
    QVERIFY(!QFileInfo::exists(path + QStringLiteral("-wal")));

    // From then on the file alone is the catalogue (a journal left beside it was never used): the keeper may copy
    // just that file. Everything below is read from such a copy.
    QTemporaryDir elsewhere;
    const QString copy = elsewhere.filePath(QStringLiteral("copie.db"));
    QVERIFY(QFile::copy(path, copy));
    QCOMPARE(integrityOf(copy), QStringLiteral("ok"));
    std::unique_ptr<Catalogue> catalogue;
    try {
        catalogue = std::make_unique<Catalogue>(copy);
    } catch (const CatalogueError& error) {
        QFAIL(qPrintable(error.message() + u'\n' + error.detail()));
    }

    const QList<PuzzleEntry> entries = catalogue->entries(Category::dravé(), EntryOrder::Stored);
    // Every reported number is there; at most the add in flight when the kill came was stored unreported.
    QVERIFY2(entries.size() >= reported,
             qPrintable(QStringLiteral("%1 stored, %2 reported").arg(entries.size()).arg(reported)));
    QVERIFY2(entries.size() <= reported + 1,
             qPrintable(QStringLiteral("%1 stored, %2 reported").arg(entries.size()).arg(reported)));
    // Numbers from 001 without a gap, each with exactly what was typed.
    for (int n = 1; n <= entries.size(); ++n) {
        QCOMPARE(entries.at(n - 1), CrashSeries::stored(n));
    }
    stored = int(entries.size());

    // An author is registered in the same transaction as the entry that brought it: no more, no fewer.
    QStringList expected;
    for (const PuzzleEntry& entry : entries) {
        if (std::none_of(expected.begin(), expected.end(),
                         [&](const QString& a) { return sameAuthor(a, entry.author); })) {
            expected.append(entry.author);
        }
    }
    QCOMPARE(catalogue->authors(), expected);
}

void TestCrash::killedWhileAddingLosesNothing()
{
    bool seeded = false;
    const quint32 seed = qEnvironmentVariable("MEZOR_CRASH_SEED").toUInt(&seeded);
    const quint32 used = seeded ? seed : QRandomGenerator::system()->generate();
    qInfo("seed %u (MEZOR_CRASH_SEED=%u replays these delays)", used, used);
    QRandomGenerator random(used);

    const QDeadlineTimer deadline(budgetMs);
    auto fixture = std::make_unique<Fixture>();
    int performed = 0;
    int reported = 0;
    int checked = 0;
    int reports = 0;
    int unreported = 0;
    int cutShort = 0;
    bool firstRun = true;
    while (performed < kills) {
        if (deadline.hasExpired()) {
            QFAIL(qPrintable(QStringLiteral("time bound of %1 s reached after %2 kills of %3")
                                 .arg(budgetMs / 1000)
                                 .arg(performed)
                                 .arg(kills)));
        }
        ChildRun child(fixture->folder().path());
        if (!child.waitForFirstNumber(deadline)) {
            continue; // the deadline check above fails the test
        }
        // Drawn in every round, so that a seed gives the same delays whatever the runs do.
        const int delay = random.bounded(shortestDelayMs, longestDelayMs + 1);
        if (!child.numbers().isEmpty()) {
            QThread::msleep(ulong(delay));
        }
        const bool killed = child.kill();
        // Ended by itself: only a full series is a reason to.
        QVERIFY2(killed || child.exitCode() == 0, qPrintable(child.failure()));
        // The child resumes from the grid's row count, so its numbers follow what the file held.
        for (int number : child.numbers()) {
            QVERIFY2(number > reported, qPrintable(QStringLiteral("%1 reported after %2").arg(number).arg(reported)));
            reported = number;
        }

        // A journal beside the file means that the kill came inside a write transaction.
        cutShort += QFileInfo::exists(fixture->folder().database() + QStringLiteral("-journal")) ? 1 : 0;
        int stored = 0;
        checkCatalogue(fixture->folder().database(), reported, stored);
        if (QTest::currentTestFailed()) {
            qInfo("failed in round %d, killed %d ms after the first report", performed + 1, delay);
            return;
        }
        checked += stored;
        reports += int(child.numbers().size());
        unreported += stored - reported;

        if (firstRun) {
            // The first write of the first run was preceded by a copy of the catalogue as it was: still empty.
            const Catalogue catalogue(fixture->folder().database());
            const QStringList copies = CatalogueBackup(fixture->folder().backups()).copies(catalogue);
            QVERIFY(!copies.isEmpty());
            QCOMPARE(integrityOf(copies.first()), QStringLiteral("ok"));
            QCOMPARE(Catalogue(copies.first()).count(Category::dravé()), 0);
            // A kill cannot tell a commit on the disk from one in the system's cache: that rests on these settings.
            QSqlQuery setting(catalogue.database());
            QVERIFY(setting.exec(QStringLiteral("PRAGMA synchronous")) && setting.next());
            QCOMPARE(setting.value(0).toInt(), 2); // FULL
            QVERIFY(setting.exec(QStringLiteral("PRAGMA journal_mode")) && setting.next());
            QCOMPARE(setting.value(0).toString(), QStringLiteral("truncate"));
            firstRun = false;
        }

        performed += killed ? 1 : 0;
        if (!killed) {
            QCOMPARE(stored, lastNumber);
        }
        if (stored == lastNumber) {
            // The series is full: go on with a new catalogue.
            fixture = std::make_unique<Fixture>();
            reported = 0;
        }
    }
    qInfo("%d kills, %d inside a transaction, %d between a commit and its report; %d entries reported, %d checked",
          performed, cutShort, unreported, reports, checked);
}

QTEST_MAIN(TestCrash)
#include "tst_crash.moc"
