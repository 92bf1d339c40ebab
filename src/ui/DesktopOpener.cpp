#include "ui/DesktopOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

bool QtDesktopOpener::folderProgramMissing()
{
    // On the free desktops QDesktopServices starts xdg-open and forgets it: when no program is set for folders,
    // nothing opens and nothing is said. xdg-mime tells beforehand; without it, the desktop is trusted.
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty()) {
        return false;
    }
    QProcess process;
    process.start(query, {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("inode/directory")});
    constexpr int timeoutMs = 5'000;
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished(timeoutMs);
        return false;
    }
    return process.readAllStandardOutput().trimmed().isEmpty();
#else
    return false;
#endif
}

bool QtDesktopOpener::open(const QUrl& url)
{
    if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isDir() && folderProgramMissing()) {
        return false;
    }
    return QDesktopServices::openUrl(url);
}
