#include "image/ImageRequest.h"

ImageRequest ImageRequest::of(const Category& category, const PuzzleEntry& entry)
{
    return {entry.ref, entry.answer, entry.url, category.imageWindowShowsLink ? entry.link : QString(), entry.link};
}
