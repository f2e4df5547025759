// The command line as a user runs it: the real program in a process, real
// files, and the private CUPS daemon's capture queues for `print`.
#include "../printing/PrintingFixture.h"
#include "cli/CommandLine.h"
#include "export/PlainTextExport.h"
#include "report/PageTable.h"
#include "sticker/CharSheetWriter.h"
#include "sticker/FormatStore.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace PrintingFixture;

namespace {

struct Run
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run sticker2(const QStringList &arguments)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM"); // headless commands must pick their platform themselves
    env.remove("DISPLAY");
    p.setProcessEnvironment(env);
    p.start(STICKER2_PROGRAM, arguments);
    p.closeWriteChannel();
    Run run;
    if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
        run.status = p.exitCode();
    run.out = p.readAllStandardOutput();
    run.err = p.readAllStandardError();
    return run;
}

const QByteArray Report = "Head \x1b" "E bold \x1b" "F<&>\r\nline 2\r\n\fpage 2\rX\n\fpage 3\r\n\f";

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestSupport::init();
        QVERIFY(m_dir.isValid());
        m_in = TestSupport::writeFile(m_dir.filePath("in.prn"), Report);
        QVERIFY(::mkfifo(QFile::encodeName(m_dir.filePath("fifo")).constData(), 0600) == 0);
    }

    void convert_data();
    void convert();
    void refused_data();
    void refused();
    void stickers();
    void viewCodePage();
    void print_data();
    void print();

private:
    QTemporaryDir m_dir;
    QString m_in;
};

void TestCommandLine::convert_data()
{
    QTest::addColumn<QStringList>("arguments"); // OUT is the last one; "-" reads standard output
    QTest::addColumn<QByteArray>("begins");
    QTest::addColumn<QByteArray>("contains");
    QTest::newRow("txt from the name, pages 2-3") << QStringList{"--pages", "2-9", "out.txt"} << QByteArray("page 2\r\nX\r\n\f")
                                                  << QByteArray("page 3\r\n\f");
    QTest::newRow("txt to stdout") << QStringList{"--to", "txt", "-"} << QByteArray("Head \x1b" "E") << QByteArray("\fpage 3");
    QTest::newRow("html any case") << QStringList{"out.HTML"} << QByteArray("<HTML>") << QByteArray("&lt;&amp;&gt;");
    QTest::newRow("rtf for other names") << QStringList{"--pages", "1", "out.doc"} << QByteArray("{\\rtf1") << QByteArray("\\b");
    QTest::newRow("xlsx with marks") << QStringList{"--marks", "3,6", "out.xlsx"} << QByteArray("PK") << QByteArray();
    QTest::newRow("html in a code page") << QStringList{"--codepage", "CP437", "out.html"}
                                         << QByteArray("<HTML>\r\n<meta charset=\"utf-8\">") << QByteArray("page&nbsp;3");
    QTest::newRow("pdf from the name") << QStringList{"--pages", "2", "out.Pdf"} << QByteArray("%PDF") << QByteArray("%%EOF");
    QTest::newRow("--to pdf, letter, landscape") << QStringList{"--to", "pdf", "--paper", "Letter", "--landscape", "out.bin"}
                                                 << QByteArray("%PDF") << QByteArray("%%EOF");
}

void TestCommandLine::convert()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, begins);
    QFETCH(QByteArray, contains);
    const QString out = arguments.takeLast();
    const QString path = out == "-" ? out : m_dir.filePath(out);
    const Run run = sticker2(QStringList{"convert"} + arguments + QStringList{m_in, path});
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.status, 0);
    const QByteArray bytes = out == "-" ? run.out : TestSupport::readFile(path);
    if (out != "-")
        QCOMPARE(run.out, QByteArray());
    QVERIFY2(bytes.startsWith(begins), bytes.left(80).constData());
    QVERIFY(bytes.contains(contains));
}

void TestCommandLine::refused_data()
{
    QTest::addColumn<QStringList>("arguments"); // IN and OUT relative to the test folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("named");
    QTest::newRow("missing input") << QStringList{"convert", "none.prn", "o.txt"} << 1 << "none.prn";
    QTest::newRow("FIFO input") << QStringList{"convert", "fifo", "o.txt"} << 1 << "fifo";
    QTest::newRow("folder output") << QStringList{"convert", "in.prn", "."} << 1 << "not a regular file";
    QTest::newRow("page past the end") << QStringList{"convert", "--pages", "4", "in.prn", "o.txt"} << 1 << "in.prn";
    QTest::newRow("unknown format") << QStringList{"convert", "--to", "doc", "in.prn", "o.txt"} << 2 << "doc";
    QTest::newRow("workbook without marks") << QStringList{"convert", "in.prn", "o.xlsx"} << 2 << "--marks";
    QTest::newRow("unknown paper") << QStringList{"convert", "--paper", "a5", "in.prn", "o.pdf"} << 2 << "--paper";
    QTest::newRow("pdf to stdout") << QStringList{"convert", "--to", "pdf", "in.prn", "-"} << 2 << "standard output";
    QTest::newRow("one argument") << QStringList{"convert", "in.prn"} << 2 << "missing";
    QTest::newRow("unknown option") << QStringList{"print", "--colour", "in.prn"} << 2 << "colour";
    QTest::newRow("unknown code page") << QStringList{"convert", "--codepage", "cp999", "in.prn", "o.txt"} << 2 << "cp437, cp850";
    QTest::newRow("unknown printer") << QStringList{"print", "-d", "NoSuchQueue", "in.prn"} << 1 << "NoSuchQueue";
    QTest::newRow("slot out of range") << QStringList{"stickers", "--slot", "8", "-o", "o.prn"} << 2 << "--slot";
    QTest::newRow("start without a PDF") << QStringList{"stickers", "--slot", "1", "-o", "o.prn", "--start", "2"} << 2 << "--pdf";
    QTest::newRow("unknown barcode") << QStringList{"stickers", "--slot", "1", "--pdf", "o.pdf", "--barcode", "upc"} << 2 << "--barcode";
    QTest::newRow("missing data file") << QStringList{"stickers", "--slot", "1", "-o", "o.prn", "--data", "none.csv"} << 1 << "none.csv";
    QTest::newRow("watch without a folder") << QStringList{"watch"} << 2 << "FOLDER";
}

void TestCommandLine::refused()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, named);
    for (QString &a : arguments) {
        if (a.contains('.') || a == "fifo")
            a = m_dir.filePath(a);
    }
    const QStringList before = QDir(m_dir.path()).entryList(QDir::Files | QDir::System);
    const Run run = sticker2(arguments);
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.startsWith("sticker2: ") && run.err.contains(named.toUtf8()), run.err.constData());
    QCOMPARE(run.err.count('\n'), status == 1 ? 1 : 3); // one line; usage adds the usage and a hint
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::System), before); // nothing left behind
}

void TestCommandLine::stickers()
{
    // A slot stored as the form saves it; the command writes the sheet the
    // form's page-view button writes for it.
    StickerInput input;
    input.Atxt[0] = "Parts store";
    input.Atxt[5] = "601";
    input.Atxt[6] = "624";
    input.TxCol = "3";
    input.txtPage = "2";
    input.maxField = 4;
    QString error;
    QVERIFY2(FormatStore::save(3, input, &error), qPrintable(error));
    StickerInput loaded;
    FormatStore::loadSlot(3, loaded);
    const CharSheetWriter::Result form = CharSheetWriter::run(loaded);
    QVERIFY2(form.ok, qPrintable(form.error));

    const QString out = m_dir.filePath("sheet.prn");
    Run run = sticker2({"stickers", "--slot", "3", "-o", out});
    QCOMPARE(run.status, 0);
    QCOMPARE(TestSupport::readFile(out), TestSupport::readFile(form.fileName));

    // Options stand in for the slot's values for one run: the rows of a data
    // file, numbers of six digits; drawn in Windows mode into a PDF.
    const QString csv = TestSupport::writeFile(m_dir.filePath("rows.csv"), "Name\nAnn\nBob\n");
    run = sticker2({"stickers", "--slot", "3", "--data", csv, "--digits", "3", "-o", "-"});
    QCOMPARE(run.status, 0);
    QVERIFY2(run.out.contains("001    002\r\n") && !run.out.contains("003"), run.out.constData()); // two rows
    const QString pdf = m_dir.filePath("sheet.pdf");
    run = sticker2({"stickers", "--slot", "3", "--digits", "4", "--start", "2", "--pdf", pdf});
    QCOMPARE(run.status, 0);
    const QString text = TestSupport::pdfText(pdf, false);
    QVERIFY2(text.contains("Part") && text.contains("0601"), qPrintable(text));
}

void TestCommandLine::viewCodePage()
{
    // The view's arguments are read before any window opens.
    QStringList files;
    std::optional<CodePage::Choice> codePage;
    QVERIFY(CommandLine::viewFiles({"sticker2", "view", "--codepage", "kamenicky", "a.prn"}, &files, &codePage));
    QCOMPARE(files, QStringList{"a.prn"});
    QVERIFY(codePage && !codePage->automatic && codePage->id == CodePage::Id::Kamenicky);
    QVERIFY(CommandLine::viewFiles({"sticker2", "--codepage=auto", "b.prn"}, &files, &codePage));
    QVERIFY(codePage && codePage->automatic);
    QVERIFY(!CommandLine::viewFiles({"sticker2", "--codepage=cp1", "a.prn"}, &files, &codePage));
}

void TestCommandLine::print_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("job");
    const QByteArray setup("\x1bP\x1bx\x00", 5);
    QTest::newRow("defaults") << QStringList{} << setup + QByteArray("\x1b" "C\x00\x00", 4) + "Head";
    QTest::newRow("no draft, 12 cpi, 11 inches")
        << QStringList{"--no-draft", "--cpi", "12", "--paper-height", "11"}
        << QByteArray("\x1bP\x12\x1bW \x1bM\x1b" "C\x00\x0b", 12) + "Head";
    QTest::newRow("a code page leaves the bytes alone")
        << QStringList{"--codepage", "cp850"} << setup + QByteArray("\x1b" "C\x00\x00", 4) + Report.left(7);
    QTest::newRow("page 3, two copies, extra line")
        << QStringList{"--pages", "3", "--copies", "2", "--extra-line", "--cpi", "17"}
        << setup + QByteArray("\x0f\x1b" "C\x00\x00", 5) + "page 3\r\n\r\n\f\r\npage 3\r\n\f\r\n";
}

void TestCommandLine::print()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, job);
    QVERIFY(cupsdRunning());
    const Queue queue("Sticker2Raw");
    const Run run = sticker2(QStringList{"print", "-d", "Sticker2Raw"} + options + QStringList{m_in});
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.status, 0);
    const QByteArray sent = queue.next(options.contains("--pages") ? "RANGE.prn" : "in.prn");
    QVERIFY2(sent.startsWith(job) || sent == job, sent.left(60).toHex().constData());
}

QTEST_MAIN(TestCommandLine)
#include "tst_cupscommandline.moc"
