#include "catalogue/Catalogue.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueTexts.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

using Kind = CatalogueError::Kind;

void Catalogue::replaceFile(const QString& copy, const std::function<void()>& beforeSwap,
                            const std::function<bool(QSaveFile&)>& commit)
{
    const QString failed = CatalogueTexts::restoreFailed().arg(QDir::toNativeSeparators(m_path));
    // The new file lands beside the old one under a temporary name, flushed, and is renamed over it in one step: a
    // crash leaves the old catalogue or the new one, never a mix. Until the rename, the old one is untouched.
    QSaveFile target(m_path);
    QFile source(copy);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly)) {
        throw CatalogueError(Kind::Write, failed, source.isOpen() ? target.errorString() : source.errorString());
    }
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() || target.write(chunk) != chunk.size()) {
            throw CatalogueError(Kind::Write, failed,
                                 chunk.isEmpty() ? source.errorString() : target.errorString());
        }
    }
    source.close();
    if (beforeSwap) {
        beforeSwap();
    }
    // A file held open cannot be replaced everywhere (Windows): the connection is closed first, and always reopened.
    {
        QSqlDatabase db = database();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    const bool replaced = commit(target);
    const QString why = target.errorString();
    invalidateCache();
    m_dataVersion = -1;
    m_schemaCurrent = false;
    open();
    if (!replaced) {
        throw CatalogueError(Kind::Write, failed, why);
    }
}
