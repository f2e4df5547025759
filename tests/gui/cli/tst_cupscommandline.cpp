// The command line as a user runs it: the real program in a process, real
// files, and the private CUPS daemon's capture queues for `print`.
#include "../printing/PrintingFixture.h"
#include "cli/CommandLine.h"
#include "export/PlainTextExport.h"
#include "printing/CupsSpooler.h"
#include "printing/RawPrinting.h"
#include "report/PageTable.h"
#include "sticker/CharSheetWriter.h"
#include "sticker/FormatStore.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace PrintingFixture;

namespace {

using Run = TestSupport::ProgramRun;
using TestSupport::runProgram;

const QByteArray Report = "Head \x1b" "E bold \x1b" "F<&>\r\nline 2\r\n\fpage 2\rX\n\fpage 3\r\n\f";

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestSupport::initWindows();
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
    void convertMany();
    void rulesPrintTo_data();
    void rulesPrintTo();
    void virtualPdfPrinter();
    void outputFails_data();
    void outputFails();
    void outputIsInput_data();
    void outputIsInput();
    void serverDown_data();
    void serverDown();
    void environmentDestination_data();
    void environmentDestination();
    void serverSilent_data();
    void serverSilent();
    void captureFolderByItsAccessList_data();
    void captureFolderByItsAccessList();
    void printChangedWhileSent();
    void printStopped_data();
    void printStopped();
    void printStoppedAsItEnds();

private:
    QTemporaryDir m_dir;
    QString m_in;
};

void TestCommandLine::convert_data()
{
    QTest::addColumn<QStringList>("arguments"); // OUT is the last one; "-" reads standard output
    QTest::addColumn<QByteArray>("begins");
    QTest::addColumn<QByteArray>("contains"); // none, for standard output: `begins` is all of it
    QTest::addColumn<QByteArray>("job");      // none: the report
    QTest::addColumn<QByteArray>("said");     // on standard error (none: nothing)
    QTest::newRow("page 2 alone") << QStringList{"--to", "txt", "--pages", "2", "-"} << QByteArray("page 2\r\nX\r\n\f")
                                  << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("txt from the name, pages 2-3") << QStringList{"--pages", "2-9", "out.txt"} << QByteArray("page 2\r\nX\r\n\f")
                                                  << QByteArray("page 3\r\n\f") << QByteArray() << QByteArray();
    QTest::newRow("txt to stdout") << QStringList{"--to", "txt", "-"} << QByteArray("Head \x1b" "E") << QByteArray("\fpage 3") << QByteArray() << QByteArray();
    QTest::newRow("html any case") << QStringList{"out.HTML"} << QByteArray("<HTML>") << QByteArray("&lt;&amp;&gt;") << QByteArray() << QByteArray();
    QTest::newRow("rtf by --to, any name") << QStringList{"--to", "rtf", "--pages", "1", "out.doc"} << QByteArray("{\\rtf1") << QByteArray("\\b") << QByteArray() << QByteArray();
    QTest::newRow("rtf from the name") << QStringList{"--pages", "1", "out.RTF"} << QByteArray("{\\rtf1") << QByteArray("\\b") << QByteArray() << QByteArray();
    QTest::newRow("htm is a web page") << QStringList{"out.htm"} << QByteArray("<HTML>") << QByteArray("&lt;&amp;&gt;") << QByteArray() << QByteArray();
    QTest::newRow("xlsx with marks") << QStringList{"--marks", "3,6", "out.xlsx"} << QByteArray("PK") << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("html in a code page") << QStringList{"--codepage", "CP437", "out.html"}
                                         << QByteArray("<HTML>\r\n<meta charset=\"utf-8\">") << QByteArray("page&nbsp;3") << QByteArray() << QByteArray();
    QTest::newRow("pdf from the name") << QStringList{"--pages", "2", "out.Pdf"} << QByteArray("%PDF") << QByteArray("%%EOF") << QByteArray() << QByteArray();
    QTest::newRow("--to pdf, letter, landscape") << QStringList{"--to", "pdf", "--paper", "Letter", "--landscape", "out.bin"}
                                                 << QByteArray("%PDF") << QByteArray("%%EOF") << QByteArray() << QByteArray();
    QTest::newRow("pdf in the emphasis look") << QStringList{"--look", "Emphasis", "out.pdf"} << QByteArray("%PDF") << QByteArray("%%EOF") << QByteArray() << QByteArray();
    QTest::newRow("printed look, 12 in form, narrow") << QStringList{"--form-length", "12", "--carriage", "narrow", "out.pdf"}
                                                     << QByteArray("%PDF") << QByteArray("%%EOF") << QByteArray() << QByteArray();
    QTest::newRow("png from the name, numbered") << QStringList{"--pages", "2", "--dpi", "40", "shot.png"}
                                                 << QByteArray("\x89PNG") << QByteArray("IEND") << QByteArray() << QByteArray();
    // A job in another printer language (a client with the wrong driver) is
    // converted all the same, and said to be one.
    QTest::newRow("a PostScript job, noted") << QStringList{"--to", "txt", "-"} << QByteArray("%!PS-Adobe-3.0")
                                             << QByteArray("showpage") << QByteArray("%!PS-Adobe-3.0\nshowpage\n")
                                             << QByteArray("in.ps: note: this is a PostScript job, not an ESC/P print "
                                                           "file; it is read as ESC/P all the same\n");
}

void TestCommandLine::convert()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, begins);
    QFETCH(QByteArray, contains);
    QFETCH(QByteArray, job);
    QFETCH(QByteArray, said);
    const QString out = arguments.takeLast();
    const QString path = out == "-" ? out : m_dir.filePath(out);
    QString in = m_in;
    if (!job.isNull())
        in = TestSupport::writeFile(m_dir.filePath("in.ps"), job);
    const Run run = runProgram(QStringList{"convert"} + arguments + QStringList{in, path});
    QCOMPARE(run.err, said.isNull() ? QByteArray() : "sticker2: " + m_dir.filePath(said).toUtf8());
    QCOMPARE(run.status, 0);
    // Pictures are one file per sheet, numbered from 001.
    const QString written = out.endsWith(".png") ? path.chopped(4) + "-001.png" : path;
    const QByteArray bytes = out == "-" ? run.out : TestSupport::readFile(written);
    if (out != "-")
        QCOMPARE(run.out, QByteArray());
    QVERIFY2(bytes.startsWith(begins), bytes.left(80).constData());
    QVERIFY(bytes.contains(contains));
    if (out == "-" && contains.isNull())
        QCOMPARE(bytes, begins);
}

void TestCommandLine::refused_data()
{
    QTest::addColumn<QStringList>("arguments"); // IN and OUT relative to the test folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("named");
    QTest::newRow("missing input") << QStringList{"convert", "none.prn", "o.txt"} << 1 << "none.prn";
    QTest::newRow("FIFO input") << QStringList{"convert", "fifo", "o.txt"} << 1 << "fifo";
    QTest::newRow("input path too long") << QStringList{"convert", (QString(250, 'e') + "/").repeated(20) + "in.prn", "o.txt"} << 1
                                         << "in.prn: File name too long";
    QTest::newRow("folder output") << QStringList{"convert", "in.prn", "."} << 1 << "it is a folder, not a regular file";
    QTest::newRow("FIFO output") << QStringList{"convert", "--to", "txt", "in.prn", "fifo"} << 1
                                 << "fifo: it is a device or a pipe, not a regular file";
    QTest::newRow("FIFO output, PDF") << QStringList{"convert", "--to", "pdf", "in.prn", "fifo"} << 1
                                      << "fifo: it is a device or a pipe, not a regular file";
    QTest::newRow("page past the end") << QStringList{"convert", "--pages", "4", "in.prn", "o.txt"} << 1 << "in.prn";
    // A typo in the ending must not quietly give rich text.
    QTest::newRow("unknown ending") << QStringList{"convert", "in.prn", "o.xyz"} << 2 << "o.xyz";
    QTest::newRow("no ending") << QStringList{"convert", "in.prn", "o"} << 2 << "--to";
    QTest::newRow("an ending without its dot") << QStringList{"convert", "in.prn", "reporttxt"} << 2 << "--to";
    QTest::newRow("an ending that ends like one") << QStringList{"convert", "in.prn", "o.xhtml"} << 2 << "--to";
    QTest::newRow("upper-case TXT") << QStringList{"convert", "in.prn", "o.TXT"} << 2 << "--to txt or --to rtf";
    QTest::newRow("capture into a folder lp cannot write") << QStringList{"capture", "add", "--name", "Sticker2Cap", "--folder", "."}
                                                          << 1 << "spooler's user lp cannot";
    QTest::newRow("workbook without marks") << QStringList{"convert", "in.prn", "o.xlsx"} << 2 << "--marks";
    QTest::newRow("marks of plain text") << QStringList{"convert", "--marks", "3", "in.prn", "o.txt"} << 2 << "--marks cuts";
    QTest::newRow("paper of plain text") << QStringList{"convert", "--paper", "letter", "in.prn", "o.txt"} << 2 << "--paper and --landscape";
    QTest::newRow("landscape pictures") << QStringList{"convert", "--landscape", "in.prn", "o.png"} << 2 << "--paper and --landscape";
    QString marks;
    for (int i = 1; i <= 300; ++i)
        marks += QString::number(i) + (i < 300 ? "," : "");
    QTest::newRow("more marks than a workbook takes") << QStringList{"convert", "--marks", marks, "in.prn", "o.xlsx"} << 2
                                                      << "300 marks are more than the 254";
    QTest::newRow("page 0") << QStringList{"convert", "--pages", "0", "in.prn", "o.txt"} << 2 << "numbered from 1";
    QTest::newRow("a range backwards") << QStringList{"print", "--pages", "3-2", "in.prn"} << 2 << "A not past B";
    QTest::newRow("ten-digit page past the end") << QStringList{"convert", "--pages", "9999999999", "in.prn", "o.txt"} << 1
                                                 << "page 9999999999 is past the last page";
    QTest::newRow("pdf to stdout") << QStringList{"convert", "--to", "pdf", "in.prn", "-"} << 2 << "standard output";
    QTest::newRow("look of plain text") << QStringList{"convert", "--look", "printed", "in.prn", "o.txt"} << 2 << "--look";
    QTest::newRow("dpi of a pdf") << QStringList{"convert", "--dpi", "100", "in.prn", "o.pdf"} << 2 << "--dpi";
    QTest::newRow("form length of emphasis") << QStringList{"convert", "--look", "emphasis", "--form-length", "12", "in.prn", "o.pdf"} << 2 << "--form-length";
    QTest::newRow("printer model of plain text") << QStringList{"convert", "--printer", "9-pin", "in.prn", "o.txt"} << 2 << "--printer";
    QTest::newRow("one argument") << QStringList{"convert", "in.prn"} << 2 << "missing";
    QTest::newRow("unknown option") << QStringList{"print", "--colour", "in.prn"} << 2 << "colour";
    QTest::newRow("unknown printer") << QStringList{"print", "-d", "NoSuchQueue", "in.prn"} << 1 << "NoSuchQueue";
    QTest::newRow("start without a PDF") << QStringList{"stickers", "--slot", "1", "-o", "o.prn", "--start", "2"} << 2 << "--pdf";
    QTest::newRow("sticker pdf to stdout") << QStringList{"stickers", "--slot", "1", "--pdf", "-"} << 2 << "standard output";
    QTest::newRow("sheet to no name") << QStringList{"stickers", "--slot", "1", "-o", ""} << 2 << "need a file name";
    QTest::newRow("sticker pdf to no name") << QStringList{"stickers", "--slot", "1", "--pdf", ""} << 2 << "need a file name";
    QTest::newRow("missing data file") << QStringList{"stickers", "--slot", "1", "-o", "o.prn", "--data", "none.csv"} << 1 << "none.csv";
    QTest::newRow("watch without a folder") << QStringList{"watch"} << 2 << "FOLDER";
    QTest::newRow("watch converting nowhere") << QStringList{"watch", ".", "--convert", "pdf"} << 2 << "--out";
    QTest::newRow("watch rules of text") << QStringList{"watch", ".", "--convert", "txt", "--out", "o.d", "--rules", "in.prn"}
                                         << 2 << "--convert pdf";
    // Refused before the output folder is made (it had been left behind).
    QTest::newRow("watch by faulty rules") << QStringList{"watch", ".", "--convert", "pdf", "--out", "o.d", "--rules", "in.prn"}
                                           << 1 << "in.prn:1: ";
    QTest::newRow("watch a missing spool") << QStringList{"watch", "none.d", "--convert", "pdf", "--out", "o.d"}
                                           << 1 << "none.d";
    QTest::newRow("keep and move") << QStringList{"watch", ".", "--convert", "pdf", "--out", "o.d", "--keep", "--move"}
                                   << 2 << "--keep";
    QTest::newRow("many files, no format") << QStringList{"convert", "--out-dir", "o.d", "in.prn"} << 2 << "--to";
    QTest::newRow("many files into a folder no name can be") << QStringList{"convert", "--to", "txt", "--out-dir", QString(300, 'd') + ".d/o", "in.prn"}
                                                             << 1 << "cannot make the folder: File name too long";
    QTest::newRow("capture into no folder") << QStringList{"capture", "add", "--folder", "none.d"} << 1 << "no such folder";
    QTest::newRow("capture into a file") << QStringList{"capture", "add", "--folder", "in.prn"} << 1 << "in.prn: not a folder";
    QTest::newRow("capture name with a space") << QStringList{"capture", "add", "--name", "A B", "--folder", "."} << 1
                                               << "no spaces";
    QTest::newRow("capture over a printer") << QStringList{"capture", "add", "--name", "Sticker2Other", "--folder", "."}
                                            << 1 << "left as it is";
    QTest::newRow("remove a printer") << QStringList{"capture", "remove", "Sticker2Raw"} << 1 << "not a capture queue";
    QTest::newRow("remove no queue") << QStringList{"capture", "remove", "NoSuchQueue"} << 1 << "no such queue";
    // Checked before any window system is touched, with no display to touch.
    QTest::newRow("unknown option, no display") << QStringList{"--bogus"} << 2 << "--bogus";
    QTest::newRow("view without a file") << QStringList{"view"} << 2 << "FILE";
    QTest::newRow("watch a missing folder") << QStringList{"watch", "/nonexistent"} << 1 << "/nonexistent";
    QTest::newRow("a view with no display") << QStringList{"in.prn"} << 1 << "no display";
    QTest::newRow("delimiter without data") << QStringList{"stickers", "--slot", "1", "-o", "o.prn", "--delimiter", "tab"} << 2 << "--data";
    // With data its rows make the sheets: a page count would be dropped.
    QTest::newRow("pages with data") << QStringList{"stickers", "--slot", "1", "-o", "o.prn", "--data", "in.prn", "--pages", "1"}
                                     << 2 << "--pages does not go with data";
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
    const auto entries = [this] { return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System); };
    const QStringList before = entries();
    const Run run = runProgram(arguments);
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.startsWith("sticker2: ") && run.err.contains(named.toUtf8()), run.err.constData());
    // One line; a usage error adds the command's usage (a line per form) and a hint.
    // (No command named: the report view's.)
    const CommandLine::Command *command = &CommandLine::command(CommandLine::CommandId::View);
    for (const CommandLine::Command &row : CommandLine::commands())
        command = row.name == arguments.value(0) ? &row : command;
    QCOMPARE(run.err.count('\n'), status == 1 ? 1 : 2 + int(command->forms.size()));
    QCOMPARE(entries(), before); // nothing left behind, no folder made
}

void TestCommandLine::stickers()
{
    // A slot stored as the form saves it; the command writes the sheet the
    // form's page-view button writes for it.
    StickerInput input;
    input.lineTexts[0] = "Parts store";
    input.lineTexts[5] = "601";
    input.lineTexts[6] = "624";
    input.stickersAcross = "3";
    input.pageCount = "2";
    input.maxField = 4;
    QString error;
    QVERIFY2(FormatStore::save(3, input, &error), qPrintable(error));
    StickerInput loaded;
    FormatStore::loadSlot(3, loaded);
    QString lastNumber;
    const CharSheetWriter::Result form = CharSheetWriter::run(loaded, lastNumber);
    QVERIFY2(form.ok, qPrintable(form.error));

    const QString out = m_dir.filePath("sheet.prn");
    Run run = runProgram({"stickers", "--slot", "3", "-o", out});
    QCOMPARE(run.status, 0);
    QCOMPARE(TestSupport::readFile(out), TestSupport::readFile(form.fileName));

    // Options stand in for the slot's values for one run: the rows of a data
    // file, numbers of six digits; drawn in Windows mode into a PDF.
    const QString csv = TestSupport::writeFile(m_dir.filePath("rows.csv"), "Name\nAnn\nBob\n");
    run = runProgram({"stickers", "--slot", "3", "--data", csv, "--digits", "3", "-o", "-"});
    QCOMPARE(run.status, 0);
    QVERIFY2(run.out.contains("001    002\r\n") && !run.out.contains("003"), run.out.constData()); // two rows
    const QString pdf = m_dir.filePath("sheet.pdf");
    run = runProgram({"stickers", "--slot", "3", "--digits", "4", "--start", "2", "--pdf", pdf});
    QCOMPARE(run.status, 0);
    const QString text = TestSupport::pdfText(pdf, false);
    QVERIFY2(text.contains("Part") && text.contains("0601"), qPrintable(text));
    // What the slot and its options cannot draw is told against the slot,
    // not the PDF, which is not written.
    const QString refused = m_dir.filePath("refused.pdf");
    run = runProgram({"stickers", "--slot", "3", "--start", "999", "--pdf", refused});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.startsWith("sticker2: slot 3: The stickers could not be drawn. \"Start at sticker\""),
        run.err.constData());
    QVERIFY(!QFileInfo::exists(refused));
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
    QTest::addColumn<QByteArray>("file"); // empty: the report
    QTest::addColumn<QString>("match");   // how the job that reaches the queue holds `job`: begins, is, ends
    QTest::addColumn<QByteArray>("job");  // none: refused (status 1), nothing sent
    const QByteArray setup("\x1bP\x1bx\x00", 5);
    QByteArray lines;
    for (int i = 1; i <= 70; ++i)
        lines += "line " + QByteArray::number(i) + "\r\n";
    // No paper height: no form length at all (ESC C NUL 0 is refused by printers).
    QTest::newRow("defaults") << QStringList{} << QByteArray() << "begins" << setup + "Head";
    QTest::newRow("no draft, 12 cpi, 11 inches")
        << QStringList{"--no-draft", "--cpi", "12", "--paper-height", "11"} << QByteArray() << "begins"
        << QByteArray("\x1bP\x12\x1bW \x1bM\x1b" "C\x00\x0b", 12) + "Head";
    QTest::newRow("a code page leaves the bytes alone")
        << QStringList{"--codepage", "cp850"} << QByteArray() << "begins" << setup + Report.left(7);
    QTest::newRow("page 3, two copies, extra line")
        << QStringList{"--pages", "3", "--copies", "2", "--extra-line", "--cpi", "17"} << QByteArray() << "is"
        << setup + "\x0f" + "page 3\r\n\r\n\f\r\npage 3\r\n\f\r\n";
    // --pages counts the sheets of the printed look, as convert and the view
    // do: 70 lines at 1/6 in are two 11 in sheets on one form-feed page, and
    // sheet 2 sends the page it was printed from.
    QTest::newRow("sheet 2 of a long page") << QStringList{"--pages", "2"} << lines << "is" << setup + lines + "\f\r\n";
    // A 24-pin reading of ESC 3 30 (1/6 in) is two sheets as well; a 9-pin
    // one (30/216 in) one sheet, and sheet 2 is then refused.
    QTest::newRow("24-pin line spacing") << QStringList{"--pages", "2"} << "\x1b" "3\x1e" + lines << "ends"
                                         << lines + "\f\r\n";
    QTest::newRow("9-pin line spacing: no sheet 2") << QStringList{"--printer-model", "9-pin", "--pages", "2"}
                                                    << "\x1b" "3\x1e" + lines << "" << QByteArray();
}

void TestCommandLine::print()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, file);
    QFETCH(QString, match);
    QFETCH(QByteArray, job);
    QVERIFY(cupsdRunning());
    const QString in = file.isEmpty() ? m_in : TestSupport::writeFile(m_dir.filePath("sheets.prn"), file);
    const Queue queue("Sticker2Raw");
    const Run run = runProgram(QStringList{"print", "-d", "Sticker2Raw"} + options + QStringList{in});
    if (job.isEmpty()) {
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("sheets.prn") && run.err.count('\n') == 1, run.err.constData());
        QVERIFY(queue.nothingNew());
        return;
    }
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.status, 0);
    // The job is named after the print file, pages chosen or not.
    const QByteArray sent = queue.next(QFileInfo(in).fileName());
    const bool holds = match == "is" ? sent == job : match == "ends" ? sent.endsWith(job) : sent.startsWith(job);
    QVERIFY2(holds, sent.left(60).toHex().constData());
}

void TestCommandLine::convertMany()
{
    // Two at a time, with convert's own options; a file that cannot be read
    // costs its own line and the status, never the others.
    const QString dir = m_dir.filePath("many");
    const QString second = TestSupport::writeFile(m_dir.filePath("second.prn"), "second\r\n\f");
    const Run run = runProgram({"convert", "--to", "txt", "--pages", "1", "--out-dir", dir, "-j", "2", m_in,
        m_dir.filePath("none.prn"), second});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.count('\n') == 1 && run.err.contains("none.prn"), run.err.constData());
    const QByteArray first = TestSupport::readFile(dir + "/in.txt");
    QVERIFY2(first.startsWith("Head ") && !first.contains("page 2"), first.constData());
    QVERIFY(TestSupport::readFile(dir + "/second.txt").startsWith("second"));
    QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList({"in.txt", "second.txt"}));

    // An output that is a file given later is refused, not written over it
    // before its turn (a.txt had held a.prn's text).
    const QString same = m_dir.filePath("same");
    QVERIFY(QDir().mkpath(same));
    const QString prn = TestSupport::writeFile(same + "/a.prn", "new\r\n");
    const QString txt = TestSupport::writeFile(same + "/a.txt", "KEEP ME\r\n");
    const Run clash = runProgram({"convert", "--to", "txt", "--out-dir", same, prn, txt});
    QCOMPARE(clash.status, 1);
    QVERIFY2(clash.err.contains("its output " + QFile::encodeName(txt) + " is a file given to convert"), clash.err.constData());
    QCOMPARE(TestSupport::readFile(txt), QByteArray("KEEP ME\r\n"));
}

// A rule's print-to: the PDF the job became goes to the queue it names,
// under the rule's title; a queue that takes nothing is the job's failure
// (status 1, the rule and the queue named), and the PDF stays.
void TestCommandLine::rulesPrintTo_data()
{
    QTest::addColumn<QString>("queue");
    QTest::addColumn<int>("status");
    QTest::newRow("printed") << "Sticker2Other" << 0;
    QTest::newRow("a queue that rejects jobs") << "Sticker2Closed" << 1;
    QTest::newRow("no such queue") << "Sticker2Missing" << 1;
}

void TestCommandLine::rulesPrintTo()
{
    QFETCH(QString, queue);
    QFETCH(int, status);
    QVERIFY(cupsdRunning());
    const QString job = TestSupport::writeFile(m_dir.filePath("invoice.prn"), "Invoice 4711\r\nTotal 12.50\r\n\f");
    const QString rules = TestSupport::writeFile(m_dir.filePath("print.rules"),
        "[Invoices]\nmatch = Invoice (?<number>\\d+)\npdf-title = Invoice {number}\nprint-to = "
            + queue.toUtf8() + "\n");
    const QString pdf = m_dir.filePath("invoice.pdf");
    QFile::remove(pdf);
    const Queue other("Sticker2Other");
    const Run run = runProgram({"convert", "--rules", rules, job, pdf});
    QCOMPARE(run.status, status);
    QVERIFY(TestSupport::pdfIsValid(pdf));
    if (status == 0) {
        QCOMPARE(other.next("Invoice 4711"), TestSupport::readFile(pdf));
        return;
    }
    QVERIFY2(run.err.contains("rule [Invoices]") && run.err.contains("print-to")
            && run.err.contains(queue.toUtf8()) && run.err.contains("invoice.pdf"),
        run.err.constData());
    QVERIFY(other.nothingNew());
}

void TestCommandLine::virtualPdfPrinter()
{
    // A capture queue made by the program, a watch with no display turning
    // its jobs into PDFs, and the queue removed again.
    QVERIFY(cupsdRunning());
    // The spooler's user reaches the daemon's folder, never the test's own.
    const QString spool = qEnvironmentVariable("STICKER2_CUPS_DIR") + "/pdf-spool";
    const QString out = m_dir.filePath("pdf");
    QDir(spool).removeRecursively();
    QVERIFY(QDir().mkpath(spool));
    QVERIFY(QFile::setPermissions(spool, QFileDevice::Permissions(0x7777))); // cupsd's backend runs as lp
    Run run = runProgram({"capture", "add", "--name", "Sticker2Pdf", "--folder", spool});
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.status, 0);
    QCOMPARE(TestSupport::runTool("lpoptions", {"-p", "Sticker2Pdf"}).contains("printer-is-shared=false"), true);
    const QString pdf = m_dir.filePath("refused.pdf");
    QCOMPARE(runProgram({"convert", m_in, pdf}).status, 0);
    QVERIFY(QProcess::execute("lp", {"-s", "-d", "Sticker2Pdf", pdf}) != 0); // raw only

    QProcess watch;
    TestSupport::startProgram(watch, {"watch", spool, "--convert", "pdf", "--out", out, "--move", "--pages", "2"});
    QVERIFY(watch.waitForStarted());
    QCOMPARE(QProcess::execute("lp", {"-s", "-d", "Sticker2Pdf", m_in}), 0);
    // A job without a page 2 cannot be converted with --pages 2.
    TestSupport::writeFile(spool + "/.short", "short\r\n");
    QVERIFY(QFile::rename(spool + "/.short", spool + "/short.prn"));
    QTRY_VERIFY_WITH_TIMEOUT(QDir(out).entryList({"*.pdf"}).size() == 1
            && QFileInfo::exists(out + "/failed/short.prn.log"), 60000);
    const QString converted = out + "/" + QDir(out).entryList({"*.pdf"}).constFirst();
    const QString text = TestSupport::pdfText(converted);
    QVERIFY2(text.contains("page 2") && !text.contains("Head"), qPrintable(text));
    const QStringList done = QDir(out + "/done").entryList(QDir::Files);
    QCOMPARE(done.size(), 1);
    // The PDF is named after its job and the job's title.
    QVERIFY(QFileInfo(converted).completeBaseName().startsWith(QFileInfo(done.first()).completeBaseName() + " "));
    QCOMPARE(TestSupport::readFile(out + "/done/" + done.first()), Report);
    QCOMPARE(TestSupport::readFile(out + "/failed/short.prn"), QByteArray("short\r\n"));
    QVERIFY(TestSupport::readFile(out + "/failed/short.prn.log").contains("short.prn"));
    QCOMPARE(QDir(spool).entryList(QDir::Files | QDir::Hidden), QStringList());
    watch.terminate();
    QVERIFY(watch.waitForFinished(10000));
    const QByteArray lines = watch.readAllStandardError();
    QVERIFY2(lines.count('\n') == 2 && lines.contains("converted to") && lines.contains("not converted"),
        lines.constData());

    run = runProgram({"capture", "remove", "Sticker2Pdf"});
    QCOMPARE(run.status, 0);
    QVERIFY(!TestSupport::runTool("lpstat", {"-v"}).contains("Sticker2Pdf"));
}

// Output that cannot be written, or must not be: the cause named on one line,
// status 1, no file left and nothing written through a planted link.
void TestCommandLine::outputFails_data()
{
    QTest::addColumn<QStringList>("arguments"); // "-" is standard output, "OUT" the output file
    QTest::addColumn<QString>("out");           // where either goes; "planted": a link another user left
    QTest::addColumn<int>("limitKB");           // ulimit -f, 0 for none
    QTest::addColumn<QString>("cause");
    const QStringList html{"convert", "--to", "html", "big.prn", "-"};
    const QString planted = "refusing to follow a link another user planted";
    QTest::newRow("web page to /dev/full") << html << "/dev/full" << 0 << "standard output: No space left";
    QTest::newRow("small text to /dev/full") << QStringList{"convert", "--to", "txt", "in.prn", "-"} << "/dev/full" << 0
                                             << "standard output: No space left";
    QTest::newRow("web page past a size limit") << html << "o.html" << 16 << "standard output: File too large";
    QTest::newRow("sheet to /dev/full") << QStringList{"stickers", "--slot", "3", "-o", "-"} << "/dev/full" << 0
                                        << "standard output: No space left";
    QTest::newRow("sheet past a size limit") << QStringList{"stickers", "--slot", "3", "--pages", "900", "-o", "OUT"}
                                             << "o.prn" << 4 << "o.prn: File too large";
    QTest::newRow("sticker PDF past a size limit") << QStringList{"stickers", "--slot", "3", "--pages", "900", "--pdf", "OUT"}
                                                   << "o.pdf" << 4 << "File too large";
    QTest::newRow("sticker PDF in no folder") << QStringList{"stickers", "--slot", "3", "--pdf", "OUT"}
                                              << "/nonexistent/o.pdf" << 0 << "No such file";
    QTest::newRow("pictures in no folder") << QStringList{"convert", "in.prn", "OUT"} << "/nonexistent/o.png" << 0
                                           << "Cannot write /nonexistent/o-001.png: No such file or directory\n";
    for (const QString format : {"html", "txt", "rtf", "pdf", "xlsx"})
        QTest::newRow(qPrintable(QString("planted link, %1").arg(format)))
            << QStringList{"convert", "--to", format} + (format == "xlsx" ? QStringList{"--marks", "3"} : QStringList{})
                + QStringList{"in.prn", "OUT"}
            << "planted" << 0 << planted;
    QTest::newRow("planted link, sheet") << QStringList{"stickers", "--slot", "3", "-o", "OUT"} << "planted" << 0 << planted;
    QTest::newRow("planted link, sticker PDF") << QStringList{"stickers", "--slot", "3", "--pdf", "OUT"} << "planted" << 0
                                               << planted;
}

void TestCommandLine::outputFails()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    QFETCH(int, limitKB);
    QFETCH(QString, cause);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList kept{"big.prn", "in.prn", "victim"};
    TestSupport::writeFile(dir.filePath("in.prn"), Report);
    TestSupport::writeFile(dir.filePath("big.prn"), QByteArray("a line of the report  \r\n").repeated(20000));
    const QString victim = TestSupport::writeFile(dir.filePath("victim"), "kept");
    StickerInput slot;
    slot.lineTexts[0] = "Parts store";
    slot.lineTexts[5] = "1";
    QString error;
    QVERIFY2(FormatStore::save(3, slot, &error), qPrintable(error));
    if (out == "planted") {
        // A folder everyone may write to, its sticky bit set, as /tmp; the link
        // belongs to a user who is neither the caller nor the folder's owner.
        if (::geteuid() != 0)
            QSKIP("giving a link to another user needs root");
        const QString shared = dir.filePath("shared");
        QVERIFY(QDir().mkdir(shared) && ::chmod(QFile::encodeName(shared).constData(), 01777) == 0);
        out = shared + "/report.out";
        QVERIFY(QFile::link(victim, out));
        QCOMPARE(::lchown(QFile::encodeName(out).constData(), 65534, 65534), 0);
    } else if (!out.startsWith('/')) {
        if (arguments.contains("-"))
            kept << out; // the shell's redirection made it
        out = dir.filePath(out);
    }
    for (QString &a : arguments)
        a = a == "OUT" ? out : a.endsWith(".prn") ? dir.filePath(a) : a;
    const QString limit = limitKB ? QString("ulimit -f %1; ").arg(limitKB) : QString();
    const QString redirect = arguments.contains("-") ? " > '" + out + "'" : QString();
    const Run run = runProgram(QStringList{"-c", limit + "exec \"$0\" \"$@\"" + redirect, STICKER2_PROGRAM} + arguments, "sh");
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.startsWith("sticker2: ") && run.err.contains(cause.toUtf8()) && run.err.count('\n') == 1,
        run.err.constData());
    if (out.startsWith("/nonexistent"))
        QVERIFY2(run.err.count("/nonexistent/") == 1, run.err.constData()); // the file named once
    QCOMPARE(TestSupport::readFile(victim), QByteArray("kept"));
    kept.sort();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), kept); // nothing left behind
}

// The output is the input (the same file, however named): refused as
// `cp a a` refuses, the print file untouched.
void TestCommandLine::outputIsInput_data()
{
    QTest::addColumn<QStringList>("arguments"); // IN is the print file, OUT the name it is written as
    QTest::addColumn<QString>("out");           // how OUT names it: "same", "link", "dotted", "hard link"
    for (const char *way : {"same", "link", "dotted", "hard link"})
        QTest::newRow(qPrintable(QString("convert, %1").arg(way))) << QStringList{"convert", "--to", "txt", "IN", "OUT"} << way;
    QTest::newRow("convert by its ending") << QStringList{"convert", "IN", "OUT"} << "same.rtf";
    QTest::newRow("sticker sheet over its data") << QStringList{"stickers", "--slot", "1", "--data", "IN", "-o", "OUT"} << "link";
}

void TestCommandLine::outputIsInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = out == "same.rtf" ? "report.rtf" : "report.prn";
    const QByteArray bytes = arguments.contains("--data") ? QByteArray("Name\nAnn\n") : Report;
    const QString in = TestSupport::writeFile(dir.filePath(name), bytes);
    QString target = in;
    if (out == "link") {
        target = dir.filePath("link.prn");
        QVERIFY(QFile::link(in, target));
    } else if (out == "hard link") {
        target = dir.filePath("hard.prn");
        QCOMPARE(::link(QFile::encodeName(in).constData(), QFile::encodeName(target).constData()), 0);
    } else if (out == "dotted") {
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        target = dir.path() + "/sub/../" + name;
    }
    for (QString &a : arguments)
        a = a == "IN" ? in : a == "OUT" ? target : a;
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    const Run run = runProgram(arguments);
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains("is the input") && run.err.count('\n') == 1, run.err.constData());
    QCOMPARE(TestSupport::readFile(in), bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
}

// LPDEST or PRINTER naming a queue the server lacks: the run names it, as lp
// does, not "no default destination".
void TestCommandLine::environmentDestination_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::newRow("LPDEST") << QByteArray("LPDEST");
    QTest::newRow("PRINTER") << QByteArray("PRINTER");
}

void TestCommandLine::environmentDestination()
{
    QFETCH(QByteArray, variable);
    QVERIFY(cupsdRunning());
    qputenv(variable.constData(), "NoSuchQueue");
    const Run run = runProgram({"print", m_in});
    qunsetenv(variable.constData());
    QCOMPARE(run.status, 1);
    QCOMPARE(QString::fromUtf8(run.err),
        QString("sticker2: %1: no printer given, and %2 names \"NoSuchQueue\", which is no queue\n").arg(m_in, variable));
}

// No print server at all: one line that says so, for the commands that ask one.
void TestCommandLine::serverDown_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("capture add") << QStringList{"capture", "add", "--name", "Sticker2Down", "--folder", "/tmp"};
    QTest::newRow("capture remove") << QStringList{"capture", "remove", "Sticker2Down"};
    QTest::newRow("print to the default") << QStringList{"print", "IN"};
    QTest::newRow("print to a queue") << QStringList{"print", "-d", "Sticker2Raw", "IN"};
}

void TestCommandLine::serverDown()
{
    QFETCH(QStringList, arguments);
    const auto folder = TestSupport::socketFolder();
    const QByteArray server = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", QFile::encodeName(folder->filePath("none.sock")));
    for (QString &a : arguments)
        a = a == "IN" ? m_in : a;
    const Run run = runProgram(arguments);
    qputenv("CUPS_SERVER", server);
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains("print server") && run.err.contains("does not answer") && run.err.count('\n') == 1,
        run.err.constData());
    QVERIFY2(!run.err.contains("Bad file descriptor") && !run.err.contains("no default destination"), run.err.constData());
}

// A print server that takes the connection and never answers (the kernel
// takes it into the socket's queue; nothing reads it): one line saying so,
// soon, for the commands that ask one, not a printer that took nothing or
// errno's "Success" a minute later.
void TestCommandLine::serverSilent_data()
{
    serverDown_data();
}

void TestCommandLine::serverSilent()
{
    QFETCH(QStringList, arguments);
    const auto folder = TestSupport::socketFolder();
    const QByteArray path = QFile::encodeName(folder->filePath("silent.sock"));
    const int silent = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
    QVERIFY(silent >= 0 && ::bind(silent, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && ::listen(silent, 16) == 0);
    const QByteArray server = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", path);
    for (QString &a : arguments)
        a = a == "IN" ? m_in : a;
    const Run run = runProgram(arguments);
    qputenv("CUPS_SERVER", server);
    ::close(silent);
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains("print server " + path + " did not answer within") && run.err.count('\n') == 1,
        run.err.constData());
}

// The spooler's user may write a capture folder as the kernel says: an
// access control list lets it into a folder of mode 0700, or keeps it out
// of one of 0777.
void TestCommandLine::captureFolderByItsAccessList_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("acl");
    QTest::addColumn<QString>("refusal"); // empty: taken
    QTest::newRow("let in") << 0700 << "u:lp:rwx" << "";
    QTest::newRow("kept out") << 0777 << "u:lp:---" << "kept out by an access control list";
    // Not every refusal is a list's (an unchangeable folder had been blamed on one).
    QTest::newRow("unchangeable") << 0777 << "+i" << "made unchangeable (chattr +i)";
}

void TestCommandLine::captureFolderByItsAccessList()
{
    QFETCH(int, mode);
    QFETCH(QString, acl);
    QFETCH(QString, refusal);
    QVERIFY(cupsdRunning());
    if (::geteuid() != 0)
        QSKIP("only root may add a queue, and ask as the spooler's user");
    const QString folder = qEnvironmentVariable("STICKER2_CUPS_DIR") + "/acl-spool";
    QDir(folder).removeRecursively();
    QVERIFY(QDir().mkpath(folder));
    QCOMPARE(::chmod(QFile::encodeName(folder).constData(), mode_t(mode)), 0);
    if (acl == "+i") {
        if (QProcess::execute("chattr", {"+i", folder}) != 0)
            QSKIP("the file system keeps no unchangeable mark here");
    } else if (QProcess::execute("setfacl", {"-m", acl, folder}) != 0) {
        QSKIP("the file system keeps no access control lists here");
    }
    const Run run = runProgram({"capture", "add", "--name", "Sticker2Acl", "--folder", folder});
    runProgram({"capture", "remove", "Sticker2Acl"});
    QProcess::execute("chattr", {"-i", folder});
    QDir(folder).removeRecursively();
    if (refusal.isEmpty()) {
        QVERIFY2(run.status == 0, run.err.constData());
    } else {
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(refusal.toUtf8()), run.err.constData());
    }
}

// The print file written anew while its job goes out to the real spooler:
// the job is dropped, nothing of it reaches the queue.
void TestCommandLine::printChangedWhileSent()
{
    QVERIFY(cupsdRunning());
    const Queue queue("Sticker2Raw");
    const QString path = TestSupport::writeFile(m_dir.filePath("rewritten.prn"),
        QByteArray("a line of the old report\r\n").repeated(20000));
    CupsSpooler spooler;
    RawJobOptions options;
    options.printerName = "Sticker2Raw";
    int calls = 0;
    options.progress = [&](qint64, qint64) {
        if (calls++ == 0)
            TestSupport::writeFile(path, "new\r\n");
    };
    RawJobFailure failure;
    QVERIFY(!sendRawJob(spooler, path, options, &failure));
    QCOMPARE(failure.kind, RawJobFailure::Changed);
    QVERIFY(queue.nothingNew());
}

// A print stopped while it sends (Ctrl+C, SIGTERM, a closed session)
// cancels the job it began: the server is left holding no half-sent job,
// which it would keep for many minutes, and the run says so.
void TestCommandLine::printStopped_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ignored"); // started ignoring it (nohup, a shell's background job): it prints on
    QTest::newRow("SIGTERM") << int(SIGTERM) << "SIGTERM" << false;
    QTest::newRow("SIGINT") << int(SIGINT) << "SIGINT" << false;
    QTest::newRow("SIGHUP under nohup") << int(SIGHUP) << "SIGHUP" << true;
}

void TestCommandLine::printStopped()
{
    QFETCH(int, signal);
    QFETCH(QString, name);
    QFETCH(bool, ignored);
    QVERIFY(cupsdRunning());
    const Queue queue("Sticker2Raw");
    const QString path = TestSupport::writeFile(
        m_dir.filePath("long.prn"), QByteArray("a line of a long report, sent slowly enough\r\n").repeated(200000));
    // The job that is let print (two copies) could pass through the queue
    // between two looks at it on a busy machine: the queue holds it until the
    // signal has been sent.
    if (ignored)
        QVERIFY(TestSupport::runTool("/usr/sbin/cupsdisable", {"Sticker2Raw"}).isEmpty());
    const auto enable = qScopeGuard([ignored] {
        if (ignored)
            TestSupport::runTool("/usr/sbin/cupsenable", {"Sticker2Raw"});
    });
    QProcess print;
    if (ignored) // as nohup starts it
        print.start("/bin/sh", {"-c", QStringLiteral("trap '' %1; exec \"$0\" \"$@\"").arg(name.mid(3)), STICKER2_PROGRAM,
                                   "print", "--copies", "2", path});
    else
        TestSupport::startProgram(print, {"print", "--copies", "50", path});
    QVERIFY(print.waitForStarted());
    // Stopped once its job is in the queue, being sent.
    QTRY_VERIFY_WITH_TIMEOUT(TestSupport::runTool("lpstat", {"-o", "Sticker2Raw"}).contains("Sticker2Raw-"), 20000);
    QCOMPARE(print.state(), QProcess::Running);
    ::kill(pid_t(print.processId()), signal);
    QVERIFY(print.waitForFinished(60000));
    QCOMPARE(print.exitStatus(), QProcess::NormalExit);
    if (ignored) {
        QVERIFY2(print.exitCode() == 0, print.readAllStandardError().constData());
        TestSupport::runTool("/usr/sbin/cupsenable", {"Sticker2Raw"});
        QVERIFY(queue.next("long.prn").size() >= 2 * QFileInfo(path).size()); // all of it, twice
        return;
    }
    QCOMPARE(print.exitCode(), 1);
    const QByteArray err = print.readAllStandardError();
    QVERIFY2(err == "sticker2: " + QFile::encodeName(path) + ": stopped by " + name.toLatin1() + "; nothing of it prints\n",
        err.constData());
    QTRY_COMPARE_WITH_TIMEOUT(TestSupport::runTool("lpstat", {"-o", "Sticker2Raw"}), QString(), 10000);
    QVERIFY(queue.nothingNew());
}

// A stop that comes as the job's last bytes go (here before the program
// began: a signal it finds waiting) still takes the job back while the queue
// holds it. The job had printed whole, and the signal then ended the program
// without a word.
void TestCommandLine::printStoppedAsItEnds()
{
    QVERIFY(cupsdRunning());
    const Queue queue("Sticker2Raw");
    const QString path = TestSupport::writeFile(m_dir.filePath("short.prn"), "one short line\r\n");
    QVERIFY(TestSupport::runTool("/usr/sbin/cupsdisable", {"Sticker2Raw"}).isEmpty());
    const auto enable = qScopeGuard([] { TestSupport::runTool("/usr/sbin/cupsenable", {"Sticker2Raw"}); });
    const TestSupport::ProgramRun run = TestSupport::runProgram(
        {"-c",
            "import os, signal, sys; signal.pthread_sigmask(signal.SIG_BLOCK, [signal.SIGINT]); "
            "os.kill(os.getpid(), signal.SIGINT); os.execv(sys.argv[1], sys.argv[1:])",
            STICKER2_PROGRAM, "print", "-d", "Sticker2Raw", path},
        "python3");
    QCOMPARE(run.status, 1);
    QCOMPARE(run.err, "sticker2: " + QFile::encodeName(path) + ": stopped by SIGINT; nothing of it prints\n");
    QTRY_COMPARE_WITH_TIMEOUT(TestSupport::runTool("lpstat", {"-o", "Sticker2Raw"}), QString(), 10000);
}

QTEST_MAIN(TestCommandLine)
#include "tst_cupscommandline.moc"
