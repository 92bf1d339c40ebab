#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QTest>

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(QDir().mkpath(path.left(path.lastIndexOf(u'/'))) && file.open(QIODevice::WriteOnly) &&
                 file.write(bytes) == bytes.size(),
             qPrintable(path));
}
