// The watch's private temporary folders: those of a watch killed outright
// (which hold its rules and its jobs' plans, mail addresses in them) go at
// the next start; those of watches that run, and anything else, stay.
#include "TestSupport.h"
#include "watch/WatchTemporary.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestWatchTemporary : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void leftOverFoldersGo_data()
    {
        QTest::addColumn<QString>("whose"); // "dead", "running", "other"
        QTest::addColumn<bool>("stays");
        QTest::newRow("a watch killed outright") << "dead" << false;
        QTest::newRow("a watch that runs") << "running" << true;
        QTest::newRow("another program's folder") << "other" << true;
    }

    void leftOverFoldersGo()
    {
        QFETCH(QString, whose);
        QFETCH(bool, stays);
        QProcess ended; // a process number no process has now
        ended.start(QStringLiteral("true"));
        QVERIFY(ended.waitForStarted());
        const qint64 dead = ended.processId();
        QVERIFY(ended.waitForFinished());
        const QString name = whose == "other" ? QStringLiteral("sticker2-other-%1-abcdef").arg(dead)
            : QStringLiteral("sticker2-watch-%1-aB3dEf").arg(whose == "dead" ? dead : qint64(::getpid()));
        const QString folder = QDir(QDir::tempPath()).filePath(name);
        TestSupport::writeFile(folder + "/plan-1.json", "{\"mail-to\": [\"kunde@example.com\"]}");
        WatchTemporary::removeLeftOver();
        QCOMPARE(QFileInfo::exists(folder), stays);
        QDir(folder).removeRecursively();
        // Its own folders are named after the watch.
        QTemporaryDir own(WatchTemporary::folderTemplate());
        QVERIFY(own.isValid());
        QVERIFY(QFileInfo(own.path()).fileName().startsWith(QStringLiteral("sticker2-watch-%1-").arg(::getpid())));
        WatchTemporary::removeLeftOver();
        QVERIFY(QFileInfo::exists(own.path()));
    }
};

QTEST_GUILESS_MAIN(TestWatchTemporary)
#include "tst_watchtemporary.moc"
