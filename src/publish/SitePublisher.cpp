#include "publish/SitePublisher.h"

#include "publish/PublishTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QThread>
#include <QThreadPool>

using namespace Qt::StringLiterals;

#include <atomic>

namespace SitePublisher {

namespace {

const qint64 largestRegister = 16 * 1024 * 1024;
const int chunk = 32; // thumbnails made between two looks at the cancel request

// The names this program writes, and so the only ones it may ever remove: the register may come from elsewhere.
bool isOwnPath(const QString& path)
{
    static const QRegularExpression own(QStringLiteral(
        R"(^([a-z0-9-]+\.(html|css|js)|auteurs/[a-z0-9-]+\.html|vignettes/[a-z0-9-]+/[a-z0-9-]+\.jpg)$)"));
    return own.match(path).hasMatch();
}

using Register = QHash<QString, QString>; // path → stamp

bool sameContent(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.size() == bytes.size() && file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
}

Register readRegister(const QString& file)
{
    Register paths;
    QFile in(file);
    if (in.size() > largestRegister || !in.open(QIODevice::ReadOnly)) {
        return paths;
    }
    const QJsonObject files = QJsonDocument::fromJson(in.readAll()).object().value(u"fichiers"_s).toObject();
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (isOwnPath(it.key())) {
            paths.insert(it.key(), it.value().toString());
        }
    }
    return paths;
}

QString writeRegister(const QString& file, const Register& paths)
{
    QJsonObject files;
    for (auto it = paths.begin(); it != paths.end(); ++it) {
        files.insert(it.key(), it.value());
    }
    const QByteArray bytes = QJsonDocument(QJsonObject{{QStringLiteral("application"), QStringLiteral("Mézor")},
                                                       {QStringLiteral("fichiers"), files}})
                                 .toJson();
    if (sameContent(file, bytes)) {
        return {};
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        return out.errorString();
    }
    return {};
}

// Writes the file whole or not at all. Returns the error, or nothing.
QString write(const QString& path, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(path).path())) {
        return PublishTexts::folderNotMade().arg(QDir::toNativeSeparators(QFileInfo(path).path()));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return file.errorString();
    }
    return {};
}

class Run {
public:
    Run(const QString& folder, const Control& control)
        : m_folder(folder)
        , m_control(control)
    {
    }

    Report publish(SiteBuilder::Series series, const QList<Thumbnail>& thumbnails)
    {
        QDir dir(m_folder);
        const QString marker = dir.filePath(markerName());
        if (!dir.exists() && !QDir().mkpath(m_folder)) {
            return refused(PublishTexts::folderNotMade().arg(QDir::toNativeSeparators(m_folder)));
        }
        if (!dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System) &&
            !QFileInfo::exists(marker)) {
            return refused(PublishTexts::foreignFolder().arg(QDir::toNativeSeparators(m_folder)));
        }
        m_old = readRegister(marker);
        m_now = m_old;

        QList<Thumbnail> todo;
        QList<QString> stamps;
        QSet<QString> present;
        for (const Thumbnail& thumbnail : thumbnails) {
            const QString stamp = thumbnail.stamp();
            if (stamp.isEmpty()) {
                continue; // no kept copy after all
            }
            if (m_old.value(thumbnail.file) == stamp && QFileInfo::exists(path(thumbnail.file))) {
                present.insert(thumbnail.file);
                ++m_report.kept;
            } else {
                todo.append(thumbnail);
                stamps.append(stamp);
            }
        }
        m_total = int(todo.size());
        inChunks(
            todo.size(),
            [&](qsizetype i) {
                const QByteArray bytes = todo.at(i).make();
                return bytes.isEmpty() ? Written{Written::Unreadable, {}} : put(todo.at(i).file, bytes);
            },
            [&](qsizetype i, const Written& done) {
                if (done.kind == Written::Unreadable) {
                    ++m_report.withoutImage;
                } else if (record(todo.at(i).file, stamps.at(i), done)) {
                    present.insert(todo.at(i).file);
                    ++m_report.made;
                }
            });
        QSet<QString> wanted = present;
        for (QList<SiteEntry>& entries : series) {
            for (SiteEntry& item : entries) {
                if (!present.contains(item.thumbnail)) {
                    item.thumbnail.clear();
                }
            }
        }
        const QList<SiteFile> pages = stopped() ? QList<SiteFile>() : SiteBuilder::pages(series);
        m_total += int(pages.size());
        inChunks(
            pages.size(), [&](qsizetype i) { return put(pages.at(i).path, pages.at(i).bytes); },
            [&](qsizetype i, const Written& done) {
                wanted.insert(pages.at(i).path);
                if (done.kind == Written::Same) {
                    ++m_report.unchanged;
                } else if (record(pages.at(i).path, {}, done)) {
                    ++m_report.pagesWritten;
                }
            });
        if (!stopped()) {
            removeStale(wanted);
        }
        const QString registerError = writeRegister(marker, m_now);
        return finish(registerError);
    }

private:
    QString path(const QString& relative) const { return m_folder + u'/' + relative; }

    bool stopped()
    {
        if (m_report.outcome == Outcome::Done && m_control.cancelled && m_control.cancelled()) {
            m_report.outcome = Outcome::Cancelled;
        }
        return m_report.outcome != Outcome::Done;
    }

    void step()
    {
        ++m_done;
        if (m_control.progress) {
            m_control.progress(m_done, m_total);
        }
    }

    struct Written {
        enum Kind { Same, New, Unreadable, Error } kind = Same;
        QString error;
    };

    // A file whose content is already there is left alone (its date too).
    Written put(const QString& relative, const QByteArray& bytes) const
    {
        if (sameContent(path(relative), bytes)) {
            return {Written::Same, {}};
        }
        const QString error = write(path(relative), bytes);
        return {error.isEmpty() ? Written::New : Written::Error, error};
    }

    // Runs `work` for each index on a pool, a chunk at a time (writes overlap their waits for the disk), then
    // `note` for each result in order on this thread. Stops between two chunks at a cancel or an error; every
    // result of the last chunk is noted, so the register and the counts tell what is on disk.
    template <typename Work, typename Note> void inChunks(qsizetype count, Work work, Note note)
    {
        QThreadPool pool;
        pool.setMaxThreadCount(std::max(4, QThread::idealThreadCount()));
        for (qsizetype first = 0; first < count && !stopped(); first += chunk) {
            const qsizetype size = std::min<qsizetype>(chunk, count - first);
            QList<Written> results(size);
            for (qsizetype i = 0; i < size; ++i) {
                pool.start([&results, &work, first, i] { results[i] = work(first + i); });
            }
            pool.waitForDone();
            for (qsizetype i = 0; i < size; ++i) {
                note(first + i, results.at(i));
                step();
            }
        }
    }

    // Notes a file written (or found the same): the register follows what is on disk. A failure stops the run.
    bool record(const QString& relative, const QString& stamp, const Written& done)
    {
        if (done.kind == Written::Error) {
            if (m_report.outcome != Outcome::Failed) {
                m_failedFile = relative;
                m_error = done.error;
            }
            m_report.outcome = Outcome::Failed;
            return false;
        }
        m_now.insert(relative, stamp);
        m_report.written += done.kind == Written::New ? 1 : 0;
        return true;
    }

    // Files of an earlier publication that this one no longer has: an author gone, a picture no longer kept.
    void removeStale(const QSet<QString>& wanted)
    {
        for (auto it = m_old.begin(); it != m_old.end(); ++it) {
            if (!wanted.contains(it.key()) && isOwnPath(it.key())) {
                if (QFile::remove(path(it.key())) || !QFileInfo::exists(path(it.key()))) {
                    m_now.remove(it.key());
                }
            }
        }
    }

    Report refused(const QString& message)
    {
        m_report.outcome = Outcome::Refused;
        m_report.message = message;
        return m_report;
    }

    Report finish(const QString& registerError)
    {
        const QString folder = QDir::toNativeSeparators(m_folder);
        switch (m_report.outcome) {
        case Outcome::Done:
            m_report.message = PublishTexts::published()
                                   .arg(folder)
                                   .arg(m_report.pagesWritten)
                                   .arg(m_report.unchanged)
                                   .arg(m_report.made)
                                   .arg(m_report.kept)
                                   .arg(m_report.withoutImage);
            break;
        case Outcome::Cancelled:
            m_report.message = PublishTexts::cancelled().arg(m_report.written).arg(folder);
            break;
        case Outcome::Failed:
            m_report.message =
                PublishTexts::failed().arg(QDir::toNativeSeparators(path(m_failedFile)), m_error).arg(m_report.written);
            break;
        case Outcome::Refused:
            break;
        }
        if (!registerError.isEmpty()) {
            m_report.message += u'\n' + PublishTexts::markerNotWritten().arg(markerName(), registerError);
            if (m_report.outcome == Outcome::Done) {
                m_report.outcome = Outcome::Failed;
            }
        }
        return m_report;
    }

    QString m_folder;
    const Control& m_control;
    Register m_old;
    Register m_now;
    Report m_report;
    int m_done = 0;
    int m_total = 0;
    QString m_failedFile;
    QString m_error;
};

} // namespace

QString markerName()
{
    return QStringLiteral("mezor-publication.json");
}

Report publish(const QString& folder, SiteBuilder::Series series, const QList<Thumbnail>& thumbnails,
               const Control& control)
{
    return Run(folder, control).publish(std::move(series), thumbnails);
}

} // namespace SitePublisher
