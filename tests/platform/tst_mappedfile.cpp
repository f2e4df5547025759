// The map of a whole print file, mapped ahead in one call: it reads the
// file's bytes, and a file cut short under it reads as zeros past its new
// end and says it changed, however much of it was mapped in ahead.
#include "TestSupport.h"
#include "platform/MappedFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

class TestMappedFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void readsAndSurvivesACut_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<qint64>("cutTo"); // -1: left whole
        QTest::newRow("one byte") << qint64(1) << qint64(-1);
        QTest::newRow("a page and a bit") << qint64(4096 + 17) << qint64(-1);
        QTest::newRow("8 MB") << qint64(8 << 20) << qint64(-1);
        QTest::newRow("8 MB cut to 1 MB") << qint64(8 << 20) << qint64(1 << 20);
        QTest::newRow("8 MB cut to nothing") << qint64(8 << 20) << qint64(0);
    }

    void readsAndSurvivesACut()
    {
        QFETCH(qint64, size);
        QFETCH(qint64, cutTo);
        QTemporaryDir dir;
        QByteArray bytes(size, Qt::Uninitialized);
        for (qint64 i = 0; i < size; ++i)
            bytes[i] = char('a' + i % 26);
        const QString path = TestSupport::writeFile(dir.filePath("file.prn"), bytes);
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        QString error;
        const std::unique_ptr<MappedFile> map = MappedFile::map(fd, &error);
        ::close(fd);
        QVERIFY2(map, qPrintable(error));
        QCOMPARE(map->size(), size);
        QVERIFY(!map->changed());
        if (cutTo < 0) {
            QVERIFY(QByteArray::fromRawData(map->data(), size) == bytes);
            return;
        }
        QVERIFY(QFile::resize(path, cutTo));
        // Past the new end the mapped-ahead pages are gone: zeros, not a crash.
        const qint64 pageAfter = (cutTo + 4095) / 4096 * 4096;
        QCOMPARE(map->data()[size - 1], '\0');
        if (pageAfter < size)
            QCOMPARE(map->data()[pageAfter], '\0');
        if (cutTo > 0)
            QCOMPARE(map->data()[cutTo - 1], bytes[cutTo - 1]);
        QVERIFY(map->changed());
    }
};

QTEST_MAIN(TestMappedFile)
#include "tst_mappedfile.moc"
