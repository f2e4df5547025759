// The program starts on Qt Core alone for the command lines that need no
// window system, and loads the rest of itself (sticker2-full.so) for the
// others; without that module the others fail with one line, the core ones
// still run.
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The libraries the dynamic loader loaded for one run (LD_DEBUG=files), as
// one text.
QString loadedLibraries(const QString &folder)
{
    QString all;
    for (const QString &name : QDir(folder).entryList({QStringLiteral("ld.*")}, QDir::Files)) {
        QFile log(QDir(folder).filePath(name));
        if (log.open(QIODevice::ReadOnly))
            all += QString::fromLocal8Bit(log.readAll());
    }
    return all;
}

} // namespace

class TestProgramStart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void loadsWhatItNeeds_data()
    {
        QTest::addColumn<QStringList>("arguments"); // {OUT} stands for an output file
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("windowLibraries"); // Qt Gui and the module loaded
        QTest::newRow("--version") << QStringList{"--version"} << 0 << false;
        QTest::newRow("--help") << QStringList{"--help"} << 0 << false;
        QTest::newRow("a window command's help") << QStringList{"view", "--help"} << 0 << false;
        QTest::newRow("a watch without a folder") << QStringList{"watch"} << 2 << false;
        QTest::newRow("a character-mode sheet") << QStringList{"stickers", "--slot", "0", "-o", "{OUT}"} << 0 << false;
        QTest::newRow("a character-mode sheet's usage error") << QStringList{"stickers", "-o", "{OUT}"} << 2 << false;
        QTest::newRow("capture's help") << QStringList{"capture", "--help"} << 0 << false;
        QTest::newRow("the Windows-mode sheet") << QStringList{"stickers", "--slot", "0", "--pdf", "{OUT}"} << 0 << true;
        QTest::newRow("convert") << QStringList{"convert", "--help"} << 0 << true;
    }

    void loadsWhatItNeeds()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(bool, windowLibraries);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString out = folder.filePath(QStringLiteral("out.file"));
        const bool writes = arguments.contains(QStringLiteral("{OUT}")) && status == 0;
        arguments.replaceInStrings(QStringLiteral("{OUT}"), out);
        const QStringList traced = QStringList{QStringLiteral("LD_DEBUG=files"),
                                       QStringLiteral("LD_DEBUG_OUTPUT=") + folder.filePath(QStringLiteral("ld")),
                                       QStringLiteral(STICKER2_PROGRAM)}
            + arguments;
        const TestSupport::ProgramRun run = TestSupport::runProgram(traced, QStringLiteral("env"));
        QCOMPARE(run.status, status);
        const QString loaded = loadedLibraries(folder.path());
        QVERIFY2(loaded.contains(QLatin1String("libQt6Core.so")), "the loader's log was not read");
        QCOMPARE(loaded.contains(QLatin1String("libQt6Gui.so")), windowLibraries);
        QCOMPARE(loaded.contains(QLatin1String("sticker2-full.so")), windowLibraries);
        QVERIFY(!loaded.contains(QLatin1String("libQt6Widgets.so")) || windowLibraries);
        QCOMPARE(QFileInfo(out).size() > 0, writes);
    }

    // The program copied alone, without its module: the core's commands
    // run, any other fails with one line naming the module.
    void withoutItsModule()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString program = folder.filePath(QStringLiteral("sticker2"));
        QVERIFY(QFile::copy(QStringLiteral(STICKER2_PROGRAM), program));
        const TestSupport::ProgramRun version = TestSupport::runProgram({QStringLiteral("--version")}, program);
        QCOMPARE(version.status, 0);
        QVERIFY(version.out.startsWith("sticker2 "));
        const QString in = folder.filePath(QStringLiteral("in.prn"));
        TestSupport::writeFile(in, "text\f");
        const TestSupport::ProgramRun convert
            = TestSupport::runProgram({QStringLiteral("convert"), in, folder.filePath(QStringLiteral("out.txt"))}, program);
        QCOMPARE(convert.status, 1);
        QCOMPARE(convert.err.count('\n'), 1);
        QVERIFY2(convert.err.contains("sticker2-full.so"), convert.err.constData());
        QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("out.txt"))));
    }
};

QTEST_GUILESS_MAIN(TestProgramStart)
#include "tst_programstart.moc"
