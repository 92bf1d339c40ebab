#pragma once

#include <QByteArray>
#include <QString>

/// The bytes of a file, or an empty array when it cannot be read.
QByteArray fileBytes(const QString& path);
/// Writes `bytes` as the whole content of `path`, making its folder if needed; fails the test when it cannot.
void writeFile(const QString& path, const QByteArray& bytes);
