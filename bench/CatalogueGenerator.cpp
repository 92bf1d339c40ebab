#include "CatalogueGenerator.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueFolder.h"

#include <QFile>
#include <QRandomGenerator>
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

QString answer(QRandomGenerator& random)
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

} // namespace

QString authorName(int rank)
{
    return QStringLiteral("Auteur%1é").arg(rank, 3, 10, QLatin1Char('0'));
}

void generate(const QString& folder, int perSeries, int authors, quint16 imagePort, int shortSeries, int shortBy,
              quint32 seed)
{
    const CatalogueFolder files(folder);
    QFile::remove(files.database());
    Catalogue::create(files.database());
    QFile settings(files.settings());
    if (settings.open(QIODevice::WriteOnly)) {
        settings.write("programme=recherche.sh\r\n");
    }

    QRandomGenerator random(seed);
    // Zipf-like weights: author k posts about 1/(k+1) as much as the first.
    QList<double> cumulative;
    double total = 0;
    for (int k = 0; k < authors; ++k) {
        total += 1.0 / std::pow(k + 1, 1.1);
        cumulative.append(total);
    }
    auto pickAuthor = [&] {
        const double x = random.generateDouble() * total;
        return int(std::lower_bound(cumulative.begin(), cumulative.end(), x) - cumulative.begin());
    };

    const QString connection = QStringLiteral("bench-generator");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(files.database());
        db.open();
        db.transaction();
        QSqlQuery query(db);
        check(query.prepare(QStringLiteral("INSERT INTO auteurs (nom) VALUES (?)")), query);
        for (int k = 0; k < authors; ++k) {
            query.addBindValue(authorName(k));
            check(query.exec(), query);
        }
        for (const Category& category : Category::all()) {
            check(query.prepare(QStringLiteral("INSERT INTO \"%1\" (ref, %2, auteur, url, lien) VALUES (?, ?, ?, ?, ?)")
                                    .arg(category.table, category.answerField)),
                  query);
            const int count = category.index == shortSeries ? perSeries - shortBy : perSeries;
            for (int n = 1; n <= count; ++n) {
                const QString ref = QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
                QString author = authorName(pickAuthor());
                if (random.bounded(10) == 0) {
                    author = author.toUpper(); // entries spelled in another case still count
                }
                query.addBindValue(ref);
                query.addBindValue(answer(random));
                query.addBindValue(author);
                query.addBindValue(
                    QStringLiteral("http://127.0.0.1:%1/img/%2/%3.jpg").arg(imagePort).arg(category.index).arg(ref));
                query.addBindValue(
                    QStringLiteral("http://127.0.0.1:%1/forum/%2/%3").arg(imagePort).arg(category.index).arg(ref));
                check(query.exec(), query);
            }
        }
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

} // namespace CatalogueGenerator
