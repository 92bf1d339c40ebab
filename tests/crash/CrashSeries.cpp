#include "CrashSeries.h"

#include <QStringList>

namespace CrashSeries {

QString ref(int number)
{
    return QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

PuzzleEntry typed(int number)
{
    // Answers of varied length and script put rows of varied size on the pages, so that a kill meets pages in many
    // states; trailing spaces must come back as typed.
    static const QStringList words = {QStringLiteral("Château"), QStringLiteral("Œdipe"),  QStringLiteral("l'Aïeul"),
                                      QStringLiteral("Zoë"),     QStringLiteral("Ἀθῆναι"), QStringLiteral("東京")};
    QString answer = QStringLiteral("Réponse ") + ref(number);
    for (int i = 0; i < (number * 7) % 23; ++i) {
        answer += u' ' + words.at((number + i) % words.size());
    }
    answer += QString(number % 3, u' ');

    // A new author every fourth entry, so that many adds also register an author in the same transaction; "LÉA" is
    // the registered "Léa" in other case and must not be registered twice.
    static const QStringList regulars = {QStringLiteral("Léa"), QStringLiteral("LÉA"), QStringLiteral("Marc")};
    const QString author =
        number % 4 == 0 ? QStringLiteral("Auteur %1").arg(number / 4) : regulars.at(number % regulars.size());

    // Every third entry leaves both addresses empty.
    const bool noAddresses = number % 3 == 0;
    return {ref(number), answer, author,
            noAddresses ? QString() : QStringLiteral("https://images.example/%1.jpg").arg(number),
            noAddresses ? QString() : QStringLiteral("https://forum.example/t%1").arg(number)};
}

PuzzleEntry stored(int number)
{
    PuzzleEntry entry = typed(number);
    for (QString* address : {&entry.url, &entry.link}) {
        if (address->isEmpty()) {
            *address = QStringLiteral("Non disponible");
        }
    }
    return entry;
}

} // namespace CrashSeries
