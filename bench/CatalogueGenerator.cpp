#include "CatalogueGenerator.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueFolder.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cmath>
#include <stdexcept>

namespace CatalogueGenerator {

namespace {

const QStringList syllables = {
    QStringLiteral("ré"), QStringLiteral("mé"),  QStringLiteral("la"), QStringLiteral("tô"),  QStringLiteral("ça"),
    QStringLiteral("vè"), QStringLiteral("ni"),  QStringLiteral("où"), QStringLiteral("bë"),  QStringLiteral("gar"),
    QStringLiteral("dî"), QStringLiteral("pon"), QStringLiteral("sû"), QStringLiteral("chê"), QStringLiteral("œu"),
    QStringLiteral("é"),  QStringLiteral("Â"),   QStringLiteral("ti"), QStringLiteral("qu"),  QStringLiteral("lle"),
};

QString inventedAnswer(QRandomGenerator& random)
{
    const int length = 5 + int(random.bounded(36));
    QString text;
    while (text.size() < length) {
        text += syllables.at(int(random.bounded(qsizetype(syllables.size()))));
        if (random.bounded(5) == 0) {
            text += u' ';
        }
    }
    text.truncate(length);
    text[0] = text.at(0).toUpper();
    return text;
}

void check(bool ok, const QSqlQuery& query)
{
    if (!ok) {
        throw std::runtime_error(query.lastError().text().toStdString());
    }
}

QString number(int n)
{
    return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}

} // namespace

QString authorName(int rank)
{
    return QStringLiteral("Auteur%1é").arg(rank, 3, 10, QLatin1Char('0'));
}

void generate(const QString& folder, const Recipe& recipe, const QByteArray& program)
{
    const CatalogueFolder files(folder);
    QFile::remove(files.database());
    Catalogue::create(files.database());
    QFile settings(files.settings());
    if (!settings.open(QIODevice::WriteOnly) || settings.write("programme=" + program + "\r\n") < 0) {
        throw std::runtime_error(settings.errorString().toStdString());
    }

    QRandomGenerator random(recipe.seed);
    // Zipf-like weights: author k posts about 1/(k+1) as much as the first.
    QList<double> cumulative;
    double total = 0;
    for (int k = 0; k < recipe.authors; ++k) {
        total += 1.0 / std::pow(k + 1, 1.1);
        cumulative.append(total);
    }
    auto pickAuthor = [&] {
        const double x = random.generateDouble() * total;
        return int(std::lower_bound(cumulative.begin(), cumulative.end(), x) - cumulative.begin());
    };

    std::array<QList<PuzzleEntry>, 4> series;
    QList<bool> registered(recipe.authors, recipe.registerAll);
    for (const Category& category : Category::all()) {
        QList<int> order;
        for (int n = 1; n <= recipe.entries.at(category.index); ++n) {
            order.append(n);
        }
        if (category.loadsInStoredOrder) {
            for (int swap = 0; swap < recipe.storedOutOfOrder && order.size() > 1; ++swap) {
                const auto at = qsizetype(random.bounded(int(order.size() - 1)));
                order.swapItemsAt(at, at + 1);
            }
        }
        for (const int n : order) {
            const int rank = pickAuthor();
            registered[rank] = registered[rank] || category.index == 0;
            QString author = recipe.authorName(rank);
            if (recipe.otherCaseOneIn > 0 && random.bounded(recipe.otherCaseOneIn) == 0) {
                author = author.toUpper(); // entries spelled in another case still count
            }
            // Written in this order: the calls draw from the generator one after the other.
            PuzzleEntry entry;
            entry.ref = number(n);
            entry.answer = recipe.answer(category, random);
            entry.author = author;
            entry.url = recipe.url(category, number(n), random);
            entry.link = recipe.link(category, number(n), random);
            series[category.index].append(entry);
        }
    }
    QStringList authors;
    for (int k = 0; k < recipe.authors; ++k) {
        if (registered.at(k)) {
            authors.append(recipe.authorName(k));
        }
    }
    if (recipe.plant) {
        recipe.plant(series, authors);
    }

    const QString connection = QStringLiteral("catalogue-generator");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(files.database());
        db.open();
        db.transaction();
        QSqlQuery query(db);
        for (const Category& category : Category::all()) {
            check(query.prepare(QStringLiteral("INSERT INTO \"%1\" (ref, %2, auteur, url, lien) VALUES (?, ?, ?, ?, ?)")
                                    .arg(category.table, category.answerField)),
                  query);
            for (const PuzzleEntry& entry : std::as_const(series.at(category.index))) {
                for (const QString& value : {entry.ref, entry.answer, entry.author, entry.url, entry.link}) {
                    query.addBindValue(value);
                }
                check(query.exec(), query);
            }
        }
        check(query.prepare(QStringLiteral("INSERT INTO auteurs (nom) VALUES (?)")), query);
        for (const QString& name : std::as_const(authors)) {
            query.addBindValue(name);
            check(query.exec(), query);
        }
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

void generate(const QString& folder, int perSeries, int authors, quint16 imagePort, int shortSeries, int shortBy,
              quint32 seed)
{
    Recipe recipe;
    for (const Category& category : Category::all()) {
        recipe.entries[category.index] = category.index == shortSeries ? perSeries - shortBy : perSeries;
    }
    recipe.authors = authors;
    recipe.authorName = authorName;
    recipe.answer = [](const Category&, QRandomGenerator& random) { return inventedAnswer(random); };
    recipe.url = [imagePort](const Category& category, const QString& ref, QRandomGenerator&) {
        return QStringLiteral("http://127.0.0.1:%1/img/%2/%3.jpg").arg(imagePort).arg(category.index).arg(ref);
    };
    recipe.link = [imagePort](const Category& category, const QString& ref, QRandomGenerator&) {
        return QStringLiteral("http://127.0.0.1:%1/forum/%2/%3").arg(imagePort).arg(category.index).arg(ref);
    };
    recipe.seed = seed;
    generate(folder, recipe);
}

} // namespace CatalogueGenerator

QByteArray CatalogueGenerator::jpeg(const QImage& image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    return bytes;
}
