// Printing a finished PDF on a queue of the private cupsd: the job arrives
// whole under its title; a queue that does not exist, one that refuses jobs
// and a print server that is gone or never answers are clear errors.
#include "CaptureQueue.h"
#include "TestSupport.h"
#include "delivery/PrintTo.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Runs one case of this test again in a process of its own whose CUPS_SERVER
// names `server` (libcups reads it once per process); returns its error.
QString errorWithServer(const QString &server, const QString &pdf)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CUPS_SERVER", server);
    env.insert("STICKER2_PRINTTO_FILE", pdf);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"printWithServerOfEnvironment"});
    if (!child.waitForFinished(150000))
        return "<the print did not end>";
    return QString::fromUtf8(child.readAllStandardError()).section("ERROR:", 1, 1).section('\n', 0, 0).trimmed();
}

} // namespace

class PrintToTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString pdf(const QByteArray &extra = QByteArray())
    {
        return TestSupport::writeFile(m_dir.filePath("job.pdf"), "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n" + extra + "%%EOF\n");
    }

private slots:
    void initTestCase()
    {
        TestSupport::init();
        QVERIFY(m_dir.isValid());
    }

    void printsTheFileWhole()
    {
        if (qEnvironmentVariable("STICKER2_CUPS_DIR").isEmpty())
            QSKIP("needs the private cupsd of the printing tests");
        QByteArray body;
        for (int i = 0; i < 300000; ++i)
            body += char(i % 251);
        const QString file = pdf(body);
        const CaptureQueue queue("Sticker2Raw");
        QString error;
        QVERIFY2(printFileTo("Sticker2Raw", file, "Invoice REI1042 for Müller", 1, &error), qPrintable(error));
        QCOMPARE(queue.next("Invoice REI1042 for Müller"), TestSupport::readFile(file));
        QCOMPARE(queue.copies("Invoice REI1042 for Müller"), QByteArray("1"));
        // The copies the printing user asked for (lp -n 3): one had printed.
        QVERIFY2(printFileTo("Sticker2Raw", file, "three copies", 3, &error), qPrintable(error));
        QCOMPARE(queue.next("three copies"), TestSupport::readFile(file));
        QCOMPARE(queue.copies("three copies"), QByteArray("3"));
    }

    void refusesClearly_data()
    {
        QTest::addColumn<QString>("queue");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("errorHas");
        QTest::newRow("no such queue") << "NoSuchQueue" << QString() << QStringList {"NoSuchQueue", "job.pdf"};
        QTest::newRow("queue refuses jobs") << "Sticker2Closed" << QString() << QStringList {"Sticker2Closed", "accept"};
        QTest::newRow("no queue named") << "" << QString() << QStringList {"no print queue"};
        QTest::newRow("missing file") << "Sticker2Raw" << "missing.pdf" << QStringList {"missing.pdf", "No such file"};
        QTest::newRow("a folder") << "Sticker2Raw" << "." << QStringList {"not a regular file"};
    }

    void refusesClearly()
    {
        QFETCH(QString, queue);
        QFETCH(QString, file);
        QFETCH(QStringList, errorHas);
        if (qEnvironmentVariable("STICKER2_CUPS_DIR").isEmpty())
            QSKIP("needs the private cupsd of the printing tests");
        QString error;
        QVERIFY(!printFileTo(queue, file.isEmpty() ? pdf() : m_dir.filePath(file), "refused", 1, &error));
        for (const QString &part : errorHas)
            QVERIFY2(error.contains(part, Qt::CaseInsensitive), qPrintable(error));
    }

    // A server that is not there, and one that takes the connection and
    // never answers: both fail with the queue named, the latter within the
    // minute the server is given.
    void serverThatDoesNotAnswer()
    {
        // Sockets live in a short folder: a path inside a deep build tree
        // passes the kernel's 107-byte limit for a socket's name.
        const auto sockets = TestSupport::socketFolder();
        QVERIFY(sockets);
        QCOMPARE(errorWithServer(sockets->filePath("none.sock"), pdf()).contains("Sticker2Raw"), true);
        const QString none = errorWithServer(sockets->filePath("none.sock"), pdf());
        QVERIFY2(none.contains("does not answer", Qt::CaseInsensitive), qPrintable(none));

        const QString socket = sockets->filePath("mute.sock");
        QProcess mute;
        mute.start("/usr/bin/python3",
            {"-c", "import socket, sys, time\ns = socket.socket(socket.AF_UNIX)\ns.bind(sys.argv[1])\ns.listen(8)\n"
                   "print('ready', flush=True)\ntime.sleep(300)\n",
                socket});
        QVERIFY(mute.waitForReadyRead(30000));
        QElapsedTimer took;
        took.start();
        const QString error = errorWithServer(socket, pdf());
        mute.kill();
        mute.waitForFinished();
        QVERIFY2(error.contains("did not answer") && error.contains("Sticker2Raw"), qPrintable(error));
        QVERIFY(took.elapsed() < 120000);
    }

    // The case the test above runs in a process of its own.
    void printWithServerOfEnvironment()
    {
        const QString file = qEnvironmentVariable("STICKER2_PRINTTO_FILE");
        if (file.isEmpty())
            QSKIP("run by serverThatDoesNotAnswer");
        QString error;
        QVERIFY(!printFileTo("Sticker2Raw", file, "mute", 1, &error));
        std::fprintf(stderr, "ERROR: %s\n", qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(PrintToTest)
#include "tst_cupsprintto.moc"
