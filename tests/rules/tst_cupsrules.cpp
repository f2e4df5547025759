#include "TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <pwd.h>
#include <unistd.h>

// A job printed through the private daemon's capture queue with `lp -t
// TITLE`: the backend records its user, title and queue, and the watch's
// rules file it by them.
class TstCupsRules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void jobFiledByTitleAndUser();
    void checkNamesUnknownQueues();
};

void TstCupsRules::jobFiledByTitleAndUser()
{
    QVERIFY(TestSupport::cupsdRunning());
    const QString spool = qEnvironmentVariable("STICKER2_CUPS_DIR") + "/rules-spool";
    QDir(spool).removeRecursively();
    QVERIFY(QDir().mkpath(spool));
    QVERIFY(QFile::setPermissions(spool, QFileDevice::Permissions(0x7777))); // the backend runs as lp
    QCOMPARE(TestSupport::runProgram({ "capture", "add", "--name", "Sticker2Rules", "--folder", spool }).status, 0);
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    const QString rules = TestSupport::writeFile(dir.filePath("rules.conf"),
        "[Monthly]\nqueue = sticker2rules\ntitle = Monats*\nmatch = Summe +(?<sum>[\\d,]+)\n"
        "name = {title} {user} {sum}.pdf\nfolder = filed\n"
        "[Loop]\ntitle = Loop*\nprint-to = Sticker2Rules\n[Round]\ntitle = Round*\nprint-to = Sticker2Round\n");
    // A rule printing on the capture queue itself, or on a class that holds
    // it, would send each PDF round again, larger each time: said by the
    // check, refused by the watch.
    QCOMPARE(QProcess::execute("lpadmin", { "-p", "Sticker2Rules", "-c", "Sticker2Round" }), 0);
    const auto noClass = qScopeGuard([] { QProcess::execute("lpadmin", { "-x", "Sticker2Round" }); });
    const TestSupport::ProgramRun check = TestSupport::runProgram({ "rules", "check", rules });
    QCOMPARE(check.status, 0);
    QVERIFY2(check.err.contains(":9: note: rule [Loop] prints to Sticker2Rules, a capture queue"), check.err.constData());
    QVERIFY2(check.err.contains(":12: note: rule [Round] prints to Sticker2Round, a capture queue"), check.err.constData());
    const QString job = TestSupport::writeFile(dir.filePath("job.prn"), "\x1b@Monatsbericht\r\nSumme 1234,50\r\n\f");
    QProcess watch;
    TestSupport::startProgram(watch, { "watch", spool, "--convert", "pdf", "--out", out, "--move", "--rules", rules });
    QVERIFY(watch.waitForStarted());
    QCOMPARE(QProcess::execute("lp", { "-s", "-d", "Sticker2Rules", "-t", "Monatsbericht 11/2026", job }), 0);
    const QString user = QString::fromLocal8Bit(getpwuid(getuid())->pw_name);
    const QString filed = dir.filePath("filed/Monatsbericht 11_2026 " + user + " 1234,50.pdf");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(filed), 60000);
    QVERIFY(TestSupport::pdfText(filed).contains("Monatsbericht"));
    QVERIFY(TestSupport::pdfIsValid(filed));
    QTRY_COMPARE_WITH_TIMEOUT(QDir(out + "/done").entryList(QDir::Files | QDir::Hidden).size(), 2, 20000);
    QCOMPARE(QProcess::execute("lp", { "-s", "-d", "Sticker2Rules", "-t", "Loop 1", job }), 0);
    QTRY_COMPARE_WITH_TIMEOUT(QDir(out + "/failed").entryList({ "*.log" }).size(), 1, 60000);
    const QString log = QString::fromUtf8(
        TestSupport::readFile(out + "/failed/" + QDir(out + "/failed").entryList({ "*.log" }).first()));
    QVERIFY2(log.contains("cannot print it on Sticker2Rules: it is a capture queue"), qPrintable(log));
    watch.terminate();
    QVERIFY(watch.waitForFinished(10000));
    TestSupport::runProgram({ "capture", "remove", "Sticker2Rules" });
}

// rules check asks the print server for the queues the rules print to: an
// unknown one is a note (it may be added later), a known one passes in any
// case, as CUPS takes it.
void TstCupsRules::checkNamesUnknownQueues()
{
    QVERIFY(TestSupport::cupsdRunning());
    QTemporaryDir dir;
    const QString rules = TestSupport::writeFile(dir.filePath("rules.conf"),
        "[Known]\nmatch = A\nprint-to = sticker2raw\n[Unknown]\nmatch = B\nprint-to = NoSuchQueue\n");
    const TestSupport::ProgramRun run = TestSupport::runProgram({ "rules", "check", rules });
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, (rules + ": 2 rules, no faults\n").toUtf8());
    QCOMPARE(QString::fromUtf8(run.err),
        rules + ":6: note: rule [Unknown] prints to NoSuchQueue, which the print server does not know\n");
    // A queue that does not accept jobs now (cupsreject) is said too.
    QCOMPARE(QProcess::execute("cupsreject", { "sticker2raw" }), 0);
    const auto accepting = qScopeGuard([] { QProcess::execute("cupsaccept", { "sticker2raw" }); });
    const TestSupport::ProgramRun refusing = TestSupport::runProgram({ "rules", "check", rules });
    QCOMPARE(refusing.status, 0);
    QVERIFY2(refusing.err.startsWith((rules + ":3: note: rule [Known] prints to sticker2raw, which does not accept jobs now")
                                         .toUtf8()),
        refusing.err.constData());

    const QByteArray server = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", dir.filePath("none.sock").toUtf8());
    const TestSupport::ProgramRun away = TestSupport::runProgram({ "rules", "check", rules });
    qputenv("CUPS_SERVER", server);
    QCOMPARE(away.status, 0);
    QCOMPARE(QString::fromUtf8(away.err).count("the print server cannot be asked for it"), 2);
}

QTEST_GUILESS_MAIN(TstCupsRules)
#include "tst_cupsrules.moc"
