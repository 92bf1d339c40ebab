#include "catalogue/CatalogueBackup.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueTexts.h"
#include "catalogue/Category.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <atomic>

namespace {

using Kind = CatalogueError::Kind;

// Copies made in the same second are numbered from 2; two digits keep name order equal to the order made.
constexpr int maxPerSecond = 99;

QString baseNameOf(const Catalogue& catalogue)
{
    return QFileInfo(catalogue.path()).completeBaseName();
}

} // namespace

CatalogueBackup::CatalogueBackup(QString folder)
    : m_folder(std::move(folder))
{
}

QString CatalogueBackup::take(const Catalogue& catalogue, const QDateTime& when) const
{
    const QString folderText = QDir::toNativeSeparators(m_folder);
    if (!QDir().mkpath(m_folder)) {
        throw CatalogueError(Kind::Write, CatalogueTexts::backupFailed().arg(folderText),
                             CatalogueTexts::backupNoFolder());
    }
    const QString target = freeName(baseNameOf(catalogue), when);
    if (target.isEmpty()) {
        throw CatalogueError(Kind::Write, CatalogueTexts::backupFailed().arg(folderText),
                             CatalogueTexts::backupNoName());
    }

    // VACUUM INTO writes a consistent, compact copy through the open connection, even while another reader holds
    // the file; it refuses to overwrite an existing file.
    QString failure;
    {
        QSqlQuery query(catalogue.database());
        if (!query.prepare(QStringLiteral("VACUUM INTO ?"))) {
            failure = query.lastError().text().trimmed();
        } else {
            query.addBindValue(target);
            if (!query.exec()) {
                failure = query.lastError().text().trimmed();
            }
        }
    }
    if (!failure.isEmpty()) {
        QFile::remove(target); // the name was free, so whatever lies there now is our own half-written copy
        throw CatalogueError(Kind::Write, CatalogueTexts::backupFailed().arg(folderText), failure);
    }
    rotate(catalogue, target);
    return target;
}

QString CatalogueBackup::freeName(const QString& baseName, const QDateTime& when) const
{
    const QString stem = m_folder + u'/' + baseName + u'-' + when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    auto name = [&](int n) {
        return n == 1 ? stem + QStringLiteral(".db") : stem + QStringLiteral("_%1.db").arg(n, 2, 10, QLatin1Char('0'));
    };
    // Number after the highest copy of that second, not into a gap that rotation left: a reused lower number
    // would sort as older than copies made before it.
    int next = 1;
    for (int n = maxPerSecond; n >= 1; --n) {
        if (QFileInfo::exists(name(n))) {
            next = n + 1;
            break;
        }
    }
    return next <= maxPerSecond ? name(next) : QString();
}

QStringList CatalogueBackup::copies(const Catalogue& catalogue) const
{
    const QRegularExpression pattern(u'^' + QRegularExpression::escape(baseNameOf(catalogue)) +
                                     QStringLiteral(R"(-\d{4}-\d{2}-\d{2}_\d{2}-\d{2}-\d{2}(_\d{2})?\.db$)"));
    QStringList names = QDir(m_folder).entryList(QDir::Files);
    names.removeIf([&](const QString& name) { return !pattern.match(name).hasMatch(); });
    // Plain code-point order: the names differ only in their ASCII date, time and number.
    std::sort(names.begin(), names.end());
    QStringList paths;
    for (const QString& name : names) {
        paths.append(m_folder + u'/' + name);
    }
    return paths;
}

void CatalogueBackup::rotate(const Catalogue& catalogue, const QString& newest) const
{
    QStringList old = copies(catalogue);
    // The copy just made stays even if a clock set back gives it an older name.
    old.removeAll(newest);
    QStringList stuck;
    for (qsizetype i = 0; i < old.size() - (kept - 1); ++i) {
        if (!QFile::remove(old.at(i))) {
            stuck.append(QDir::toNativeSeparators(old.at(i)));
        }
    }
    if (!stuck.isEmpty()) {
        throw CatalogueError(Kind::Write, CatalogueTexts::backupNotPruned().arg(QDir::toNativeSeparators(m_folder)),
                             stuck.join(u'\n'));
    }
}

void CatalogueBackup::install(Catalogue& catalogue, const QString& folder,
                              std::function<void(const CatalogueError&)> failed)
{
    catalogue.setBeforeFirstWrite([&catalogue, folder, failed = std::move(failed)] {
        try {
            CatalogueBackup(folder).take(catalogue);
        } catch (const CatalogueError& error) {
            if (failed) {
                failed(error);
            }
        }
    });
}

BackupCopy CatalogueBackup::inspect(const QString& path)
{
    BackupCopy copy{path, QFileInfo(path).lastModified(), {}, {}, false};
    const QRegularExpressionMatch stamp =
        QRegularExpression(QStringLiteral(R"(-(\d{4}-\d{2}-\d{2}_\d{2}-\d{2}-\d{2})(_\d{2})?\.db$)")).match(path);
    if (stamp.hasMatch()) {
        copy.made = QDateTime::fromString(stamp.captured(1), QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    }
    static std::atomic<int> counter{0};
    const QString connection = QStringLiteral("mezor-inspect-%1").arg(counter++);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QSqlQuery query(db);
        if (!QFileInfo(path).isFile() || !db.open()) {
            copy.integrity = db.lastError().text().trimmed();
        } else if (!query.exec(QStringLiteral("PRAGMA integrity_check"))) {
            copy.integrity = query.lastError().text().trimmed();
        } else {
            QStringList lines;
            while (query.next()) {
                lines.append(query.value(0).toString());
            }
            copy.integrity = lines.join(u'\n');
            copy.usable = copy.integrity == u"ok";
            // A sound file is still no catalogue without the four series.
            for (const Category& category : Category::all()) {
                const QString table = db.driver()->escapeIdentifier(category.table, QSqlDriver::TableName);
                if (copy.usable && query.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)) && query.next()) {
                    copy.counts.at(category.index) = query.value(0).toInt();
                } else if (copy.usable) {
                    copy.usable = false;
                    copy.integrity = query.lastError().text().trimmed();
                }
            }
        }
        query = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return copy;
}

void CatalogueBackup::restore(Catalogue& catalogue, const QString& copy,
                              const std::function<bool(QSaveFile&)>& commit) const
{
    const BackupCopy checked = inspect(copy);
    if (!checked.usable) {
        throw CatalogueError(Kind::Write,
                             CatalogueTexts::restoreFailed().arg(QDir::toNativeSeparators(catalogue.path())),
                             checked.integrity);
    }
    // The copy of the current catalogue is taken once the chosen one is read: its rotation may remove the oldest.
    const auto keepCurrent = [&] {
        try {
            take(catalogue);
        } catch (const CatalogueError& error) {
            // Without a copy of what it replaces, nothing is replaced.
            throw CatalogueError(error.kind(),
                                 CatalogueTexts::restoreFailed().arg(QDir::toNativeSeparators(catalogue.path())),
                                 error.detail());
        }
    };
    catalogue.replaceFile(copy, keepCurrent, commit);
}
