#include "editing/EntryChecks.h"

#include "catalogue/EntryAddress.h"
#include "editing/EditingTexts.h"

#include <algorithm>

namespace EntryChecks {

using EntryText::isBlank;
using EntryText::isNumeric;

std::optional<QString> refuseAdd(const Category& category, const PuzzleEntry& typed, int expected)
{
    // The apostrophe test comes first: a registered pseudonym must never hold one.
    if (typed.author.contains(u'\'')) {
        return EditingTexts::apostrophe();
    }
    if (!isNumeric(typed.ref)) {
        return category.numberMessage;
    }
    if (typed.ref.size() != 3) {
        return EditingTexts::numberLength();
    }
    if (typed.ref.toInt() != expected) {
        return EditingTexts::outOfSequence(expected);
    }
    if (isBlank(typed.answer)) {
        return EditingTexts::noAnswer();
    }
    if (isBlank(typed.author)) {
        return EditingTexts::noAuthor();
    }
    return std::nullopt;
}

std::optional<QString> refuseUpdate(const Category& category, const PuzzleEntry& typed)
{
    if (!isNumeric(typed.ref)) {
        return category.numberMessage;
    }
    if (isBlank(typed.answer)) {
        return EditingTexts::noAnswer();
    }
    if (isBlank(typed.author)) {
        return EditingTexts::noAuthor();
    }
    return std::nullopt;
}

PuzzleEntry withAddressDefaults(PuzzleEntry typed)
{
    // Only an exactly empty box: a box of spaces is stored as typed.
    if (typed.url.isEmpty()) {
        typed.url = EntryAddress::notAvailable();
    }
    if (typed.link.isEmpty()) {
        typed.link = EntryAddress::notAvailable();
    }
    return typed;
}

PuzzleEntry withStoredAddresses(PuzzleEntry typed, const PuzzleEntry& stored, EditedAddresses edited)
{
    // Only the keeper's own typing replaces an address with the placeholder.
    const auto keep = [](QString& box, bool edited, const QString& storedAddress) {
        if (box.isEmpty() || (!edited && box == EntryAddress::notAvailable())) {
            box = edited ? EntryAddress::notAvailable() : storedAddress;
        }
    };
    keep(typed.url, edited.url, stored.url);
    keep(typed.link, edited.link, stored.link);
    return typed;
}

} // namespace EntryChecks
