#include "TestSupport.h"
#include "controls/JeweledButton.h"
#include "platform/AppPaths.h"
#include "platform/KeyFilter.h"
#include "startup/MainModule.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include <sys/stat.h>

class TestMainModule : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void init()
    {
        LastTempNumber.clear();
        QDir(AppPaths::privateTempFolder()).removeRecursively();
    }

    void controlSequences_data();
    void controlSequences();
    void tempNames_firstFree();
    void tempNames_plantedLinkIsSkipped();
    void tempNames_reusesDeletedNumber();
    void tempNames_lastCandidate();
    void tempFolder_isPrivate();
    void padRight_data();
    void padRight();
    void integerKeyFilter_data();
    void integerKeyFilter();
    void integerKeyFilterOnABox();
    void decimalKeyFilter_data();
    void decimalKeyFilter();
    void shortPath();
    void refreshButtonsKeepsSize();
};

void TestMainModule::controlSequences_data()
{
    QTest::addColumn<QString>("sequence");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("BoldOn") << BoldOn << QByteArray("\x1b\x45");
    QTest::newRow("BoldOff") << BoldOff << QByteArray("\x1b\x46");
    QTest::newRow("BBoldOn") << BBoldOn << QByteArray("\x0e\x1b\x45\x1b\x47");
    QTest::newRow("BBoldOff") << BBoldOff << QByteArray("\x14\x1b\x46\x1b\x48");
    QTest::newRow("ULineOn") << ULineOn << QByteArray("\x1b\x2d\x31");
    QTest::newRow("ULineOff") << ULineOff << QByteArray("\x1b\x2d\x30");
    QTest::newRow("CondOn") << CondOn << QByteArray("\x0f");
    QTest::newRow("CondOff") << CondOff << QByteArray("\x12");
    QTest::newRow("C96On is six bytes with W and a space") << C96On << QByteArray("\x12\x1bW \x1bM");
    QTest::newRow("C96Off") << C96Off << QByteArray("\x1b\x50");
}

void TestMainModule::controlSequences()
{
    QFETCH(QString, sequence);
    QFETCH(QByteArray, bytes);
    QCOMPARE(sequence.toLatin1(), bytes);
}

void TestMainModule::tempNames_firstFree()
{
    const QString folder = AppPaths::privateTempFolder();
    QVERIFY(!folder.isEmpty());
    QCOMPARE(NextTempFileName(), folder + "/Tz0.Tmp");
    QCOMPARE(LastTempNumber, QString("0"));
    QVERIFY(QFile::exists(folder + "/Tz0.Tmp"));
    // The name is taken now, so the next call moves on.
    QCOMPARE(NextTempFileName(), folder + "/Tz1.Tmp");
    QCOMPARE(LastTempNumber, QString("1"));
}

void TestMainModule::tempNames_plantedLinkIsSkipped()
{
    const QString folder = AppPaths::privateTempFolder();
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath("victim");
    // A dangling link in place of Tz0.Tmp must not be followed or reused.
    QVERIFY(QFile::link(target, folder + "/Tz0.Tmp"));
    TestSupport::writeFile(folder + "/Tz1.Tmp", "x");
    QCOMPARE(NextTempFileName(), folder + "/Tz2.Tmp");
    QVERIFY(!QFile::exists(target));
    QCOMPARE(LastTempNumber, QString("2"));
}

void TestMainModule::tempNames_reusesDeletedNumber()
{
    const QString first = NextTempFileName();
    QVERIFY(QFile::remove(first));
    QCOMPARE(NextTempFileName(), first);
}

void TestMainModule::tempNames_lastCandidate()
{
    const QString folder = AppPaths::privateTempFolder();
    LastTempNumber = "9999999";
    TestSupport::writeFile(folder + "/Tz9999999.Tmp", "x");
    QCOMPARE(NextTempFileName(), folder + "/Tz9999999.Tmp");
    QCOMPARE(LastTempNumber, QString("10000000"));
}

void TestMainModule::tempFolder_isPrivate()
{
    const QString folder = AppPaths::privateTempFolder();
    struct stat st;
    QCOMPARE(::lstat(QFile::encodeName(folder).constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 0777), 0700);
    // A link planted where the folder belongs is refused.
    QDir(folder).removeRecursively();
    QTemporaryDir other;
    QVERIFY(QFile::link(other.path(), folder));
    QVERIFY(AppPaths::privateTempFolder().isEmpty());
    QVERIFY(NextTempFileName().isEmpty());
    QFile::remove(folder);
}

void TestMainModule::padRight_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("trimmed and padded") << "  ab " << 4 << "ab  ";
    QTest::newRow("cut to width") << "abcdef" << 3 << "abc";
    QTest::newRow("empty gives spaces") << "" << 3 << "   ";
    QTest::newRow("width 0") << "abc" << 0 << "";
    QTest::newRow("inner spaces kept") << " a b " << 5 << "a b  ";
}

void TestMainModule::padRight()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(PadRight(text, width), expected);
}

void TestMainModule::integerKeyFilter_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("minus") << 45 << 45;
    QTest::newRow("0") << 48 << 48;
    QTest::newRow("9") << 57 << 57;
    QTest::newRow("backspace") << 8 << 8;
    QTest::newRow("enter") << 13 << 13;
    QTest::newRow("letter") << int('a') << 1;
    QTest::newRow("dot") << 46 << 1;
    QTest::newRow("space") << 32 << 1;
    QTest::newRow("apostrophe") << 39 << 1;
}

void TestMainModule::integerKeyFilter()
{
    QFETCH(int, key);
    QFETCH(int, expected);
    QCOMPARE(IntegerKeyFilter(key), expected);
}

void TestMainModule::integerKeyFilterOnABox()
{
    QLineEdit box;
    KeyFilter::install(&box, IntegerKeyFilter);
    QTest::keyClicks(&box, "1a-2.");
    QCOMPARE(box.text(), QString("1-2"));
    // Editing keys pass; on X11 Delete carries the DEL character.
    QTest::keyClick(&box, Qt::Key_Home);
    QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_Delete, QString(QChar(0x7f)), Qt::NoModifier);
    QTest::keyClick(&box, Qt::Key_End);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QCOMPARE(box.text(), QString("-"));
}

void TestMainModule::decimalKeyFilter_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("first dot") << 46 << "12" << 46;
    QTest::newRow("second dot") << 46 << "1.2" << 1;
    QTest::newRow("minus anywhere") << 45 << "1.2" << 45;
    QTest::newRow("digit") << 55 << "1.2" << 55;
    QTest::newRow("letter") << int('x') << "" << 1;
    QTest::newRow("backspace") << 8 << "1." << 8;
    QTest::newRow("enter") << 13 << "" << 13;
}

void TestMainModule::decimalKeyFilter()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(DecimalKeyFilter(key, text), expected);
}

void TestMainModule::shortPath()
{
    QTemporaryDir dir;
    const QString file = TestSupport::writeFile(dir.filePath("a/b.prn"), "x");
    QCOMPARE(ShortPathOf(dir.path() + "/a/../a/./b.prn"), file);
    QVERIFY(ShortPathOf(dir.filePath("missing")).isEmpty());
}

void TestMainModule::refreshButtonsKeepsSize()
{
    QWidget form;
    auto *b = new JeweledButton("CmdOk", "OK", &form);
    b->resize(80, 30);
    RefreshButtons(&form);
    QCOMPARE(b->size(), QSize(80, 30));
}

QTEST_MAIN(TestMainModule)
#include "tst_mainmodule.moc"
