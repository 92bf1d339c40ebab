#pragma once

#include "links/LinkTarget.h"

#include <array>

/// The class of a checked address.
enum class LinkClass { Ok, Redirected, NotFound, Error, NotAnImage };
inline constexpr int linkClassCount = 5;

/// What a check concluded about one address.
struct LinkVerdict {
    LinkClass linkClass = LinkClass::Ok;
    QString reason;       ///< why it is not ok: HTTP status, network error, time-out …; empty for ok and redirigé
    QString finalAddress; ///< where the redirects led, when that differs from the address

    friend bool operator==(const LinkVerdict&, const LinkVerdict&) = default;
};

struct LinkResult {
    LinkTarget target;
    LinkVerdict verdict;
};

/// The counts of a run.
struct LinkTally {
    std::array<int, linkClassCount> byClass{};
    int total = 0; ///< addresses of the run
    int done = 0;
    int withoutWebAddress = 0;
    int upToDate = 0;

    int count(LinkClass linkClass) const { return byClass.at(std::size_t(linkClass)); }
    /// Archive: the images kept (their address answered with a picture, redirected or not).
    int kept() const { return count(LinkClass::Ok) + count(LinkClass::Redirected); }
};
