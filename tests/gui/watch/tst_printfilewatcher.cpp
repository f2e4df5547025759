#include "WindowSupport.h"
#include "gui/platform/Dialogs.h"
#include "gui/report/OpenReportView.h"
#include "gui/sticker/Frm0010Sticker.h"
#include "gui/watch/FrmWatch.h"
#include "watch/OpenWriters.h"
#include "watch/PrintFileWatcher.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class TstPrintFileWatcher : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::initWindows(); }
    void reportsNewFilesOnceWhenComplete();
    void movedOutAndBackIsNew();
    void batchHoldsBackOnlyTheOpenFile();
    void heldWhileOpenForWriting();
    void namesNotUtf8SaidOnce();
    void watchWindowSaysNameNotUtf8();
    void watchFromTheStickerForm();
};

// A file being written is reported only once its writer has closed it (one
// open for reading and writing too), a file that keeps growing only once it
// has settled, a finished file renamed from a hidden name at once, and none
// again unless it is written anew; old, hidden and special entries never.
void TstPrintFileWatcher::reportsNewFilesOnceWhenComplete()
{
    QTemporaryDir dir;
    const QString d = dir.path() + QLatin1Char('/');
    auto write = [](const QString &path, const QByteArray &bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::Append) && f.write(bytes) == bytes.size());
    };
    write(d + "old.prn", "\x1b@old");
    PrintFileWatcher watcher;
    watcher.setSettleInterval(300);
    QString error;
    QVERIFY(!watcher.start(d + "missing", &error));
    QVERIFY(error.contains(d + "missing"));
    QVERIFY(watcher.start(dir.path(), &error));
    QSignalSpy ready(&watcher, &PrintFileWatcher::fileReady);

    QDir(dir.path()).mkdir("sub");
    QCOMPARE(::mkfifo(QFile::encodeName(d + "pipe").constData(), 0600), 0);
    write(d + ".job.part", "\x1b@done");
    QFile slow(d + "slow.prn");
    QVERIFY(slow.open(QIODevice::WriteOnly));
    slow.write("\x1b@first half ");
    slow.flush();
    QFile both(d + "both.prn");
    QVERIFY(both.open(QIODevice::ReadWrite));
    both.write("\x1b@read back as it is written");
    both.flush();
    for (int i = 0; i < 15; ++i) { // appended and closed again and again, faster than it settles
        write(d + "grow.prn", "line\r\n");
        QTest::qWait(50);
        QCOMPARE(ready.count(), 0);
    }
    QTest::qWait(900); // unchanged for longer than the settle time, but still open
    QCOMPARE(ready.count(), 1);
    QCOMPARE(ready.at(0).at(0).toString(), d + "grow.prn");

    slow.write("second half\f");
    slow.close();
    both.close();
    QVERIFY(QFile::rename(d + ".job.part", d + "job.prn"));
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 4, 5000);
    QStringList paths;
    for (const QList<QVariant> &signal : ready)
        paths << signal.at(0).toString();
    paths.sort();
    QCOMPARE(paths, QStringList({d + "both.prn", d + "grow.prn", d + "job.prn", d + "slow.prn"}));

    QTest::qWait(900);
    QCOMPARE(ready.count(), 4); // once each

    // Written anew after it was reported, or another file put in its place:
    // a new job of the same name. It had been taken for the old one until
    // the watch started again.
    ready.clear();
    write(d + "slow.prn", "more");
    write(d + "old.prn", "more");
    write(d + ".next.part", "\x1b@next");
    QCOMPARE(::rename(QFile::encodeName(d + ".next.part").constData(), QFile::encodeName(d + "both.prn").constData()), 0);
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 3, 5000);
    paths.clear();
    for (const QList<QVariant> &signal : ready)
        paths << signal.at(0).toString();
    paths.sort();
    QCOMPARE(paths, QStringList({d + "both.prn", d + "old.prn", d + "slow.prn"}));
    QTest::qWait(900);
    QCOMPARE(ready.count(), 3);

    // Written anew in place long after the folder last changed, as a DOS
    // program printing to a fixed name does: the folder's time tells nothing.
    QTest::qWait(3200);
    ready.clear();
    QFile again(d + "slow.prn");
    QVERIFY(again.open(QIODevice::WriteOnly | QIODevice::Truncate));
    again.write("\x1b@the next job under the same name\f");
    again.close();
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, 5000);
    QCOMPARE(ready.at(0).at(0).toString(), d + "slow.prn");
    QTest::qWait(900);
    QCOMPARE(ready.count(), 1);
}

// A reported job its owner moved away and that came back before the folder
// was listed again is the same file by inode, size and time: forgotten, it
// is a new job (a failed job put back at once had never been converted).
void TstPrintFileWatcher::movedOutAndBackIsNew()
{
    QTemporaryDir dir;
    const QString job = dir.filePath("job.prn");
    const QString inFailed = dir.filePath("failed/job.prn");
    QVERIFY(QDir(dir.path()).mkdir("failed"));
    TestSupport::writeFile(job, "\x1b@job\f");
    PrintFileWatcher watcher;
    watcher.setSettleInterval(100);
    watcher.setReportExisting(true);
    QVERIFY(watcher.start(dir.path()));
    QSignalSpy ready(&watcher, &PrintFileWatcher::fileReady);
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, 5000);
    for (const bool forgotten : {false, true}) {
        ready.clear();
        QVERIFY(QFile::rename(job, inFailed));
        if (forgotten)
            watcher.forget(job);
        QVERIFY(QFile::rename(inFailed, job)); // back before the watch heard of either
        QTest::qWait(600);
        QCOMPARE(ready.count(), forgotten ? 1 : 0);
    }
}

// A batch that arrives at once is reported whole but for the file a writer
// still holds; the check of open files takes the candidates together and
// tells writers from readers.
void TstPrintFileWatcher::batchHoldsBackOnlyTheOpenFile()
{
    QTemporaryDir dir;
    const QString d = dir.path() + QLatin1Char('/');
    PrintFileWatcher watcher;
    watcher.setSettleInterval(100);
    QVERIFY(watcher.start(dir.path()));
    QSignalSpy ready(&watcher, &PrintFileWatcher::fileReady);
    QFile held(d + "held.prn");
    QVERIFY(held.open(QIODevice::WriteOnly) && held.write("\x1b@") == 2 && held.flush());
    for (int i = 0; i < 300; ++i)
        TestSupport::writeFile(d + QString("job%1.prn").arg(i, 3, 10, QLatin1Char('0')), "page\f");
    QFile reader(d + "job000.prn");
    QVERIFY(reader.open(QIODevice::ReadOnly));
    QCOMPARE(OpenWriters::openForWriting({d + "held.prn", d + "job000.prn", d + "job001.prn", d + "gone.prn"}),
        QSet<QString> {d + "held.prn"});
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 300, 10000);
    QTest::qWait(300);
    QCOMPARE(ready.count(), 300);
    held.close();
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 301, 5000);
    QCOMPARE(ready.last().at(0).toString(), d + "held.prn");
}

// Held back while a writer the kernel told of has it open (its pauses are
// longer than the settle time), reported once it is closed; a file written
// with nothing open (cut short by name) has no writer to wait for, and one
// that is only read stays no longer than its settle time.
void TstPrintFileWatcher::heldWhileOpenForWriting()
{
    QTemporaryDir dir;
    const QString d = dir.path() + QLatin1Char('/');
    PrintFileWatcher watcher;
    watcher.setSettleInterval(100);
    QVERIFY(watcher.start(dir.path()));
    QSignalSpy ready(&watcher, &PrintFileWatcher::fileReady);
    const int writer = ::open(QFile::encodeName(d + "paused.prn").constData(), O_WRONLY | O_CREAT, 0644);
    QVERIFY(writer >= 0 && ::write(writer, "\x1b@first", 7) == 7);
    TestSupport::writeFile(d + "cut.prn", "\x1b@a longer job\f");
    QCOMPARE(::truncate(QFile::encodeName(d + "cut.prn").constData(), 6), 0);
    // Written through two descriptors closed at once (the kernel tells of
    // the two closes as one), then cut short by name.
    const QByteArray twice = QFile::encodeName(d + "twice.prn");
    const int one = ::open(twice.constData(), O_WRONLY | O_CREAT, 0644);
    QVERIFY(one >= 0 && ::write(one, "\x1b@one ", 7) == 7);
    QTest::qWait(50);
    const int two = ::open(twice.constData(), O_WRONLY | O_APPEND);
    QVERIFY(two >= 0 && ::write(two, "two\f", 4) == 4);
    QVERIFY(::close(two) == 0 && ::close(one) == 0);
    QCOMPARE(::truncate(twice.constData(), 7), 0);
    TestSupport::writeFile(d + "read.prn", "\x1b@read\f");
    QFile reader(d + "read.prn");
    QVERIFY(reader.open(QIODevice::ReadOnly));
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 3, 5000);
    QTest::qWait(600); // six settle times: the paused writer still holds its job
    QCOMPARE(ready.count(), 3);
    QVERIFY(::write(writer, " second\f", 8) == 8 && ::close(writer) == 0);
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 4, 5000);
    QCOMPARE(ready.last().at(0).toString(), d + "paused.prn");
}

// A name in Latin-1 (not UTF-8) names a file Qt can neither list nor open:
// a new one is said once, as Latin-1, while the others go on; renamed to
// UTF-8, it is a new file. One there before the start is not said.
void TstPrintFileWatcher::namesNotUtf8SaidOnce()
{
    QTemporaryDir dir;
    const QString d = dir.path() + QLatin1Char('/');
    const QByteArray raw = QFile::encodeName(dir.path()) + '/';
    // (QFile cannot make such a name, nor QTemporaryDir remove it.)
    const auto make = [&raw](const QByteArray &name) {
        const int file = ::open((raw + name).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        QVERIFY(file >= 0 && ::write(file, "page\f", 5) == 5);
        ::close(file);
    };
    const auto removeRaw = qScopeGuard([&raw] {
        ::unlink((raw + "old\xe9.prn").constData());
        ::unlink((raw + "M\xfcller.prn").constData());
    });
    make("old\xe9.prn");
    PrintFileWatcher watcher;
    watcher.setSettleInterval(100);
    QSignalSpy ready(&watcher, &PrintFileWatcher::fileReady);
    QSignalSpy notUtf8(&watcher, &PrintFileWatcher::nameNotUtf8);
    QVERIFY(watcher.start(dir.path()));
    make("M\xfcller.prn");
    TestSupport::writeFile(d + "ok.prn", "page\f");
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, 5000);
    QCOMPARE(ready.at(0).at(0).toString(), d + "ok.prn");
    QCOMPARE(notUtf8.count(), 1);
    QCOMPARE(notUtf8.at(0).at(0).toString(), d + QString::fromUtf8("M\u00fcller.prn"));
    TestSupport::writeFile(d + "next.prn", "page\f"); // the folder listed again
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 2, 5000);
    QCOMPARE(notUtf8.count(), 1);
    QCOMPARE(::rename((raw + "M\xfcller.prn").constData(), (raw + "Mueller.prn").constData()), 0);
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 3, 5000);
    QCOMPARE(ready.at(2).at(0).toString(), d + "Mueller.prn");
    QCOMPARE(notUtf8.count(), 1);
}

// The watch window says which job it could not open for its name, and
// forgets it when it watches another folder.
void TstPrintFileWatcher::watchWindowSaysNameNotUtf8()
{
    QTemporaryDir dir, other;
    const QByteArray raw = QFile::encodeName(dir.path()) + "/M\xfcller.prn";
    const auto removeRaw = qScopeGuard([&raw] { ::unlink(raw.constData()); });
    FrmWatch watch;
    QString error;
    QVERIFY2(watch.start(dir.path(), &error), qPrintable(error));
    watch.show();
    QVERIFY(!watch.findChild<QLabel *>("LbNotOpened")->isVisible());
    const int file = ::open(raw.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(file >= 0 && ::write(file, "page\f", 5) == 5);
    ::close(file);
    QLabel *said = watch.findChild<QLabel *>("LbNotOpened");
    QTRY_VERIFY_WITH_TIMEOUT(said->isVisible(), 5000);
    QVERIFY2(said->text().contains(QString::fromUtf8("M\u00fcller.prn was not opened, as its name is not UTF-8")),
        qPrintable(said->text()));
    QCOMPARE(OpenViewCount, 0);
    QVERIFY2(watch.start(other.path(), &error), qPrintable(error));
    QVERIFY(!said->isVisible());
}

// The sticker form's entry watches a chosen folder: eight jobs open six views
// and the window tells of the two that wait; a closed view lets one in.
void TstPrintFileWatcher::watchFromTheStickerForm()
{
    QTemporaryDir dir;
    Frm0010Sticker form;
    Dialogs::setNextFileName(dir.path());
    form.findChild<QAction *>("ActWatch")->trigger();
    FrmWatch *watch = FrmWatch::current();
    QVERIFY(watch && watch->isVisible());
    for (int i = 1; i <= 8; ++i)
        TestSupport::writeFile(dir.filePath(QStringLiteral("job%1.prn").arg(i)), "Page\r\n\f");
    QTRY_COMPARE_WITH_TIMEOUT(
        TestSupport::state(watch, "LbWaiting"), QStringLiteral("2 print files wait for a report view to close."), 10000);
    QCOMPARE(OpenViewCount, 6);
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("FrmReport") && w->isVisible()) {
            w->close();
            break;
        }
    }
    QTRY_COMPARE(TestSupport::state(watch, "LbWaiting"), QStringLiteral("1 print file waits for a report view to close."));
    QTRY_COMPARE(OpenViewCount, 6);
    watch->close();
}

QTEST_MAIN(TstPrintFileWatcher)
#include "tst_printfilewatcher.moc"
