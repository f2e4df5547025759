// The page table's starts, kept in blocks of a byte or a few a page: every
// start read back as it was added, whatever the distances between them and
// wherever a block ends; and a table of thousands of pages cut as a short
// one is.
#include "TestSupport.h"
#include "report/PageStarts.h"
#include "report/PageTable.h"

#include <QTest>

class TestPageStarts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void readBackAsAdded_data()
    {
        QTest::addColumn<QVector<qsizetype>>("steps"); // the distances from one start to the next, repeated
        QTest::addColumn<int>("count");
        QTest::addColumn<qsizetype>("first");
        using Steps = QVector<qsizetype>;
        QTest::newRow("none") << Steps {1} << 0 << qsizetype(0);
        QTest::newRow("one") << Steps {1} << 1 << qsizetype(0);
        QTest::newRow("a block less one") << Steps {1} << 63 << qsizetype(0);
        QTest::newRow("a block") << Steps {1} << 64 << qsizetype(0);
        QTest::newRow("a block and one") << Steps {1} << 65 << qsizetype(0);
        QTest::newRow("form feeds only: a byte a page") << Steps {1} << 1000 << qsizetype(0);
        // 63 steps make a block: each block then spans exactly `span`, the
        // most a width holds or one more.
        const auto spanning = [](qsizetype span) {
            Steps steps(63, span / 63);
            steps.last() += span % 63;
            return steps;
        };
        for (const qsizetype span : {qsizetype(255), qsizetype(256), qsizetype(65535), qsizetype(65536),
                 qsizetype(0xFFFFFFFF), qsizetype(0x100000000)})
            QTest::addRow("blocks spanning %lld", (long long)span) << spanning(span) << 200 << qsizetype(7);
        QTest::newRow("pages of a few KB") << Steps {3000, 1, 70000} << 500 << qsizetype(0);
        QTest::newRow("a block past 4 GB") << Steps {qsizetype(1) << 27} << 200 << qsizetype(5);
        QTest::newRow("starts past 4 GB, close together") << Steps {2} << 130 << (qsizetype(1) << 33);
        QTest::newRow("blocks of every width in turn")
            << Steps {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                   1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1000,
                   qsizetype(1) << 40, 300}
            << 1000 << qsizetype(0);
    }

    void readBackAsAdded()
    {
        QFETCH(QVector<qsizetype>, steps);
        QFETCH(int, count);
        QFETCH(qsizetype, first);
        QVector<qsizetype> expected;
        PageStarts starts;
        PageStarts copy; // taken half-way: later starts must not change it
        qsizetype at = first;
        for (int i = 0; i < count; ++i) {
            expected.append(at);
            // Added one at a time and in batches, as the whole cut and the
            // cut in the background add them.
            if (i % 3 == 0)
                starts.append(at);
            else
                starts.append(QVector<qsizetype> {at});
            if (i == count / 2)
                copy = starts;
            at += steps.at(i % steps.size());
        }
        QCOMPARE(starts.size(), qsizetype(count));
        for (int i = 0; i < count; ++i)
            QCOMPARE(starts.at(i), expected.at(i));
        for (int i = count - 1; i >= 0; i -= 7) // out of order too
            QCOMPARE(starts.at(i), expected.at(i));
        if (count > 0) {
            QCOMPARE(starts.last(), expected.last());
            QCOMPARE(copy.size(), qsizetype(count / 2 + 1));
            for (int i = 0; i <= count / 2; ++i)
                QCOMPARE(copy.at(i), expected.at(i));
        }
    }

    // Thousands of pages, some empty, cut in memory: each page is the bytes
    // between its form feeds, as a table of a few pages is (PageCuts).
    void manyPagesCut()
    {
        QByteArray file;
        QList<QByteArray> pages;
        for (int i = 0; i < 5000; ++i) {
            const QByteArray page = i % 3 == 0 ? QByteArray() : "Page " + QByteArray::number(i) + QByteArray(i % 700, 'x');
            pages.append(page);
            file += page + '\f';
        }
        PageTable table;
        table.setBytes(file);
        QCOMPARE(table.PageCount(), pages.size());
        for (int i = 0; i < pages.size(); ++i)
            QCOMPARE(table.pageBytes(i), pages.at(i));
    }
};

QTEST_GUILESS_MAIN(TestPageStarts)
#include "tst_pagestarts.moc"
