#include "CrashSeries.h"
#include "catalogue/Catalogue.h"
#include "support/Fixture.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

char* toString(const PuzzleEntry& entry)
{
    return QTest::toString(QStringList{entry.ref, entry.answer, entry.author, entry.url, entry.link}.join(u'|'));
}

namespace {

constexpr int kills = 24;
// The whole test, every start of the child included, takes a few seconds even with sanitizers: the bound only keeps
// a child that hangs from holding up the suite.
constexpr int budgetMs = 60'000;

// Checks the catalogue after a kill; `reported` is the number of entries after the last step any child reported on
// this file, `steps` how many steps were reported. Sets `stored` to the number of entries found, `rows` to the
// journal's.
void checkCatalogue(const QString& path, int reported, int steps, int& stored, int& rows)
{
    // Opened as the program opens it, which rolls back a transaction that the kill cut short. From then on the file
    // alone is the catalogue (a journal left beside it was never used): the keeper may copy just that file.
    // Everything below is read from such a copy.
    const Catalogue reopened(path);
    QVERIFY(!QFileInfo::exists(path + u"-wal"_s));
    QTemporaryDir elsewhere;
    QVERIFY(QFile::copy(path, elsewhere.filePath(u"copie.db"_s)));
    const Catalogue copy(elsewhere.filePath(u"copie.db"_s));
    QSqlQuery check(copy.database());
    QVERIFY(check.exec(u"PRAGMA integrity_check"_s) && check.next());
    QCOMPARE(check.value(0).toString(), u"ok"_s);
    // A kill cannot tell a commit on the disk from one in the system's cache: that rests on these settings.
    QVERIFY(check.exec(u"PRAGMA synchronous"_s) && check.next() && check.value(0).toInt() == 2); // FULL
    QVERIFY(check.exec(u"PRAGMA journal_mode"_s) && check.next() && check.value(0).toString() == u"truncate");

    // Every reported step is there; at most the step in flight when the kill came (an add, an undo or a redo) was
    // stored unreported, with its journal row.
    const QList<PuzzleEntry> entries = copy.entries(Category::dravé(), EntryOrder::Stored);
    stored = int(entries.size());
    QVERIFY2(std::abs(stored - reported) <= 1, qPrintable(u"%1 stored, %2 reported"_s.arg(stored).arg(reported)));
    QList<JournalRecord> journal = copy.journal();
    rows = int(journal.size());
    QVERIFY2(journal.size() == steps || journal.size() == steps + 1,
             qPrintable(u"%1 journal rows, %2 steps reported"_s.arg(journal.size()).arg(steps)));
    // The journal played from the empty series, each row from what the one before left, gives the series itself:
    // no change lacks its row and no row lacks its change.
    QList<PuzzleEntry> played;
    std::reverse(journal.begin(), journal.end());
    for (const JournalRecord& row : journal) {
        const qsizetype at = row.ref.toInt() - 1;
        const std::optional<PuzzleEntry> held = at < played.size() ? std::optional(played.at(at)) : std::nullopt;
        QVERIFY2(row.entryCount == 1 && row.before == held && at <= played.size(), qPrintable(row.description));
        if (!row.after) {
            played.removeLast(); // an undone add: the last entry
        } else if (at == played.size()) {
            played.append(*row.after);
        } else {
            played[at] = *row.after;
        }
    }
    QCOMPARE(played, entries);
    // Numbers from 001 without a gap, each with exactly what was typed; an author is registered in the same
    // transaction as the entry that brought it (once, whatever the letter case): no more, no fewer.
    QStringList authors;
    for (int n = 1; n <= stored; ++n) {
        PuzzleEntry typed = CrashSeries::typed(n);
        if (typed.url.isEmpty()) {
            typed.url = typed.link = u"Non disponible"_s;
        }
        QCOMPARE(entries.at(n - 1), typed);
        if (!authors.contains(typed.author, Qt::CaseInsensitive)) {
            authors.append(typed.author);
        }
    }
    QCOMPARE(copy.authors(), authors);
}

} // namespace

/// Kills a child that adds entries, undoes and redoes through the window at random moments and checks after each
/// kill that the catalogue is sound, holds every entry the child reported, and agrees with its journal.
class TestCrash : public QObject {
    Q_OBJECT

private slots:
    void killedWhileAddingLosesNothing();
};

void TestCrash::killedWhileAddingLosesNothing()
{
    const quint32 seed = qEnvironmentVariableIsSet("MEZOR_CRASH_SEED")
                             ? qEnvironmentVariable("MEZOR_CRASH_SEED").toUInt()
                             : QRandomGenerator::system()->generate();
    qInfo("seed %u (MEZOR_CRASH_SEED=%u replays these delays)", seed, seed);
    QRandomGenerator random(seed);
    const QDeadlineTimer deadline(budgetMs);

    auto fixture = std::make_unique<Fixture>();
    int reported = 0;
    int steps = 0;
    int hotJournals = 0;
    for (int round = 1, performed = 0; performed < kills; ++round) {
        QVERIFY2(!deadline.hasExpired(), qPrintable(u"time bound reached after %1 kills"_s.arg(performed)));
        QProcess child;
        child.start(QStringLiteral(MEZOR_CRASH_CHILD), {fixture->folder().path()});
        while (!child.canReadLine() && child.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            child.waitForReadyRead(100);
        }
        // Drawn in every round, so that a seed gives the same delays whatever the runs do.
        const int delay = random.bounded(3, 151);
        if (child.canReadLine()) {
            QThread::msleep(ulong(delay));
        }
        const bool running = child.state() != QProcess::NotRunning;
        child.kill();
        child.waitForFinished(10'000);
        const bool killed = running && child.exitStatus() == QProcess::CrashExit;
        // Ended by itself: only a full series is a reason to.
        QVERIFY2(killed || child.exitCode() == 0,
                 qPrintable(child.errorString() + u'\n' + QString::fromUtf8(child.readAllStandardError())));
        // The last piece is a line cut by the kill, never a report. The child resumes from the grid's row count, so
        // its numbers follow what the file held: an add or a redo brings the next number, an undo takes the last.
        QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
        lines.removeLast();
        for (const QByteArray& line : lines) {
            const int number = line.mid(2).toInt();
            const bool back = line.startsWith('u');
            QVERIFY2(number == (back ? reported : reported + 1),
                     qPrintable(u"%1 after %2"_s.arg(QString::fromLatin1(line)).arg(reported)));
            reported = back ? number - 1 : number;
            ++steps;
        }

        // A journal with content beside the file means that the kill came inside a write transaction.
        hotJournals += QFileInfo(fixture->folder().database() + u"-journal"_s).size() > 0 ? 1 : 0;
        int stored = 0;
        int rows = 0;
        QVERIFY_THROWS_NO_EXCEPTION(checkCatalogue(fixture->folder().database(), reported, steps, stored, rows));
        if (QTest::currentTestFailed()) {
            qInfo("failed in round %d, killed %d ms after the first report", round, delay);
            return;
        }
        // The next child goes on from what the file holds, the step in flight included.
        reported = stored;
        steps = rows;
        performed += killed ? 1 : 0;
        QVERIFY2(killed || stored == CrashSeries::lastNumber, "the child ended before the series was full");
        if (stored == CrashSeries::lastNumber) {
            // The series is full: go on with a new catalogue.
            fixture = std::make_unique<Fixture>();
            reported = steps = 0;
        }
    }
    qInfo("%d kills, %d of them inside a write transaction", kills, hotJournals);
}

QTEST_MAIN(TestCrash)
#include "tst_crash.moc"
