#include "transfer/CatalogueImport.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/TextDecoding.h"
#include "transfer/Csv.h"
#include "transfer/TransferTexts.h"

#include <QHash>
#include <QSet>

#include <algorithm>

void ImportProblems::add(ImportProblem problem)
{
    add(problem.source, problem.line, [&problem] { return problem.reason; });
}

void ImportProblems::add(const QString& source, int line, const std::function<QString()>& reason)
{
    ++m_total;
    auto counted =
        std::find_if(m_perSource.begin(), m_perSource.end(), [&](const auto& s) { return s.first == source; });
    if (counted == m_perSource.end()) {
        counted = m_perSource.insert(m_perSource.end(), {source, 0});
    }
    // Beyond the listed ones, the reason is not even worded.
    if (counted->second++ < listedPerSource) {
        m_listed.append({source, line, reason()});
    }
}

QStringList ImportProblems::lines() const
{
    QStringList lines;
    for (const ImportProblem& problem : m_listed) {
        lines.append(problem.line > 0 ? TransferTexts::problemAt().arg(problem.source, QString::number(problem.line),
                                                                       problem.reason)
                                      : TransferTexts::problemIn().arg(problem.source, problem.reason));
    }
    for (const auto& [source, count] : m_perSource) {
        if (count > listedPerSource) {
            lines.append(TransferTexts::moreProblems().arg(source, QString::number(count - listedPerSource)));
        }
    }
    return lines;
}

namespace CatalogueImport {

namespace {

using EntryText::isBlank;

// "7" → "007": one to three ASCII digits make a number, which a spreadsheet may have stripped of its zeros.
std::optional<QString> paddedNumber(const QString& ref)
{
    if (ref.size() > 3 || !EntryText::isNumeric(ref)) {
        return std::nullopt;
    }
    return ref.rightJustified(3, u'0');
}

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

// Line numbers of a note: the first few, then how many more.
class LineList {
public:
    void add(int line)
    {
        if (m_lines.size() < shownLines) {
            m_lines.append(QString::number(line));
        }
        ++m_count;
    }
    bool isEmpty() const { return m_count == 0; }
    QString text() const
    {
        const QString listed = m_lines.join(QStringLiteral(", "));
        return m_count > shownLines ? TransferTexts::andMore().arg(listed).arg(m_count - shownLines) : listed;
    }

private:
    static constexpr qsizetype shownLines = 20;
    QStringList m_lines;
    qsizetype m_count = 0;
};

// Reads one table. Every record after the header that has one field per header column and no quoting fault goes
// to `take` with the values of the wanted columns, in the order of `wanted`; the others are problems. Records
// are read one at a time, so that a huge file is never held as records. Returns false when the table cannot be
// read at all.
bool readRows(const ImportTable& table, const QStringList& wanted, ImportProblems& problems,
              const std::function<void(int line, QStringList values)>& take)
{
    const auto problem = [&](int line, const QString& reason) { problems.add({table.source, line, reason}); };
    if (table.bytes.contains('\0')) {
        problem(0, TransferTexts::binary());
        return false;
    }
    const TextDecoding::Decoded text = TextDecoding::decode(table.bytes);
    if (text.encoding == TextDecoding::Decoded::Encoding::Mixed) {
        problem(text.brokenLine, TransferTexts::mixedEncoding());
        return false;
    }
    Csv::Reader reader(text.text);
    const std::optional<Csv::Record> header = reader.next();
    if (!header) {
        problem(0, TransferTexts::noHeader());
        return false;
    }
    if (header->fault) {
        problem(header->fault->line, faultText(*header->fault));
        return false;
    }
    QList<qsizetype> columns;
    QStringList missing;
    for (const QString& name : wanted) {
        const auto found = std::find_if(header->fields.begin(), header->fields.end(), [&](const QString& field) {
            return field.trimmed().compare(name, Qt::CaseInsensitive) == 0;
        });
        if (found == header->fields.end()) {
            missing.append(name);
        } else {
            columns.append(found - header->fields.begin());
        }
    }
    if (!missing.isEmpty()) {
        problem(header->line, TransferTexts::missingColumns().arg(missing.join(QStringLiteral(", "))));
        return false;
    }
    const qsizetype width = header->fields.size();
    while (const std::optional<Csv::Record> record = reader.next()) {
        if (record->fault) {
            problem(record->fault->line, faultText(*record->fault));
        } else if (record->fields.size() != width) {
            problems.add(table.source, record->line, [&] {
                return TransferTexts::fieldCount().arg(record->fields.size()).arg(width);
            });
        } else {
            QStringList values;
            for (const qsizetype column : columns) {
                const QString& value = record->fields.at(column);
                values.append(table.guardedValues ? Csv::unguarded(value) : value);
            }
            take(record->line, std::move(values));
        }
    }
    return true;
}

QString numberText(int number)
{
    return QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

// The numbers missing below the highest one, as runs ("003, 005 à 009"), and how many they are.
std::pair<QString, int> holesOf(const QList<QString>& numbers)
{
    std::array<bool, 1000> present{};
    int highest = 0;
    for (const QString& number : numbers) {
        present.at(number.toInt()) = true;
        highest = std::max(highest, number.toInt());
    }
    QStringList runs;
    int count = 0;
    for (int number = 1; number <= highest; ++number) {
        if (present.at(number)) {
            continue;
        }
        int last = number;
        while (last < highest && !present.at(last + 1)) {
            ++last;
        }
        runs.append(last == number ? numberText(number)
                                   : TransferTexts::numberRange().arg(numberText(number), numberText(last)));
        count += last - number + 1;
        number = last;
    }
    return {runs.join(QStringLiteral(", ")), count};
}

struct Counts {
    int padded = 0;
};

void readSeries(const Category& category, const ImportTable& table, Checked& checked, Counts& counts)
{
    const qsizetype before = checked.problems.total();
    const auto problem = [&](int line, const std::function<QString()>& reason) {
        checked.problems.add(table.source, line, reason);
    };
    QList<PuzzleEntry>& entries = checked.plan.series[category.index];
    QHash<QString, int> lineOf; // at most 999 numbers
    int padded = 0;
    LineList garbled;
    const bool read = readRows(table, category.fields(), checked.problems, [&](int line, QStringList values) {
        PuzzleEntry entry{values.at(0), values.at(1), values.at(2), values.at(3), values.at(4)};
        const std::optional<QString> number = paddedNumber(entry.ref);
        if (!number) {
            problem(line, [&] { return TransferTexts::badNumber().arg(shown(entry.ref)); });
        } else if (*number == u"000") {
            problem(line, TransferTexts::zeroNumber);
        } else if (const auto earlier = lineOf.constFind(*number); earlier != lineOf.constEnd()) {
            problem(line, [&] { return TransferTexts::repeatedNumber().arg(*number).arg(*earlier); });
        } else {
            lineOf.insert(*number, line);
            padded += *number != entry.ref ? 1 : 0;
            entry.ref = *number;
        }
        if (isBlank(entry.answer)) {
            problem(line, [&] { return TransferTexts::blank().arg(category.answerField); });
        }
        if (isBlank(entry.author)) {
            problem(line, [] { return TransferTexts::blank().arg(QStringLiteral("auteur")); });
        }
        if (std::any_of(values.begin(), values.end(),
                        [](const QString& v) { return TextDecoding::looksDoublyEncoded(v); })) {
            garbled.add(line);
        }
        // A file with a problem is refused whole: its records are no longer kept.
        if (checked.problems.total() == before) {
            entries.append(std::move(entry));
        }
    });
    if (!read) {
        return;
    }
    // Adding to a series takes the number after the last: a hole could never be filled, nor the series continued.
    if (const auto [holes, count] = holesOf(lineOf.keys()); count > 0) {
        problem(0, [&, holes = holes, count = count] {
            const QString reason = TransferTexts::holes(count).arg(holes);
            return table.renumbering.isEmpty() ? reason : reason + TransferTexts::then() + table.renumbering;
        });
    }
    if (checked.problems.total() != before) {
        entries.clear();
        return;
    }
    counts.padded += padded;
    if (!garbled.isEmpty()) {
        checked.notes.append(TransferTexts::doublyEncoded().arg(table.source, garbled.text()));
    }
}

void readAuthors(const ImportTable& table, Checked& checked)
{
    const QString name = QStringLiteral("nom");
    const qsizetype before = checked.problems.total();
    LineList garbled;
    readRows(table, {name}, checked.problems, [&](int line, QStringList values) {
        if (isBlank(values.first())) {
            checked.problems.add({table.source, line, TransferTexts::blank().arg(name)});
        }
        if (TextDecoding::looksDoublyEncoded(values.first())) {
            garbled.add(line);
        }
        if (checked.problems.total() == before) {
            checked.plan.authors.append(values.first());
        }
    });
    if (checked.problems.total() != before) {
        checked.plan.authors.clear();
    } else if (!garbled.isEmpty()) {
        checked.notes.append(TransferTexts::doublyEncoded().arg(table.source, garbled.text()));
    }
}

// The authors that entries name and the register lacks are registered, as an add registers its author; otherwise
// their entries would count for no one in the statistics.
void registerNamed(const ImportInput& input, Checked& checked)
{
    QSet<QString> known;
    for (const QString& name : std::as_const(checked.plan.authors)) {
        known.insert(name.toCaseFolded());
    }
    QStringList named;
    for (const Category& category : Category::all()) {
        for (const PuzzleEntry& entry : checked.plan.series.at(category.index)) {
            if (category.registersAuthors && !known.contains(entry.author.toCaseFolded())) {
                known.insert(entry.author.toCaseFolded());
                named.append(entry.author);
            }
        }
    }
    if (named.isEmpty()) {
        return;
    }
    checked.plan.authors += named;
    if (!input.tables.at(ImportInput::Authors)) {
        checked.notes.append(TransferTexts::registerAbsent(named.size()));
        return;
    }
    constexpr qsizetype shown = 10;
    const QString names = named.first(std::min(shown, named.size())).join(QStringLiteral(", "));
    checked.notes.append(TransferTexts::authorsRegistered(named.size())
                             .arg(named.size() > shown ? TransferTexts::andMore().arg(names).arg(named.size() - shown)
                                                       : names));
}

} // namespace

Checked check(const ImportInput& input)
{
    Checked checked;
    for (const ImportProblem& problem : input.problems) {
        checked.problems.add(problem);
    }
    Counts counts;
    for (int table = 0; table < ImportInput::Tables; ++table) {
        if (!input.tables.at(table)) {
            continue;
        }
        if (table == ImportInput::Authors) {
            readAuthors(*input.tables.at(table), checked);
        } else {
            readSeries(Category::all().at(table), *input.tables.at(table), checked, counts);
        }
    }
    if (!checked.problems.isEmpty()) {
        checked.plan = {};
        checked.notes.clear();
        return checked;
    }
    registerNamed(input, checked);
    if (counts.padded > 0) {
        checked.notes.prepend(TransferTexts::paddedNumbers().arg(counts.padded));
    }
    if (!input.absent.isEmpty()) {
        checked.notes.prepend(TransferTexts::absentTables().arg(input.absent.join(QStringLiteral(", "))));
    }
    return checked;
}

QStringList summary(const Checked& checked)
{
    QStringList lines;
    for (const Category& category : Category::all()) {
        lines.append(TransferTexts::received(checked.plan.series.at(category.index).size()).arg(category.caption));
    }
    lines.append(TransferTexts::receivedAuthors(checked.plan.authors.size()));
    if (!checked.notes.isEmpty()) {
        lines.append(QString()); // what to look at, apart from the counts
        lines += checked.notes;
    }
    return lines;
}

ImportOutcome write(const Checked& checked, const std::function<Catalogue&()>& open)
{
    using Status = ImportOutcome::Status;
    if (!checked.problems.isEmpty()) {
        return {Status::Refused, TransferTexts::importRefused(), checked.problems.lines(), {}};
    }
    try {
        if (!open().fillEmpty(checked.plan.series, checked.plan.authors)) {
            return {Status::Refused, TransferTexts::notEmpty(), {}, {}};
        }
    } catch (const CatalogueError& error) {
        return {Status::Failed, error.message(), {}, error.detail()};
    }
    return {Status::Done, TransferTexts::importDone(), summary(checked), {}};
}

ImportOutcome run(const ImportInput& input, const std::function<Catalogue&()>& open)
{
    return write(check(input), open);
}

} // namespace CatalogueImport
