#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

/// "paramvorn.ini", the settings file shared with the outside search program.
namespace SettingsFile {

/// A settings file holds a few lines of the program and of the search program, which writes it too: one larger than
/// this is not read, so that a runaway program cannot fill the memory.
inline constexpr qint64 maxBytes = 1024 * 1024;
/// The file's lines. The file is read as UTF-8 when it is valid UTF-8, else as Windows-1252; a line ends at CR,
/// LF or CR LF. Returns nothing when the file cannot be read; when it is larger than `maxBytes`, `problem` says so.
std::optional<QStringList> readLines(const QString& path, QString* problem = nullptr);
QString decode(const QByteArray& bytes);
QStringList splitLines(const QString& text);

/// The search program's setting: the rest of the first line that starts exactly with "programme=", untrimmed.
std::optional<QString> programSetting(const QStringList& lines);

/// The file's bytes with `program` as the rest of that line, every other byte as it was (the search program keeps
/// its own section there); the line is added at the end when there is none. `program` is written in the file's
/// encoding: nothing comes back when a file that is not UTF-8 cannot hold it in Windows-1252.
std::optional<QByteArray> withProgramSetting(const QByteArray& file, const QString& program);

} // namespace SettingsFile
