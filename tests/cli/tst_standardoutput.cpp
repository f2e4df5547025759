// Standard output as `convert ... -` and `stickers -o -` write it: every
// failure reaches the status, also the last one, found only at the end.
#include "TestSupport.h"
#include "cli/StandardOutput.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

class TestStandardOutput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void finish_data()
    {
        QTest::addColumn<QString>("target");  // what standard output is
        QTest::addColumn<QString>("written"); // "device": through the device; "stdio": the C library's buffer
        QTest::addColumn<bool>("checked");    // the write's own result looked at
        QTest::addColumn<QString>("cause");   // empty: finish() succeeds
        QTest::newRow("all taken") << "/dev/null" << "device" << true << "";
        QTest::newRow("the C library's bytes taken") << "/dev/null" << "stdio" << true << "";
        QTest::newRow("a failed write, unchecked by its writer") << "/dev/full" << "device" << false << "No space left";
        QTest::newRow("the C library's bytes refused at the end") << "/dev/full" << "stdio" << false << "No space left";
    }

    void finish()
    {
        QFETCH(QString, target);
        QFETCH(QString, written);
        QFETCH(bool, checked);
        QFETCH(QString, cause);
        // Standard output is the test's log: it is put back before anything is said.
        std::fflush(stdout);
        const int saved = ::dup(STDOUT_FILENO);
        const int into = ::open(QFile::encodeName(target).constData(), O_WRONLY);
        QVERIFY(saved >= 0 && into >= 0);
        ::dup2(into, STDOUT_FILENO);
        ::close(into);
        bool opened = false;
        bool writeOk = true;
        bool finished = false;
        QString error;
        {
            StandardOutput out;
            opened = out.openOutput();
            if (written == "device")
                writeOk = out.write("a report line\r\n") == 15;
            else
                writeOk = std::fputs("a report line\r\n", stdout) >= 0;
            finished = out.finish();
            error = out.errorString();
        }
        std::clearerr(stdout);
        ::dup2(saved, STDOUT_FILENO);
        ::close(saved);
        QVERIFY(opened);
        if (checked)
            QVERIFY(writeOk);
        QCOMPARE(finished, cause.isEmpty());
        QVERIFY2(cause.isEmpty() || error.contains(cause), qPrintable(error));
    }

    // The program as a user runs it, its standard output full or closed:
    // the help and the version (the C library's bytes, checked at the end)
    // and a sheet or a conversion (checked as written) each fail with the
    // cause. A closed output is held for the run, so that no file the
    // program opens takes its place and receives the output.
    void programOutputFails_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("redirect");
        QTest::addColumn<QString>("cause");
        const QList<QStringList> runs {{"--version"}, {"--help"}, {"convert", "--help"}, {"stickers", "--slot", "1", "-o", "-"},
            {"stickers", "--slot", "1", "--codepage", "cp1252", "-o", "-"}, {"convert", "IN", "--to", "txt", "-"}};
        for (const QStringList &run : runs) {
            QTest::addRow("%s into /dev/full", qPrintable(run.join(' '))) << run << "> /dev/full" << "standard output: ";
            QTest::addRow("%s closed", qPrintable(run.join(' '))) << run << ">&-" << "standard output: Bad file descriptor";
        }
    }

    void programOutputFails()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, redirect);
        QFETCH(QString, cause);
        QTemporaryDir dir;
        const QString in = TestSupport::writeFile(dir.filePath("in.prn"), "a line of a report\r\n\f");
        arguments.replaceInStrings(QRegularExpression("^IN$"), in);
        const TestSupport::ProgramRun run = TestSupport::runProgram(
            QStringList {"-c", QStringLiteral("exec \"$0\" \"$@\" %1").arg(redirect), QStringLiteral(STICKER2_PROGRAM)}
                + arguments,
            QStringLiteral("sh"));
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.startsWith("sticker2: " + cause.toUtf8()) && run.err.count('\n') == 1, run.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestStandardOutput)
#include "tst_standardoutput.moc"
