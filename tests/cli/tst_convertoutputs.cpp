// convert never writes over what it reads, however the output is named: the
// real program run by a shell, with the redirections a user types, and one
// export's pictures never mixed with an earlier one's.
#include "TestSupport.h"
#include "platform/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

class TestConvertOutputs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    // Each command runs in a folder holding a.prn (five sheets), a form
    // form.pdf and a form picture form.png; `kept` must be as it was.
    void neverOverAnInput_data()
    {
        QTest::addColumn<QString>("command"); // $S is the program
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("said");
        QTest::newRow("a web page appended to its input")
            << "\"$S\" convert a.prn - --to html >> a.prn" << "a.prn" << "standard output is the input a.prn";
        QTest::newRow("text into its input, opened to read and write")
            << "\"$S\" convert a.prn - --to txt 1<> a.prn" << "a.prn" << "standard output is the input a.prn";
        QTest::newRow("text appended to its input through a link")
            << "ln -s a.prn l.prn && \"$S\" convert l.prn - --to txt >> a.prn" << "a.prn"
            << "standard output is the input l.prn";
        QTest::newRow("a picture named as its input")
            << "cp a.prn q-001.png && \"$S\" convert q-001.png q.png --dpi 20" << "q-001.png" << "is the input";
        QTest::newRow("a PDF over its form") << "\"$S\" convert a.prn form.pdf --form form.pdf" << "form.pdf"
                                             << "form.pdf: it is the input form.pdf";
        QTest::newRow("a PDF over the later sheets' form")
            << "\"$S\" convert a.prn form.pdf --form ,form.pdf" << "form.pdf" << "it is the input";
        QTest::newRow("a picture over its form")
            << "cp form.png r-001.png && \"$S\" convert a.prn r.png --dpi 20 --form r-001.png" << "r-001.png"
            << "is the input";
    }
    void neverOverAnInput()
    {
        QFETCH(QString, command);
        QFETCH(QString, kept);
        QFETCH(QString, said);
        QTemporaryDir dir;
        const QDir folder(dir.path());
        TestSupport::writeFile(folder.filePath("a.prn"), "one\fTWO\fthree\ffour\ffive\r\n");
        QVERIFY(TestSupport::runProgram({"convert", folder.filePath("a.prn"), folder.filePath("form.pdf")}).status == 0);
        QImage form(40, 40, QImage::Format_RGB32);
        form.fill(Qt::yellow);
        QVERIFY(form.save(folder.filePath("form.png")));
        QProcess shell;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("S", STICKER2_PROGRAM);
        environment.remove("DISPLAY");
        shell.setProcessEnvironment(environment);
        shell.setWorkingDirectory(dir.path());
        // The file to keep as it is before the command, once it is there.
        shell.start("/bin/sh", {"-c", "for f in a.prn form.pdf form.png; do cp $f $f.before; done; " + command});
        QVERIFY(shell.waitForFinished(60000));
        const QString err = QString::fromUtf8(shell.readAllStandardError());
        QCOMPARE(shell.exitCode(), 1);
        QVERIFY2(err.contains(said), qPrintable(err));
        const QString original = kept == "q-001.png" ? "a.prn.before"
            : kept == "r-001.png"                   ? "form.png.before"
                                                    : kept + ".before";
        QCOMPARE(TestSupport::readFile(folder.filePath(kept)), TestSupport::readFile(folder.filePath(original)));
    }

    // An export of fewer sheets to the same name takes the earlier
    // export's other pictures away; files of other names stay.
    void picturesOfOneExport()
    {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        const QString in = TestSupport::writeFile(folder.filePath("a.prn"), "one\fTWO\fthree\ffour\ffive\r\n");
        const QStringList others {"r-notes.png", "r-01.png", "R-004.png", "rr-004.png", "r-004.png.txt"};
        for (const QString &name : others)
            TestSupport::writeFile(folder.filePath(name), "keep");
        const QString out = folder.filePath("r.png");
        QCOMPARE(TestSupport::runProgram({"convert", in, out, "--dpi", "20"}).status, 0);
        QCOMPARE(folder.entryList({"r-0??.png"}, QDir::Files | QDir::CaseSensitive).size(), 5);
        QCOMPARE(TestSupport::runProgram({"convert", in, out, "--dpi", "20", "--pages", "2-3"}).status, 0);
        QCOMPARE(folder.entryList({"r-0??.png"}, QDir::Files | QDir::CaseSensitive), QStringList({"r-001.png", "r-002.png"}));
        for (const QString &name : others)
            QVERIFY2(folder.exists(name), qPrintable(name));
        // A failed export leaves the pictures there as they were.
        QCOMPARE(TestSupport::runProgram({"convert", in, out, "--dpi", "20", "--pages", "9"}).status, 1);
        QCOMPARE(folder.entryList({"r-0??.png"}, QDir::Files | QDir::CaseSensitive), QStringList({"r-001.png", "r-002.png"}));
    }

    // A settings file that is a FIFO is no file to read: opened, it would
    // wait for a writer for ever. The conversion takes the defaults.
    void settingsFifoNeverWaitedFor()
    {
        const QString settings = SettingsStore::fileName(QStringLiteral("Sticker2"));
        QVERIFY(QDir().mkpath(QFileInfo(settings).path()));
        const QString aside = settings + QStringLiteral(".aside");
        QFile::rename(settings, aside);
        QVERIFY(::mkfifo(QFile::encodeName(settings).constData(), 0600) == 0);
        const auto back = qScopeGuard([&] {
            QFile::remove(settings);
            QFile::rename(aside, settings);
        });
        QTemporaryDir dir;
        const QString in = TestSupport::writeFile(dir.filePath("a.prn"), "a report\r\n\f");
        const TestSupport::ProgramRun run = TestSupport::runProgram({"convert", in, "--to", "txt", "-"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QByteArray("a report\r\n\f"));
    }

    // A TMPDIR that names no folder is as none: a PDF's first pass goes to
    // the system's temporary folder, never into the current folder (here a
    // read-only one, where it would fail).
    void temporaryFolderThatIsNot_data()
    {
        QTest::addColumn<QString>("tmpdir");
        QTest::newRow("missing") << "/nonexistent/tmp";
        QTest::newRow("a file") << "IN";
        QTest::newRow("empty") << "";
    }

    void temporaryFolderThatIsNot()
    {
        QFETCH(QString, tmpdir);
        QTemporaryDir dir;
        const QString in = TestSupport::writeFile(QDir(dir.path()).filePath("a.prn"), "one\r\n\ftwo\r\n");
        const QString readOnly = QDir(dir.path()).filePath("ro");
        QVERIFY(QDir().mkpath(readOnly));
        if (::geteuid() != 0 || ::mount("tmpfs", QFile::encodeName(readOnly).constData(), "tmpfs", MS_RDONLY, "size=64k") != 0)
            QSKIP("no read-only file system can be mounted here (not root, or not allowed)");
        const auto unmount = qScopeGuard([&readOnly] { ::umount2(QFile::encodeName(readOnly).constData(), MNT_DETACH); });
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", tmpdir == "IN" ? in : tmpdir);
        environment.remove("DISPLAY");
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(readOnly);
        const QString pdf = QDir(dir.path()).filePath("a.pdf");
        program.start(STICKER2_PROGRAM, {"convert", in, pdf});
        QVERIFY(program.waitForFinished(60000));
        QVERIFY2(program.exitCode() == 0, program.readAllStandardError().constData());
        QVERIFY(TestSupport::pdfIsValid(pdf));
    }

    // A file named near the longest name a folder takes is written, but not
    // replaced (the file made beside it would need a longer name): the
    // second write says so, and the first file stays.
    void longestNameReplaced()
    {
        QTemporaryDir dir;
        const QString in = TestSupport::writeFile(QDir(dir.path()).filePath("a.prn"), "one\r\n");
        const QString out = QDir(dir.path()).filePath(QString(251, QLatin1Char('b')) + ".txt");
        QCOMPARE(TestSupport::runProgram({"convert", in, out}).status, 0);
        const QByteArray first = TestSupport::readFile(out);
        TestSupport::writeFile(in, "two\r\n");
        const TestSupport::ProgramRun again = TestSupport::runProgram({"convert", in, out});
        if (again.status == 0) // a Qt that names its file beside shorter
            return;
        QCOMPARE(again.status, 1);
        QVERIFY2(again.err.endsWith(": File name too long\n"), again.err.constData());
        QCOMPARE(TestSupport::readFile(out), first);
    }

    // The hidden parts an export of pictures killed before its end left
    // (named with its process's id) go with the next export of those
    // pictures; those of an export still under way stay.
    void leftPartsOfKilledExports()
    {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        const QString in = TestSupport::writeFile(folder.filePath("a.prn"), "one\r\n\ftwo\r\n");
        QProcess ended;
        ended.start("sleep", {"0.1"});
        QVERIFY(ended.waitForStarted());
        const qint64 endedPid = ended.processId();
        QVERIFY(ended.waitForFinished());
        const auto tag = [](qint64 pid) { return QStringLiteral("%1").arg(pid, 8, 16, QLatin1Char('0')); };
        const QString left = ".p-001.png." + tag(endedPid) + ".part";
        const QString live = ".p-002.png." + tag(QCoreApplication::applicationPid()) + ".part";
        const QString other = ".q-001.png." + tag(endedPid) + ".part";
        for (const QString &name : {left, live, other})
            TestSupport::writeFile(folder.filePath(name), "part");
        QCOMPARE(TestSupport::runProgram({"convert", in, folder.filePath("p.png"), "--dpi", "20"}).status, 0);
        QVERIFY(!folder.exists(left));
        QVERIFY(folder.exists(live));
        QVERIFY(folder.exists(other));
        QVERIFY(folder.exists("p-001.png") && folder.exists("p-002.png"));
    }

    // A job larger than the memory the process may take (ulimit -v, as a
    // service's limits set it): one line and status 1, no output; it had
    // ended in an abort (std::bad_alloc, status 134).
    void outOfMemory_data()
    {
        QTest::addColumn<QString>("output");
        QTest::newRow("pdf") << "o.pdf";
        QTest::newRow("text") << "o.txt";
    }

    void outOfMemory()
    {
        QFETCH(QString, output);
        QTemporaryDir dir;
        const QDir folder(dir.path());
        QFile sparse(folder.filePath("big.prn"));
        QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(500 << 20)); // reads as NULs
        sparse.close();
        const TestSupport::ProgramRun run = TestSupport::runProgram(
            {"--as=400000000", STICKER2_PROGRAM, "convert", sparse.fileName(), folder.filePath(output)},
            "prlimit");
        QCOMPARE(run.status, 1);
        QCOMPARE(QString::fromUtf8(run.err),
            "sticker2: " + sparse.fileName() + ": ran out of memory (the job needs more than this process may take)\n");
        QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden), QStringList{"big.prn"});
    }
};

QTEST_GUILESS_MAIN(TestConvertOutputs)
#include "tst_convertoutputs.moc"
