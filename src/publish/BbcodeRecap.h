#pragma once

#include "catalogue/Category.h"
#include "catalogue/PuzzleEntry.h"

#include <QStringList>

/// A series written as BBCode for forum posts: one list line per entry, split into posts that each hold at most
/// `limit` characters. Pure functions of the entries and the options.
namespace BbcodeRecap {

enum class AnswerMode { Shown, Spoiler, LeftOut };
enum class ImageMode { LeftOut, Link, Inline };

struct Options {
    int from = 0; ///< first number taken; 0 for the first of the series
    int to = 0;   ///< last number taken; 0 for the last of the series
    AnswerMode answer = AnswerMode::Shown;
    bool author = true;
    bool postLink = true;
    ImageMode image = ImageMode::Link;
    /// Characters of a post, counted as Unicode code points: phpBB measures a message with utf8_strlen, so an
    /// emoji counts one, not the two UTF-16 units of a QString nor its four UTF-8 bytes.
    int limit = 60000;
};

struct Result {
    QStringList parts; ///< each part starts with its heading line
    QString refusal;   ///< why there is no recap (French); empty when `parts` holds it
};

/// The recap of `entries` (number order) of `category`.
Result build(const Category& category, const QList<PuzzleEntry>& entries, const Options& options);

/// `text` made inert: no bracket in it can open or close a tag, and it stays on one line.
QString escaped(const QString& text);
/// Whether `address` may stand inside [url=…] or [img]…[/img]: http(s), and none of the characters that end the
/// tag or the line.
bool isTagSafe(const QString& address);
/// Unicode code points in `text`.
qsizetype characters(QStringView text);
/// The series that `name` names: its caption, with or without accents and capitals ("drave", "PLOMÉ").
const Category* seriesNamed(const QString& name);

} // namespace BbcodeRecap
