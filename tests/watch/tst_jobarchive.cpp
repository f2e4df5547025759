// Where the converting watch puts a job it is done with: moved into done/ or
// failed/, or, out of a spool it may read but not change (a spool folder
// without the service's ACL entry), copied there with the original left.
#include "FileSizeLimit.h"
#include "TestSupport.h"
#include "watch/JobArchive.h"
#include "watch/JobInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The spool made one this process may read but not change while it lives.
// Root may change any folder, so root acts as nobody meanwhile (only the
// effective ids change: it becomes root again at the end).
class ReadOnlySpool
{
public:
    explicit ReadOnlySpool(const QString &spool)
        : m_spool(QFile::encodeName(spool))
        , m_root(::geteuid() == 0)
    {
        ::chmod(m_spool.constData(), 0555);
        if (m_root && (::setegid(Nobody) != 0 || ::seteuid(Nobody) != 0))
            qFatal("cannot act as nobody");
    }
    ~ReadOnlySpool()
    {
        if (m_root && (::seteuid(0) != 0 || ::setegid(0) != 0))
            qFatal("cannot become root again");
        ::chmod(m_spool.constData(), 0755);
    }
    ReadOnlySpool(const ReadOnlySpool &) = delete;
    ReadOnlySpool &operator=(const ReadOnlySpool &) = delete;

private:
    static constexpr uid_t Nobody = 65534;
    QByteArray m_spool;
    bool m_root;
};

} // namespace

class TstJobArchive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void copiedOnceOutOfASpoolItCannotChange_data();
    void copiedOnceOutOfASpoolItCannotChange();
    void freeNames_data();
    void freeNames();
    void copyFailsWithItsCause();
};

// A copy the disk cannot take fails with the cause the disk gave (it said
// "Unknown error"), leaves nothing half-written and keeps the job.
void TstJobArchive::copyFailsWithItsCause()
{
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                  | QFile::ReadOther | QFile::ExeOther));
    const QString spool = dir.filePath("spool");
    const QString failed = dir.filePath("failed");
    const QString job = TestSupport::writeFile(spool + "/big.prn", QByteArray(300000, 'x'));
    QVERIFY(::chmod(QFile::encodeName(job).constData(), 0644) == 0);
    QVERIFY(QDir().mkpath(failed));
    QVERIFY(::chmod(QFile::encodeName(failed).constData(), 0777) == 0);
    QString movedTo, note, error;
    bool moved = true;
    {
        const ReadOnlySpool readOnly(spool);
        const FileSizeLimit limit(100000);
        moved = JobArchive::moveInto(job, failed, &movedTo, &note, &error);
    }
    QVERIFY(!moved);
    QVERIFY2(error.endsWith(": File too large"), qPrintable(error));
    QVERIFY(QFileInfo::exists(job));
    QCOMPARE(QDir(failed).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// Each start of the watch finds the job in the spool again and moves it
// again: the copy the first move made is the move, not one more copy (a-2,
// a-3 ...) at every start. A job of other bytes under the same name is a
// job of its own. The side file goes with the job, once.
void TstJobArchive::copiedOnceOutOfASpoolItCannotChange_data()
{
    QTest::addColumn<QByteArray>("earlier"); // done/a.prn before the move; none when empty
    QTest::addColumn<QString>("expected");   // where the job is then
    QTest::newRow("first move") << QByteArray() << "a.prn";
    QTest::newRow("moved before") << QByteArray("job\f") << "a.prn";
    QTest::newRow("another job of its name moved before") << QByteArray("other\f") << "a-2.prn";
}

void TstJobArchive::copiedOnceOutOfASpoolItCannotChange()
{
    QFETCH(QByteArray, earlier);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                  | QFile::ReadOther | QFile::ExeOther));
    const QString spool = dir.filePath("spool");
    const QString done = dir.filePath("done");
    const QString job = TestSupport::writeFile(spool + "/a.prn", "job\f");
    TestSupport::writeFile(jobInfoPath(job), "job=7\nuser=alice\n");
    // A job its spooler keeps from the group: its copy keeps it from them too.
    QVERIFY(::chmod(QFile::encodeName(job).constData(), 0604) == 0);
    QVERIFY(QDir().mkpath(done));
    if (!earlier.isEmpty()) {
        TestSupport::writeFile(done + "/a.prn", earlier);
        TestSupport::writeFile(done + "/.a.prn.info", "job=7\nuser=alice\n");
    }
    QVERIFY(::chmod(QFile::encodeName(done).constData(), 0777) == 0);
    for (int start = 0; start < 2; ++start) {
        QString movedTo, note, error;
        bool moved = false;
        {
            const ReadOnlySpool readOnly(spool);
            moved = JobArchive::moveInto(job, done, &movedTo, &note, &error);
        }
        QVERIFY2(moved, qPrintable(error));
        QCOMPARE(movedTo, done + "/" + expected);
        QCOMPARE(TestSupport::readFile(movedTo), QByteArray("job\f"));
        if (earlier.isEmpty())
            QCOMPARE(QFileInfo(movedTo).permissions(), QFileInfo(job).permissions());
        QCOMPARE(TestSupport::readFile(jobInfoPath(movedTo)), QByteArray("job=7\nuser=alice\n"));
        QVERIFY2(note.startsWith("the original stays ("), qPrintable(note));
        QVERIFY(QFileInfo::exists(job));
    }
    QStringList all = QDir(done).entryList(QDir::Files | QDir::Hidden);
    QStringList wanted {"a.prn", ".a.prn.info"};
    if (expected != "a.prn")
        wanted << expected << "." + expected + ".info";
    all.sort();
    wanted.sort();
    QCOMPARE(all, wanted);
}

// An output's name is free when nothing holds it: the file, a link of its
// name, an output promised, or for pictures (NAME.png) their first, NAME-001.png.
void TstJobArchive::freeNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("there");
    QTest::addColumn<QString>("promised");
    QTest::addColumn<QString>("free");
    QTest::newRow("nothing there") << "a.pdf" << QStringList() << "" << "a.pdf";
    QTest::newRow("the file") << "a.pdf" << QStringList {"a.pdf", "a-2.pdf"} << "" << "a-3.pdf";
    QTest::newRow("promised") << "a.pdf" << QStringList() << "a.pdf" << "a-2.pdf";
    QTest::newRow("pictures there") << "a.png" << QStringList {"a-001.png", "a-002.png"} << "" << "a-2.png";
    QTest::newRow("another export's later pictures") << "a.png" << QStringList {"a-005.png"} << "" << "a.png";
    // A thousand sheets and more are numbered in four digits: their export
    // to a.png was replaced, and its pictures taken away, by the next job's.
    QTest::newRow("a thousand pictures there") << "a.png" << QStringList {"a-0001.png", "a-1000.png"} << ""
                                               << "a-2.png";
    QTest::newRow("pictures in capitals") << "a.PNG" << QStringList {"a-001.png"} << "" << "a-2.PNG";
}

void TstJobArchive::freeNames()
{
    QFETCH(QString, name);
    QFETCH(QStringList, there);
    QFETCH(QString, promised);
    QFETCH(QString, free);
    QTemporaryDir dir;
    for (const QString &file : there)
        TestSupport::writeFile(dir.filePath(file), "x");
    QSet<QString> taken;
    if (!promised.isEmpty())
        taken.insert(dir.filePath(promised));
    QCOMPARE(JobArchive::freePath(dir.path(), name, taken), dir.filePath(free));
}

QTEST_GUILESS_MAIN(TstJobArchive)
#include "tst_jobarchive.moc"
