#include "transfer/CatalogueImport.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/SettingsFile.h"
#include "transfer/Csv.h"
#include "transfer/TransferTexts.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>

namespace CatalogueImport {

namespace {

bool isNumber(const QString& ref)
{
    return ref.size() == 3 && EntryText::isNumeric(ref);
}

using EntryText::isBlank;

// A value quoted in a reason: a shifted column may put a whole text where a number should be.
QString shown(const QString& value)
{
    constexpr qsizetype longest = 20;
    return value.size() > longest ? value.first(longest) + u'…' : value;
}

QString faultText(const Csv::Fault& fault)
{
    return fault.kind == Csv::Fault::Kind::UnterminatedQuote ? TransferTexts::unterminatedQuote()
                                                             : TransferTexts::textAfterQuote();
}

// The line of the first byte sequence that is not UTF-8; the file's lines are counted at LF, which no UTF-8
// sequence holds.
int firstBrokenLine(const QByteArray& bytes)
{
    int line = 1;
    for (const QByteArray& piece : bytes.split('\n')) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(piece); // the decoding runs when its result is taken
        if (utf8.hasError()) {
            return line;
        }
        ++line;
    }
    return 0;
}

// The text of a table: UTF-8 when it is valid UTF-8, else Windows-1252, as the settings file is read. A file that
// announces UTF-8 with a byte-order mark and breaks it is refused rather than read as Windows-1252.
std::optional<QString> decoded(const ImportTable& table, QList<ImportProblem>& problems)
{
    if (table.bytes.contains('\0')) {
        problems.append({table.source, 0, TransferTexts::binary()});
        return std::nullopt;
    }
    if (table.bytes.startsWith("\xEF\xBB\xBF")) {
        if (const int line = firstBrokenLine(table.bytes); line > 0) {
            problems.append({table.source, line, TransferTexts::brokenUtf8()});
            return std::nullopt;
        }
    }
    return SettingsFile::decode(table.bytes);
}

struct Rows {
    QList<qsizetype> columns; ///< where each wanted column is in a record
    QList<Csv::Record> records;
};

// The records after the header that have one field per header column and no quoting fault; the others, and a
// header without every wanted column, are problems.
std::optional<Rows> readRows(const ImportTable& table, const QStringList& wanted, QList<ImportProblem>& problems)
{
    const std::optional<QString> text = decoded(table, problems);
    if (!text) {
        return std::nullopt;
    }
    QList<Csv::Record> records = Csv::read(*text);
    const auto problem = [&](int line, const QString& reason) { problems.append({table.source, line, reason}); };
    if (records.isEmpty()) {
        problem(0, TransferTexts::noHeader());
        return std::nullopt;
    }
    const Csv::Record header = records.takeFirst();
    if (header.fault) {
        problem(header.fault->line, faultText(*header.fault));
        return std::nullopt;
    }
    Rows rows;
    QStringList missing;
    for (const QString& name : wanted) {
        const auto found = std::find_if(header.fields.begin(), header.fields.end(), [&](const QString& field) {
            return field.trimmed().compare(name, Qt::CaseInsensitive) == 0;
        });
        if (found == header.fields.end()) {
            missing.append(name);
        } else {
            rows.columns.append(found - header.fields.begin());
        }
    }
    if (!missing.isEmpty()) {
        problem(header.line, TransferTexts::missingColumns().arg(missing.join(QStringLiteral(", "))));
        return std::nullopt;
    }
    for (Csv::Record& record : records) {
        if (record.fault) {
            problem(record.fault->line, faultText(*record.fault));
        } else if (record.fields.size() != header.fields.size()) {
            problem(record.line, TransferTexts::fieldCount().arg(record.fields.size()).arg(header.fields.size()));
        } else {
            rows.records.append(std::move(record));
        }
    }
    return rows;
}

void readSeries(const Category& category, const ImportTable& table, Checked& checked)
{
    const std::optional<Rows> rows = readRows(table, category.fields(), checked.problems);
    if (!rows) {
        return;
    }
    QHash<QString, int> lineOf;
    QList<PuzzleEntry>& entries = checked.plan.series[category.index];
    for (const Csv::Record& record : rows->records) {
        const auto value = [&](int column) { return record.fields.at(rows->columns.at(column)); };
        PuzzleEntry entry{value(0), value(1), value(2), value(3), value(4)};
        const auto problem = [&](const QString& reason) {
            checked.problems.append({table.source, record.line, reason});
        };
        if (!isNumber(entry.ref)) {
            problem(TransferTexts::badNumber().arg(shown(entry.ref)));
        } else if (const auto earlier = lineOf.constFind(entry.ref); earlier != lineOf.constEnd()) {
            problem(TransferTexts::repeatedNumber().arg(entry.ref).arg(*earlier));
        } else {
            lineOf.insert(entry.ref, record.line);
        }
        if (isBlank(entry.answer)) {
            problem(TransferTexts::blank().arg(category.answerField));
        }
        if (isBlank(entry.author)) {
            problem(TransferTexts::blank().arg(QStringLiteral("auteur")));
        }
        entries.append(std::move(entry));
    }
}

void readAuthors(const ImportTable& table, Checked& checked)
{
    const QString name = QStringLiteral("nom");
    const std::optional<Rows> rows = readRows(table, {name}, checked.problems);
    if (!rows) {
        return;
    }
    for (const Csv::Record& record : rows->records) {
        const QString& value = record.fields.at(rows->columns.first());
        if (isBlank(value)) {
            checked.problems.append({table.source, record.line, TransferTexts::blank().arg(name)});
        }
        checked.plan.authors.append(value);
    }
}

struct Holes {
    QString text;
    int count = 0;
};

Holes holesOf(const QList<PuzzleEntry>& entries)
{
    std::array<bool, 1000> present{};
    int highest = 0;
    for (const PuzzleEntry& entry : entries) {
        if (!isNumber(entry.ref)) {
            continue;
        }
        const int number = entry.ref.toInt();
        present.at(number) = true;
        highest = std::max(highest, number);
    }
    const auto text = [](int number) { return QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0')); };
    Holes holes;
    QStringList runs;
    for (int number = 1; number <= highest; ++number) {
        if (present.at(number)) {
            continue;
        }
        int last = number;
        while (last < highest && !present.at(last + 1)) {
            ++last;
        }
        runs.append(last == number ? text(number) : TransferTexts::numberRange().arg(text(number), text(last)));
        holes.count += last - number + 1;
        number = last;
    }
    holes.text = runs.join(QStringLiteral(", "));
    return holes;
}

} // namespace

Checked check(const ImportInput& input)
{
    Checked checked;
    checked.problems = input.problems;
    for (int table = 0; table < ImportInput::Tables; ++table) {
        if (!input.tables.at(table)) {
            continue;
        }
        const qsizetype first = checked.problems.size();
        if (table == ImportInput::Authors) {
            readAuthors(*input.tables.at(table), checked);
        } else {
            readSeries(Category::all().at(table), *input.tables.at(table), checked);
        }
        // Faults of the reader and checks of the values come in two passes: the report goes line by line.
        std::stable_sort(checked.problems.begin() + first, checked.problems.end(),
                         [](const ImportProblem& a, const ImportProblem& b) { return a.line < b.line; });
    }
    return checked;
}

QStringList summary(const ImportPlan& plan)
{
    QStringList lines;
    for (const Category& category : Category::all()) {
        lines.append(TransferTexts::received(plan.series.at(category.index).size()).arg(category.caption));
    }
    lines.append(TransferTexts::receivedAuthors(plan.authors.size()));
    lines.append(QString()); // the holes apart from the counts
    bool anyHole = false;
    for (const Category& category : Category::all()) {
        const Holes holes = holesOf(plan.series.at(category.index));
        if (holes.count > 0) {
            lines.append(TransferTexts::missingNumbers(holes.count).arg(category.caption, holes.text));
            anyHole = true;
        }
    }
    if (!anyHole) {
        lines.append(TransferTexts::noMissingNumber());
    }
    return lines;
}

QStringList problemLines(const QList<ImportProblem>& problems, int perSource)
{
    QStringList lines;
    QHash<QString, int> listed;
    QHash<QString, int> unlisted;
    QStringList crowded; // sources with unlisted problems, in report order
    for (const ImportProblem& problem : problems) {
        int& count = listed[problem.source];
        if (count < perSource) {
            ++count;
            lines.append(problem.line > 0 ? TransferTexts::problemAt().arg(
                                                problem.source, QString::number(problem.line), problem.reason)
                                          : TransferTexts::problemIn().arg(problem.source, problem.reason));
        } else if (unlisted[problem.source]++ == 0) {
            crowded.append(problem.source);
        }
    }
    for (const QString& source : crowded) {
        lines.append(TransferTexts::moreProblems().arg(source, QString::number(unlisted.value(source))));
    }
    return lines;
}

ImportOutcome run(const ImportInput& input, const std::function<Catalogue&()>& open)
{
    using Status = ImportOutcome::Status;
    const Checked checked = check(input);
    if (!checked.problems.isEmpty()) {
        return {Status::Refused, TransferTexts::importRefused(), problemLines(checked.problems), {}};
    }
    try {
        if (!open().fillEmpty(checked.plan.series, checked.plan.authors)) {
            return {Status::Refused, TransferTexts::notEmpty(), {}, {}};
        }
    } catch (const CatalogueError& error) {
        return {Status::Failed, error.message(), {}, error.detail()};
    }
    return {Status::Done, TransferTexts::importDone(), summary(checked.plan), {}};
}

} // namespace CatalogueImport
