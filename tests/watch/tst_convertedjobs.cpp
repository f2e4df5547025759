// What marks a job of the converting watch as converted: its line in the
// output folder's record, or (outputs of an earlier version, no record) an
// output of its name newer than the job.
#include "TestSupport.h"
#include "watch/ConvertedJobs.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestConvertedJobs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void converted_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("output"); // the output there, "" for none
        QTest::addColumn<int>("outputAge");  // seconds from the job's time
        QTest::addColumn<bool>("recorded");
        QTest::addColumn<QString>("afterwards"); // what became of the job since: "", "rewritten", "touched"
        QTest::addColumn<bool>("converted");
        QTest::newRow("nothing") << "pdf" << "" << 0 << false << "" << false;
        QTest::newRow("an output newer than the job") << "pdf" << "job.pdf" << 60 << false << "" << true;
        QTest::newRow("an output as old as the job") << "pdf" << "job.pdf" << 0 << false << "" << true;
        QTest::newRow("an output older than the job") << "pdf" << "job.pdf" << -60 << false << "" << false;
        QTest::newRow("an output of another format") << "html" << "job.pdf" << 60 << false << "" << false;
        QTest::newRow("pictures newer than the job") << "png" << "job-001.png" << 60 << false << "" << true;
        QTest::newRow("a thousand pictures newer than the job") << "png" << "job-0001.png" << 60 << false << ""
                                                                << true;
        QTest::newRow("a picture's name without its number") << "png" << "job.png" << 60 << false << "" << false;
        QTest::newRow("recorded, its output gone") << "pdf" << "" << 0 << true << "" << true;
        QTest::newRow("recorded, its output older") << "pdf" << "job.pdf" << -60 << true << "" << true;
        QTest::newRow("recorded, then written anew") << "pdf" << "" << 0 << true << "rewritten" << false;
        QTest::newRow("recorded, then its time changed") << "pdf" << "" << 0 << true << "touched" << false;
    }

    void converted()
    {
        QFETCH(QString, extension);
        QFETCH(QString, output);
        QFETCH(int, outputAge);
        QFETCH(bool, recorded);
        QFETCH(QString, afterwards);
        QFETCH(bool, converted);
        QTemporaryDir dir;
        const QString out = dir.filePath("out");
        QVERIFY(QDir().mkpath(out));
        const QString job = TestSupport::writeFile(dir.filePath("spool/job.prn"), "report\r\n");
        TestSupport::setModified(job, -3600);
        if (!output.isEmpty()) {
            TestSupport::writeFile(out + "/" + output, "converted");
            TestSupport::setModified(out + "/" + output, -3600 + outputAge);
        }
        if (recorded) {
            ConvertedJobs record(out);
            QString error;
            QVERIFY2(record.add(job, &error), qPrintable(error));
        }
        if (afterwards == "rewritten") {
            TestSupport::writeFile(job, "another report\r\n");
            TestSupport::setModified(job, -3600);
        } else if (afterwards == "touched") {
            TestSupport::setModified(job, -1800);
        }
        // The record as a new start of the watch reads it.
        QCOMPARE(ConvertedJobs(out).contains(job, "job." + extension), converted);
    }

    // The marks beside the converted jobs: the last line of a job counts,
    // "retry" takes a mark back, and a watch with rules goes by the record
    // alone (a PDF of the job's name may be one whose actions never ran).
    void marks_data()
    {
        QTest::addColumn<QStringList>("marks"); // acting, failed, retry, converted, in this order
        QTest::addColumn<bool>("outputsCount");
        QTest::addColumn<int>("state");
        using State = ConvertedJobs::State;
        QTest::newRow("none") << QStringList() << true << int(State::New);
        QTest::newRow("acting") << QStringList {"acting"} << true << int(State::Acting);
        QTest::newRow("acting, then converted") << QStringList {"acting", "converted"} << true << int(State::Converted);
        QTest::newRow("acting, then failed") << QStringList {"acting", "retry", "failed"} << true << int(State::Failed);
        QTest::newRow("acting, then taken back") << QStringList {"acting", "retry"} << false << int(State::New);
        QTest::newRow("failed, then taken back") << QStringList {"failed", "retry"} << false << int(State::New);
        QTest::newRow("an output, without rules") << QStringList {"output"} << true << int(State::Converted);
        QTest::newRow("an output, with rules") << QStringList {"output"} << false << int(State::New);
    }
    void marks()
    {
        QFETCH(QStringList, marks);
        QFETCH(bool, outputsCount);
        QFETCH(int, state);
        QTemporaryDir dir;
        const QString out = dir.filePath("out");
        QVERIFY(QDir().mkpath(out));
        const QString job = TestSupport::writeFile(dir.filePath("spool/job 1.prn"), "report\r\n");
        TestSupport::setModified(job, -3600);
        for (const QString &mark : marks) {
            if (mark == "output") {
                TestSupport::writeFile(out + "/job 1.pdf", "converted");
                continue;
            }
            const ConvertedJobs::State to = mark == "acting" ? ConvertedJobs::State::Acting
                : mark == "failed"                            ? ConvertedJobs::State::Failed
                : mark == "retry"                             ? ConvertedJobs::State::New
                                                              : ConvertedJobs::State::Converted;
            // Each mark by a watch of its own, as starts one after the other.
            ConvertedJobs record(out);
            QString error;
            QVERIFY2(record.mark(job, to, &error), qPrintable(error));
            QCOMPARE(int(record.state(job, "job 1.pdf", outputsCount)), int(to));
        }
        QCOMPARE(int(ConvertedJobs(out).state(job, "job 1.pdf", outputsCount)), state);
        // Another job of the same name written anew is a new job.
        TestSupport::writeFile(job, "another report\r\n");
        QCOMPARE(int(ConvertedJobs(out).state(job, "job 1.pdf", false)), int(ConvertedJobs::State::New));
    }

    // A job whose name holds a line end (a title can) is recorded as any
    // other, on one line; one taken out of the spool before its mark is said
    // to be gone, not blamed on the record.
    void oddJobs()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath("out");
        QVERIFY(QDir().mkpath(out));
        const QString job = TestSupport::writeFile(dir.filePath("bad\nname.prn"), "report\r\n");
        QString error;
        QVERIFY2(ConvertedJobs(out).add(job, &error), qPrintable(error));
        QVERIFY(ConvertedJobs(out).contains(job, "pdf"));
        QCOMPARE(TestSupport::readFile(out + "/" + ConvertedJobs::FileName).count('\n'), 1);
        QVERIFY(QFile::remove(job));
        QVERIFY(!ConvertedJobs(out).add(job, &error));
        QCOMPARE(error, job + ": the job is no longer there");
    }

    // A line a crash cut short costs that job alone: the next line still counts.
    void cutLine()
    {
        QTemporaryDir dir;
        const QString first = TestSupport::writeFile(dir.filePath("a.prn"), "a\r\n");
        const QString second = TestSupport::writeFile(dir.filePath("b.prn"), "b\r\n");
        TestSupport::writeFile(dir.filePath(ConvertedJobs::FileName), "8 1700000000.000000000 a.p");
        QString error;
        QVERIFY2(ConvertedJobs(dir.path()).add(second, &error), qPrintable(error));
        const ConvertedJobs record(dir.path());
        QVERIFY(record.contains(second, "pdf"));
        QVERIFY(!record.contains(first, "pdf"));
    }
};

QTEST_GUILESS_MAIN(TestConvertedJobs)
#include "tst_convertedjobs.moc"
