// The converting watch as a service runs it: the real program in a process
// over real folders, stopped and started again.
#include "TestSupport.h"
#include "watch/ConvertedJobs.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray Job = "Head line\r\nline 2\r\n\fpage 2\r\n\f";

// A watch of `spool` converting into `out`, as the service starts it.
class Watch
{
public:
    Watch(const QString &spool, const QString &out, const QStringList &options)
    {
        TestSupport::startProgram(m_process, QStringList{"watch", spool, "--out", out, "-j", "1"} + options);
        m_process.waitForStarted();
    }
    ~Watch() { stop(); }

    qint64 pid() const { return m_process.processId(); }
    // Standard error so far, and what comes within `msec` until it has `lines` lines.
    QByteArray lines(int count, int msec = 60000)
    {
        QElapsedTimer timer;
        timer.start();
        while (m_err.count('\n') < count && timer.elapsed() < msec) {
            m_process.waitForReadyRead(100);
            m_err += m_process.readAllStandardError();
        }
        return m_err;
    }
    // SIGTERM, as systemctl stop sends it; the exit status.
    int stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            m_process.waitForFinished(30000);
        }
        m_err += m_process.readAllStandardError();
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    QByteArray err() const { return m_err; }
    bool ended() const { return m_process.state() == QProcess::NotRunning; }

private:
    QProcess m_process;
    QByteArray m_err;
};

// The process ids whose parent is `parent`.
QList<qint64> childrenOf(qint64 parent)
{
    QList<qint64> children;
    for (const QString &entry : QDir("/proc").entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number)
            continue;
        const QByteArray stat = TestSupport::readFile("/proc/" + entry + "/stat");
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields.at(1).toLongLong() == parent)
            children << pid;
    }
    return children;
}

// Whether the process has ended (a zombie, not yet waited for, has).
bool ended(qint64 pid)
{
    const QByteArray stat = TestSupport::readFile(QStringLiteral("/proc/%1/stat").arg(pid));
    return stat.isEmpty() || stat.mid(stat.lastIndexOf(')') + 2, 1) == "Z";
}

} // namespace

class TestWatchConvert : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    // Keep mode: a job is converted once, however often the watch starts,
    // even when it is newer than its output or its outputs are pictures.
    void keepConvertsOnce_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("output"); // the first file a conversion makes
        QTest::addColumn<bool>("jobNewer");  // the job's time ahead of its output's
        QTest::newRow("pdf") << "pdf" << "a.pdf" << false;
        QTest::newRow("pdf of a job newer than its output") << "pdf" << "a.pdf" << true;
        QTest::newRow("pictures") << "png" << "a-001.png" << false;
        QTest::newRow("web page") << "html" << "a.html" << false;
    }

    void keepConvertsOnce()
    {
        QFETCH(QString, format);
        QFETCH(QString, output);
        QFETCH(bool, jobNewer);
        QTemporaryDir dir;
        const QString spool = dir.filePath("spool");
        const QString out = dir.filePath("out");
        const QString job = TestSupport::writeFile(spool + "/a.prn", Job);
        // A job whose time is ahead of the clock (copied with its time from a
        // machine whose clock runs fast): newer than any output made of it.
        if (jobNewer)
            TestSupport::setModified(job, 3600);
        // A spooler's job is kept from others; what is made of it is too.
        QVERIFY(QFile::setPermissions(job, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        {
            Watch watch(spool, out, {"--convert", format});
            QVERIFY2(watch.lines(1).contains("converted to"), watch.err().constData());
            QCOMPARE(watch.stop(), 0);
        }
        QVERIFY(QFileInfo::exists(out + "/" + output));
        if (format != QLatin1String("png"))
            QCOMPARE(QFileInfo(out + "/" + output).permissions() & 0x0fff, QFileInfo(job).permissions() & 0x0fff);
        const QStringList first = QDir(out).entryList(QDir::Files | QDir::Hidden);
        for (int start = 0; start < 2; ++start) {
            // A job written after the start comes after the old ones (one at a time).
            const QString later = QString("z%1.prn").arg(start);
            Watch watch(spool, out, {"--convert", format});
            QTest::qWait(200);
            TestSupport::writeFile(spool + "/" + later, Job);
            const QByteArray lines = watch.lines(1);
            QCOMPARE(watch.stop(), 0);
            QVERIFY2(lines.count('\n') == 1 && lines.contains(later.toUtf8()) && !lines.contains("a.prn"),
                lines.constData());
        }
        QStringList outputs = QDir(out).entryList(QDir::Files | QDir::Hidden);
        outputs.removeIf([](const QString &name) { return name.startsWith('z'); });
        QCOMPARE(outputs, first);
        QVERIFY(first.contains(ConvertedJobs::FileName));
    }

    // Move mode: a job converted when the watch stopped before moving it
    // moves at the next start, without a second conversion. Outputs of an
    // earlier version, with no record, count as well.
    void moveFinishesPendingMove_data()
    {
        QTest::addColumn<bool>("recorded");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("output");
        QTest::newRow("recorded as converted") << true << "" << "a.pdf";
        QTest::newRow("an older output, no record") << false << "" << "a.pdf";
        // Named as the watch names it, after its title too (it had looked
        // for a.pdf, and converted the job again).
        QTest::newRow("an older output of a job with a title, no record") << false << "Rechnung" << "a Rechnung.pdf";
    }

    void moveFinishesPendingMove()
    {
        QFETCH(bool, recorded);
        QFETCH(QString, title);
        QFETCH(QString, output);
        QTemporaryDir dir;
        const QString spool = dir.filePath("spool");
        const QString out = dir.filePath("out");
        const QString job = TestSupport::writeFile(spool + "/a.prn", Job);
        if (!title.isEmpty())
            TestSupport::writeFile(spool + "/.a.prn.info", "title=" + title.toUtf8() + "\n");
        const QString pdf = TestSupport::writeFile(out + "/" + output, "the earlier output");
        if (recorded) {
            ConvertedJobs record(out);
            QString error;
            QVERIFY2(record.add(job, &error), qPrintable(error));
            TestSupport::setModified(pdf, -60); // older than the job: the record decides
        } else {
            TestSupport::setModified(job, -60);
        }
        Watch watch(spool, out, {"--convert", "pdf", "--move"});
        const QByteArray lines = watch.lines(1);
        QCOMPARE(watch.stop(), 0);
        QVERIFY2(lines.contains("a.prn: converted before; the job is now"), lines.constData());
        QCOMPARE(TestSupport::readFile(out + "/done/a.prn"), Job);
        QVERIFY(!QFileInfo::exists(job));
        QCOMPARE(TestSupport::readFile(pdf), QByteArray("the earlier output"));
    }

    // A job whose name is not UTF-8 (Latin-1 from an older system) cannot be
    // opened under it: the log says so once, naming it as Latin-1, the job
    // stays where it is, and the others are converted.
    void notUtf8JobSaidOnce()
    {
        QTemporaryDir dir;
        const QString spool = dir.filePath("spool");
        const QString out = dir.filePath("out");
        TestSupport::writeFile(spool + "/ok.prn", Job);
        const QByteArray raw = QFile::encodeName(spool) + "/M\xfcller.prn";
        // (QFile cannot make such a name, nor QTemporaryDir remove it.)
        const auto removeRaw = qScopeGuard([&raw] { ::unlink(raw.constData()); });
        const int made = ::open(raw.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        QVERIFY(made >= 0 && ::write(made, Job.constData(), size_t(Job.size())) == Job.size());
        ::close(made);
        Watch watch(spool, out, {"--convert", "pdf"});
        watch.lines(2);
        QTest::qWait(2500); // a rescan of the folder, which says nothing again
        QCOMPARE(watch.stop(), 0);
        const QByteArray err = watch.err();
        QCOMPARE(err.count('\n'), 2);
        QVERIFY2(err.contains("ok.prn: converted to"), err.constData());
        QVERIFY2(err.contains((spool + QString::fromUtf8("/M\u00fcller.prn: its name is not UTF-8 text")).toUtf8()),
            err.constData());
        QVERIFY(::access(raw.constData(), F_OK) == 0);
        QCOMPARE(QDir(out).entryList({"*.pdf"}), QStringList{"ok.pdf"});
    }

    // One watch per folder: a second one started beside the service, on
    // its output folder or taking its spool's jobs, is refused at once and
    // converts nothing; a watch that keeps its jobs may convert them into
    // another folder too.
    void secondWatchRefused_data()
    {
        QTest::addColumn<QString>("otherOut");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("refusal"); // empty: it runs
        QTest::newRow("same output") << "out" << QStringList{"--convert", "pdf"} << "out: another watch converts into it";
        QTest::newRow("same spool, moving") << "out2" << QStringList{"--convert", "pdf", "--move"}
                                            << "spool: another watch converts its jobs and moves them";
        QTest::newRow("same spool, keeping, another output") << "out2" << QStringList{"--convert", "png"} << "";
        // Rules file, mail and print: a second watch would do it again.
        QTest::newRow("same spool, keeping, by rules") << "out2" << QStringList{"--convert", "pdf", "--rules", "RULES"}
                                                       << "spool: another watch takes its jobs";
    }

    void secondWatchRefused()
    {
        QFETCH(QString, otherOut);
        QFETCH(QStringList, options);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        const QString spool = dir.filePath("spool");
        const QString out = dir.filePath("out");
        QVERIFY(QDir().mkpath(spool));
        options.replaceInStrings("RULES", TestSupport::writeFile(dir.filePath("rules.conf"), "[All]\nname = {title}.pdf\n"));
        Watch first(spool, out, {"--convert", "pdf", "--move"});
        QTest::qWait(500); // it holds its folders
        if (refusal.isEmpty()) {
            Watch second(spool, dir.filePath(otherOut), options);
            QTest::qWait(1000);
            QCOMPARE(second.stop(), 0);
            QVERIFY2(second.err().isEmpty(), second.err().constData());
        } else {
            const TestSupport::ProgramRun run = TestSupport::runProgram(
                QStringList{"watch", spool, "--out", dir.filePath(otherOut)} + options);
            QCOMPARE(run.status, 1);
            QVERIFY2(run.err.startsWith("sticker2: " + dir.filePath(refusal).toUtf8()), run.err.constData());
            QCOMPARE(run.err.count('\n'), 1);
        }
        // The first one still converts, once.
        TestSupport::writeFile(spool + "/a.prn", Job);
        QVERIFY2(first.lines(1).contains("a.prn: converted to"), first.err().constData());
        QCOMPARE(first.stop(), 0);
        QCOMPARE(QDir(out).entryList({"*.pdf"}), QStringList{"a.pdf"});
    }

    // An output folder the watch may not write, or a record, done/ or
    // failed/ in it (left by root, who ran the service's command by hand),
    // is refused at the start, not met again by every job: a record it
    // cannot write had jobs filed and mailed again at every start (as
    // nobody when run by root).
    void unwritableOutputRefused_data()
    {
        QTest::addColumn<QString>("name"); // in the output folder, not writable
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("output folder") << "" << QStringList() << ": the watch's user may not write into it";
        QTest::newRow("record") << ".sticker2-converted" << QStringList()
                                << ": the watch's user may not write it (no right to write), and its jobs would be "
                                   "converted again at every start";
        QTest::newRow("failed/") << "failed" << QStringList() << ": the watch's user may not move jobs into it";
        QTest::newRow("done/, moving") << "done" << QStringList{"--move"} << ": the watch's user may not move jobs into it";
        QTest::newRow("done/, keeping") << "done" << QStringList() << "";
        // (A link to nothing had been said to be "no right to write".)
        QTest::newRow("record, a link to nothing") << "->.sticker2-converted" << QStringList()
                                                   << ": the watch's user may not write it (it is a link to GONE, which "
                                                      "is missing), and its jobs would be converted again at every start";
    }
    void unwritableOutputRefused()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, options);
        QFETCH(QString, refusal);
        const bool dangling = name.startsWith("->");
        if (dangling)
            name = name.mid(2);
        QTemporaryDir dir;
        const QString spool = dir.filePath("spool");
        const QString out = dir.filePath("out");
        QVERIFY(QDir().mkpath(spool) && QDir().mkpath(out));
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755)));
        QVERIFY(QFile::setPermissions(spool, QFileDevice::Permissions(0x7755)));
        const QString blocked = name.isEmpty() ? out : out + "/" + name;
        if (dangling)
            QVERIFY(QFile::link(dir.filePath("gone"), blocked));
        else if (name.startsWith('.'))
            TestSupport::writeFile(blocked, "");
        else if (!name.isEmpty())
            QVERIFY(QDir().mkpath(blocked));
        if (!name.isEmpty())
            QVERIFY(QFile::setPermissions(out, QFileDevice::Permissions(0x7777)));
        QVERIFY(dangling || QFile::setPermissions(blocked, QFileDevice::Permissions(name.startsWith('.') ? 0x4444 : 0x5555)));
        const auto writable = qScopeGuard([&] { QFile::setPermissions(blocked, QFileDevice::Permissions(0x7755)); });
        QProcess watch;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        watch.setProcessEnvironment(environment);
        watch.setChildProcessModifier([] {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(127);
        });
        watch.start(STICKER2_PROGRAM, QStringList{"watch", spool, "--convert", "pdf", "--out", out} + options);
        if (refusal.isEmpty()) {
            QVERIFY(!watch.waitForFinished(1500));
            watch.terminate();
            QVERIFY(watch.waitForFinished(10000));
            QCOMPARE(watch.exitCode(), 0);
            return;
        }
        QVERIFY(watch.waitForFinished(20000));
        QCOMPARE(watch.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(watch.readAllStandardError()),
            "sticker2: " + blocked + QString(refusal).replace("GONE", dir.filePath("gone")) + "\n");
    }

    // A watch that is not root cannot see another user's open files: a job
    // that user writes with pauses longer than the settle time is converted
    // once, when its writer closes it (the kernel tells of every close). It
    // had been converted at each pause, half written, again and again.
    void othersJobWrittenWithPauses()
    {
        if (::geteuid() != 0)
            QSKIP("a watch and a writer of two other users need root");
        QTemporaryDir dir;
        const QString spool = dir.filePath("spool");
        const QString out = dir.filePath("out");
        const QString tmp = dir.filePath("tmp");
        QVERIFY(QDir().mkpath(spool) && QDir().mkpath(out) && QDir().mkpath(tmp));
        QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
        for (const QString &shared : {spool, tmp})
            QCOMPARE(::chmod(QFile::encodeName(shared).constData(), 01777), 0);
        QCOMPARE(::chown(QFile::encodeName(out).constData(), 65534, 65534), 0);
        const auto as = [&tmp](QProcess &process, uid_t user) {
            process.setWorkingDirectory(tmp);
            process.setChildProcessModifier([user] {
                if (::setgid(user) != 0 || ::setuid(user) != 0)
                    ::_exit(127);
            });
        };
        QProcess watch;
        as(watch, 65534); // nobody
        TestSupport::startProgram(watch, {"watch", spool, "--convert", "txt", "--out", out, "-j", "1"},
            {{"TMPDIR", tmp}, {"HOME", tmp}});
        QVERIFY(watch.waitForStarted());
        QTest::qWait(1000);
        QProcess writer;
        as(writer, 1); // daemon
        writer.start("/bin/sh", {"-c", "exec 3>" + spool + "/slow.prn; for i in 1 2 3; do printf 'line %s\r\n' $i >&3; "
                                       "sleep 1.2; done; printf '\f' >&3"});
        QVERIFY(writer.waitForFinished(20000));
        QCOMPARE(writer.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(out + "/slow.txt"), 20000);
        QTest::qWait(1500);
        watch.terminate();
        QVERIFY(watch.waitForFinished(20000));
        const QByteArray said = watch.readAllStandardError();
        QVERIFY2(said.count("converted to") == 1 && QDir(out).entryList(QDir::Files) == QStringList{"slow.txt"}, said.constData());
        QVERIFY(TestSupport::readFile(out + "/slow.txt").contains("line 3"));
    }

    // A side file another user laid down for a job is not taken, and the
    // job's line says so (the job had come out under their title, or none,
    // without a word).
    void untrustedDetailsSaid()
    {
        if (::geteuid() != 0)
            QSKIP("giving a side file to another user needs root");
        QTemporaryDir dir;
        const QString spool = dir.filePath("spool");
        const QString job = TestSupport::writeFile(spool + "/j.prn", Job);
        const QString side = TestSupport::writeFile(spool + "/.j.prn.info", "user=anna\ntitle=Payroll\n");
        QCOMPARE(::chown(QFile::encodeName(side).constData(), 65534, 65534), 0);
        Watch watch(spool, dir.filePath("out"), {"--convert", "txt", "--keep"});
        const QByteArray said = watch.lines(1);
        QCOMPARE(watch.stop(), 0);
        QVERIFY2(said.contains(job.toUtf8() + ": converted to " + dir.filePath("out/j.txt").toUtf8()
                     + " (note: the job's details are not taken: " + side.toUtf8() + ": written by user nobody for a job of user root)"),
            said.constData());
    }

    // A job written anew in place while it is converted (a program printing
    // to a fixed name): what was made is of the version before and is not
    // recorded, the job is not failed, and the version now is converted on
    // its own, once. The old conversion's end had moved the new version to
    // failed/, or recorded it as done.
    void rewrittenWhileConverted()
    {
        QTemporaryDir dir;
        const QString spool = dir.filePath("spool");
        const QString out = dir.filePath("out");
        QByteArray slow;
        for (int sheet = 0; sheet < 40; ++sheet)
            slow += "Sheet " + QByteArray::number(sheet) + "\r\n" + QByteArray("a line of text\r\n").repeated(40) + "\f";
        const QString job = TestSupport::writeFile(spool + "/a.prn", slow);
        Watch watch(spool, out, {"--convert", "png"});
        QTRY_VERIFY_WITH_TIMEOUT(!childrenOf(watch.pid()).isEmpty(), 20000);
        QFile again(job);
        QVERIFY(again.open(QIODevice::WriteOnly | QIODevice::Truncate) && again.write(Job) == Job.size());
        again.close();
        const QByteArray lines = watch.lines(2);
        QCOMPARE(watch.stop(), 0);
        QVERIFY2(lines.contains("a.prn: written anew while it was converted") && lines.count("converted to") == 1
                && lines.count('\n') == 2,
            (lines + QDir(out).entryList(QDir::AllEntries | QDir::Hidden).join(' ').toUtf8() + " " + TestSupport::readFile(out + "/.sticker2-converted")).constData());
        QVERIFY(!QFileInfo::exists(out + "/failed"));
        QCOMPARE(TestSupport::readFile(job), Job);
        Watch restarted(spool, out, {"--convert", "png"});
        QTest::qWait(1500);
        QCOMPARE(restarted.stop(), 0);
        QVERIFY2(restarted.err().isEmpty(), restarted.err().constData());
    }

    // An output folder everyone may write to (sticky, as /tmp) in which
    // another user planted a link as the record, done/ or failed/: the watch
    // refuses to start rather than take their record (hiding jobs as
    // converted) or move jobs into their folder.
    void plantedLinksRefused_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {".sticker2-converted", "done", "failed"})
            QTest::newRow(name) << QString(name);
    }
    void plantedLinksRefused()
    {
        QFETCH(QString, name);
        if (::geteuid() != 0)
            QSKIP("giving a link to another user needs root");
        QTemporaryDir dir;
        const QString spool = dir.filePath("spool");
        const QString out = dir.filePath("out");
        const QString theirs = dir.filePath("theirs");
        QVERIFY(QDir().mkpath(spool) && QDir().mkpath(out) && QDir().mkpath(theirs));
        TestSupport::writeFile(spool + "/a.prn", Job);
        QVERIFY(QFile::setPermissions(out, QFileDevice::Permissions(0x7777)));
        QCOMPARE(::chmod(QFile::encodeName(out).constData(), 01777), 0);
        const QString link = out + "/" + name;
        QVERIFY(QFile::link(name.startsWith('.') ? TestSupport::writeFile(theirs + "/record", "") : theirs, link));
        QCOMPARE(::lchown(QFile::encodeName(link).constData(), 65534, 65534), 0);
        QProcess watch;
        TestSupport::startProgram(watch, {"watch", spool, "--convert", "pdf", "--out", out});
        QVERIFY(watch.waitForFinished(20000));
        QCOMPARE(watch.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(watch.readAllStandardError()),
            "sticker2: " + link + ": refusing to follow a link another user planted in a shared folder.\n");
        QCOMPARE(QDir(theirs).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
            name.startsWith('.') ? QStringList{"record"} : QStringList());
        if (name.startsWith('.'))
            QCOMPARE(QFileInfo(theirs + "/record").size(), 0);
    }

    // SIGTERM stops the watch and its converter with it: nothing is
    // written afterwards, no part of an output is left, no process stays.
    // So too when the conversion ended just before, unheard of: its output,
    // never taken for the job's, had stayed (and the next start made a
    // second one beside it).
    void stopEndsConversions_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("asItEnds");
        QTest::addColumn<int>("lines"); // long enough to be stopped on the way
        QTest::newRow("pdf") << "pdf" << false << 300000;
        QTest::newRow("pictures") << "png" << false << 300000;
        QTest::newRow("pdf, as it ends") << "pdf" << true << 300000;
        QTest::newRow("pictures, as they end") << "png" << true << 12000;
    }

    void stopEndsConversions()
    {
        QFETCH(QString, format);
        QFETCH(bool, asItEnds);
        QFETCH(int, lines);
        QTemporaryDir dir;
        const QString spool = dir.filePath("spool");
        const QString out = dir.filePath("out");
        QByteArray big;
        for (int i = 0; i < lines; ++i)
            big += "a line of a long report " + QByteArray::number(i) + "\r\n" + (i % 60 == 59 ? "\f" : "");
        TestSupport::writeFile(spool + "/big.prn", big);
        Watch watch(spool, out, {"--convert", format});
        QList<qint64> converters;
        QTRY_VERIFY_WITH_TIMEOUT(!(converters = childrenOf(watch.pid())).isEmpty(), 30000);
        if (asItEnds) { // the watch held still while its converter ends, then told to stop
            QCOMPARE(::kill(pid_t(watch.pid()), SIGSTOP), 0);
            const auto goOn = qScopeGuard([&watch] { ::kill(pid_t(watch.pid()), SIGCONT); });
            QTRY_VERIFY_WITH_TIMEOUT(ended(converters.first()), 120000);
            QCOMPARE(::kill(pid_t(watch.pid()), SIGTERM), 0);
            QCOMPARE(::kill(pid_t(watch.pid()), SIGCONT), 0);
            QTRY_VERIFY_WITH_TIMEOUT(watch.ended(), 30000);
        } else {
            QTest::qWait(format == "png" ? 3000 : 300); // the converter is under way
        }
        QCOMPARE(watch.stop(), 0);
        for (qint64 pid : converters)
            QVERIFY2(::kill(pid_t(pid), 0) != 0, "a converter outlived its watch");
        QTest::qWait(500);
        const QStringList left = QDir(out).entryList(QDir::Files | QDir::Hidden);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
        QVERIFY2(!watch.err().contains("converted"), watch.err().constData());
    }

    // A converter the kernel killed (out of memory) is said to be killed, not to have crashed.
    // A failed job whose name leaves no room for ".log" still gets its log,
    // under the name cut to fit (it had got none); a short name keeps its own.
    void failedLogOfLongName_data()
    {
        QTest::addColumn<QString>("job");
        QTest::addColumn<QString>("log");
        QTest::newRow("short") << "short.prn" << "short.prn.log";
        const QString umlaut = QString::fromUtf8("\u00e4"); // two bytes
        QTest::newRow("252 bytes") << QString(246, 'x') + umlaut + ".prn" << QString(246, 'x') + umlaut + ".pr.log";
        QTest::newRow("255 bytes") << QString(249, 'x') + umlaut + ".prn" << QString(249, 'x') + umlaut + ".log";
    }

    void failedLogOfLongName()
    {
        QFETCH(QString, job);
        QFETCH(QString, log);
        QTemporaryDir dir;
        const QString spool = dir.filePath("spool");
        const QString out = dir.filePath("out");
        TestSupport::writeFile(spool + "/" + job, "one page\r\n"); // no page 2
        Watch watch(spool, out, {"--convert", "pdf", "--pages", "2"});
        const QByteArray said = watch.lines(1);
        QVERIFY2(!said.contains("no log"), said.constData());
        const QStringList failed = QDir(out + "/failed").entryList(QDir::Files);
        QCOMPARE(QSet<QString>(failed.begin(), failed.end()), QSet<QString>({job, log}));
        QVERIFY(TestSupport::readFile(out + "/failed/" + log).contains(QFile::encodeName(job)));
    }

    // A converter that crashes while it saves pictures leaves none of its
    // hidden parts in the output folder (they had stayed for good).
    void crashedConverterLeavesNoParts()
    {
        QTemporaryDir dir;
        const QString spool = dir.filePath("spool");
        const QString out = dir.filePath("out");
        TestSupport::writeFile(spool + "/big.prn", QByteArray("a line of a long report\r\n\f").repeated(3000));
        Watch watch(spool, out, {"--convert", "png", "--dpi", "30"});
        const auto parts = [&out] {
            return QDir(out).entryList({".*.part"}, QDir::Files | QDir::Hidden);
        };
        QTRY_VERIFY_WITH_TIMEOUT(!parts().isEmpty(), 60000);
        const QList<qint64> converters = childrenOf(watch.pid());
        QCOMPARE(converters.size(), 1);
        QCOMPARE(::kill(pid_t(converters.first()), SIGSEGV), 0);
        const QByteArray said = watch.lines(1);
        QVERIFY2(said.contains("big.prn: the conversion crashed (signal 11)"), said.constData());
        QCOMPARE(parts(), QStringList());
    }

    void killedConverterSaid()
    {
        QTemporaryDir dir;
        const QString spool = dir.filePath("spool");
        const QString out = dir.filePath("out");
        TestSupport::writeFile(spool + "/big.prn", QByteArray("a line of a long report\r\n").repeated(300000));
        Watch watch(spool, out, {"--convert", "pdf"});
        QList<qint64> converters;
        QTRY_VERIFY_WITH_TIMEOUT(!(converters = childrenOf(watch.pid())).isEmpty(), 30000);
        QCOMPARE(::kill(pid_t(converters.first()), SIGKILL), 0);
        const QByteArray said = watch.lines(1);
        QVERIFY2(said.contains("big.prn: the conversion was killed (SIGKILL: by an administrator, or by the kernel when "
                               "memory ran out)"),
            said.constData());
    }

    // A watch that has no descriptor free for a moment (too many open files)
    // neither loses a job that comes meanwhile nor fails it: the job is
    // converted once the shortage passes. It had been missed until the folder
    // changed again, or sent to failed/ when only the converter could not start.
    void descriptorsShortForAMoment_data()
    {
        QTest::addColumn<int>("free");
        QTest::newRow("none free: the folder cannot be listed") << 0;
        QTest::newRow("one free: the converter cannot start") << 1;
    }
    void descriptorsShortForAMoment()
    {
        QFETCH(int, free);
        QTemporaryDir dir;
        const QString spool = dir.filePath("spool");
        const QString out = dir.filePath("out");
        QVERIFY(QDir().mkpath(spool));
        Watch watch(spool, out, {"--convert", "pdf"});
        QTRY_VERIFY_WITH_TIMEOUT(QDir(out).exists(), 30000);
        QTest::qWait(500);
        // Descriptors are numbered from the lowest free one, below the limit.
        const QString fds = QStringLiteral("/proc/%1/fd").arg(watch.pid());
        int lowestFree = 0;
        while (QFileInfo(fds + "/" + QString::number(lowestFree)).isSymLink())
            ++lowestFree;
        rlimit full {};
        QCOMPARE(::prlimit(pid_t(watch.pid()), RLIMIT_NOFILE, nullptr, &full), 0);
        rlimit shortage = full;
        shortage.rlim_cur = rlim_t(lowestFree + free);
        QCOMPARE(::prlimit(pid_t(watch.pid()), RLIMIT_NOFILE, &shortage, nullptr), 0);
        TestSupport::writeFile(spool + "/a.prn", Job);
        QTest::qWait(4000);
        QCOMPARE(::prlimit(pid_t(watch.pid()), RLIMIT_NOFILE, &full, nullptr), 0);
        const QByteArray said = watch.lines(1, 40000);
        QVERIFY2(said.contains("a.prn: converted to"), said.constData());
        QVERIFY(QFileInfo::exists(out + "/a.pdf"));
    }
};

QTEST_MAIN(TestWatchConvert)
#include "tst_watchconvert.moc"
