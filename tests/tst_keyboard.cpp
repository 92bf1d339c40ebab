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

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
    void escapeClosesImageWindow();
};

void TestKeyboard::keys_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");         // with its modifiers
    QTest::addColumn<QString>("after");   // focus | tab | Dravé number box | row marked by a search pick
    QTest::addColumn<QString>("message"); // the end of the one message shown, empty when none
    const QString grid = u"dravé"_s, none, missing = u"est introuvable."_s;
    const QString number = u"Numéro de dravé non numérique ou absent."_s, where = u"Merci de spécifier où chercher."_s;
    const int tab = Qt::Key_Tab, enter = Qt::Key_Enter, ret = Qt::Key_Return, search = Tabs::Search;
    const int shiftTab = (Qt::ShiftModifier | Qt::Key_Backtab).toCombined();
    const int ctrlTab = (Qt::ControlModifier | Qt::Key_Tab).toCombined();
    QTest::newRow("Tab leaves the grid") << 0 << grid << tab << u"bt_dravé_haut|0||0"_s << none;
    QTest::newRow("Shift+Tab leaves the grid") << 0 << grid << shiftTab << u"qt_tabwidget_tabbar|0||0"_s << none;
    QTest::newRow("Ctrl+Tab shows the next tab") << 0 << grid << ctrlTab << u"plomé|1||0"_s << none;
    QTest::newRow("Enter takes the current row") << 0 << grid << ret << u"dravé|0|003|0"_s << none;
    QTest::newRow("keypad Enter takes it too") << 0 << grid << enter << u"dravé|0|003|0"_s << none;
    // The panel follows the row the keys move to, without the picture.
    QTest::newRow("Down takes the next row") << 0 << grid << int(Qt::Key_Down) << u"dravé|0|004|0"_s << none;
    QTest::newRow("Page Up takes the first row") << 0 << grid << int(Qt::Key_PageUp) << u"dravé|0|001|0"_s << none;
    QTest::newRow("Return presses Ajouter") << 0 << u"bt_add_dravé"_s << ret << u"bt_add_dravé|0||0"_s << number;
    QTest::newRow("keypad Enter presses MAJ") << 0 << u"bt_maj_dravé"_s << enter << u"bt_maj_dravé|0||0"_s << number;
    // The panel is walked in reading order: the last box, then Ajouter.
    QTest::newRow("Tab walks the panel") << 0 << u"url_dravé_sor"_s << tab << u"bt_add_dravé|0||0"_s << none;
    QTest::newRow("Return in a box does not search") << 0 << u"no_dravé"_s << ret << u"no_dravé|0||0"_s << none;
    QTest::newRow("keypad Enter picks a hit") << search << u"grille_search"_s << enter << u"dravé|0||3"_s << none;
    // Without an option a search asks where to search, even for a blank criterion, which stays as typed.
    QTest::newRow("Return searches") << search << u"cherche"_s << ret << u"cherche|3||0"_s << where;
    // "Vérifier les MAJ" pressed, without a program to start.
    QTest::newRow("Return presses a search button") << search << u"bt_last"_s << ret << u"bt_last|3||0"_s << missing;
}

void TestKeyboard::keys()
{
    QFETCH(int, tab);
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, after);
    QFETCH(QString, message);
    Fixture fixture;
    fixture.insert(Category::dravé(), Fixture::series(5));
    fixture.registerAuthors({u"Léa"_s});
    auto window = fixture.openShown(tab);
    QVERIFY(window);
    CategoryTab* dravé = window->categoryTab(Category::dravé());
    dravé->grid()->setCurrentIndex(dravé->model()->index(2, 1));
    child<QAbstractButton>(window.get(), u"chk_img_dravé"_s)->setChecked(true);
    child<QAbstractButton>(window.get(), u"web_dravé"_s)->click(); // a picture shown is a desktop request
    SearchTab* search = window->searchTab();
    search->criterion()->setText(u"   "_s);
    if (focus == u"grille_search") { // one hit, 003, current in the results
        search->option(Category::dravé().index)->click();
        search->criterion()->setText(u"Réponse 3"_s);
        search->searchButton()->click();
        search->results()->setCurrentIndex(search->resultsModel()->index(0, 0));
    }
    const QString typed = search->criterion()->text();
    QWidget* target = child<QWidget>(window.get(), focus);
    target->setFocus();
    QCOMPARE(QApplication::focusWidget(), target);

    const QKeyCombination pressed = QKeyCombination::fromCombined(key);
    QTest::keyClick(target, pressed.key(), pressed.keyboardModifiers());

    const QWidget* now = QApplication::focusWidget();
    QCOMPARE(u"%1|%2|%3|%4"_s.arg(now ? now->objectName() : QString())
                 .arg(window->tabs()->currentIndex())
                 .arg(dravé->numberBox()->text(), window->lastSelection()->text()),
             after);
    QCOMPARE(search->criterion()->text(), typed);
    // The picture comes with Enter on the grid, as with a click, never with a move.
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    QCOMPARE(fixture.desktop.opened.size(), focus == u"dravé"_s && enter ? 1 : 0);
    const QStringList texts = fixture.messenger.texts();
    QVERIFY2(texts.size() == !message.isEmpty() && texts.join(QString()).endsWith(message),
             qPrintable(texts.join(u'\n')));
}

void TestKeyboard::escapeClosesImageWindow()
{
    // Escape on the comparison window is pressed by the comparison test.
    Fixture fixture;
    fixture.insert(Category::dravé(), {{u"001"_s, u"Réponse"_s, u"Léa"_s, u"http://127.0.0.1:9/1.jpg"_s, {}}});
    auto window = fixture.openShown();
    QVERIFY(window);
    CategoryTab* dravé = window->categoryTab(Category::dravé());
    child<QAbstractButton>(dravé, u"chk_img_dravé"_s)->setChecked(true);
    emit dravé->rowClicked(1);
    QPointer<ImageWindow> image = window->findChild<ImageWindow*>();
    QVERIFY(image);
    QApplication::setActiveWindow(image);
    QVERIFY(QTest::qWaitForWindowActive(image));
    QTest::keyClick(image, Qt::Key_Escape);
    QTRY_VERIFY(!image);
    QVERIFY(window->isVisible()); // back once the image window closed
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
