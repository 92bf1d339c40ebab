#pragma once

#include <QUrl>

/// Hands an address to the desktop (normally the web browser). Tests replace it with a double that records.
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    virtual bool open(const QUrl& url) = 0;
};

/// The real thing, through QDesktopServices. A local folder is refused (false) when the desktop is known to have no
/// program for folders, rather than handed to a launcher that would open nothing.
class QtDesktopOpener final : public DesktopOpener {
public:
    bool open(const QUrl& url) override;
    /// Whether the desktop is known to have no program that opens folders.
    static bool folderProgramMissing();
};
