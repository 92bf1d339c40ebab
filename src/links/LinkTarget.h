#pragma once

#include <QList>
#include <QString>

/// Which of an entry's two addresses: `url` (its image) or `lien` (its forum post).
enum class LinkField { Image, Post };

/// One address to check or fetch.
struct LinkTarget {
    int category = 0; ///< descriptor index of the series
    QString ref;
    LinkField field = LinkField::Image;
    QString address; ///< as stored
    QString referer; ///< the forum post, sent with an image request when it is a web address

    friend bool operator==(const LinkTarget&, const LinkTarget&) = default;
};

/// What a run does with its addresses: check each one, or download each image into the archive.
enum class LinkMode { Check, Archive };

/// The addresses of one run, and those it leaves out.
struct LinkJob {
    LinkMode mode = LinkMode::Check;
    QList<LinkTarget> targets;
    int withoutWebAddress = 0; ///< empty, "Non disponible", other schemes
    int upToDate = 0;          ///< archive: images whose kept copy is fresh
};
