// The map of a whole print file, mapped ahead in one call: it reads the
// file's bytes, and a file cut short under it reads as zeros past its new
// end and says it changed, however much of it was mapped in ahead. A pass
// over it (MapPass) keeps only the stretch about it mapped in, and what it
// let go of reads the same again.
#include "TestSupport.h"
#include "platform/MapPass.h"
#include "platform/MappedFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cctype>
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
        const QByteArray bytes = letters(size);
        const QString path = TestSupport::writeFile(dir.filePath("file.prn"), bytes);
        QString error;
        const std::unique_ptr<MappedFile> map = mapOf(path, MappedFile::ReadAhead, &error);
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

    // A pass from front to back: the map never holds much more than the
    // stretch ahead of the pass, nothing once the pass is done, and a page
    // let go of reads the file's bytes again.
    void passKeepsLittleMapped()
    {
        QTemporaryDir dir;
        constexpr qint64 size = 40 << 20;
        const QByteArray bytes = letters(size);
        const std::unique_ptr<MappedFile> map
            = mapOf(TestSupport::writeFile(dir.filePath("file.prn"), bytes), MappedFile::ReadOnDemand);
        QVERIFY(map);
        QCOMPARE(mappedIn(map.get()), 0);
        constexpr qint64 step = MapPass::Stretch / 2; // how often a pass is told
        qint64 most = 0;
        qint64 sum = 0;
        {
            MapPass pass(map.get(), 0);
            for (qint64 at = 0; at < size; at += step) {
                for (qint64 i = at; i < qMin(size, at + step); i += 4096)
                    sum += map->data()[i];
                pass.reached(qMin(size, at + step));
                most = qMax(most, mappedIn(map.get()));
            }
        }
        QVERIFY(sum > 0);
        QVERIFY2(most > 0 && most <= MapPass::Stretch + step, qPrintable(QString::number(most)));
        QCOMPARE(mappedIn(map.get()), 0);
        QVERIFY(QByteArray::fromRawData(map->data(), size) == bytes);
        QCOMPARE(mappedIn(map.get()), size); // read through again: all of it mapped in
    }

private:
    // `size` bytes of the letters a to z over and over.
    static QByteArray letters(qint64 size)
    {
        QByteArray bytes(size, Qt::Uninitialized);
        for (qint64 i = 0; i < size; ++i)
            bytes[i] = char('a' + i % 26);
        return bytes;
    }

    // The file at `path` mapped (its descriptor closed again), or nothing.
    static std::unique_ptr<MappedFile> mapOf(const QString &path, MappedFile::Ahead ahead, QString *error = nullptr)
    {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        std::unique_ptr<MappedFile> map = MappedFile::map(fd, error, ahead);
        ::close(fd);
        return map;
    }

    // The bytes of the map that are mapped in now (its resident set, from
    // the process's own account of its maps).
    static qint64 mappedIn(const MappedFile *map)
    {
        QFile smaps(QStringLiteral("/proc/self/smaps"));
        if (!smaps.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray start = QByteArray::number(quintptr(map->data()), 16) + '-';
        bool ours = false;
        for (QByteArray line = smaps.readLine(); !line.isEmpty(); line = smaps.readLine()) {
            if (!line.isEmpty() && std::isxdigit(uchar(line.at(0))) && line.contains('-'))
                ours = line.startsWith(start);
            else if (ours && line.startsWith("Rss:"))
                return line.mid(4).trimmed().split(' ').first().toLongLong() * 1024;
        }
        return -1;
    }
};

QTEST_MAIN(TestMappedFile)
#include "tst_mappedfile.moc"
