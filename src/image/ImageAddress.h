#pragma once

#include <QString>

#include <iterator>

/// The checks an image address passes before the image window downloads it.
namespace ImageAddress {

/// The start of the forum's own addresses. Its pictures are served by scripts whose addresses end in anything,
/// so the extension checks do not apply to them. Compared exactly, with case, on the first 20 characters.
inline constexpr char16_t forumPrefix[] = u"https://sorvane.net/";
static_assert(std::size(forumPrefix) - 1 == 20, "the forum prefix is compared on exactly 20 characters");

/// Why an address is refused; the checks run in the order of the enumerators.
enum class Problem { None, Missing, NotWeb, Gif, BadExtension };

/// Runs the four checks in order and gives the first failure, or `Problem::None`.
Problem check(const QString& address);

/// The French message of a refusal (empty for `Problem::None`).
QString message(Problem problem);

} // namespace ImageAddress
