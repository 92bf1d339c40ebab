#include "transfer/AccessFile.h"

#include "catalogue/CatalogueFolder.h"
#include "catalogue/SettingsFile.h"
#include "transfer/TransferTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>

namespace AccessFile {

namespace {

constexpr int timeoutMs = 60'000;

// The standard output of a run, or why there is none. The output is taken as it comes so that a runaway one is
// stopped at the size limit.
std::optional<QByteArray> run(const QString& program, const QStringList& arguments, QString& error)
{
    QProcess process;
    process.start(program, arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted(timeoutMs)) {
        error = process.errorString();
        return std::nullopt;
    }
    QByteArray output;
    bool more = true;
    while (more) {
        more = process.waitForReadyRead(timeoutMs);
        output += process.readAllStandardOutput();
        if (output.size() > ImportInput::maxTableBytes) {
            error = TransferTexts::toolOutputTooLarge().arg(ImportInput::maxTableBytes / (1024 * 1024));
            process.kill();
            process.waitForFinished(timeoutMs);
            return std::nullopt;
        }
    }
    if (process.state() != QProcess::NotRunning && !process.waitForFinished(timeoutMs)) {
        error = TransferTexts::toolTimedOut();
        process.kill();
        process.waitForFinished(timeoutMs);
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        error = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        if (error.isEmpty()) {
            error = TransferTexts::toolExit().arg(process.exitCode());
        }
        return std::nullopt;
    }
    return output;
}

} // namespace

QString inFolder(const CatalogueFolder& folder)
{
    return folder.file(u"Mézor.mdb");
}

ImportInput read(const QString& path)
{
    ImportInput input;
    const QFileInfo info(path);
    const QString file = info.fileName();
    const auto refuse = [&](const QString& reason) {
        input.problems.append({file, 0, reason});
        return input;
    };
    if (!info.isFile()) {
        input.problems.append({QDir::toNativeSeparators(path), 0, TransferTexts::mdbMissing()});
        return input;
    }
    QStringList programs;
    for (const QString& name : {QStringLiteral("mdb-tables"), QStringLiteral("mdb-export")}) {
        programs.append(QStandardPaths::findExecutable(name));
        if (programs.last().isEmpty()) {
            return refuse(TransferTexts::toolMissing().arg(name));
        }
    }
    // An absolute path cannot be taken for an option.
    const QString absolute = info.absoluteFilePath();
    QString error;
    const std::optional<QByteArray> listing = run(programs.at(0), {QStringLiteral("-1"), absolute}, error);
    if (!listing) {
        return refuse(TransferTexts::toolFailed().arg(QStringLiteral("mdb-tables"), error));
    }
    const QStringList names = SettingsFile::splitLines(SettingsFile::decode(*listing));
    bool any = false;
    for (int table = 0; table < ImportInput::Tables; ++table) {
        const QString ours = ImportInput::tableName(table);
        const auto found = std::find_if(names.begin(), names.end(), [&](const QString& name) {
            return name.compare(ours, Qt::CaseInsensitive) == 0;
        });
        const QString source = TransferTexts::mdbSource().arg(file, ours);
        if (found == names.end()) {
            input.absent.append(source);
            continue;
        }
        any = true;
        const std::optional<QByteArray> bytes = run(programs.at(1), {absolute, *found}, error);
        if (bytes) {
            const QString renumbering =
                TransferTexts::mdbRenumbering().arg(QDir::toNativeSeparators(absolute), *found,
                                                    ImportInput::fileName(table));
            input.tables.at(table) = ImportTable{source, *bytes, false, renumbering};
        } else {
            input.problems.append({source, 0, TransferTexts::toolFailed().arg(QStringLiteral("mdb-export"), error)});
        }
    }
    if (!any) {
        return refuse(TransferTexts::noMdbTable());
    }
    return input;
}

} // namespace AccessFile
