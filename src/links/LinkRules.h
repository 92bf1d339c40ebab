#pragma once

#include "links/LinkResult.h"

#include <QUrl>

/// The facts gathered about one address, before they are judged.
struct LinkOutcome {
    QUrl requested;
    QUrl final;         ///< the last address asked, after the redirects followed
    int status = 0;     ///< the last HTTP status; 0 when no answer came
    QString contentType;
    QString failure;             ///< why no answer could be used: network error, time-out, refused redirect
    bool needsImage = false;     ///< an image address: its first bytes must be a picture's
    bool imageSignature = false; ///< the first bytes carry a signature that the image window accepts
};

/// The rules of the link check: pure functions of values.
namespace LinkRules {

/// Redirects followed for one address before it is an error.
inline constexpr int maxRedirects = 5;

/// The class of an address and why: a failure is an error; 404 and 410 are not found; any other status from 400,
/// or one that is not a success, an error; an image address whose first bytes are no picture's is not an image;
/// an answer from another address than the one asked is redirected; otherwise ok.
LinkVerdict classify(const LinkOutcome& outcome);

/// Why the `count`-th redirect of an address, from `from` to `to`, is not followed; empty when it is.
QString redirectRefusal(const QUrl& from, const QUrl& to, int count);

/// The French name of a class, as the window and the commands show it.
QString className(LinkClass linkClass);

/// Whether a result is listed: in a check every class but ok; in an archive run the images not kept.
bool isListed(LinkMode mode, LinkClass linkClass);

/// The command's line for a listed result: series, number, field (url or lien), class, address and the detail
/// (the reason, or the final address), separated by tabulations.
QString reportLine(const LinkResult& result);

/// The last line of a run: the count of each class, and what was left out.
QString summary(LinkMode mode, const LinkTally& tally);

/// The exit status of a command: 0 when nothing is listed and the run went to its end, else 1.
int exitStatus(const LinkTally& tally, LinkMode mode, bool cancelled);

} // namespace LinkRules
