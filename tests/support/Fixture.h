#pragma once

#include "catalogue/CatalogueFolder.h"
#include "catalogue/Category.h"
#include "catalogue/PuzzleEntry.h"
#include "support/Fakes.h"
#include "ui/MainWindow.h"

#include <QTemporaryDir>

#include <memory>

/// A fresh catalogue in a temporary folder, made from the project's schema, with rows written directly in SQL
/// (so that fixtures do not depend on the code under test) and a settings file.
class Fixture {
public:
    Fixture();

    const CatalogueFolder& folder() const { return m_folder; }
    /// Appends rows to a category table in the given order (the table's stored order).
    void insert(const Category& category, const QList<PuzzleEntry>& entries);
    void registerAuthors(const QStringList& names);
    /// Runs raw SQL on the catalogue file (to break it on purpose).
    void sql(const QString& statement);
    void writeSettings(const QByteArray& content);
    /// Entries numbered 001 … count, answers "Réponse N", authors taken in turn from `authors`.
    static QList<PuzzleEntry> series(int count, const QStringList& authors = {QStringLiteral("Léa")});

    /// Opens the main window on this folder with recording doubles, as the program does at start.
    /// Returns nullptr when start-up refused (the messenger holds why).
    std::unique_ptr<MainWindow> openWindow();
    /// The same window shown, laid out, active (so that keys reach it) and on tab `tabIndex` of `onglet`.
    std::unique_ptr<MainWindow> openShown(int tabIndex = 0);

    FakeMessenger messenger;
    FakeDesktop desktop;
    FakeProgramStarter programs;

private:
    QTemporaryDir m_dir;
    CatalogueFolder m_folder;
};

/// Finds a child by objectName and type, failing the test when it is missing.
template <typename T> T* child(QObject* parent, const QString& name)
{
    return parent->findChild<T*>(name);
}
