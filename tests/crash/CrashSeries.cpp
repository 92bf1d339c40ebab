#include "CrashSeries.h"

#include <QStringList>

using namespace Qt::StringLiterals;

PuzzleEntry CrashSeries::typed(int number)
{
    const QString ref = u"%1"_s.arg(number, 3, 10, QLatin1Char('0'));
    // Answers of varied length and script put rows of varied size on the pages, so that a kill meets pages in many
    // states; trailing spaces must come back as typed.
    static const QStringList words = {u"Château"_s, u"Œdipe"_s, u"l'Aïeul"_s, u"Zoë"_s, u"Ἀθῆναι"_s, u"東京"_s};
    QString answer = u"Réponse "_s + ref;
    for (int i = 0; i < (number * 7) % 23; ++i) {
        answer += u' ' + words.at((number + i) % words.size());
    }
    answer += QString(number % 3, u' ');
    // A new author every fourth entry, so that many adds also register an author in the same transaction; "LÉA" is
    // "Léa" in other case and must not be registered twice.
    static const QStringList regulars = {u"Léa"_s, u"LÉA"_s, u"Marc"_s};
    const QString author = number % 4 == 0 ? u"Auteur %1"_s.arg(number / 4) : regulars.at(number % 3);
    // Every third entry leaves both addresses empty.
    const bool none = number % 3 == 0;
    return {ref, answer, author, none ? QString() : u"https://images.example/%1.jpg"_s.arg(number),
            none ? QString() : u"https://forum.example/t%1"_s.arg(number)};
}
