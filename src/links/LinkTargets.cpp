#include "links/LinkTargets.h"

namespace LinkTargets {

bool isWebAddress(const QString& address)
{
    const QString trimmed = address.trimmed();
    return trimmed.startsWith(u"http://", Qt::CaseInsensitive) || trimmed.startsWith(u"https://", Qt::CaseInsensitive);
}

LinkJob check(const QList<QList<PuzzleEntry>>& series)
{
    LinkJob job;
    for (qsizetype category = 0; category < series.size(); ++category) {
        for (const PuzzleEntry& entry : series.at(category)) {
            for (const LinkField field : {LinkField::Image, LinkField::Post}) {
                const QString& address = field == LinkField::Image ? entry.url : entry.link;
                if (isWebAddress(address)) {
                    job.targets.append(
                        {int(category), entry.ref, field, address, field == LinkField::Image ? entry.link : QString()});
                } else {
                    ++job.withoutWebAddress;
                }
            }
        }
    }
    return job;
}

LinkJob archive(const QList<QList<PuzzleEntry>>& series, const QList<QSet<QString>>& fresh)
{
    LinkJob job;
    job.mode = LinkMode::Archive;
    for (qsizetype category = 0; category < series.size(); ++category) {
        for (const PuzzleEntry& entry : series.at(category)) {
            if (!isWebAddress(entry.url)) {
                ++job.withoutWebAddress;
            } else if (fresh.value(category).contains(entry.ref)) {
                ++job.upToDate;
            } else {
                job.targets.append({int(category), entry.ref, LinkField::Image, entry.url, entry.link});
            }
        }
    }
    return job;
}

} // namespace LinkTargets
