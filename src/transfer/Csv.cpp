#include "transfer/Csv.h"

namespace Csv {

namespace {

QString field(const QString& value)
{
    const bool quoted = value.contains(u',') || value.contains(u'"') || value.contains(u'\r') || value.contains(u'\n');
    if (!quoted) {
        return value;
    }
    QString escaped = value;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

std::optional<QChar> separatorOf(QStringView text)
{
    qsizetype end = 0;
    while (end < text.size() && !isLineEnd(text.at(end))) {
        ++end;
    }
    const QStringView first = text.first(end);
    const qsizetype semicolons = first.count(u';');
    const qsizetype commas = first.count(u',');
    if (semicolons == 0 && commas == 0) {
        return std::nullopt;
    }
    return semicolons > commas ? u';' : u',';
}

bool startsFormula(QStringView value)
{
    while (value.startsWith(u'\'')) {
        value = value.sliced(1);
    }
    return !value.isEmpty() && QStringView(u"=+-@\t\r").contains(value.front());
}

// Line ends in a stretch of text: CRLF counts once.
int lineEnds(QStringView text)
{
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\n' || (text.at(i) == u'\r' && (i + 1 == text.size() || text.at(i + 1) != u'\n'))) {
            ++count;
        }
    }
    return count;
}

} // namespace

QString guarded(const QString& value)
{
    return startsFormula(value) ? u'\'' + value : value;
}

QString unguarded(const QString& value)
{
    return value.startsWith(u'\'') && startsFormula(value) ? value.sliced(1) : value;
}

QString record(const QStringList& fields)
{
    QStringList written;
    written.reserve(fields.size());
    for (const QString& value : fields) {
        written.append(field(guarded(value)));
    }
    return written.join(u',');
}

QByteArray file(const QList<QStringList>& records)
{
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QStringList& fields : records) {
        bytes += record(fields).toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

Reader::Reader(QStringView text)
    : m_text(text)
    , m_separator(separatorOf(text))
{
}

std::optional<Record> Reader::next()
{
    while (m_at < m_text.size() && isLineEnd(m_text.at(m_at))) {
        skipLineEnd();
    }
    if (m_at == m_text.size()) {
        return std::nullopt;
    }
    Record record{m_line, {}, std::nullopt};
    while (true) {
        const bool isQuoted = m_at < m_text.size() && m_text.at(m_at) == u'"';
        record.fields.append(isQuoted ? quoted(record) : plain());
        if (!isSeparator(m_at)) {
            break;
        }
        ++m_at;
    }
    skipLineEnd();
    return record;
}

bool Reader::isSeparator(qsizetype at) const
{
    return m_separator && at < m_text.size() && m_text.at(at) == *m_separator;
}

QString Reader::plain()
{
    const qsizetype start = m_at;
    while (m_at < m_text.size() && !isSeparator(m_at) && !isLineEnd(m_text.at(m_at))) {
        ++m_at;
    }
    return m_text.sliced(start, m_at - start).toString();
}

QString Reader::quoted(Record& record)
{
    const auto fail = [&record](Fault::Kind kind, int line) {
        if (!record.fault) {
            record.fault = Fault{kind, line};
        }
    };
    const int opened = m_line;
    ++m_at;
    QString value;
    while (true) {
        const qsizetype quote = m_text.indexOf(u'"', m_at);
        const QStringView stretch = m_text.sliced(m_at, (quote < 0 ? m_text.size() : quote) - m_at);
        value += stretch;
        m_line += lineEnds(stretch);
        if (quote < 0) {
            m_at = m_text.size();
            fail(Fault::Kind::UnterminatedQuote, opened);
            return value;
        }
        m_at = quote + 1;
        if (m_at < m_text.size() && m_text.at(m_at) == u'"') {
            value += u'"';
            ++m_at;
            continue;
        }
        break;
    }
    if (m_at < m_text.size() && !isSeparator(m_at) && !isLineEnd(m_text.at(m_at))) {
        fail(Fault::Kind::TextAfterQuote, m_line);
        value += plain();
    }
    return value;
}

void Reader::skipLineEnd()
{
    if (m_at < m_text.size() && m_text.at(m_at) == u'\r') {
        ++m_at;
        if (m_at < m_text.size() && m_text.at(m_at) == u'\n') {
            ++m_at;
        }
        ++m_line;
    } else if (m_at < m_text.size() && m_text.at(m_at) == u'\n') {
        ++m_at;
        ++m_line;
    }
}

} // namespace Csv
