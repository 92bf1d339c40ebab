#pragma once

#include <QDateTime>
#include <QString>

/// A finding of the consistency check that the keeper marked "Pas un problème": the key that names the finding,
/// the finding's line as it read then, and when it was marked.
struct FindingMark {
    QString key;
    QString text;
    QDateTime marked; ///< UTC

    friend bool operator==(const FindingMark&, const FindingMark&) = default;
};
