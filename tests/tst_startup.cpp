#include "support/Fixture.h"

#include <QTest>

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void smoke();
};

void TestStartup::smoke()
{
    Fixture fixture;
    fixture.insert(Category::dravé(), Fixture::series(3));
    auto window = fixture.openWindow();
    QVERIFY(window);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
