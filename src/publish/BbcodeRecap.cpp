#include "publish/BbcodeRecap.h"

#include "publish/PublishTexts.h"
#include "publish/Slug.h"

#include <QUrl>

using namespace Qt::StringLiterals;

#include <algorithm>
#include <variant>

namespace BbcodeRecap {

namespace {

// An empty bold pair right after a bracket: the parser sees "[" followed by "[b]", which is no tag name, so the
// bracket shows as itself and what follows it (b], /url]…) is plain text. phpBB, and the other common engines, have
// no escape character nor a [noparse] tag by default; an empty [b][/b] is accepted everywhere text is.
const QString bracketBreak = QStringLiteral("[[b][/b]");

int numberOf(const PuzzleEntry& entry)
{
    return EntryText::isNumeric(entry.ref) ? entry.ref.toInt() : -1;
}

QString addressPart(const QString& address, const QString& label, bool inlineImage)
{
    if (!isTagSafe(address)) {
        return escaped(address);
    }
    if (inlineImage) {
        return QStringLiteral("[img]%1[/img]").arg(address);
    }
    return QStringLiteral("[url=%1]%2[/url]").arg(address, label);
}

QString line(const PuzzleEntry& entry, const Options& options)
{
    QStringList fields{u"[b]"_s + escaped(entry.ref) + u"[/b]"_s};
    if (options.answer == AnswerMode::Shown) {
        fields.append(escaped(entry.answer));
    } else if (options.answer == AnswerMode::Spoiler) {
        fields.append(u"[spoiler]"_s + escaped(entry.answer) + u"[/spoiler]"_s);
    }
    if (options.author) {
        fields.append(escaped(entry.author));
    }
    if (options.postLink) {
        fields.append(addressPart(entry.link, PublishTexts::postLabel(), false));
    }
    if (options.image != ImageMode::LeftOut) {
        fields.append(addressPart(entry.url, PublishTexts::imageLabel(), options.image == ImageMode::Inline));
    }
    return u"[*]"_s + fields.join(PublishTexts::separator()) + u'\n';
}

QString heading(const Category& category, const QString& first, const QString& last, int part, int parts)
{
    return PublishTexts::heading().arg(category.caption, escaped(first), escaped(last)).arg(part).arg(parts) + u'\n';
}

const QString listOpen = QStringLiteral("[list]\n");
const QString listClose = QStringLiteral("[/list]\n");

struct Span {
    qsizetype first = 0;
    qsizetype end = 0;
};

// Fills each post as far as it goes, with headings sized for `parts` posts. Returns the spans, or the index of an
// entry that fits in no post.
std::variant<QList<Span>, qsizetype> pack(const Category& category, const QList<PuzzleEntry>& entries,
                                          const QList<qsizetype>& lengths, int parts, int limit)
{
    QList<Span> spans;
    const qsizetype frame = characters(listOpen) + characters(listClose);
    qsizetype index = 0;
    while (index < entries.size()) {
        Span span{index, index};
        qsizetype used = frame;
        while (span.end < entries.size()) {
            const qsizetype head = characters(
                heading(category, entries.at(span.first).ref, entries.at(span.end).ref, int(spans.size()) + 1, parts));
            if (head + used + lengths.at(span.end) > limit) {
                break;
            }
            used += lengths.at(span.end);
            ++span.end;
        }
        if (span.end == span.first) {
            return index;
        }
        spans.append(span);
        index = span.end;
    }
    return spans;
}

} // namespace

qsizetype characters(QStringView text)
{
    return text.size() - std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLowSurrogate(); });
}

QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'[') {
            out += bracketBreak;
        } else if (c == u'\n' || c == u'\r' || c == u'\t') {
            out += u' ';
        } else {
            out += c;
        }
    }
    return out;
}

bool isTagSafe(const QString& address)
{
    static const QString breaking = QStringLiteral("[]\"' \t\r\n");
    if (std::any_of(address.begin(), address.end(), [](QChar c) { return breaking.contains(c) || c.unicode() < 32; })) {
        return false;
    }
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == u"http"_s || scheme == u"https"_s) && !url.host().isEmpty();
}

const Category* seriesNamed(const QString& name)
{
    for (const Category& category : Category::all()) {
        if (Slug::folded(category.caption) == Slug::folded(name.trimmed())) {
            return &category;
        }
    }
    return nullptr;
}

Result build(const Category& category, const QList<PuzzleEntry>& entries, const Options& options)
{
    if (options.from < 0 || options.to < 0 || (options.to > 0 && options.from > options.to)) {
        return {{}, PublishTexts::badRange().arg(options.from).arg(options.to)};
    }
    QList<PuzzleEntry> taken;
    QStringList lines;
    QList<qsizetype> lengths;
    for (const PuzzleEntry& entry : entries) {
        const bool ranged = options.from > 0 || options.to > 0;
        const int number = numberOf(entry);
        if (ranged && (number < options.from || (options.to > 0 && number > options.to))) {
            continue;
        }
        taken.append(entry);
        lines.append(line(entry, options));
        lengths.append(characters(lines.last()));
    }
    if (taken.isEmpty()) {
        const auto bound = [](int n, const QString& open) { return n > 0 ? QString::number(n) : open; };
        return {{},
                PublishTexts::nothingInRange().arg(category.caption, bound(options.from, QStringLiteral("001")),
                                                   bound(options.to, QStringLiteral("…")))};
    }
    // The headings' "(1/4)" grows with the number of posts: pack again until the count holds.
    for (int parts = 1;; parts *= 10) {
        const auto packed = pack(category, taken, lengths, parts, options.limit);
        if (const qsizetype* refused = std::get_if<qsizetype>(&packed)) {
            const qsizetype alone =
                characters(heading(category, taken.at(*refused).ref, taken.at(*refused).ref, parts, parts)) +
                characters(listOpen) + characters(listClose) + lengths.at(*refused);
            return {{},
                    PublishTexts::entryTooLong()
                        .arg(taken.at(*refused).ref, category.caption)
                        .arg(alone)
                        .arg(options.limit)};
        }
        const QList<Span>& spans = std::get<QList<Span>>(packed);
        if (QString::number(spans.size()).size() > QString::number(parts).size()) {
            continue;
        }
        Result result;
        for (qsizetype i = 0; i < spans.size(); ++i) {
            const Span& span = spans.at(i);
            QString part =
                heading(category, taken.at(span.first).ref, taken.at(span.end - 1).ref, int(i) + 1, int(spans.size())) +
                listOpen;
            for (qsizetype n = span.first; n < span.end; ++n) {
                part += lines.at(n);
            }
            result.parts.append(part + listClose);
        }
        return result;
    }
}

} // namespace BbcodeRecap
