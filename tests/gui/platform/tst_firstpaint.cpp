// Work put off until a window is first drawn runs after its first expose,
// at once for a window on screen already, never for a window not shown, and
// not after its context is gone.
#include "WindowSupport.h"
#include "gui/platform/FirstPaint.h"

#include <QWindow>
#include <QtTest>

namespace {

// Notes whether its window had been exposed when the work ran.
struct Runs
{
    int count = 0;
    bool afterExpose = false;
};

} // namespace

class TestFirstPaint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::initWindows(); }

    void runsOnceTheWindowIsDrawn_data()
    {
        QTest::addColumn<bool>("shownBefore"); // the window on screen before the work is put off
        QTest::newRow("a window shown later") << false;
        QTest::newRow("a window on screen") << true;
    }

    void runsOnceTheWindowIsDrawn()
    {
        QFETCH(bool, shownBefore);
        QWidget window;
        auto *child = new QWidget(&window);
        window.resize(120, 80);
        if (shownBefore) {
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
        }
        Runs runs;
        FirstPaint::then(child, &window, [&] {
            ++runs.count;
            runs.afterExpose = window.windowHandle() && window.windowHandle()->isExposed();
        });
        QCOMPARE(runs.count, 0); // never inside the call
        if (!shownBefore) {
            QCoreApplication::processEvents();
            QCOMPARE(runs.count, 0); // not before the window is shown
            window.show();
        }
        QTRY_COMPARE(runs.count, 1);
        QVERIFY(runs.afterExpose);
        // Drawn again (hidden and shown): the work ran once.
        window.hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        QCOMPARE(runs.count, 1);
    }

    void nothingRunsWithoutItsContext()
    {
        QWidget window;
        window.resize(120, 80);
        int runs = 0;
        auto *context = new QObject;
        FirstPaint::then(&window, context, [&] { ++runs; });
        delete context;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(20);
        QCOMPARE(runs, 0);
    }
};

QTEST_MAIN(TestFirstPaint)
#include "tst_firstpaint.moc"
