#include "links/LinkRules.h"

#include "catalogue/Category.h"
#include "catalogue/EntryAddress.h"
#include "links/LinksTexts.h"

namespace LinkRules {

namespace {

// The servers' reason phrases are English and free text: the code says it in French.
QString statusMeaning(int status)
{
    if (status == 404 || status == 410) {
        return LinksTexts::statusGone();
    }
    if (status == 401 || status == 403) {
        return LinksTexts::statusDenied();
    }
    if (status >= 400 && status < 500) {
        return LinksTexts::statusRefused();
    }
    if (status >= 500 && status < 600) {
        return LinksTexts::statusServer();
    }
    return LinksTexts::statusUnexpected();
}

} // namespace

LinkVerdict classify(const LinkOutcome& outcome)
{
    const QString finalAddress = outcome.final != outcome.requested ? outcome.final.toString() : QString();
    if (!outcome.failure.isEmpty()) {
        return {LinkClass::Error, outcome.failure, finalAddress};
    }
    const QString status = LinksTexts::httpStatus().arg(statusMeaning(outcome.status)).arg(outcome.status);
    if (outcome.status == 404 || outcome.status == 410) {
        return {LinkClass::NotFound, status, finalAddress};
    }
    if (outcome.status < 200 || outcome.status >= 300) {
        return {LinkClass::Error, status, finalAddress};
    }
    if (outcome.needsImage && !outcome.imageSignature) {
        const QString reason = outcome.contentType.isEmpty()
                                   ? LinksTexts::noSignature()
                                   : LinksTexts::received().arg(LinksTexts::noSignature(), outcome.contentType);
        return {LinkClass::NotAnImage, reason, finalAddress};
    }
    if (!finalAddress.isEmpty()) {
        return {LinkClass::Redirected, {}, finalAddress};
    }
    return {LinkClass::Ok, {}, {}};
}

QString redirectRefusal(const QUrl& from, const QUrl& to, int count)
{
    if (count > maxRedirects) {
        return LinksTexts::tooManyRedirects().arg(maxRedirects);
    }
    if (!EntryAddress::webUrl(to.toString()).isValid()) {
        return LinksTexts::redirectNotWeb().arg(to.toString());
    }
    if (from.scheme().compare(u"https", Qt::CaseInsensitive) == 0 &&
        to.scheme().compare(u"http", Qt::CaseInsensitive) == 0) {
        return LinksTexts::insecureRedirect().arg(to.toString());
    }
    return {};
}

QString className(LinkClass linkClass)
{
    switch (linkClass) {
    case LinkClass::Ok:
        return LinksTexts::ok();
    case LinkClass::Redirected:
        return LinksTexts::redirected();
    case LinkClass::NotFound:
        return LinksTexts::notFound();
    case LinkClass::Error:
        return LinksTexts::error();
    case LinkClass::NotAnImage:
        return LinksTexts::notAnImage();
    }
    return {};
}

bool isListed(LinkMode mode, LinkClass linkClass)
{
    if (mode == LinkMode::Archive) {
        return linkClass != LinkClass::Ok && linkClass != LinkClass::Redirected;
    }
    return linkClass != LinkClass::Ok;
}

QString reportLine(const LinkResult& result)
{
    const LinkTarget& target = result.target;
    const LinkVerdict& verdict = result.verdict;
    return QStringList{Category::all().at(target.category).caption,
                       target.ref,
                       target.field == LinkField::Image ? QStringLiteral("url") : QStringLiteral("lien"),
                       className(verdict.linkClass),
                       target.address,
                       verdict.reason.isEmpty() ? verdict.finalAddress : verdict.reason}
        .join(u'\t');
}

QString summary(LinkMode mode, const LinkTally& tally)
{
    if (mode == LinkMode::Archive) {
        return LinksTexts::archiveSummary()
            .arg(LinksTexts::counted(tally.total, LinksTexts::image(), LinksTexts::images()),
                 LinksTexts::counted(tally.kept(), LinksTexts::kept(), LinksTexts::keptMany()))
            .arg(tally.done - tally.kept())
            .arg(tally.upToDate)
            .arg(tally.withoutWebAddress);
    }
    return LinksTexts::checkSummary()
        .arg(LinksTexts::counted(tally.done, LinksTexts::checked(), LinksTexts::checkedMany()))
        .arg(tally.count(LinkClass::Ok))
        .arg(tally.count(LinkClass::Redirected))
        .arg(tally.count(LinkClass::NotFound))
        .arg(tally.count(LinkClass::Error))
        .arg(tally.count(LinkClass::NotAnImage))
        .arg(tally.withoutWebAddress);
}

int exitStatus(const LinkTally& tally, LinkMode mode, bool cancelled)
{
    if (cancelled || tally.done < tally.total) {
        return 1;
    }
    for (int c = 0; c < linkClassCount; ++c) {
        if (tally.byClass.at(std::size_t(c)) > 0 && isListed(mode, LinkClass(c))) {
            return 1;
        }
    }
    return 0;
}

} // namespace LinkRules
