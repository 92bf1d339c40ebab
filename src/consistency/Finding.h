#pragma once

#include "catalogue/PuzzleEntry.h"

#include <QList>
#include <QStringList>

#include <array>

/// What the check reads: the four series (descriptor order, number order) and the register of authors.
struct CatalogueSnapshot {
    std::array<QList<PuzzleEntry>, 4> series;
    QStringList authors;
};

/// One thing the check found, with the entries it is about.
struct Finding {
    /// The groups of the list, in this order.
    enum class Kind {
        Numbering,
        SameAnswer,
        SharedImage,
        SharedPost,
        AuthorSpellings,
        UnusedAuthor,
        UnregisteredAuthor,
        NotWebAddress,
        Count
    };
    /// An entry and its series (descriptor index).
    struct Place {
        int category = 0;
        PuzzleEntry entry;
        friend bool operator==(const Place&, const Place&) = default;
    };

    Kind kind = Kind::Numbering;
    QString text;          ///< what is wrong, in one line
    QList<Place> entries;  ///< the entries concerned, in series and number order
    QStringList spellings; ///< author findings: the names concerned, exactly as written
    /// Names the finding for a mark: its kind with the entries and texts it is made of. A finding that changes (an
    /// entry more, another text) gets another key, so an earlier mark no longer silences it.
    QString key;
};
