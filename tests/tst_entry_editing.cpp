#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueTexts.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using Icon = Messenger::Icon;

char* toString(const PuzzleEntry& entry)
{
    return QTest::toString(QStringList{entry.ref, entry.answer, entry.author, entry.url, entry.link}.join(u'|'));
}

namespace {

const QString nd = u"Non disponible"_s;

std::unique_ptr<MainWindow> openShown(Fixture& fixture)
{
    auto window = fixture.openWindow();
    if (window) {
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) {
            return nullptr;
        }
    }
    return window;
}

/// What the keeper sees and what the file holds, to tell that a refused or failed operation changed nothing.
struct State {
    QList<QStringList> rows;
    PuzzleEntry panel;
    QList<PuzzleEntry> stored;
    QStringList authors;
};

State state(const MainWindow& window, const Category& category)
{
    const CategoryTab* tab = window.categoryTab(category);
    // A connection of its own reads what the file really holds.
    const Catalogue file(window.catalogue().path());
    return {tab->model()->rows(), tab->panel(), file.entries(category, EntryOrder::Stored), file.authors()};
}

void click(MainWindow& window, const Category& category, QStringView button)
{
    auto* widget = child<QPushButton>(&window, category.name(button));
    QVERIFY(widget);
    widget->click();
}

PuzzleEntry stored(const MainWindow& window, const Category& category, const QString& ref)
{
    return Catalogue(window.catalogue().path()).entry(category, ref).value_or(PuzzleEntry{});
}

// QTest::keyClicks takes Latin-1 only as ASCII; accented letters go in as key events carrying their text.
void type(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

bool isRowVisible(const CategoryTab& tab, int modelRow)
{
    const QRect cell = tab.grid()->visualRect(tab.model()->index(modelRow, 0));
    return tab.grid()->viewport()->rect().contains(cell.center());
}

/// Holds the whole file under an exclusive lock on a connection of its own, as another program would.
class FileLock {
public:
    explicit FileLock(const QString& path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name());
        db.setDatabaseName(path);
        m_held = db.open() && QSqlQuery(db).exec(u"BEGIN EXCLUSIVE"_s);
    }
    ~FileLock()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name(), false);
            QSqlQuery(db).exec(u"ROLLBACK"_s);
            db.close();
        }
        QSqlDatabase::removeDatabase(name());
    }
    bool held() const { return m_held; }

private:
    static QString name() { return u"other-program"_s; }
    bool m_held = false;
};

enum class Breakage { ReadOnlyConnection, Locked, EngineRefuses, ReadOnlyFile };

} // namespace

class TestEntryEditing : public QObject {
    Q_OBJECT

private slots:
    void addThroughTheWindow_data();
    void addThroughTheWindow();
    void addExpectsGridCountInAnyOrder();
    void addRefusedChangesNothing_data();
    void addRefusedChangesNothing();
    void addExistingNumber();
    void authorRegisteredOnce_data();
    void authorRegisteredOnce();
    void updateThroughTheWindow();
    void updateRewritesRowShowingNumber();
    void updateNumberNotShown();
    void updateRefused_data();
    void updateRefused();
    void writeFailure_data();
    void writeFailure();
};

void TestEntryEditing::addThroughTheWindow_data()
{
    QTest::addColumn<int>("category");
    for (const Category& category : Category::all()) {
        QTest::newRow(qPrintable(category.caption)) << category.index;
    }
}

void TestEntryEditing::addThroughTheWindow()
{
    QFETCH(int, category);
    const Category& cat = Category::all().at(category);
    Fixture fixture;
    fixture.insert(cat, Fixture::series(41, {u"Léa"_s, u"Max"_s}));
    auto window = openShown(fixture);
    QVERIFY(window);
    window->tabs()->setCurrentIndex(cat.tabIndex);
    CategoryTab* tab = window->categoryTab(cat);
    tab->showFirstRows();
    auto* number = child<QLineEdit>(window.get(), cat.name(u"no_"));
    auto* answer = child<QLineEdit>(window.get(), cat.name(u"nom_"));
    auto* author = child<QComboBox>(window.get(), cat.name(u"list_"));
    auto* url = child<QLineEdit>(window.get(), cat.name(u"url_"));
    auto* link = child<QLineEdit>(window.get(), cat.name(u"url_", u"_sor"));
    auto* add = child<QPushButton>(window.get(), cat.name(u"bt_add_"));
    QVERIFY(number && answer && author && url && link && add);
    const int listed = author->count();

    type(number, u"042"_s);
    type(answer, u" Le Puy "_s);
    type(author->lineEdit(), u"Noé"_s);
    type(link, u"http://forum/42"_s);
    QTest::mouseClick(add, Qt::LeftButton);

    QVERIFY2(fixture.messenger.shown.isEmpty(), qPrintable(fixture.messenger.lastText()));
    QCOMPARE(stored(*window, cat, u"042"_s),
             (PuzzleEntry{u"042"_s, u" Le Puy "_s, u"Noé"_s, nd, u"http://forum/42"_s}));
    GridModel* model = tab->model();
    QCOMPARE(model->rowCount(), 42);
    QCOMPARE(model->row(41), (QStringList{u"042"_s, u" Le Puy "_s, u"Noé"_s}));
    QCOMPARE(tab->grid()->currentIndex().row(), 41);
    QVERIFY(tab->topGridRow() > 1);
    QVERIFY(isRowVisible(*tab, 41));
    for (const QString& text : {number->text(), answer->text(), author->currentText(), url->text(), link->text()}) {
        QCOMPARE(text, QString());
    }
    QCOMPARE(author->count(), listed);
    QCOMPARE(author->findText(u"Noé"_s), -1);
    QCOMPARE(Catalogue(fixture.folder().database()).authors(),
             cat.registersAuthors ? QStringList{u"Noé"_s} : QStringList{});

    // The series has moved on by one.
    type(number, u"042"_s);
    type(answer, u"Lyon"_s);
    type(author->lineEdit(), u"Léa"_s);
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(fixture.messenger.shown.size(), 1);
    QCOMPARE(fixture.messenger.shown.last().icon, Icon::Warning);
    QCOMPARE(fixture.messenger.lastText(), u"Le numéro ne suit pas. Il doit être égal à 43"_s);
}

void TestEntryEditing::addExpectsGridCountInAnyOrder()
{
    const Category& cat = Category::tusqué();
    Fixture fixture;
    QList<PuzzleEntry> entries = Fixture::series(3);
    fixture.insert(cat, entries);
    auto window = openShown(fixture);
    QVERIFY(window);
    CategoryTab* tab = window->categoryTab(cat);
    std::reverse(entries.begin(), entries.end());
    tab->fill(entries); // as a sort by another column shows it

    tab->setPanel({u"004"_s, u"Lyon"_s, u"Max"_s, {}, {}});
    click(*window, cat, u"bt_add_");

    QVERIFY2(fixture.messenger.shown.isEmpty(), qPrintable(fixture.messenger.lastText()));
    QCOMPARE(tab->model()->rows().first().first(), u"003"_s);
    QCOMPARE(tab->model()->rows().last().first(), u"004"_s);
}

void TestEntryEditing::addRefusedChangesNothing_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("author");
    QTest::addColumn<QString>("message");

    QTest::newRow("out of sequence") << "005"
                                     << "Max"
                                     << "Le numéro ne suit pas. Il doit être égal à 4";
    QTest::newRow("not three digits") << " 04"
                                      << "Max"
                                      << "Numéro de plomé non numérique ou absent.";
    QTest::newRow("apostrophe") << "004"
                                << "O'Neil"
                                << "Apostrophe non autorisée dans le pseudo.";
}

void TestEntryEditing::addRefusedChangesNothing()
{
    QFETCH(QString, number);
    QFETCH(QString, author);
    QFETCH(QString, message);
    const Category& cat = Category::plomé();
    Fixture fixture;
    fixture.insert(cat, Fixture::series(3));
    auto window = openShown(fixture);
    QVERIFY(window);
    window->categoryTab(cat)->setPanel({number, u"Lyon"_s, author, {}, {}});
    const State before = state(*window, cat);

    click(*window, cat, u"bt_add_");

    QCOMPARE(fixture.messenger.texts(), QStringList{message});
    QCOMPARE(fixture.messenger.shown.first().icon, Icon::Warning);
    const State after = state(*window, cat);
    QCOMPARE(after.panel, before.panel);
    QCOMPARE(after.rows, before.rows);
    QCOMPARE(after.stored, before.stored);
}

void TestEntryEditing::addExistingNumber()
{
    const Category& cat = Category::dravé();
    Fixture fixture;
    fixture.insert(cat, Fixture::series(3));
    auto window = openShown(fixture);
    QVERIFY(window);
    // Another program added 004 behind the grid's back.
    const PuzzleEntry other{u"004"_s, u"Nantes"_s, u"Léa"_s, u"http://a/4.jpg"_s, u"http://a/t4"_s};
    fixture.insert(cat, {other});
    CategoryTab* tab = window->categoryTab(cat);
    tab->setPanel({u"004"_s, u"Lyon"_s, u"Nouvel"_s, {}, u"http://forum/4"_s});
    const State before = state(*window, cat);

    click(*window, cat, u"bt_add_");

    QCOMPARE(fixture.messenger.texts(), QStringList{u"N° 004 déjà existant."_s});
    QCOMPARE(fixture.messenger.shown.first().icon, Icon::Warning);
    QCOMPARE(tab->panel(), (PuzzleEntry{u"004"_s, u"Lyon"_s, u"Nouvel"_s, nd, u"http://forum/4"_s}));
    const State after = state(*window, cat);
    QCOMPARE(after.rows, before.rows);
    QCOMPARE(after.stored, before.stored);
    QCOMPARE(after.authors, before.authors); // the refused author is not registered
}

void TestEntryEditing::authorRegisteredOnce_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QStringList>("registered");

    const QString zoé = u"Zoé"_s;
    QTest::newRow("new, then other case") << 0 << "Élodie"
                                          << "éLODIE" << QStringList{zoé, u"Élodie"_s};
    QTest::newRow("known in other case") << 0 << "zoé"
                                         << "ZOÉ" << QStringList{zoé};
    QTest::newRow("a longer name is another") << 0 << "Max"
                                              << "Maxime" << QStringList{zoé, u"Max"_s, u"Maxime"_s};
    QTest::newRow("Plomé registers nobody") << 1 << "Élodie"
                                            << "Max" << QStringList{zoé};
    QTest::newRow("Tusqué registers nobody") << 2 << "Élodie"
                                             << "Max" << QStringList{zoé};
    QTest::newRow("Vantorel registers nobody") << 3 << "Élodie"
                                               << "Max" << QStringList{zoé};
}

void TestEntryEditing::authorRegisteredOnce()
{
    QFETCH(int, category);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QStringList, registered);
    const Category& cat = Category::all().at(category);
    Fixture fixture;
    fixture.insert(cat, Fixture::series(2));
    fixture.registerAuthors({u"Zoé"_s});
    auto window = openShown(fixture);
    QVERIFY(window);
    CategoryTab* tab = window->categoryTab(cat);

    tab->setPanel({u"003"_s, u"Lyon"_s, first, {}, {}});
    click(*window, cat, u"bt_add_");
    tab->setPanel({u"004"_s, u"Lille"_s, second, {}, {}});
    click(*window, cat, u"bt_add_");

    QVERIFY2(fixture.messenger.shown.isEmpty(), qPrintable(fixture.messenger.lastText()));
    QCOMPARE(Catalogue(fixture.folder().database()).authors(), registered);
}

void TestEntryEditing::updateThroughTheWindow()
{
    const Category& cat = Category::dravé();
    Fixture fixture;
    fixture.insert(cat, Fixture::series(30, {u"Léa"_s, u"Max"_s}));
    auto window = openShown(fixture);
    QVERIFY(window);
    CategoryTab* tab = window->categoryTab(cat);
    tab->scrollToGridRow(2);
    const int top = tab->topGridRow();
    // As a click on the row of 003 leaves it: the row current and the whole entry in the panel.
    tab->grid()->setCurrentIndex(tab->model()->index(2, 1));
    const PuzzleEntry old = stored(*window, cat, u"003"_s);
    tab->setPanel(old);

    auto* answer = child<QLineEdit>(window.get(), u"nom_dravé"_s);
    auto* author = child<QComboBox>(window.get(), u"list_dravé"_s);
    auto* update = child<QPushButton>(window.get(), u"bt_maj_dravé"_s);
    QVERIFY(answer && author && update);
    answer->selectAll();
    type(answer, u"Lille "_s);
    author->lineEdit()->selectAll();
    type(author->lineEdit(), u"O'Neil"_s);
    QTest::mouseClick(update, Qt::LeftButton);

    QVERIFY2(fixture.messenger.shown.isEmpty(), qPrintable(fixture.messenger.lastText()));
    QCOMPARE(stored(*window, cat, u"003"_s), (PuzzleEntry{u"003"_s, u"Lille "_s, u"O'Neil"_s, old.url, old.link}));
    QCOMPARE(tab->model()->row(2), (QStringList{u"003"_s, u"Lille "_s, u"O'Neil"_s}));
    QCOMPARE(tab->model()->rowCount(), 30);
    QCOMPARE(tab->topGridRow(), top);
    QCOMPARE(tab->panel(), PuzzleEntry{});
    QCOMPARE(Catalogue(fixture.folder().database()).authors(), QStringList{});
}

void TestEntryEditing::updateRewritesRowShowingNumber()
{
    const Category& cat = Category::plomé();
    Fixture fixture;
    QList<PuzzleEntry> entries = Fixture::series(30);
    fixture.insert(cat, entries);
    auto window = openShown(fixture);
    QVERIFY(window);
    CategoryTab* tab = window->categoryTab(cat);
    std::reverse(entries.begin(), entries.end());
    tab->fill(entries); // 030 first, 001 last
    tab->scrollToGridRow(5);
    const int top = tab->topGridRow();
    const QList<QStringList> before = tab->model()->rows();
    // The keeper selected the row of 027, then typed the number of 025; the image box was emptied meanwhile.
    tab->grid()->setCurrentIndex(tab->model()->index(3, 0));
    tab->setPanel({u"025"_s, u"Lille"_s, u"Max"_s, {}, u"http://new/t25"_s});

    click(*window, cat, u"bt_maj_");

    QVERIFY2(fixture.messenger.shown.isEmpty(), qPrintable(fixture.messenger.lastText()));
    QCOMPARE(stored(*window, cat, u"025"_s),
             (PuzzleEntry{u"025"_s, u"Lille"_s, u"Max"_s, u"http://127.0.0.1/25.jpg"_s, u"http://new/t25"_s}));
    QList<QStringList> expected = before;
    expected[5] = {u"025"_s, u"Lille"_s, u"Max"_s};
    QCOMPARE(tab->model()->rows(), expected);
    QCOMPARE(tab->topGridRow(), top);
    QCOMPARE(tab->panel(), PuzzleEntry{});
}

void TestEntryEditing::updateNumberNotShown()
{
    const Category& cat = Category::vantorel();
    Fixture fixture;
    fixture.insert(cat, Fixture::series(3));
    auto window = openShown(fixture);
    QVERIFY(window);
    fixture.insert(cat, {{u"004"_s, u"Nantes"_s, u"Léa"_s, u"http://a/4.jpg"_s, u"http://a/t4"_s}});
    CategoryTab* tab = window->categoryTab(cat);
    const QList<QStringList> before = tab->model()->rows();
    tab->setPanel({u"004"_s, u"Lille"_s, u"Max"_s, nd, {}});

    click(*window, cat, u"bt_maj_");

    QVERIFY2(fixture.messenger.shown.isEmpty(), qPrintable(fixture.messenger.lastText()));
    QCOMPARE(stored(*window, cat, u"004"_s), (PuzzleEntry{u"004"_s, u"Lille"_s, u"Max"_s, nd, u"http://a/t4"_s}));
    QCOMPARE(tab->model()->rows(), before);
    QCOMPARE(tab->panel(), PuzzleEntry{});
}

void TestEntryEditing::updateRefused_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("message");

    QTest::newRow("two digits are sought as typed") << "2"
                                                    << "Lyon"
                                                    << "N° 2 inconnu.";
    QTest::newRow("number not in the table") << "004"
                                             << "Lyon"
                                             << "N° 004 inconnu.";
    QTest::newRow("letters") << "deux"
                             << "Lyon"
                             << "Numéro de tusqué non numérique ou absent.";
    QTest::newRow("answer of spaces") << "002"
                                      << "  "
                                      << "Nom non renseigné.";
}

void TestEntryEditing::updateRefused()
{
    QFETCH(QString, number);
    QFETCH(QString, answer);
    QFETCH(QString, message);
    const Category& cat = Category::tusqué();
    Fixture fixture;
    fixture.insert(cat, Fixture::series(3));
    auto window = openShown(fixture);
    QVERIFY(window);
    window->categoryTab(cat)->setPanel({number, answer, u"Max"_s, {}, {}});
    const State before = state(*window, cat);

    click(*window, cat, u"bt_maj_");

    QCOMPARE(fixture.messenger.texts(), QStringList{message});
    QCOMPARE(fixture.messenger.shown.first().icon, Icon::Warning);
    const State after = state(*window, cat);
    QCOMPARE(after.panel, before.panel);
    QCOMPARE(after.rows, before.rows);
    QCOMPARE(after.stored, before.stored);
}

void TestEntryEditing::writeFailure_data()
{
    QTest::addColumn<bool>("adding");
    QTest::addColumn<Breakage>("breakage");
    QTest::addColumn<QString>("message");

    for (bool adding : {true, false}) {
        const char* operation = adding ? "add" : "update";
        QTest::addRow("%s, read-only connection", operation)
            << adding << Breakage::ReadOnlyConnection << CatalogueTexts::readOnly();
        QTest::addRow("%s, locked file", operation) << adding << Breakage::Locked << CatalogueTexts::locked();
        QTest::addRow("%s, refused by the engine", operation)
            << adding << Breakage::EngineRefuses << CatalogueTexts::writeFailed();
        QTest::addRow("%s, read-only file", operation)
            << adding << Breakage::ReadOnlyFile << CatalogueTexts::readOnly();
    }
}

void TestEntryEditing::writeFailure()
{
    QFETCH(bool, adding);
    QFETCH(Breakage, breakage);
    QFETCH(QString, message);
    const Category& cat = Category::dravé();
    Fixture fixture;
    fixture.insert(cat, Fixture::series(3));
    const QString path = fixture.folder().database();
    if (breakage == Breakage::ReadOnlyFile) {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther));
        if (QFile probe(path); probe.open(QIODevice::ReadWrite)) {
            QSKIP("File permissions do not stop this user (root) from writing");
        }
    }
    auto window = openShown(fixture);
    QVERIFY(window);
    CategoryTab* tab = window->categoryTab(cat);
    // A new author on an add: registering it belongs to the same failed transaction.
    const PuzzleEntry typed = adding ? PuzzleEntry{u"004"_s, u"Lyon"_s, u"Nouvel"_s, {}, {}}
                                     : PuzzleEntry{u"002"_s, u"Lille"_s, u"Max"_s, {}, {}};
    tab->setPanel(typed);
    tab->grid()->setCurrentIndex(tab->model()->index(1, 0));
    const State before = state(*window, cat);

    std::unique_ptr<FileLock> lock;
    switch (breakage) {
    case Breakage::ReadOnlyConnection:
        // The engine then answers every write as it does for a read-only file, whoever runs the test.
        QVERIFY(QSqlQuery(window->catalogue().database()).exec(u"PRAGMA query_only = ON"_s));
        break;
    case Breakage::Locked:
        lock = std::make_unique<FileLock>(path);
        QVERIFY(lock->held());
        break;
    case Breakage::EngineRefuses:
        // As the engine refuses a write when the disk is full.
        for (const char* event : {"INSERT", "UPDATE"}) {
            fixture.sql(
                u"CREATE TRIGGER refuse_%1 BEFORE %1 ON \"dravé\" BEGIN SELECT RAISE(ABORT, 'disk full'); END"_s.arg(
                    QLatin1String(event)));
        }
        break;
    case Breakage::ReadOnlyFile:
        break;
    }

    click(*window, cat, adding ? u"bt_add_" : u"bt_maj_");

    // The automatic backup taken before the run's first write fails for the same cause and says so first.
    if (breakage != Breakage::EngineRefuses && fixture.messenger.shown.size() == 2) {
        QCOMPARE(fixture.messenger.shown.first().text, CatalogueTexts::backupFailed().arg(fixture.folder().backups()));
        fixture.messenger.shown.removeFirst();
    }
    QCOMPARE(fixture.messenger.texts(), QStringList{message.arg(path)});
    QCOMPARE(fixture.messenger.shown.first().icon, Icon::Critical);
    QVERIFY(!fixture.messenger.shown.first().detail.isEmpty());
    QCOMPARE(tab->panel(), typed);
    QCOMPARE(tab->model()->rows(), before.rows);
    QCOMPARE(tab->grid()->currentIndex().row(), 1);

    lock.reset();
    if (breakage == Breakage::ReadOnlyFile) {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
    const State after = state(*window, cat);
    QCOMPARE(after.stored, before.stored);
    QCOMPARE(after.authors, before.authors);
    if (breakage == Breakage::ReadOnlyFile) {
        return; // the open catalogue stays read-only until the program is restarted
    }

    // Once the cause is gone, the same click goes through.
    QSqlQuery(window->catalogue().database()).exec(u"PRAGMA query_only = OFF"_s);
    fixture.sql(u"DROP TRIGGER IF EXISTS refuse_INSERT"_s);
    fixture.sql(u"DROP TRIGGER IF EXISTS refuse_UPDATE"_s);
    click(*window, cat, adding ? u"bt_add_" : u"bt_maj_");
    QCOMPARE(fixture.messenger.shown.size(), 1);
    QCOMPARE(tab->panel(), PuzzleEntry{});
    QCOMPARE(stored(*window, cat, typed.ref).answer, typed.answer);
}

QTEST_MAIN(TestEntryEditing)
#include "tst_entry_editing.moc"
