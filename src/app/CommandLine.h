#pragma once

#include <QStringList>

/// The program's command line: `mezor [dossier]` opens the window; the options are commands that run without a
/// window or a display, print a French report and end with 0 (done), 1 (refused or failed) or 2 (usage error).
namespace CommandLine {

/// Whether `arguments` (the program's name first) ask for a command or the help rather than the window.
bool isCommand(const QStringList& arguments);

/// Runs the command that `arguments` ask for and returns the exit status.
int run(const QStringList& arguments);

/// The folder that `mezor [dossier]` opens: the one given; else the program's own folder when it holds a
/// catalogue, ours or the old program's (portable use); else the user's data folder.
QString chosenFolder(const QString& given);

} // namespace CommandLine
