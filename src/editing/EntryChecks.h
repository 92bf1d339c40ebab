#pragma once

#include "catalogue/Category.h"
#include "catalogue/PuzzleEntry.h"

#include <QString>

#include <optional>

/// The input rules of adding and correcting an entry, as pure functions over the typed panel.
namespace EntryChecks {

/// The first rule that an add breaks, as the message to show, or nothing when the add may go on.
/// `expected` is the number the series must take next: the grid's row count.
std::optional<QString> refuseAdd(const Category& category, const PuzzleEntry& typed, int expected);
/// The first rule that an update breaks, or nothing. An update tests neither length, sequence nor apostrophe.
std::optional<QString> refuseUpdate(const Category& category, const PuzzleEntry& typed);

/// The entry an add stores: each address box that is exactly empty becomes "Non disponible".
PuzzleEntry withAddressDefaults(PuzzleEntry typed);
/// Which address boxes the keeper edited since the program last filled or emptied them.
struct EditedAddresses {
    bool url = false;
    bool link = false;
};
/// The entry an update stores. An address box that is exactly empty because the program emptied it (a tab change,
/// a search pick), or that holds the "Non disponible" the program wrote there (a refused add), keeps the stored
/// address; one that the keeper emptied by hand says the address is gone and stores "Non disponible". Any other
/// text is stored as typed.
PuzzleEntry withStoredAddresses(PuzzleEntry typed, const PuzzleEntry& stored, EditedAddresses edited);

} // namespace EntryChecks
