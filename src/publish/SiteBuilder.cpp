#include "publish/SiteBuilder.h"

#include "publish/PublishTexts.h"
#include "publish/Slug.h"

#include <QHash>
#include <QSet>
#include <QUrl>

using namespace Qt::StringLiterals;

#include <algorithm>

namespace SiteBuilder {

namespace {

const int latestPerSeries = 5;

QString authorKey(const QString& name)
{
    return name.trimmed().toCaseFolded();
}

struct Author {
    QString name; ///< the spelling met most often
    QString file;
    QList<std::pair<int, SiteEntry>> entries; ///< series index, entry
};

// Authors by key, with their file names; a hash prefix that two keys share gives the later key the whole hash.
QList<Author> authorsOf(const Series& series)
{
    QHash<QString, qsizetype> byKey;
    QList<Author> authors;
    QList<QHash<QString, int>> spellings;
    for (int s = 0; s < 4; ++s) {
        for (const SiteEntry& item : series.at(s)) {
            const QString key = authorKey(item.entry.author);
            auto found = byKey.find(key);
            if (found == byKey.end()) {
                found = byKey.insert(key, authors.size());
                authors.append(Author());
                spellings.append(QHash<QString, int>());
            }
            authors[*found].entries.append({s, item});
            ++spellings[*found][item.entry.author.trimmed()];
        }
    }
    QHash<QString, QString> takenBy;
    QStringList keys = byKey.keys();
    std::sort(keys.begin(), keys.end());
    for (const QString& key : keys) {
        Author& author = authors[byKey.value(key)];
        const QHash<QString, int>& counts = spellings.at(byKey.value(key));
        int best = -1;
        for (auto it = counts.begin(); it != counts.end(); ++it) {
            if (it.value() > best || (it.value() == best && it.key() < author.name)) {
                best = it.value();
                author.name = it.key();
            }
        }
        author.file = authorFile(key);
        if (takenBy.contains(author.file)) {
            author.file = authorFile(key, true);
        }
        takenBy.insert(author.file, key);
    }
    std::sort(authors.begin(), authors.end(), [](const Author& a, const Author& b) {
        return a.entries.size() != b.entries.size() ? a.entries.size() > b.entries.size() : a.name < b.name;
    });
    return authors;
}

QString page(const QString& title, const QString& root, const QString& body)
{
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">\n"
                          "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                          "<title>%1</title>\n<link rel=\"stylesheet\" href=\"%2style.css\">\n</head>\n<body>\n"
                          "<header><a href=\"%2index.html\">%3</a></header>\n<main>\n<h1>%1</h1>\n%4</main>\n"
                          "<script src=\"%2tri.js\"></script>\n</body>\n</html>\n")
        .arg(escaped(title), root, escaped(PublishTexts::home()), body);
}

QString anchorOf(const QString& ref)
{
    return u"n-"_s + Slug::of(ref);
}

QString link(const QString& href, const QString& text)
{
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(escaped(href), escaped(text));
}

QString postCell(const PuzzleEntry& entry)
{
    const QString href = webHref(entry.link);
    return href.isEmpty() ? escaped(entry.link) : link(href, PublishTexts::postLinkText());
}

QString pictureCell(const Category& category, const SiteEntry& item, const QString& root)
{
    if (item.thumbnail.isEmpty()) {
        return QStringLiteral("<span class=\"vide\">%1</span>").arg(escaped(PublishTexts::noPicture()));
    }
    const QString alt = PublishTexts::pictureAlt().arg(category.caption, item.entry.ref);
    const QString image = QStringLiteral("<img src=\"%1%2\" alt=\"%3\" loading=\"lazy\">")
                              .arg(root, escaped(item.thumbnail), escaped(alt));
    const QString href = webHref(item.entry.url);
    return href.isEmpty() ? image : QStringLiteral("<a href=\"%1\">%2</a>").arg(escaped(href), image);
}

// The table of a series' entries, or of an author's entries in one series.
QString table(const Category& category, const QList<SiteEntry>& entries, const QString& root,
              const QHash<QString, QString>& authorFiles, bool withAuthor)
{
    QString rows;
    QSet<QString> anchors;
    for (const SiteEntry& item : entries) {
        const PuzzleEntry& entry = item.entry;
        // The index links to a number's row; a number that a foreign file repeats is reached at its first row.
        const QString anchor = anchorOf(entry.ref);
        const QString id = anchors.contains(anchor) ? QString() : u" id=\"%1\""_s.arg(anchor);
        anchors.insert(anchor);
        rows += QStringLiteral("<tr%1><td>%2</td><td>%3</td>").arg(id, escaped(entry.ref), escaped(entry.answer));
        if (withAuthor) {
            rows += u"<td>"_s + link(root + authorFiles.value(authorKey(entry.author)), entry.author) + u"</td>"_s;
        }
        rows += QStringLiteral("<td class=\"image\">%1</td><td>%2</td></tr>\n")
                    .arg(pictureCell(category, item, root), postCell(entry));
    }
    QString head = QStringLiteral("<th data-tri=\"nombre\">%1</th><th>%2</th>")
                       .arg(escaped(PublishTexts::numberHeader()), escaped(category.answerLabel));
    if (withAuthor) {
        head += u"<th>"_s + escaped(PublishTexts::authorHeader()) + u"</th>"_s;
    }
    head += QStringLiteral("<th>%1</th><th>%2</th>")
                .arg(escaped(PublishTexts::imageHeader()), escaped(PublishTexts::postHeader()));
    return QStringLiteral("<div class=\"defile\"><table class=\"triable\">\n<thead><tr>%1</tr></thead>\n<tbody>\n%2"
                          "</tbody>\n</table></div>\n")
        .arg(head, rows);
}

QString indexPage(const Series& series, const QList<Author>& authors)
{
    QString body = u"<h2>"_s + escaped(PublishTexts::seriesHeading()) + u"</h2>\n<ul class=\"series\">\n"_s;
    for (const Category& category : Category::all()) {
        body += QStringLiteral("<li>%1 <span class=\"compte\">%2</span></li>\n")
                    .arg(link(seriesFile(category), category.caption),
                         escaped(PublishTexts::entryCount().arg(series.at(category.index).size())));
    }
    body += u"</ul>\n<h2>"_s + escaped(PublishTexts::latest()) + u"</h2>\n<ul class=\"dernieres\">\n"_s;
    for (const Category& category : Category::all()) {
        const QList<SiteEntry>& entries = series.at(category.index);
        for (qsizetype i = entries.size() - 1; i >= std::max<qsizetype>(0, entries.size() - latestPerSeries); --i) {
            const PuzzleEntry& entry = entries.at(i).entry;
            body +=
                QStringLiteral("<li>%1 — %2 <span class=\"auteur\">%3</span></li>\n")
                    .arg(link(seriesFile(category) + u'#' + anchorOf(entry.ref), category.caption + u' ' + entry.ref),
                         escaped(entry.answer), escaped(entry.author));
        }
    }
    body += u"</ul>\n<h2>"_s + escaped(PublishTexts::authors()) + u"</h2>\n<ul class=\"auteurs\">\n"_s;
    for (const Author& author : authors) {
        body += QStringLiteral("<li>%1 <span class=\"compte\">%2</span></li>\n")
                    .arg(link(author.file, author.name), QString::number(author.entries.size()));
    }
    return page(PublishTexts::siteTitle(), {}, body + u"</ul>\n"_s);
}

QString authorPage(const Author& author, const QHash<QString, QString>& authorFiles)
{
    QString body = u"<p>"_s + escaped(PublishTexts::postsOfAuthor().arg(author.entries.size())) + u"</p>\n"_s;
    for (const Category& category : Category::all()) {
        QList<SiteEntry> entries;
        for (const auto& [s, item] : author.entries) {
            if (s == category.index) {
                entries.append(item);
            }
        }
        if (!entries.isEmpty()) {
            body += u"<h2>"_s + link(u"../"_s + seriesFile(category), category.caption) + u"</h2>\n"_s +
                    table(category, entries, QStringLiteral("../"), authorFiles, false);
        }
    }
    return page(PublishTexts::authorTitle().arg(author.name), QStringLiteral("../"), body);
}

const char* const styleSheet =
    R"(:root { color-scheme: light; --fond: #fbfaf7; --texte: #222; --trait: #ddd6c8; --accent: #8a3b12; }
* { box-sizing: border-box; }
body { margin: 0; font: 16px/1.45 system-ui, sans-serif; background: var(--fond); color: var(--texte); }
header { padding: .6rem 1rem; background: var(--accent); }
header a { color: #fff; font-weight: 600; text-decoration: none; }
main { max-width: 64rem; margin: 0 auto; padding: 0 1rem 2rem; }
h1 { font-size: 1.6rem; margin: 1rem 0 .5rem; }
h2 { font-size: 1.2rem; margin: 1.5rem 0 .5rem; border-bottom: 1px solid var(--trait); }
a { color: var(--accent); }
ul.series, ul.auteurs { columns: 14rem; padding-left: 1.2rem; }
.compte, .auteur { color: #6b645a; font-size: .9em; }
.defile { overflow-x: auto; }
table { border-collapse: collapse; width: 100%; background: #fff; }
th, td { padding: .35rem .5rem; border-bottom: 1px solid var(--trait); text-align: left; vertical-align: middle; }
th { background: #f1ece2; position: sticky; top: 0; }
th.triable-actif { cursor: pointer; text-decoration: underline dotted; }
td:first-child { font-variant-numeric: tabular-nums; white-space: nowrap; }
td.image img { display: block; width: 4rem; height: 4rem; object-fit: cover; border-radius: 3px; }
.vide { display: inline-block; width: 4rem; height: 4rem; line-height: 1.2; padding-top: 1.2rem; text-align: center;
  font-size: .7rem; color: #8d877c; background: #eee9df; border-radius: 3px; }
@media (max-width: 36rem) {
  body { font-size: 14px; }
  main { padding: 0 .5rem 1.5rem; }
  th, td { padding: .3rem .25rem; }
  td.image img, .vide { width: 2.75rem; height: 2.75rem; }
  .vide { padding-top: .7rem; font-size: .55rem; }
}
)";

// Sorting by a click on a column header; the tables read the same without it.
const char* const sortScript = R"((function () {
  document.querySelectorAll('table.triable').forEach(function (table) {
    table.querySelectorAll('th').forEach(function (th, column) {
      th.classList.add('triable-actif');
      th.addEventListener('click', function () {
        var body = table.tBodies[0];
        var rows = Array.prototype.slice.call(body.rows);
        var up = th.getAttribute('aria-sort') !== 'ascending';
        var numeric = th.dataset.tri === 'nombre';
        rows.sort(function (a, b) {
          var x = a.cells[column].textContent, y = b.cells[column].textContent;
          var order = numeric ? (parseInt(x, 10) || 0) - (parseInt(y, 10) || 0) : x.localeCompare(y, 'fr');
          return up ? order : -order;
        });
        table.querySelectorAll('th').forEach(function (other) { other.removeAttribute('aria-sort'); });
        th.setAttribute('aria-sort', up ? 'ascending' : 'descending');
        rows.forEach(function (row) { body.appendChild(row); });
      });
    });
  });
})();
)";

} // namespace

QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += u"&amp;"_s;
            break;
        case '<':
            out += u"&lt;"_s;
            break;
        case '>':
            out += u"&gt;"_s;
            break;
        case '"':
            out += u"&quot;"_s;
            break;
        case '\'':
            out += u"&#39;"_s;
            break;
        default:
            // Control characters are parse errors in HTML text: a space stands in for them.
            out += (c.unicode() < 32 && c != u'\n') || c.unicode() == 127 ? QChar(u' ') : c;
        }
    }
    return out;
}

QString webHref(const QString& address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http"_s && scheme != u"https"_s) || url.host().isEmpty()) {
        return {};
    }
    return url.toString(QUrl::FullyEncoded);
}

QString seriesFile(const Category& category)
{
    return Slug::of(category.caption) + u".html"_s;
}

QString authorFile(const QString& author, bool longer)
{
    const QString key = authorKey(author);
    return QStringLiteral("auteurs/%1-%2.html").arg(Slug::of(key), Slug::hash(key, longer ? 40 : 10));
}

QString thumbnailFile(const Category& category, const QString& ref)
{
    const QString name = EntryText::isNumeric(ref) && ref.size() <= 10 ? ref : u"n-"_s + Slug::hash(ref);
    return QStringLiteral("vignettes/%1/%2.jpg").arg(Slug::of(category.caption), name);
}

QList<SiteFile> pages(const Series& series)
{
    const QList<Author> authors = authorsOf(series);
    QHash<QString, QString> authorFiles;
    for (const Author& author : authors) {
        authorFiles.insert(authorKey(author.name), author.file);
    }
    QList<SiteFile> files{{QStringLiteral("style.css"), QByteArray(styleSheet)},
                          {QStringLiteral("tri.js"), QByteArray(sortScript)},
                          {QStringLiteral("index.html"), indexPage(series, authors).toUtf8()}};
    for (const Category& category : Category::all()) {
        const QString body = u"<p>"_s + escaped(PublishTexts::entryCount().arg(series.at(category.index).size())) +
                             u"</p>\n"_s + table(category, series.at(category.index), {}, authorFiles, true);
        files.append({seriesFile(category), page(category.caption, {}, body).toUtf8()});
    }
    for (const Author& author : authors) {
        files.append({author.file, authorPage(author, authorFiles).toUtf8()});
    }
    return files;
}

} // namespace SiteBuilder
