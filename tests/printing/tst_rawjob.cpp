#include "RecordingSpooler.h"
#include "TestSupport.h"
#include "platform/MessageBox.h"
#include "printing/CurrentPrinter.h"
#include "printing/ErrorWindow.h"
#include "printing/LineFramer.h"
#include "printing/RawPrinting.h"
#include "startup/MainModule.h"

#include <QTemporaryDir>
#include <QTest>

// The raw byte stream of a character-mode print, recorded instead of spooled.
class TestRawJob : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void init() { MessageBox::clearShown(); }

    void framing_data();
    void framing();
    void framingSurvivesAnySplit();
    void setupSequences_data();
    void setupSequences();
    void setupSequencesMatchSharedOnes();
    void job_data();
    void job();
    void emptyNameTakesCurrentPrinter();
    void writesAreBuffered();
    void failures_data();
    void failures();
    void refusedBeforeOpening_data();
    void refusedBeforeOpening();
    void parseFileName_data();
    void parseFileName();
    void fileExists();
    void errorWindow_data();
    void errorWindow();

private:
    QTemporaryDir m_dir;
};

void TestRawJob::framing_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("extraLine");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("CR LF lines pass byte for byte")
        << QByteArray("ab\r\ncd\r\n") << false << QByteArray("ab\r\ncd\r\n");
    QTest::newRow("lone CR ends a line") << QByteArray("ab\rcd\r") << false << QByteArray("ab\r\ncd\r\n");
    QTest::newRow("lone LF stays in the line")
        << QByteArray("ab\ncd\n") << false << QByteArray("ab\ncd\n\r\n");
    QTest::newRow("last line without end") << QByteArray("ab\r\ncd") << false << QByteArray("ab\r\ncd\r\n");
    QTest::newRow("empty file") << QByteArray() << false << QByteArray();
    QTest::newRow("empty file with extra line") << QByteArray() << true << QByteArray();
    QTest::newRow("empty lines") << QByteArray("\r\n\r\r\n") << false << QByteArray("\r\n\r\n\r\n");
    QTest::newRow("LF CR: LF kept, CR ends") << QByteArray("a\n\rb") << false << QByteArray("a\n\r\nb\r\n");
    QTest::newRow("CR CR LF is two lines") << QByteArray("a\r\r\nb") << false << QByteArray("a\r\n\r\nb\r\n");
    QTest::newRow("extra line after the first only")
        << QByteArray("one\r\ntwo\r\n") << true << QByteArray("one\r\n\r\ntwo\r\n");
    QTest::newRow("extra line on an unterminated single line")
        << QByteArray("x") << true << QByteArray("x\r\n\r\n");
    QTest::newRow("form feeds, NUL and high bytes unchanged") << QByteArray(
        "\x0c\x1b\x45\x00\xff\xe9\r\n", 8) << false << QByteArray("\x0c\x1b\x45\x00\xff\xe9\r\n", 8);
}

void TestRawJob::framing()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, extraLine);
    QFETCH(QByteArray, expected);
    LineFramer framer(extraLine);
    QByteArray out;
    framer.feed(file.constData(), file.size(), out);
    framer.finishCopy(out);
    QCOMPARE(out, expected);
}

void TestRawJob::framingSurvivesAnySplit()
{
    // A CR LF cut between two reads is still one line end.
    const QByteArray file("a\r\nb\rc\n\r\nd\r");
    const QByteArray expected("a\r\n\r\nb\r\nc\n\r\nd\r\n");
    for (qsizetype cut = 0; cut <= file.size(); ++cut) {
        LineFramer framer(true);
        QByteArray out;
        framer.feed(file.constData(), cut, out);
        framer.feed(file.constData() + cut, file.size() - cut, out);
        framer.finishCopy(out);
        QVERIFY2(out == expected, qPrintable(QStringLiteral("cut at %1").arg(cut)));
    }
}

void TestRawJob::setupSequences_data()
{
    QTest::addColumn<bool>("draft");
    QTest::addColumn<bool>("ch12");
    QTest::addColumn<bool>("ch17");
    QTest::addColumn<int>("height");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("nothing ticked") << false << false << false << 6 << QByteArray("\x1bP\x1b\x43\x00\x06", 6);
    QTest::newRow("draft") << true << false << false << 6 << QByteArray("\x1bP\x1bx\x00\x1b\x43\x00\x06", 9);
    QTest::newRow("12 cpi") << false << true << false << 12
                            << QByteArray("\x1bP\x12\x1bW \x1bM\x1b\x43\x00\x0c", 12);
    QTest::newRow("17 cpi") << false << false << true << 0 << QByteArray("\x1bP\x0f\x1b\x43\x00\x00", 7);
    QTest::newRow("all, 12 before 17")
        << true << true << true << 255 << QByteArray("\x1bP\x1bx\x00\x12\x1bW \x1bM\x0f\x1b\x43\x00\xff", 16);
}

void TestRawJob::setupSequences()
{
    QFETCH(bool, draft);
    QFETCH(bool, ch12);
    QFETCH(bool, ch17);
    QFETCH(int, height);
    QFETCH(QByteArray, expected);
    QCOMPARE(::setupSequences(draft, ch12, ch17, quint8(height)), expected);
}

void TestRawJob::setupSequencesMatchSharedOnes()
{
    QCOMPARE(::setupSequences(false, true, true, 1).mid(2, 7), (C96On + CondOn).toLatin1());
}

void TestRawJob::job_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("copies");
    QTest::addColumn<bool>("extraLine");
    QTest::addColumn<QByteArray>("lines");

    const QByteArray three("1\r\n2\r\n3\r\n");
    QTest::newRow("one copy") << three << "1" << false << three;
    QTest::newRow("two copies") << three << "2" << false << three + three;
    QTest::newRow("copies text leading number") << three << "2 copies" << false << three + three;
    QTest::newRow("copies empty") << three << "" << false << QByteArray();
    QTest::newRow("copies 0") << three << "0" << false << QByteArray();
    QTest::newRow("copies negative") << three << "-3" << false << QByteArray();
    QTest::newRow("extra line, first copy only")
        << three << "2" << true << QByteArray("1\r\n\r\n2\r\n3\r\n1\r\n2\r\n3\r\n");
    QTest::newRow("unterminated last line, two copies")
        << QByteArray("a\r\nb") << "2" << false << QByteArray("a\r\nb\r\na\r\nb\r\n");
}

void TestRawJob::job()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, copies);
    QFETCH(bool, extraLine);
    QFETCH(QByteArray, lines);

    const QString path = TestSupport::writeFile(m_dir.filePath("sub/RANGE.prn"), file);
    RecordingSpooler spooler;
    RawPanelState panel;
    panel.copies = copies;
    panel.extraLine = extraLine;
    QVERIFY(PrintFile(spooler, path, "Recorder", 6, true, panel));
    QCOMPARE(spooler.bytes, ::setupSequences(true, false, false, 6) + lines);
    QCOMPARE(spooler.documentName, QString("RANGE.prn"));
    QCOMPARE(spooler.calls.first(), QString("open"));
    QCOMPARE(spooler.calls.at(1), QString("start"));
    QCOMPARE(spooler.calls.mid(spooler.calls.size() - 2), QStringList({"finish", "close"}));
    QVERIFY(MessageBox::shown().isEmpty());
}

void TestRawJob::emptyNameTakesCurrentPrinter()
{
    const QString path = TestSupport::writeFile(m_dir.filePath("d.prn"), "x\r\n");
    RecordingSpooler spooler;
    spooler.printers = QStringList {"First", "Second"};
    CurrentPrinter::setName("Second");
    QVERIFY(PrintFile(spooler, path, QString(), 6, false, RawPanelState()));
    CurrentPrinter::setName(QString());
    QCOMPARE(spooler.printerName(), QString("Second"));
}

void TestRawJob::writesAreBuffered()
{
    QByteArray file;
    for (int i = 0; i < 20000; ++i)
        file += "line " + QByteArray::number(i) + "\r\n";
    const QString path = TestSupport::writeFile(m_dir.filePath("long.prn"), file);
    RecordingSpooler spooler;
    RawPanelState panel;
    panel.copies = "3";
    QVERIFY(PrintFile(spooler, path, "Recorder", 6, false, panel));
    QCOMPARE(spooler.bytes, ::setupSequences(false, false, false, 6) + file + file + file);
    QVERIFY2(spooler.writes < 10, qPrintable(QString::number(spooler.writes)));
}

void TestRawJob::failures_data()
{
    QTest::addColumn<bool>("refuseStart");
    QTest::addColumn<int>("refuseWrite");
    QTest::addColumn<bool>("refuseFinish");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QStringList>("tail");
    QTest::newRow("document refused")
        << true << 0 << false << "not accepting jobs" << QStringList {"start", "close"};
    QTest::newRow("write refused") << false << 1 << false << "write refused"
                                   << QStringList {"write", "cancel", "close"};
    QTest::newRow("finish refused") << false << 0 << true << "document refused"
                                    << QStringList {"finish", "cancel", "close"};
}

void TestRawJob::failures()
{
    QFETCH(bool, refuseStart);
    QFETCH(int, refuseWrite);
    QFETCH(bool, refuseFinish);
    QFETCH(QString, description);
    QFETCH(QStringList, tail);

    const QString path = TestSupport::writeFile(m_dir.filePath("f.prn"), "x\r\n");
    RecordingSpooler spooler;
    spooler.refuseStart = refuseStart;
    spooler.refuseWriteNumber = refuseWrite;
    spooler.refuseFinish = refuseFinish;
    QVERIFY(!PrintFile(spooler, path, "Recorder", 6, false, RawPanelState()));
    QCOMPARE(spooler.calls.mid(spooler.calls.size() - tail.size()), tail);
    QCOMPARE(MessageBox::shown().size(), 1);
    const MessageBox::Record box = MessageBox::shown().first();
    QCOMPARE(box.title, QString("Printer Error Information"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QVERIFY2(box.text.startsWith("Procedure Name : PrintFile\nError number: "), qPrintable(box.text));
    QVERIFY(box.text.endsWith("\nDescription:  " + description));
}

void TestRawJob::refusedBeforeOpening_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("printer");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("calls");

    const QString missing = m_dir.filePath("no such.prn");
    QTest::newRow("missing file") << missing << "Recorder" << 6 << "File " + missing + " does not exists"
                                  << QStringList();
    QTest::newRow("unknown printer") << "f.prn"
                                     << "Nowhere 9" << 6 << "The Printer Name (Nowhere 9) wasn't recognized."
                                     << QStringList {"open", "close"};
    QTest::newRow("paper height 256")
        << "f.prn"
        << "Recorder" << 256 << "The paper height (256) must be a number of inches from 0 to 255."
        << QStringList();
    QTest::newRow("paper height -1") << "f.prn"
                                     << "Recorder" << -1
                                     << "The paper height (-1) must be a number of inches from 0 to 255."
                                     << QStringList();
}

void TestRawJob::refusedBeforeOpening()
{
    QFETCH(QString, file);
    QFETCH(QString, printer);
    QFETCH(int, height);
    QFETCH(QString, message);
    QFETCH(QStringList, calls);

    TestSupport::writeFile(m_dir.filePath("f.prn"), "x\r\n");
    const QString path = QFileInfo(file).isAbsolute() ? file : m_dir.filePath(file);
    RecordingSpooler spooler;
    QVERIFY(!PrintFile(spooler, path, printer, qint16(height), false, RawPanelState()));
    QCOMPARE(spooler.calls, calls);
    QVERIFY(spooler.bytes.isEmpty());
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().first().text, message);
    QCOMPARE(MessageBox::shown().first().title, QString("Printer Error Information"));
    QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Information);
}

void TestRawJob::parseFileName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("backslash") << "C:\\PROGRA~1\\STICK\\RANGE.prn"
                               << "RANGE.prn";
    QTest::newRow("slash") << "/home/u/.local/share/Sticker2/Currnt.prn"
                           << "Currnt.prn";
    QTest::newRow("mixed, last wins") << "a\\b/c\\d.prn"
                                      << "d.prn";
    QTest::newRow("no separator") << "Tz0.Tmp"
                                  << "Tz0.Tmp";
    QTest::newRow("trailing separator") << "/tmp/"
                                        << "";
}

void TestRawJob::parseFileName()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(ParseFileName11(path), name);
}

void TestRawJob::fileExists()
{
    QVERIFY(FileExists(TestSupport::writeFile(m_dir.filePath("e.prn"), "")));
    QVERIFY(FileExists(m_dir.path()));
    QVERIFY(!FileExists(m_dir.filePath("missing.prn")));
    QVERIFY(!FileExists(QString()));
}

void TestRawJob::errorWindow_data()
{
    QTest::addColumn<QString>("procedure");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shownTitle");
    QTest::newRow("label and title") << "Procedure Name : PrintFile"
                                     << "Printer Error Information"
                                     << "Procedure Name : PrintFile\r\nError number: 5\r\nError context: "
                                        "CUPS\r\nDescription:  gone"
                                     << "Printer Error Information";
    QTest::newRow("blank title") << "P"
                                 << "   "
                                 << "P\r\nError number: 5\r\nError context: CUPS\r\nDescription:  gone"
                                 << "Error Window";
    QTest::newRow("no label") << ""
                              << "T"
                              << "\r\nError number: 5\r\nError context: CUPS\r\nDescription:  gone"
                              << "T";
}

void TestRawJob::errorWindow()
{
    QFETCH(QString, procedure);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QString, shownTitle);
    QCOMPARE(ShowErrorWindow(procedure, title, RunTimeError {5, "CUPS", "gone"}), text);
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().first().title, shownTitle);
    QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Warning);
    QCOMPARE(MessageBox::shown().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    MessageBox::clearShown();
    QCOMPARE(ShowErrorWindow(procedure, title, RunTimeError()), QString());
    QVERIFY(MessageBox::shown().isEmpty());
}

QTEST_MAIN(TestRawJob)
#include "tst_rawjob.moc"
