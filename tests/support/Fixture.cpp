#include "support/Fixture.h"

#include "app/Startup.h"
#include "catalogue/Catalogue.h"

#include <QApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>

namespace {

// Runs `work` on a short-lived raw connection to the catalogue file.
template <typename Work> void withDatabase(const QString& path, Work work)
{
    const QString name = QStringLiteral("fixture");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY2(db.open(), qPrintable(db.lastError().text()));
        work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

Fixture::Fixture()
    : m_folder(m_dir.path())
{
    Catalogue::create(m_folder.database());
    writeSettings("; paramètres\r\nprogramme=recherche.sh\r\n");
}

void Fixture::insert(const Category& category, const QList<PuzzleEntry>& entries)
{
    withDatabase(m_folder.database(), [&](QSqlDatabase& db) {
        db.transaction();
        QSqlQuery query(db);
        query.prepare(QStringLiteral("INSERT INTO \"%1\" (ref, %2, auteur, url, lien) VALUES (?, ?, ?, ?, ?)")
                          .arg(category.table, category.answerField));
        for (const PuzzleEntry& entry : entries) {
            for (const QString& value : {entry.ref, entry.answer, entry.author, entry.url, entry.link}) {
                query.addBindValue(value.isNull() ? QStringLiteral("") : value);
            }
            QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
        }
        db.commit();
    });
}

void Fixture::registerAuthors(const QStringList& names)
{
    withDatabase(m_folder.database(), [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("INSERT INTO auteurs (nom) VALUES (?)"));
        for (const QString& name : names) {
            query.addBindValue(name);
            QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
        }
    });
}

void Fixture::sql(const QString& statement)
{
    withDatabase(m_folder.database(), [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
    });
}

void Fixture::writeSettings(const QByteArray& content)
{
    QFile file(m_folder.settings());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QList<PuzzleEntry> Fixture::series(int count, const QStringList& authors)
{
    QList<PuzzleEntry> entries;
    for (int n = 1; n <= count; ++n) {
        entries.append({QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')), QStringLiteral("Réponse %1").arg(n),
                        authors.at((n - 1) % authors.size()), QStringLiteral("http://127.0.0.1/%1.jpg").arg(n),
                        QStringLiteral("http://127.0.0.1/forum/%1").arg(n)});
    }
    return entries;
}

std::unique_ptr<MainWindow> Fixture::openShown(int tabIndex)
{
    auto window = openWindow();
    if (!window) {
        return nullptr;
    }
    window->show();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowActive(window.get())) {
        return nullptr;
    }
    window->tabs()->setCurrentIndex(tabIndex);
    return window;
}

std::unique_ptr<MainWindow> Fixture::openWindow()
{
    return Startup::openWindow(m_folder, Services{&messenger, &desktop, &programs});
}
