#include "TestSupport.h"

#include <QTest>

#include <cstdlib>
#include <cstring>
#include <malloc.h>

// The heap as the program sets it at start-up: the buffers Qt's PDF writer
// takes and frees at every page (16 MB) stay on the heap and are not handed
// back to the kernel when freed; a single larger block still is.
class TestHeapTuning : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void largeBlocks_data()
    {
        QTest::addColumn<int>("megabytes");
        QTest::addColumn<bool>("keptOnHeap");
        QTest::newRow("1 MB") << 1 << true;
        QTest::newRow("16 MB, a PDF page's buffer") << 16 << true;
        QTest::newRow("30 MB") << 30 << true;
        QTest::newRow("48 MB goes back to the kernel") << 48 << false;
    }
    void largeBlocks()
    {
        QFETCH(int, megabytes);
        QFETCH(bool, keptOnHeap);
        const size_t size = size_t(megabytes) << 20;
        const struct mallinfo2 before = mallinfo2();
        char *block = static_cast<char *>(std::malloc(size));
        QVERIFY(block);
        std::memset(block, 1, size);
        const struct mallinfo2 taken = mallinfo2();
        std::free(block);
        const struct mallinfo2 freed = mallinfo2();
        if (keptOnHeap) {
            QCOMPARE(taken.hblkhd, before.hblkhd); // not a map of its own
            QCOMPARE(freed.arena, taken.arena); // the heap did not shrink
            // and the next block of that size takes no new memory
            char *again = static_cast<char *>(std::malloc(size));
            QVERIFY(again);
            QCOMPARE(mallinfo2().arena, taken.arena);
            std::free(again);
        } else {
            QVERIFY(taken.hblkhd >= before.hblkhd + size); // a map of its own
            QCOMPARE(freed.hblkhd, before.hblkhd); // given back
        }
    }
};

QTEST_GUILESS_MAIN(TestHeapTuning)
#include "tst_heaptuning.moc"
