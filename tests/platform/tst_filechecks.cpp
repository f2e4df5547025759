// What a path names before the program reads or writes it: a link another
// user planted, the same file under two names, a file that changes while it
// is read.
#include "TestSupport.h"
#include "platform/FileChecks.h"
#include "platform/FileStamp.h"
#include "watch/ConvertedJobs.h"
#include "watch/JobArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t Nobody = 65534;

} // namespace

class TestFileChecks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    // A link is refused only when it lies in a folder everyone may write to
    // that keeps others' files (sticky), and neither the caller nor the
    // folder's owner made it.
    void plantedLink_data()
    {
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<bool>("folderNobodys"); // the folder belongs to another user
        QTest::addColumn<QString>("linkOwner");  // "me", "nobody" or "no link"
        QTest::addColumn<bool>("refused");
        QTest::newRow("another user's link in a sticky shared folder") << 01777 << false << "nobody" << true;
        QTest::newRow("my own link there") << 01777 << false << "me" << false;
        QTest::newRow("the folder owner's link") << 01777 << true << "nobody" << false;
        QTest::newRow("my link in another user's sticky folder") << 01777 << true << "me" << false;
        QTest::newRow("another user's link, folder not sticky") << 0777 << false << "nobody" << false;
        QTest::newRow("another user's link, sticky folder not shared") << 01755 << false << "nobody" << false;
        QTest::newRow("a plain file") << 01777 << false << "no link" << false;
    }

    void plantedLink()
    {
        QFETCH(int, folderMode);
        QFETCH(bool, folderNobodys);
        QFETCH(QString, linkOwner);
        QFETCH(bool, refused);
        if (::geteuid() != 0 && (folderNobodys || linkOwner == "nobody"))
            QSKIP("giving a file to another user needs root");
        QTemporaryDir dir;
        const QString folder = dir.filePath("shared");
        QVERIFY(QDir().mkdir(folder));
        const QByteArray folderName = QFile::encodeName(folder);
        const QString victim = TestSupport::writeFile(dir.filePath("victim"), "kept");
        const QString path = folder + "/report.out";
        if (linkOwner == "no link") {
            TestSupport::writeFile(path, "plain");
        } else {
            QVERIFY(QFile::link(victim, path));
            if (linkOwner == "nobody")
                QCOMPARE(::lchown(QFile::encodeName(path).constData(), Nobody, Nobody), 0);
        }
        if (folderNobodys)
            QCOMPARE(::chown(folderName.constData(), Nobody, Nobody), 0);
        QCOMPARE(::chmod(folderName.constData(), mode_t(folderMode)), 0);
        QCOMPARE(FileChecks::plantedLink(path), refused);
        // Every writer refuses it alike, in the same words.
        QCOMPARE(FileChecks::outputRefusal(path).contains("refusing to follow a link another user planted"), refused);

        // The watch's record of converted jobs and its failed/ folder, in a
        // shared output folder: a planted link took the record's line into
        // the other user's file, and a failed job into their folder.
        if (linkOwner == "no link")
            return;
        const QString job = TestSupport::writeFile(dir.filePath("job.prn"), "\x1b@job");
        const QString record = folder + "/.sticker2-converted";
        const QString theirFolder = dir.filePath("theirs");
        QVERIFY(QDir().mkdir(theirFolder));
        QVERIFY(QFile::link(victim, record) && QFile::link(theirFolder, folder + "/failed"));
        if (linkOwner == "nobody") {
            QCOMPARE(::lchown(QFile::encodeName(record).constData(), Nobody, Nobody), 0);
            QCOMPARE(::lchown(QFile::encodeName(folder + "/failed").constData(), Nobody, Nobody), 0);
        }
        QString error;
        QCOMPARE(ConvertedJobs::writeMark(folder, job, ConvertedJobs::State::Failed, &error), !refused);
        QCOMPARE(TestSupport::readFile(victim) == "kept", refused);
        QString movedTo, note;
        QCOMPARE(JobArchive::moveInto(job, folder + "/failed", &movedTo, &note, &error), !refused);
        QCOMPARE(QDir(theirFolder).isEmpty(), refused);
        if (refused)
            QVERIFY2(error.contains("refusing to follow a link another user planted"), qPrintable(error));
    }

    // What every writer says of a path it is not to write over (and the
    // input side: a folder or a FIFO is no file to read).
    void outputRefusal_data()
    {
        QTest::addColumn<QString>("target"); // what is at the path
        QTest::addColumn<QString>("said");   // empty: it may be written
        QTest::addColumn<bool>("readable");
        QTest::newRow("nothing yet") << "missing" << "" << true;
        QTest::newRow("a regular file") << "file" << "" << true;
        QTest::newRow("a link to a regular file") << "link" << "" << true;
        QTest::newRow("a folder") << "folder" << "Cannot write <out>: it is a folder, not a regular file." << false;
        QTest::newRow("a FIFO") << "fifo" << "Cannot write <out>: it is a device or a pipe, not a regular file." << false;
        QTest::newRow("a device") << "/dev/null" << "Cannot write <out>: it is a device or a pipe, not a regular file."
                                  << false;
        QTest::newRow("the input") << "input" << "Cannot write <out>: it is the input <in>." << true;
        QTest::newRow("the input through a link") << "input link" << "Cannot write <out>: it is the input <in>." << true;
    }

    void outputRefusal()
    {
        QFETCH(QString, target);
        QFETCH(QString, said);
        QFETCH(bool, readable);
        QTemporaryDir dir;
        const QString in = TestSupport::writeFile(dir.filePath("in.prn"), "bytes");
        QString out = dir.filePath("out");
        if (target == "file")
            TestSupport::writeFile(out, "old");
        else if (target == "link" || target == "input link")
            QVERIFY(QFile::link(target == "link" ? TestSupport::writeFile(dir.filePath("real"), "old") : in, out));
        else if (target == "folder")
            QVERIFY(QDir().mkdir(out));
        else if (target == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(out).constData(), 0600), 0);
        else if (target.startsWith('/'))
            out = target;
        else if (target == "input")
            out = in;
        said.replace("<out>", out).replace("<in>", in);
        QCOMPARE(FileChecks::outputRefusal(out, {in}), said);
        QCOMPARE(FileChecks::inputProblem(out).isEmpty(), readable);
    }

    void sameFile_data()
    {
        QTest::addColumn<QString>("other"); // how the second path names it
        QTest::addColumn<bool>("same");
        QTest::newRow("the same name") << "same" << true;
        QTest::newRow("a link to it") << "link" << true;
        QTest::newRow("a hard link") << "hard link" << true;
        QTest::newRow("through .. ") << "dotted" << true;
        QTest::newRow("a copy") << "copy" << false;
        QTest::newRow("a missing file") << "missing" << false;
        QTest::newRow("a dangling link") << "dangling" << false;
    }

    void sameFile()
    {
        QFETCH(QString, other);
        QFETCH(bool, same);
        QTemporaryDir dir;
        const QString file = TestSupport::writeFile(dir.filePath("a.prn"), "bytes");
        QString second = file;
        if (other == "link" || other == "dangling") {
            second = dir.filePath("l.prn");
            QVERIFY(QFile::link(other == "link" ? file : dir.filePath("none"), second));
        } else if (other == "hard link") {
            second = dir.filePath("h.prn");
            QCOMPARE(::link(QFile::encodeName(file).constData(), QFile::encodeName(second).constData()), 0);
        } else if (other == "dotted") {
            QVERIFY(QDir(dir.path()).mkdir("sub"));
            second = dir.path() + "/sub/../a.prn";
        } else if (other == "copy") {
            second = TestSupport::writeFile(dir.filePath("c.prn"), "bytes");
        } else if (other == "missing") {
            second = dir.filePath("none.prn");
        }
        QCOMPARE(FileChecks::sameFile(file, second), same);
        QCOMPARE(FileChecks::sameFile(second, file), same);
    }

    // The stamp of an open file sees it cut, grown or written in place, not
    // a new file renamed over its name (the open one is unchanged).
    void stamp_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("changed");
        QTest::newRow("nothing") << "none" << false;
        QTest::newRow("cut short") << "cut" << true;
        QTest::newRow("grown") << "append" << true;
        QTest::newRow("written anew, same size") << "rewrite" << true;
        QTest::newRow("replaced under its name") << "replace" << false;
    }

    void stamp()
    {
        QFETCH(QString, change);
        QFETCH(bool, changed);
        QTemporaryDir dir;
        const QString path = TestSupport::writeFile(dir.filePath("r.prn"), "old report\r\n");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const FileStamp stamp = FileStamp::of(file.handle());
        QVERIFY(stamp.isValid());
        QTest::qWait(20); // a later time of last change on any file system clock
        if (change == "cut")
            QVERIFY(::truncate(QFile::encodeName(path).constData(), 3) == 0);
        else if (change == "append") {
            QFile more(path);
            QVERIFY(more.open(QIODevice::Append) && more.write("x") == 1);
        } else if (change == "rewrite")
            TestSupport::writeFile(path, "new report\r\n");
        else if (change == "replace")
            TestSupport::replaceFile(path, "a new file\r\n");
        QCOMPARE(stamp.changed(file.handle()), changed);
    }

    // An output folder made with the folders above it, or the cause it
    // cannot be: what is in the way is named.
    void makeFolder_data()
    {
        QTest::addColumn<QString>("folder"); // under a temporary folder holding the file "plain"
        QTest::addColumn<QString>("cause");  // empty: made
        QTest::newRow("new, two deep") << "a/b" << "";
        QTest::newRow("there already") << "." << "";
        QTest::newRow("a file of its name") << "plain" << "plain: not a folder (a file has its name)";
        QTest::newRow("a file above it") << "plain/sub/deeper" << "plain/sub/deeper: cannot make the folder: %1/plain is a file, not a folder";
        QTest::newRow("a name too long") << QString(300, 'n') + "/sub"
                                         << QString(300, 'n') + "/sub: cannot make the folder: File name too long";
        // (Mounted read-only when the tests may mount.)
        QTest::newRow("on a read-only disk") << "ro/sub" << "ro/sub: cannot make the folder: %1/ro: Read-only file system";
    }
    void makeFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QString, cause);
        QTemporaryDir dir;
        TestSupport::writeFile(dir.filePath("plain"), "a file");
        const QByteArray readOnly = QFile::encodeName(dir.filePath("ro"));
        if (folder.startsWith("ro/")) {
            QVERIFY(QDir().mkpath(dir.filePath("ro")));
            if (::geteuid() != 0 || ::mount("tmpfs", readOnly.constData(), "tmpfs", MS_RDONLY, "size=64k") != 0)
                QSKIP("no read-only file system can be mounted here (not root, or not allowed)");
        }
        const auto unmount = qScopeGuard([&] {
            if (folder.startsWith("ro/"))
                ::umount2(readOnly.constData(), MNT_DETACH);
        });
        QString error;
        const bool made = FileChecks::makeFolder(dir.filePath(folder), &error);
        QCOMPARE(made, cause.isEmpty());
        if (made)
            QVERIFY(QFileInfo(dir.filePath(folder)).isDir());
        else
            QCOMPARE(error, dir.filePath(cause.arg(dir.path())));
    }
};

QTEST_GUILESS_MAIN(TestFileChecks)
#include "tst_filechecks.moc"
