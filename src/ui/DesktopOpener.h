#pragma once

#include <QUrl>

/// Hands an address to the desktop (normally the web browser). Tests replace it with a double that records.
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    virtual bool open(const QUrl& url) = 0;
};

/// The real thing, through QDesktopServices.
class QtDesktopOpener final : public DesktopOpener {
public:
    bool open(const QUrl& url) override;
};
