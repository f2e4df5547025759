// The program writes a stored slot's plain character-mode sheet before it
// loads any of Qt; it starts on Qt Core alone (sticker2-core.so) for the other
// command lines that need no window system, and loads the rest of itself for
// the others: the commands' module (sticker2-commands.so, no Qt Widgets) for
// a command, the windows' (sticker2-full.so) for a window; poppler, qpdf and GMime (sticker2-libraries.so) only when a PDF is
// finished, a PDF form read or a mail made, never for the first window.
// The first windows load no image-format plugin, no CUPS client and, for a
// plain ASCII file (or the form's stored settings), no code page's converter
// before they are drawn.
// Without its modules the program fails with one line naming the missing
// one, and still writes a plain sheet.
#include "TestSupport.h"
#include "platform/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
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
        QTest::addColumn<QStringList>("arguments"); // {OUT}: an output file, {IN}: a print file
        QTest::addColumn<int>("status");
        // -1 none (no Qt at all), 0 the core's (Qt Core), 1 the commands' (and Qt Gui), 2 the windows' (and Qt Widgets)
        QTest::addColumn<int>("module");
        QTest::addColumn<bool>("documentLibraries"); // poppler, qpdf, GMime and their module
        QTest::addColumn<bool>("platformPlugin"); // the window system's plugin (and its fonts)
        QTest::newRow("--version") << QStringList{"--version"} << 0 << 0 << false << false;
        QTest::newRow("--help") << QStringList{"--help"} << 0 << 0 << false << false;
        QTest::newRow("a window command's help") << QStringList{"view", "--help"} << 0 << 0 << false << false;
        QTest::newRow("a watch without a folder") << QStringList{"watch"} << 2 << 0 << false << false;
        QTest::newRow("a character-mode sheet") << QStringList{"stickers", "--slot", "0", "-o", "{OUT}"} << 0 << -1 << false << false;
        QTest::newRow("a sheet to standard output") << QStringList{"stickers", "--slot=0", "--pages", "2", "-o", "-"} << 0 << -1
                                                    << false << false;
        // An option the launcher does not take: the core writes the sheet.
        QTest::newRow("a sheet in another code page") << QStringList{"stickers", "--slot", "0", "--codepage", "cp437", "-o", "{OUT}"}
                                                      << 0 << 0 << false << false;
        QTest::newRow("a character-mode sheet's usage error") << QStringList{"stickers", "-o", "{OUT}"} << 2 << 0 << false << false;
        QTest::newRow("capture's help") << QStringList{"capture", "--help"} << 0 << 0 << false << false;
        // Qt's PDF is finished without qpdf: only a PDF form needs the module.
        QTest::newRow("the Windows-mode sheet") << QStringList{"stickers", "--slot", "0", "--pdf", "{OUT}"} << 0 << 1 << false << true;
        QTest::newRow("convert") << QStringList{"convert", "--help"} << 0 << 1 << false << true;
        // Plain text and a web page draw nothing: no platform plugin, no fonts.
        QTest::newRow("convert to plain text") << QStringList{"convert", "--to", "txt", "--pages", "1", "{IN}", "{OUT}"}
                                               << 0 << 1 << false << false;
        QTest::newRow("convert to a web page") << QStringList{"convert", "--to", "html", "{IN}", "{OUT}"} << 0 << 1
                                               << false << false;
        // The first windows, shown (offscreen) and left at once.
        QTest::newRow("the sticker form") << QStringList{} << 0 << 2 << false << true;
        QTest::newRow("a report view") << QStringList{"view", "{IN}"} << 0 << 2 << false << true;
    }

    void loadsWhatItNeeds()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(int, module);
        QFETCH(bool, documentLibraries);
        QFETCH(bool, platformPlugin);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString out = folder.filePath(QStringLiteral("out.file"));
        const bool writes = arguments.contains(QStringLiteral("{OUT}")) && status == 0;
        arguments.replaceInStrings(QStringLiteral("{OUT}"), out);
        // The form reads its stored window settings (a file of ASCII, as
        // the form writes it) before its first picture.
        if (arguments.isEmpty())
            TestSupport::writeFile(AppPaths::formatFolder() + QStringLiteral("/Setting.txt"),
                "Times New Roman\r\n10\r\n720\r\n720\r\n1800\r\n3600\r\n");
        const QString in = folder.filePath(QStringLiteral("in.prn"));
        TestSupport::writeFile(in, "\x1b@Invoice 1\r\n\x1b" "E" "Total\x1b" "F\r\n\f");
        arguments.replaceInStrings(QStringLiteral("{IN}"), in);
        // A window is shown offscreen and left as soon as it is drawn.
        const QStringList traced = QStringList{QStringLiteral("QT_QPA_PLATFORM=offscreen"),
                                       QStringLiteral("STICKER2_QUIT_WHEN_SHOWN=1"), QStringLiteral("LD_DEBUG=files"),
                                       QStringLiteral("LD_DEBUG_OUTPUT=") + folder.filePath(QStringLiteral("ld")),
                                       QStringLiteral(STICKER2_PROGRAM)}
            + arguments;
        const TestSupport::ProgramRun run = TestSupport::runProgram(traced, QStringLiteral("env"));
        QCOMPARE(run.status, status);
        const QString loaded = loadedLibraries(folder.path());
        QVERIFY2(loaded.contains(QLatin1String("libc.so")), "the loader's log was not read");
        QCOMPARE(loaded.contains(QLatin1String("libQt6Core.so")), module >= 0);
        QCOMPARE(loaded.contains(QLatin1String("sticker2-core.so")), module >= 0);
        QCOMPARE(loaded.contains(QLatin1String("libQt6Gui.so")), module > 0);
        QCOMPARE(loaded.contains(QLatin1String("sticker2-commands.so")), module == 1);
        QCOMPARE(loaded.contains(QLatin1String("sticker2-full.so")), module == 2);
        QCOMPARE(loaded.contains(QLatin1String("libQt6Widgets.so")), module == 2);
        for (const char *library : {"sticker2-libraries.so", "libpoppler-qt6.so", "libqpdf.so", "libgmime-3.0.so"})
            QVERIFY2(loaded.contains(QLatin1String(library)) == documentLibraries, library);
        QCOMPARE(loaded.contains(QLatin1String("libqoffscreen.so")), platformPlugin);
        QCOMPARE(QFileInfo(out).size() > 0, writes);
        // The windows print nothing (the offscreen platform warns of size
        // limits it cannot pass on to a window).
        if (arguments.isEmpty() || arguments == QStringList{QStringLiteral("view"), in})
            QVERIFY2(run.out.isEmpty() && run.err.isEmpty(), run.err.constData());
        // Nor what no first window needs: the image-format plugins (the
        // style's pictures are PNGs), the CUPS client (the printers are
        // asked once the window is drawn) and, for a file of plain ASCII,
        // the system's converters of the code pages the guess would read.
        QVERIFY2(!loaded.contains(QLatin1String("/imageformats/")), "an image-format plugin");
        QVERIFY2(!loaded.contains(QLatin1String("libcups.so")), "the CUPS client");
        if (arguments.contains(in))
            QVERIFY2(!loaded.contains(QLatin1String("/gconv/IBM")), "a code page's converter");
        if (arguments.isEmpty())
            QVERIFY2(!loaded.contains(QLatin1String("/gconv/")), "a code page's converter");
    }

    // The view's colours may be stored as system colours (0x80000000 plus an
    // index, in decimal). The commands that draw nothing run without a GUI
    // application, where Qt has no application palette to read them by, yet
    // they read the view's settings (the code page, the printer, a web page's
    // colours): each still does its work, the colours as offscreen.
    void withoutADesktop_storedSystemColours_data()
    {
        QTest::addColumn<QStringList>("arguments"); // {IN}: a print file, {OUT}: an output, {RULES}: a rules file
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says"); // on standard output, or error for a failure
        QTest::newRow("convert to plain text") << QStringList{"convert", "{IN}", "{OUT}"} << 0 << QString();
        QTest::newRow("plain text to standard output") << QStringList{"convert", "--to", "txt", "{IN}", "-"} << 0
                                                       << QStringLiteral("Invoice 1");
        // The window background (0x80000005) as the offscreen platform's palette has it.
        QTest::newRow("a web page") << QStringList{"convert", "--to", "html", "{IN}", "-"} << 0
                                    << QStringLiteral("<body  bgcolor='#FFFFFF';>");
        QTest::newRow("rules test") << QStringList{"rules", "test", "--rules", "{RULES}", "{IN}"} << 0
                                    << QStringLiteral("rule: [Everything]");
        // No print server answers this test: the failure is the print server's.
        QTest::newRow("print") << QStringList{"print", "--printer", "Nowhere", "{IN}"} << 1
                               << QStringLiteral("does not answer");
    }

    void withoutADesktop_storedSystemColours()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, says);
        const QString stored = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Sticker2.ini");
        TestSupport::writeFile(stored,
            "[ReportView]\nRepotBackColor=2147483653\nBold=2147483656\nBBold=2147483663\ncond=2147483664\n"
            "SearchString=2147483666\nHighlight=2147483668\n");
        const auto removeStored = qScopeGuard([&stored] { QFile::remove(stored); });
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString in = TestSupport::writeFile(folder.filePath(QStringLiteral("in.prn")), "Invoice 1\r\n\f");
        const QString rules = TestSupport::writeFile(
            folder.filePath(QStringLiteral("rules.conf")), "[Everything]\nfolder = " + folder.path().toUtf8() + "\n");
        const QString out = folder.filePath(QStringLiteral("out.txt"));
        arguments.replaceInStrings(QStringLiteral("{IN}"), in);
        arguments.replaceInStrings(QStringLiteral("{OUT}"), out);
        arguments.replaceInStrings(QStringLiteral("{RULES}"), rules);
        const TestSupport::ProgramRun run = TestSupport::runProgram(arguments);
        QVERIFY2(run.status == status, run.err.constData()); // (-1: it crashed)
        QVERIFY2((status == 0 ? run.out : run.err).contains(says.toUtf8()), (run.out + run.err).constData());
        if (arguments.contains(out))
            QVERIFY(QFileInfo(out).size() > 0);
    }

    // The program copied alone, without its modules: every command line
    // but a plain sheet fails with one line naming the core's module, and
    // writes nothing.
    void withoutItsModule()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString program = folder.filePath(QStringLiteral("sticker2"));
        QVERIFY(QFile::copy(QStringLiteral(STICKER2_PROGRAM), program));
        const TestSupport::ProgramRun version = TestSupport::runProgram({QStringLiteral("--version")}, program);
        QCOMPARE(version.status, 1);
        QVERIFY2(version.err.contains("sticker2-core.so"), version.err.constData());
        const QString in = folder.filePath(QStringLiteral("in.prn"));
        TestSupport::writeFile(in, "text\f");
        const TestSupport::ProgramRun convert
            = TestSupport::runProgram({QStringLiteral("convert"), in, folder.filePath(QStringLiteral("out.txt"))}, program);
        QCOMPARE(convert.status, 1);
        QCOMPARE(convert.err.count('\n'), 1);
        QVERIFY2(convert.err.contains("sticker2-core.so"), convert.err.constData());
        QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("out.txt"))));
        const QString sheet = folder.filePath(QStringLiteral("sheet.prn"));
        QCOMPARE(TestSupport::runProgram({QStringLiteral("stickers"), QStringLiteral("--slot"), QStringLiteral("0"),
                                             QStringLiteral("-o"), sheet}, program).status, 0);
        QVERIFY(QFileInfo(sheet).size() > 0);
    }

    // The program and its commands' module without the library module: text
    // and a PDF still convert; a PDF form (poppler and qpdf) fails with one
    // line naming the missing module, nothing written.
    void withoutItsLibraryModule()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString program = folder.filePath(QStringLiteral("sticker2"));
        QVERIFY(QFile::copy(QStringLiteral(STICKER2_PROGRAM), program));
        const QString built = QFileInfo(QStringLiteral(STICKER2_PROGRAM)).absolutePath();
        for (const QString &module : {QStringLiteral("sticker2-core.so"), QStringLiteral("sticker2-commands.so")})
            QVERIFY(QFile::link(QDir(built).filePath(module), folder.filePath(module)));
        const QString in = folder.filePath(QStringLiteral("in.prn"));
        TestSupport::writeFile(in, "text\f");
        for (const char *name : {"out.txt", "out.pdf"}) {
            const QString out = folder.filePath(QLatin1String(name));
            QCOMPARE(TestSupport::runProgram({QStringLiteral("convert"), in, out}, program).status, 0);
            QVERIFY(QFileInfo(out).size() > 0);
        }
        const QString formed = folder.filePath(QStringLiteral("formed.pdf"));
        const TestSupport::ProgramRun convert = TestSupport::runProgram(
            {QStringLiteral("convert"), QStringLiteral("--form"), folder.filePath(QStringLiteral("out.pdf")), in, formed},
            program);
        QCOMPARE(convert.status, 1);
        QCOMPARE(convert.err.count('\n'), 1);
        QVERIFY2(convert.err.contains("sticker2-libraries.so"), convert.err.constData());
        QVERIFY(!QFileInfo::exists(formed));
    }
};

QTEST_GUILESS_MAIN(TestProgramStart)
#include "tst_programstart.moc"
