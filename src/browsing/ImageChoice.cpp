#include "browsing/ImageChoice.h"

#include "browsing/BrowsingTexts.h"
#include "image/ImageAddress.h"

namespace {

ImageChoice onDesktop(const QString& address)
{
    if (!ImageAddress::webUrl(address).isValid()) {
        return {ImageChoice::Action::Refuse, address};
    }
    return {ImageChoice::Action::OpenOnDesktop, address};
}

} // namespace

ImageChoice ImageChoice::decide(const Category& category, const std::optional<PuzzleEntry>& entry, bool showImage,
                                Option option)
{
    if (!showImage || !entry || isMissing(entry->url)) {
        return {};
    }
    if (category.imageNeedsLink && isMissing(entry->link)) {
        return {};
    }
    switch (option) {
    case Option::Web:
        return onDesktop(entry->url);
    case Option::Forum:
        // Every category needs a forum address to open one.
        return isMissing(entry->link) ? ImageChoice{} : onDesktop(entry->link);
    case Option::Window:
        return {Action::OpenWindow, entry->url};
    }
    return {};
}

bool ImageChoice::isMissing(const QString& address)
{
    const QString trimmed = address.trimmed();
    return trimmed.isEmpty() || trimmed == BrowsingTexts::placeholder();
}
