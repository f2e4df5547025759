#include "RecordingSpooler.h"
#include "WindowSupport.h"
#include "printing/LineFramer.h"
#include "gui/platform/MessageBox.h"
#include "gui/printing/RawPrintMessages.h"
#include "printing/RawPrinting.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// The raw job on the engine, recorded instead of spooled: line framing, the
// paper height, copies and the job's edges. The bytes that reach a real queue,
// and the messages the windows show, are checked with the private cupsd in
// tst_cupsprint.
class TestRawJob : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::initWindows(); }

    void framing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("extraLine");
        QTest::addColumn<QByteArray>("expected");
        const auto row
            = [](const char *name, const QByteArray &file, bool extra, const QByteArray &expected) {
                  QTest::newRow(name) << file << extra << expected;
              };
        row("CR LF lines pass", "ab\r\ncd\r\n", false, "ab\r\ncd\r\n");
        row("lone CR goes out as it is", "ab\rcd\r", false, "ab\rcd\r");
        row("lone LF stays in the line", "ab\ncd\n", false, "ab\ncd\n");
        row("a last lone LF ends the file as it is", "ab\r\ncd\n", false, "ab\r\ncd\n");
        row("a last form feed is a last line, ended as any line", "ab\r\n\f", false, "ab\r\n\f\r\n");
        row("a lone LF inside a last line", "ab\ncd", false, "ab\ncd\r\n");
        row("last line without end", "ab\r\ncd", false, "ab\r\ncd\r\n");
        row("empty file", "", false, "");
        row("empty lines", "\r\n\r\r\n", false, "\r\n\r\r\n");
        row("CR CR LF is two lines", "a\r\r\nb", false, "a\r\r\nb\r\n");
        row("extra line after the first only", "one\r\ntwo\rthree", true, "one\r\n\r\ntwo\rthree\r\n");
        row("overprint then a line end", "ab\r__\r\n", false, "ab\r__\r\n");
        const QByteArray bytes("\x0c\x1b\x45\x00\xff\r\n", 7);
        row("form feeds, NUL and high bytes unchanged", bytes, false, bytes);
    }

    void framing()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, extraLine);
        QFETCH(QByteArray, expected);
        // The file arrives in reads of any size: a CR LF cut between two reads is still one line end.
        for (qsizetype cut = 0; cut <= file.size(); ++cut) {
            LineFramer framer(extraLine);
            QByteArray out;
            framer.feed(file.constData(), cut, out);
            framer.feed(file.constData() + cut, file.size() - cut, out);
            framer.finishCopy(out);
            QVERIFY2(
                out == expected, qPrintable(QString("cut at %1: %2").arg(cut).arg(out.toPercentEncoding())));
        }
    }

    void job_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("copies");
        QTest::addColumn<int>("repeats");
        const QByteArray three("1\r\n2\r\n3\r\n");
        QTest::newRow("copies text with a leading number") << three << "2 copies" << 2;
        QTest::newRow("copies empty") << three << "" << 0;
        // Longer than one read and one write: still whole, in a few writes.
        QByteArray longFile;
        for (int i = 0; i < 20000; ++i)
            longFile += "line " + QByteArray::number(i) + "\r\n";
        QTest::newRow("long file, three copies") << longFile << "3" << 3;
    }

    void job()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, copies);
        QFETCH(int, repeats);
        const QString path = TestSupport::writeFile(m_dir.filePath("sub\\RANGE.prn"), file);
        RecordingSpooler spooler;
        RawJobOptions options;
        options.paperHeight = 6;
        options.panel.copies = copies;
        RawJobFailure failure;
        QVERIFY(sendRawJob(spooler, path, options, &failure));
        QCOMPARE(failure.kind, RawJobFailure::None);
        QCOMPARE(spooler.bytes, QByteArray("\x1bP\x1bx\x00\x1b\x43\x00\x06", 9) + file.repeated(repeats));
        QCOMPARE(spooler.documentName, QString("RANGE.prn")); // a backslash cuts the name too
        QCOMPARE(spooler.calls.mid(0, 2), QStringList({"open", "start"}));
        QCOMPARE(spooler.calls.mid(spooler.calls.size() - 2), QStringList({"finish", "close"}));
        QVERIFY2(spooler.writes < 10, qPrintable(QString::number(spooler.writes)));
    }

    void refusals_data()
    {
        // The step the spooler refuses, the calls it got and the spooler's words. An unknown printer and a
        // refused paper height never reach a queue: tst_cupsprint's refused.
        QTest::addColumn<QString>("refuse");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("ending");
        QTest::newRow("start") << "start" << QStringList {"open", "start", "close"} << "not accepting jobs";
        QTest::newRow("write") << "write" << QStringList {"open", "start", "write", "cancel", "close"}
                               << "write refused";
        QTest::newRow("finish") << "finish" << QStringList {"open", "start", "write", "finish", "cancel", "close"}
                                << "document refused";
    }

    void refusals()
    {
        QFETCH(QString, refuse);
        QFETCH(QStringList, calls);
        QFETCH(QString, ending);
        const QString path = TestSupport::writeFile(m_dir.filePath("f.prn"), "x\r\n");
        RecordingSpooler spooler;
        spooler.refuseStart = refuse == "start";
        spooler.refuseWriteNumber = refuse == "write" ? 1 : 0;
        spooler.refuseFinish = refuse == "finish";
        RawJobOptions options;
        options.printerName = "Recorder";
        options.paperHeight = 6;
        RawJobFailure failure;
        QVERIFY(!sendRawJob(spooler, path, options, &failure));
        QCOMPARE(spooler.calls, calls);
        QCOMPARE(failure.kind, RawJobFailure::RunTime);
        // A cancelled job: the message names the file and gives the spooler's words.
        QVERIFY2(failure.message.endsWith(ending) && failure.message.contains(path), qPrintable(failure.message));
        QCOMPARE(failure.error.description, ending);
    }

    // The file cut short or written anew while it goes out, in the first
    // copy or between copies: the job is dropped, so nothing of it prints.
    void changedWhileSent_data()
    {
        QTest::addColumn<QString>("copies");
        QTest::addColumn<int>("changeAt"); // the progress call that rewrites the file (1-based)
        QTest::addColumn<bool>("replaced"); // a new file renamed over it rather than written in place
        QTest::newRow("cut short in the first copy") << "1" << 1 << false;
        QTest::newRow("cut short in the second copy") << "2" << 3 << false;
        // The first copy reads the old file to its end; the second would read the new one.
        QTest::newRow("replaced between copies") << "2" << 2 << true;
    }

    void changedWhileSent()
    {
        QFETCH(QString, copies);
        QFETCH(int, changeAt);
        QFETCH(bool, replaced);
        const QString path = TestSupport::writeFile(m_dir.filePath("rewritten.prn"),
            QByteArray("a line of the old report\r\n").repeated(20000)); // two reads of 256 KB
        RecordingSpooler spooler;
        RawJobOptions options;
        options.panel.copies = copies;
        int calls = 0;
        options.progress = [&](qint64, qint64) {
            if (++calls != changeAt)
                return;
            if (replaced)
                TestSupport::replaceFile(path, "new\r\n");
            else
                TestSupport::writeFile(path, "new\r\n");
        };
        RawJobFailure failure;
        QVERIFY(!sendRawJob(spooler, path, options, &failure));
        QCOMPARE(failure.kind, RawJobFailure::Changed);
        QVERIFY2(failure.message.contains("changed while it was being read") && failure.message.contains(path),
            qPrintable(failure.message));
        QVERIFY(spooler.calls.contains("cancel"));
        QVERIFY(!spooler.calls.contains("finish"));
    }

    void silentSpooler()
    {
        // A print server that takes the connection and then nothing more;
        // the user cancels the wait.
        const auto folder = TestSupport::socketFolder();
        const QByteArray path = QFile::encodeName(folder->filePath("silent.sock"));
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
        QTimer::singleShot(1500, [] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (auto *progress = qobject_cast<QProgressDialog *>(w))
                    progress->cancel();
            }
        });
        const QString file = TestSupport::writeFile(m_dir.filePath("job.prn"), "line\r\n");
        const bool printed = PrintFile(file, "Office", 6, true, RawPanelState());
        qputenv("CUPS_SERVER", before);
        ::close(server);
        QVERIFY(!printed);
        QVERIFY(ticks > 5);
        QCOMPARE(MessageBox::shown().size(), 0); // a cancel ends the wait at once and silently
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestRawJob)
#include "tst_rawjob.moc"
