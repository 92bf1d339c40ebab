#pragma once

#include <QStringList>

#include <array>
#include <optional>

/// The last numbers that the search program found on the forum, as it leaves them in the settings file:
///
///     [dernier_numero]        the first line equal to this, exactly
///     <Dravé line>            number from character 20 to the end of the line
///     <Tusqué line>           from character 22
///     <Plomé line>            from character 20
///     <Vantorel line>         from character 24
///
/// A number is a whole number from 0 to 32767, surrounding spaces and leading zeros allowed.
struct LastNumbers {
    static constexpr int Rows = 4;

    /// By comparison row − 1 (Dravé, Tusqué, Plomé, Vantorel); empty where the file gave no usable number.
    std::array<std::optional<int>, Rows> values;
    /// One French sentence per problem found, naming the file; empty when the four numbers were read.
    QStringList problems;

    /// Reads the section from the lines of the file at `path` (used in the messages only).
    static LastNumbers parse(const QStringList& lines, const QString& path);
    /// Reads the file at `path`, decoded as at start-up.
    static LastNumbers read(const QString& path);
    /// The value of a number text, or nothing when it is not a whole number from 0 to 32767.
    static std::optional<int> number(QStringView text);
};
