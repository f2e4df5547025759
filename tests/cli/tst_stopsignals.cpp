// A conversion stopped by a signal (Ctrl+C, systemctl stop, a closed
// terminal) as a user stops the real program: it ends by the signal, and
// the hidden files of the pictures it was writing go with it, while the
// pictures of an earlier conversion stay as they were.
#include "TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class TestStopSignals : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void picturesUnderWay_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGINT (Ctrl+C)") << int(SIGINT);
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }

    void picturesUnderWay()
    {
        QFETCH(int, signal);
        QTemporaryDir dir;
        QByteArray report;
        for (int i = 0; i < 300000; ++i)
            report += "a line of a long report " + QByteArray::number(i) + "\r\n" + (i % 60 == 59 ? "\f" : "");
        const QString in = TestSupport::writeFile(dir.filePath("report.prn"), report);
        const QString earlier = TestSupport::writeFile(dir.filePath("o-0001.png"), "an earlier picture");
        QProcess run;
        TestSupport::startProgram(run, {"convert", in, dir.filePath("o.png"), "--dpi", "30"});
        QVERIFY(run.waitForStarted());
        const auto hidden = [&dir] { return QDir(dir.path()).entryList({".*.part"}, QDir::Files | QDir::Hidden); };
        QTRY_VERIFY_WITH_TIMEOUT(hidden().size() > 10, 60000); // pictures under way
        ::kill(pid_t(run.processId()), signal);
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.exitStatus(), QProcess::CrashExit); // ended by the signal, as the shell expects
        QCOMPARE(hidden(), QStringList());
        QCOMPARE(TestSupport::readFile(earlier), QByteArray("an earlier picture"));
    }

    // A PDF stopped on its way, by a stop or outright: no copy of the job
    // stays in the temporary folder (its second pass had read a named file,
    // which a killed conversion left behind).
    void pdfUnderWay_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGKILL") << int(SIGKILL);
    }

    void pdfUnderWay()
    {
        QFETCH(int, signal);
        QTemporaryDir dir;
        const QString temporary = dir.filePath("tmp");
        QVERIFY(QDir().mkpath(temporary));
        QByteArray report;
        for (int i = 0; i < 300000; ++i)
            report += "a line of a long report " + QByteArray::number(i) + "\r\n" + (i % 60 == 59 ? "\f" : "");
        const QString in = TestSupport::writeFile(dir.filePath("report.prn"), report);
        QProcess run;
        TestSupport::startProgram(run, {"convert", in, dir.filePath("o.pdf")}, {{"TMPDIR", temporary}});
        QVERIFY(run.waitForStarted());
        // The second pass under way: it reads the first pass's file, open
        // twice then, or named in the folder.
        const QByteArray fds = QStringLiteral("/proc/%1/fd/").arg(run.processId()).toLocal8Bit();
        const auto secondPass = [&] {
            int open = 0;
            for (int fd = 3; fd < 64; ++fd) {
                char target[4096];
                const ssize_t length = ::readlink((fds + QByteArray::number(fd)).constData(), target, sizeof target);
                open += length > 0 && QString::fromLocal8Bit(target, length).startsWith(temporary);
            }
            return open >= 2 || !QDir(temporary).entryList({"sticker2-*"}, QDir::Files).isEmpty();
        };
        QTRY_VERIFY_WITH_TIMEOUT(secondPass(), 60000);
        ::kill(pid_t(run.processId()), signal);
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.exitStatus(), QProcess::CrashExit);
        QCOMPARE(QDir(temporary).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestStopSignals)
#include "tst_stopsignals.moc"
