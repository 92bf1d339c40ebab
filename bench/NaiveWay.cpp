#include "NaiveWay.h"

#include "catalogue/Catalogue.h"

#include <QSqlQuery>

#include <algorithm>

namespace NaiveWay {

double statisticsMedian(const Catalogue& catalogue, int runs)
{
    QSqlDatabase db = catalogue.database();
    return measure(runs,
                   [&] {
                       for (const Category& category : Category::all()) {
                           QList<std::pair<QString, int>> rows;
                           QSqlQuery authors(db);
                           authors.exec(QStringLiteral("SELECT nom FROM auteurs"));
                           while (authors.next()) {
                               const QString name = authors.value(0).toString();
                               QSqlQuery entries(db);
                               entries.prepare(QStringLiteral("SELECT * FROM \"%1\" WHERE auteur = ? COLLATE NOCASE")
                                                   .arg(category.table));
                               entries.addBindValue(name);
                               entries.exec();
                               int count = 0;
                               QString spelling = name;
                               while (entries.next()) {
                                   ++count;
                                   spelling = entries.value(2).toString();
                               }
                               if (count > 0) {
                                   rows.append({spelling, count});
                               }
                           }
                           std::stable_sort(rows.begin(), rows.end(),
                                            [](const auto& a, const auto& b) { return a.second > b.second; });
                       }
                   })
        .median;
}

double searchMedian(const Catalogue& catalogue, const Category& category, const QString& criterion, int runs)
{
    QSqlDatabase db = catalogue.database();
    return measure(runs,
                   [&] {
                       QSqlQuery query(db);
                       query.exec(
                           QStringLiteral("SELECT ref, %1 FROM \"%2\"").arg(category.answerField, category.table));
                       QStringList hits;
                       while (query.next()) {
                           const QString answer = query.value(1).toString();
                           if (answer.toUpper().contains(criterion.trimmed().toUpper())) {
                               hits.append(query.value(0).toString());
                           }
                       }
                   })
        .median;
}

} // namespace NaiveWay
