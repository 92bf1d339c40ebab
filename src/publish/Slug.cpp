#include "publish/Slug.h"

#include <QCryptographicHash>

namespace Slug {

QString folded(const QString& text)
{
    QString out;
    for (QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing) {
            out += c;
        }
    }
    return out.toCaseFolded();
}

QString of(const QString& text)
{
    QString out;
    for (QChar c : folded(text)) {
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')) {
            out += c;
        } else if (!out.isEmpty() && !out.endsWith(u'-')) {
            out += u'-';
        }
    }
    out.truncate(40);
    while (out.endsWith(u'-')) {
        out.chop(1);
    }
    return out.isEmpty() ? QStringLiteral("x") : out;
}

QString hash(const QString& text, int length)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(length));
}

} // namespace Slug
