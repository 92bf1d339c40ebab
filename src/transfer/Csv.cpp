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

QChar separatorOf(QStringView text)
{
    qsizetype end = 0;
    while (end < text.size() && !isLineEnd(text.at(end))) {
        ++end;
    }
    const QStringView first = text.first(end);
    return first.count(u';') > first.count(u',') ? u';' : u',';
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

// Reads records one field at a time; `m_at` always points at the next character to read.
class Reader {
public:
    explicit Reader(QStringView text)
        : m_text(text)
        , m_separator(separatorOf(text))
    {
    }

    QList<Record> records()
    {
        QList<Record> result;
        while (m_at < m_text.size()) {
            if (isLineEnd(m_text.at(m_at))) {
                skipLineEnd();
                continue;
            }
            Record record{m_line, {}, std::nullopt};
            while (true) {
                const bool isQuoted = m_at < m_text.size() && m_text.at(m_at) == u'"';
                record.fields.append(isQuoted ? quoted(record) : plain());
                if (m_at == m_text.size() || m_text.at(m_at) != m_separator) {
                    break;
                }
                ++m_at;
            }
            skipLineEnd();
            result.append(std::move(record));
        }
        return result;
    }

private:
    QString plain()
    {
        const qsizetype start = m_at;
        while (m_at < m_text.size() && m_text.at(m_at) != m_separator && !isLineEnd(m_text.at(m_at))) {
            ++m_at;
        }
        return m_text.sliced(start, m_at - start).toString();
    }

    QString quoted(Record& record)
    {
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
                fail(record, Fault::Kind::UnterminatedQuote, opened);
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
        if (m_at < m_text.size() && m_text.at(m_at) != m_separator && !isLineEnd(m_text.at(m_at))) {
            fail(record, Fault::Kind::TextAfterQuote, m_line);
            value += plain();
        }
        return value;
    }

    void skipLineEnd()
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

    static void fail(Record& record, Fault::Kind kind, int line)
    {
        if (!record.fault) {
            record.fault = Fault{kind, line};
        }
    }

    QStringView m_text;
    QChar m_separator;
    qsizetype m_at = 0;
    int m_line = 1;
};

} // namespace

QString record(const QStringList& fields)
{
    QStringList written;
    written.reserve(fields.size());
    for (const QString& value : fields) {
        written.append(field(value));
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

QList<Record> read(QStringView text)
{
    return Reader(text).records();
}

} // namespace Csv
