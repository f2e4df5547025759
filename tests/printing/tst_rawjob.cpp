#include "RecordingSpooler.h"
#include "TestSupport.h"
#include "gui/platform/MessageBox.h"
#include "printing/LineFramer.h"
#include "gui/printing/RawPrintMessages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// The raw byte stream of a character-mode print, recorded instead of spooled:
// line framing and the job's edges. The bytes that reach a real queue are
// checked against the private cupsd in tst_cupsprint.
class TestRawJob : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void init() { MessageBox::clearShown(); }

    void framing_data();
    void framing();
    void job_data();
    void job();
    void refusals_data();
    void refusals();
    void silentSpooler_data();
    void silentSpooler();

private:
    QTemporaryDir m_dir;
};

void TestRawJob::framing_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("extraLine");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("CR LF lines pass") << QByteArray("ab\r\ncd\r\n") << false << QByteArray("ab\r\ncd\r\n");
    QTest::newRow("lone CR ends a line") << QByteArray("ab\rcd\r") << false << QByteArray("ab\r\ncd\r\n");
    QTest::newRow("lone LF stays in the line")
        << QByteArray("ab\ncd\n") << false << QByteArray("ab\ncd\n\r\n");
    QTest::newRow("last line without end") << QByteArray("ab\r\ncd") << false << QByteArray("ab\r\ncd\r\n");
    QTest::newRow("empty file") << QByteArray() << false << QByteArray();
    QTest::newRow("empty file, extra line") << QByteArray() << true << QByteArray();
    QTest::newRow("empty lines") << QByteArray("\r\n\r\r\n") << false << QByteArray("\r\n\r\n\r\n");
    QTest::newRow("LF CR: LF kept, CR ends") << QByteArray("a\n\rb") << false << QByteArray("a\n\r\nb\r\n");
    QTest::newRow("CR CR LF is two lines") << QByteArray("a\r\r\nb") << false << QByteArray("a\r\n\r\nb\r\n");
    QTest::newRow("extra line after the first only")
        << QByteArray("one\r\ntwo\rthree") << true << QByteArray("one\r\n\r\ntwo\r\nthree\r\n");
    QTest::newRow("extra line, one unterminated line") << QByteArray("x") << true << QByteArray("x\r\n\r\n");
    QTest::newRow("form feeds, NUL and high bytes unchanged")
        << QByteArray("\x0c\x1b\x45\x00\xff\r\n", 7) << false << QByteArray("\x0c\x1b\x45\x00\xff\r\n", 7);
}

void TestRawJob::framing()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, extraLine);
    QFETCH(QByteArray, expected);
    // The file arrives in reads of any size: a CR LF cut between two reads
    // is still one line end.
    for (qsizetype cut = 0; cut <= file.size(); ++cut) {
        LineFramer framer(extraLine);
        QByteArray out;
        framer.feed(file.constData(), cut, out);
        framer.feed(file.constData() + cut, file.size() - cut, out);
        framer.finishCopy(out);
        QVERIFY2(out == expected,
            qPrintable(QStringLiteral("cut at %1: %2").arg(cut).arg(out.toPercentEncoding())));
    }
}

void TestRawJob::job_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("copies");
    QTest::addColumn<QByteArray>("lines");
    const QByteArray three("1\r\n2\r\n3\r\n");
    QTest::newRow("copies text with a leading number") << three << "2 copies" << three + three;
    QTest::newRow("copies 3.9 is three") << three << "3.9" << three + three + three;
    QTest::newRow("copies empty") << three << "" << QByteArray();
    QTest::newRow("copies negative") << three << "-3" << QByteArray();
    QTest::newRow("unterminated last line, two copies")
        << QByteArray("a\r\nb") << "2" << QByteArray("a\r\nb\r\na\r\nb\r\n");
    // Longer than one read and one write: still whole, in a few writes.
    QByteArray longFile;
    for (int i = 0; i < 20000; ++i)
        longFile += "line " + QByteArray::number(i) + "\r\n";
    QTest::newRow("long file, three copies") << longFile << "3" << longFile + longFile + longFile;
}

void TestRawJob::job()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, copies);
    QFETCH(QByteArray, lines);
    const QString path = TestSupport::writeFile(m_dir.filePath("sub\\RANGE.prn"), file);
    RecordingSpooler spooler;
    RawPanelState panel;
    panel.copies = copies;
    QVERIFY(PrintFile(spooler, path, "Recorder", 6, true, panel));
    QCOMPARE(spooler.bytes, QByteArray("\x1bP\x1bx\x00\x1b\x43\x00\x06", 9) + lines);
    QCOMPARE(spooler.documentName, QString("RANGE.prn")); // a backslash cuts the name too
    QCOMPARE(spooler.calls.mid(0, 2), QStringList({"open", "start"}));
    QCOMPARE(spooler.calls.mid(spooler.calls.size() - 2), QStringList({"finish", "close"}));
    QVERIFY2(spooler.writes < 10, qPrintable(QString::number(spooler.writes)));
    QVERIFY(MessageBox::shown().isEmpty());
}

void TestRawJob::refusals_data()
{
    // The step the spooler refuses ("height": a paper height it never sees),
    // the calls it got, and how the message ends.
    QTest::addColumn<QString>("refuse");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("ending");
    QTest::newRow("document refused")
        << "start" << QStringList {"open", "start", "close"} << "\nDescription:  not accepting jobs";
    QTest::newRow("write refused: cancelled")
        << "write" << QStringList {"open", "start", "write", "cancel", "close"}
        << "\nDescription:  write refused";
    QTest::newRow("finish refused: cancelled")
        << "finish" << QStringList {"open", "start", "write", "finish", "cancel", "close"}
        << "\nDescription:  document refused";
    QTest::newRow("paper height 256: nothing opened")
        << "height" << QStringList() << "The paper height (256) must be a number of inches from 0 to 255.";
}

void TestRawJob::refusals()
{
    QFETCH(QString, refuse);
    QFETCH(QStringList, calls);
    QFETCH(QString, ending);
    const QString path = TestSupport::writeFile(m_dir.filePath("f.prn"), "x\r\n");
    RecordingSpooler spooler;
    spooler.refuseStart = refuse == "start";
    spooler.refuseWriteNumber = refuse == "write" ? 1 : 0;
    spooler.refuseFinish = refuse == "finish";
    QVERIFY(!PrintFile(spooler, path, "Recorder", refuse == "height" ? 256 : 6, false, RawPanelState()));
    QCOMPARE(spooler.calls, calls);
    QCOMPARE(MessageBox::shown().size(), 1);
    const MessageBox::Record box = MessageBox::shown().first();
    QCOMPARE(box.title, QString("Printer Error Information"));
    QVERIFY2(box.text.endsWith(ending), qPrintable(box.text));
    if (refuse != "height") {
        QCOMPARE(box.icon, QMessageBox::Warning);
        QVERIFY2(box.text.startsWith("Procedure Name : PrintFile\nError number: "), qPrintable(box.text));
    }
}

void TestRawJob::silentSpooler_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("cancelled by the user") << true;
    QTest::newRow("timed out after 30 s") << false;
}

void TestRawJob::silentSpooler()
{
    // A print server that takes the connection and then nothing more.
    QFETCH(bool, cancel);
    const QByteArray path = QFile::encodeName(m_dir.filePath("silent.sock"));
    ::unlink(path.constData());
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
    QVERIFY(::bind(server, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
    QVERIFY(::listen(server, 4) == 0);
    const QByteArray before = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", path);

    int ticks = 0; // the window keeps answering while the job waits
    QTimer tick;
    connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
    tick.start(100);
    if (cancel) {
        QTimer::singleShot(1500, [] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (auto *progress = qobject_cast<QProgressDialog *>(w))
                    progress->cancel();
            }
        });
    }
    QElapsedTimer clock;
    clock.start();
    const QString file = TestSupport::writeFile(m_dir.filePath("job.prn"), "line\r\n");
    const bool printed = PrintFile(file, "Office", 6, true, RawPanelState());
    qputenv("CUPS_SERVER", before);
    ::close(server);
    QVERIFY(!printed);
    QVERIFY(ticks > 5);
    if (cancel) {
        QVERIFY(clock.elapsed() < 10000);
        QCOMPARE(MessageBox::shown().size(), 0);
    } else {
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY2(MessageBox::shown().first().text.contains("took nothing for 30 seconds"),
            qPrintable(MessageBox::shown().first().text));
    }
}

QTEST_MAIN(TestRawJob)
#include "tst_rawjob.moc"
