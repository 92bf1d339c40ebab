#include "transfer/CsvFolder.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "transfer/Csv.h"
#include "transfer/TransferTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>
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

QStringList write(const Catalogue& catalogue, const QString& folder)
{
    const auto failure = [&folder](const QString& detail) {
        return CatalogueError(CatalogueError::Kind::Write,
                              TransferTexts::exportFailed().arg(QDir::toNativeSeparators(folder)), detail);
    };
    // Everything is read first: a read failure leaves the folder as it was.
    const QList<QByteArray> files = contents(catalogue);
    if (!QDir().mkpath(folder)) {
        throw failure(TransferTexts::folderNotMade());
    }
    // Each QSaveFile writes under a temporary name and renames it over the old file at commit; none is committed
    // before all five are written, and those not committed are removed when the exception unwinds.
    std::vector<std::unique_ptr<QSaveFile>> saved;
    for (int table = 0; table < ImportInput::Tables; ++table) {
        const QString path = QDir(folder).filePath(ImportInput::fileName(table));
        // A rename over a folder would fail only at commit, once other files were replaced.
        if (QFileInfo::exists(path) && !QFileInfo(path).isFile()) {
            throw failure(TransferTexts::notAFile().arg(QDir::toNativeSeparators(path)));
        }
        auto file = std::make_unique<QSaveFile>(path);
        if (!file->open(QIODevice::WriteOnly) || file->write(files.at(table)) != files.at(table).size()) {
            throw failure(TransferTexts::fileNotWritten().arg(QDir::toNativeSeparators(path), file->errorString()));
        }
        saved.push_back(std::move(file));
    }
    QStringList names;
    for (const auto& file : saved) {
        const QString name = QFileInfo(file->fileName()).fileName();
        if (!file->commit()) {
            throw failure(
                TransferTexts::partlyReplaced().arg(name, file->errorString(), names.join(QStringLiteral(", "))));
        }
        names.append(name);
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
        ImportTable read{name, file.readAll()};
        if (file.error() != QFileDevice::NoError) {
            input.problems.append({name, 0, TransferTexts::unreadable().arg(file.errorString())});
            continue;
        }
        input.tables.at(table) = std::move(read);
    }
    const bool none =
        std::none_of(input.tables.begin(), input.tables.end(), [](const auto& t) { return t.has_value(); });
    if (none && input.problems.isEmpty()) {
        input.problems.append({QDir::toNativeSeparators(folder), 0, TransferTexts::noCsvFile()});
    }
    return input;
}

} // namespace CsvFolder
