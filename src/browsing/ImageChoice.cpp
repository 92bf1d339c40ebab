#include "browsing/ImageChoice.h"

#include "catalogue/EntryAddress.h"

namespace {

ImageChoice onDesktop(const QString& address)
{
    if (!EntryAddress::webUrl(address).isValid()) {
        return {ImageChoice::Action::Refuse, address};
    }
    return {ImageChoice::Action::OpenOnDesktop, address};
}

} // namespace

ImageChoice ImageChoice::decide(const Category& category, const std::optional<PuzzleEntry>& entry, bool showImage,
                                Option option)
{
    if (!showImage || !entry || EntryAddress::isMissing(entry->url)) {
        return {};
    }
    if (category.imageNeedsLink && EntryAddress::isMissing(entry->link)) {
        return {};
    }
    switch (option) {
    case Option::Web:
        return onDesktop(entry->url);
    case Option::Forum:
        // Every category needs a forum address to open one.
        return EntryAddress::isMissing(entry->link) ? ImageChoice{} : onDesktop(entry->link);
    case Option::Window:
        return {Action::OpenWindow, entry->url};
    }
    return {};
}
