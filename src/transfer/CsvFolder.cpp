#include "transfer/CsvFolder.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "transfer/Csv.h"
#include "transfer/TransferTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QScopeGuard>

#include <vector>

namespace CsvFolder {

namespace {

QList<QByteArray> contents(const Catalogue& catalogue)
{
    QList<QByteArray> files;
    for (const Category& category : Category::all()) {
        QList<QStringList> records{category.fields()};
        for (const PuzzleEntry& entry : catalogue.entries(category, EntryOrder::ByNumber)) {
            records.append({entry.ref, entry.answer, entry.author, entry.url, entry.link});
        }
        files.append(Csv::file(records));
    }
    QList<QStringList> authors{{QStringLiteral("nom")}};
    for (const QString& name : catalogue.authors()) {
        authors.append({name});
    }
    files.append(Csv::file(authors));
    return files;
}

} // namespace

bool rename(const QString& from, const QString& to, QString& error)
{
    QFile file(from);
    if (file.rename(to)) {
        return true;
    }
    error = file.errorString();
    return false;
}

namespace {

// One of the five files through the steps of an export: the new one written beside the old under `staged`, the
// old one set aside under `aside` while the new one takes its name.
struct Slot {
    QString name;
    QString path;
    QString staged;
    QString aside;
    bool hadEarlier = false;
    bool setAside = false;
    bool placed = false;
};

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The folders that mkpath will make for `folder`, deepest first.
QStringList missingLevels(const QString& folder)
{
    QStringList levels;
    for (QString level = QDir(folder).absolutePath(); !QFileInfo::exists(level) && !QDir(level).isRoot();
         level = QFileInfo(level).absolutePath()) {
        levels.append(level);
    }
    return levels;
}

// An export stopped between its steps (the program killed) leaves a file set aside: put back when its name is
// free, removed when the new file is in place.
void recover(const Slot& slot, const Rename& rename)
{
    QString ignored;
    if (QFileInfo(slot.aside).isFile()) {
        if (!QFileInfo::exists(slot.path)) {
            rename(slot.aside, slot.path, ignored);
        } else if (QFileInfo(slot.path).isFile()) {
            QFile::remove(slot.aside);
        }
    }
}

// The heading of a failed export: what the five names hold now, told as it is.
QString outcome(const QString& folder, const std::vector<Slot>& parts)
{
    QStringList fresh;
    QStringList earlier;
    QStringList lost; // earlier files left under their name aside
    for (const Slot& slot : parts) {
        if (slot.placed) {
            fresh.append(slot.name);
        } else if (slot.hadEarlier && !slot.setAside) {
            earlier.append(slot.name);
        }
        if (slot.setAside) {
            lost.append(TransferTexts::leftAside().arg(slot.name, QFileInfo(slot.aside).fileName()));
        }
    }
    const QString where = native(folder);
    if (fresh.isEmpty() && lost.isEmpty()) {
        return earlier.isEmpty() ? TransferTexts::exportNotWritten().arg(where)
                                 : TransferTexts::exportFailed().arg(where);
    }
    const auto list = [](const QStringList& names) {
        return names.isEmpty() ? TransferTexts::none() : names.join(QStringLiteral(", "));
    };
    return TransferTexts::exportMixed().arg(where, list(fresh), list(earlier), list(lost));
}

} // namespace

QStringList write(const Catalogue& catalogue, const QString& folder, const Rename& rename)
{
    // Everything is read first: a read failure leaves the folder as it was.
    const QList<QByteArray> files = contents(catalogue);
    const QStringList made = missingLevels(folder);
    std::vector<Slot> parts;
    const auto failure = [&](const QString& detail) {
        return CatalogueError(CatalogueError::Kind::Write, outcome(folder, parts), detail);
    };
    // Runs last on a failure, once the staged files are gone: only empty folders are removed.
    auto unmake = qScopeGuard([&made] {
        for (const QString& level : made) {
            QDir().rmdir(level);
        }
    });
    if (!QDir().mkpath(folder)) {
        throw failure(TransferTexts::folderNotMade());
    }
    for (int table = 0; table < ImportInput::Tables; ++table) {
        const QString name = ImportInput::fileName(table);
        const QDir dir(folder);
        Slot slot{name, dir.filePath(name), dir.filePath(u'.' + name + QStringLiteral(".mezor-nouveau")),
                  dir.filePath(u'.' + name + QStringLiteral(".mezor-ancien"))};
        recover(slot, rename);
        slot.hadEarlier = QFileInfo::exists(slot.path);
        // A folder under that name would fail only once other files were replaced.
        if (slot.hadEarlier && !QFileInfo(slot.path).isFile()) {
            throw failure(TransferTexts::notAFile().arg(native(slot.path)));
        }
        parts.push_back(slot);
    }
    // The new files beside the earlier ones; QSaveFile writes each under a temporary name first, so that a full
    // disk leaves no cut file under the staged name either.
    const auto unstage = qScopeGuard([&parts] {
        for (const Slot& slot : parts) {
            QFile::remove(slot.staged);
        }
    });
    for (int table = 0; table < ImportInput::Tables; ++table) {
        QSaveFile file(parts.at(table).staged);
        if (!file.open(QIODevice::WriteOnly) || file.write(files.at(table)) != files.at(table).size() ||
            !file.commit()) {
            throw failure(TransferTexts::fileNotWritten().arg(native(parts.at(table).path), file.errorString()));
        }
    }
    // Then the earlier ones aside and the new ones in their place; on a refusal, every step taken is undone.
    // A new file leaves its name only for the earlier one: where that cannot come back, the new one stays.
    const auto undo = [&] {
        QString ignored;
        for (Slot& slot : parts) {
            if (slot.placed && !slot.setAside) {
                slot.placed = !QFile::remove(slot.path);
            } else if (slot.placed && rename(slot.path, slot.staged, ignored)) {
                slot.placed = false;
                if (rename(slot.aside, slot.path, ignored)) {
                    slot.setAside = false;
                } else {
                    slot.placed = rename(slot.staged, slot.path, ignored);
                }
            } else if (!slot.placed && slot.setAside && rename(slot.aside, slot.path, ignored)) {
                slot.setAside = false;
            }
        }
    };
    QString error;
    for (Slot& slot : parts) {
        if (slot.hadEarlier) {
            if (!rename(slot.path, slot.aside, error)) {
                undo();
                throw failure(TransferTexts::notSetAside().arg(slot.name, error));
            }
            slot.setAside = true;
        }
    }
    for (Slot& slot : parts) {
        if (!rename(slot.staged, slot.path, error)) {
            undo();
            throw failure(TransferTexts::notPlaced().arg(slot.name, error));
        }
        slot.placed = true;
    }
    unmake.dismiss();
    QStringList names;
    for (Slot& slot : parts) {
        // A copy aside that cannot be removed is removed by the next export.
        QFile::remove(slot.aside);
        names.append(slot.name);
    }
    return names;
}

ImportInput read(const QString& folder)
{
    ImportInput input;
    for (int table = 0; table < ImportInput::Tables; ++table) {
        const QString name = ImportInput::fileName(table);
        QFile file(QDir(folder).filePath(name));
        if (!file.exists()) {
            input.absent.append(name);
            continue;
        }
        // A device or a pipe under that name could be read without end.
        if (!QFileInfo(file).isFile()) {
            input.problems.append({name, 0, TransferTexts::notRegular()});
            continue;
        }
        // Refused unread: a file this large is not a catalogue, and reading it would only fill the memory.
        if (file.size() > ImportInput::maxTableBytes) {
            input.problems.append(
                {name, 0,
                 TransferTexts::tooLarge().arg(QString::number(file.size() / (1024 * 1024)),
                                               QString::number(ImportInput::maxTableBytes / (1024 * 1024)))});
            continue;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            input.problems.append({name, 0, TransferTexts::unreadable().arg(file.errorString())});
            continue;
        }
        ImportTable read{name, file.readAll(), true, {}};
        if (file.error() != QFileDevice::NoError) {
            input.problems.append({name, 0, TransferTexts::unreadable().arg(file.errorString())});
            continue;
        }
        input.tables.at(table) = std::move(read);
    }
    const bool none =
        std::none_of(input.tables.begin(), input.tables.end(), [](const auto& t) { return t.has_value(); });
    if (none && input.problems.isEmpty()) {
        input.problems.append({native(folder), 0, TransferTexts::noCsvFile()});
    }
    return input;
}

} // namespace CsvFolder
