#include "check/ComparisonWindow.h"
#include "image/ImageWindow.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/SearchTab.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

/// A shown, active main window on a catalogue of five Dravé entries, focus where a row asks for it.
struct Scene {
    Fixture fixture;
    std::unique_ptr<MainWindow> window;

    Scene()
    {
        fixture.insert(Category::dravé(), Fixture::series(5));
        fixture.registerAuthors({u"Léa"_s});
        window = fixture.openWindow();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    QWidget* widget(const QString& name) const { return child<QWidget>(window.get(), name); }
    QString focusName() const
    {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }
};

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
    void escapeClosesWindows();
};

void TestKeyboard::keys_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("focusAfter"); // empty: not the grid the key was pressed in
    QTest::addColumn<int>("tabAfter");
    QTest::addColumn<QString>("numberAfter"); // the Dravé number box
    QTest::addColumn<QString>("message");

    const int none = Qt::NoModifier;
    const QString number = u"Numéro de dravé non numérique ou absent."_s;
    QTest::newRow("Tab leaves the grid") << 0 << u"dravé"_s << int(Qt::Key_Tab) << none << u""_s << 0 << u""_s << u""_s;
    QTest::newRow("Shift+Tab leaves the grid")
        << 0 << u"dravé"_s << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << u""_s << 0 << u""_s << u""_s;
    QTest::newRow("Ctrl+Tab shows the next tab")
        << 0 << u"dravé"_s << int(Qt::Key_Tab) << int(Qt::ControlModifier) << u""_s << 1 << u""_s << u""_s;
    QTest::newRow("Enter takes the current row")
        << 0 << u"dravé"_s << int(Qt::Key_Return) << none << u"dravé"_s << 0 << u"003"_s << u""_s;
    QTest::newRow("keypad Enter takes it too")
        << 0 << u"dravé"_s << int(Qt::Key_Enter) << none << u"dravé"_s << 0 << u"003"_s << u""_s;
    QTest::newRow("Return presses Ajouter")
        << 0 << u"bt_add_dravé"_s << int(Qt::Key_Return) << none << u"bt_add_dravé"_s << 0 << u""_s << number;
    QTest::newRow("keypad Enter presses MAJ")
        << 0 << u"bt_maj_dravé"_s << int(Qt::Key_Enter) << none << u"bt_maj_dravé"_s << 0 << u""_s << number;
    QTest::newRow("Tab walks the panel in reading order")
        << 0 << u"url_dravé_sor"_s << int(Qt::Key_Tab) << none << u"bt_add_dravé"_s << 0 << u""_s << u""_s;
    QTest::newRow("Enter on a hit picks it")
        << 3 << u"grille_search"_s << int(Qt::Key_Return) << none << u""_s << 0 << u""_s << u""_s;
}

void TestKeyboard::keys()
{
    QFETCH(int, tab);
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, focusAfter);
    QFETCH(int, tabAfter);
    QFETCH(QString, numberAfter);
    QFETCH(QString, message);
    Scene scene;
    MainWindow& window = *scene.window;
    window.tabs()->setCurrentIndex(tab);
    CategoryTab* dravé = window.categoryTab(Category::dravé());
    dravé->grid()->setCurrentIndex(dravé->model()->index(2, 1));
    if (focus == u"grille_search") {
        // One hit, 003, current in the results.
        window.searchTab()->option(Category::dravé().index)->click();
        window.searchTab()->criterion()->setText(u"Réponse 3"_s);
        window.searchTab()->searchButton()->click();
        window.searchTab()->results()->setCurrentIndex(window.searchTab()->resultsModel()->index(0, 0));
    }
    QWidget* target = scene.widget(focus);
    target->setFocus();
    QCOMPARE(scene.focusName(), focus);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    if (focusAfter.isEmpty()) {
        QVERIFY2(QApplication::focusWidget() != target, qPrintable(scene.focusName()));
    } else {
        QCOMPARE(scene.focusName(), focusAfter);
    }
    QCOMPARE(window.tabs()->currentIndex(), tabAfter);
    QCOMPARE(dravé->numberBox()->text(), numberAfter);
    QCOMPARE(scene.fixture.messenger.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (focus == u"grille_search") {
        QCOMPARE(window.lastSelection()->text(), u"3"_s); // the pick marked the row of 003
    }
}

void TestKeyboard::escapeClosesWindows()
{
    Scene scene;
    MainWindow& window = *scene.window;
    // The comparison window, after the search program (a double) "ran".
    window.tabs()->setCurrentIndex(3);
    QFile program(scene.fixture.folder().file(u"recherche.sh"));
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.setPermissions(program.permissions() | QFile::ExeOwner);
    program.close();
    window.searchTab()->checkButton()->click();
    QPointer<ComparisonWindow> comparison = window.findChild<ComparisonWindow*>();
    // The image window, on an address nobody answers.
    CategoryTab* dravé = window.categoryTab(Category::dravé());
    window.tabs()->setCurrentIndex(0);
    child<QAbstractButton>(dravé, u"chk_img_dravé"_s)->setChecked(true);
    scene.fixture.sql(u"UPDATE \"dravé\" SET url = 'http://127.0.0.1:9/1.jpg'"_s);
    emit dravé->rowClicked(1);
    QPointer<ImageWindow> image = window.findChild<ImageWindow*>();
    QVERIFY(comparison && image);

    for (QWidget* shown : {static_cast<QWidget*>(image), static_cast<QWidget*>(comparison)}) {
        QApplication::setActiveWindow(shown);
        QVERIFY(QTest::qWaitForWindowActive(shown));
        QTest::keyClick(shown, Qt::Key_Escape);
        QTRY_VERIFY2(!shown->isVisible(), qPrintable(shown->objectName()));
    }
    QVERIFY(window.isVisible()); // back once the image window closed
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
