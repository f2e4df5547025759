#include "FileSizeLimit.h"
#include "TestSupport.h"
#include "platform/AppPaths.h"
#include "platform/SettingsStore.h"
#include "startup/MainModule.h"
#include "sticker/FormatFile.h"
#include "sticker/FormatStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

namespace {

StickerInput filled()
{
    StickerInput in;
    const char *texts[12] = {"Velmora Traders", " 12 Market Road ", "", "Roll No", "Class", "601", "612", "4",
        "Phone", "India", "1", "10"};
    for (int i = 0; i < 12; ++i)
        in.Atxt[size_t(i)] = QString::fromLatin1(texts[i]);
    in.maxField = 7;
    in.TxSp = "2";
    in.TxCol = "5abc";
    in.TxRow = "20";
    in.TxBlank = "1";
    in.TxMaxFLenth = "2.50";
    in.condensed = true;
    in.txtRowPrint = "3";
    in.Combo2 = "5";
    in.ChkIn1 = true;
    in.ChkIn2 = false;
    in.TxtFontNM = "Courier New";
    in.TxtFontSZ = "10.5";
    in.TxtMtop = "720";
    in.TxtMLeft = "-15";
    in.TxtHEight = "1800";
    in.TxtWidth = "";
    return in;
}

const QByteArray filledSlotFile
    = "Velmora Traders\r\n 12 Market Road \r\n\r\nRoll No\r\nClass\r\n601\r\n612\r\n4\r\n"
      "Phone\r\nIndia\r\n7\r\n2\r\n5\r\n20\r\n2.5\r\n1\r\n10\r\n 3 \r\n 5 \r\n 1 \r\n 0 \r\n";

} // namespace

class TestFormatStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void init()
    {
        QFile::remove(SettingsStore::fileName(SettingsAppName));
        QDir(AppPaths::formatFolder()).removeRecursively();
        QVERIFY(AppPaths::ensureProgramFolder());
    }

    void captionsAndKeys_data();
    void captionsAndKeys();
    void numbers_data();
    void numbers();
    void defaultsWhenNothingStored();
    void savedFilesAndKeys();
    void roundTrip_data();
    void roundTrip();
    void savingTwiceGivesIdenticalFiles();
    void slotFileLines_data();
    void slotFileLines();
    void storedKeyValues_data();
    void storedKeyValues();
    void missingOrShortFileKeepsOnlyStoredValues();
    void fileNamesMatchedWithoutCase();
    void firstRunSettingFileMatchesWriter();
    void failedSaveKeepsOldFile();
    void directoryInPlaceOfFile();
};

void TestFormatStore::captionsAndKeys_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("firstKey");
    QTest::addColumn<QString>("lastKey");
    QTest::addColumn<QString>("file");
    QTest::newRow("slot 0 is captioned 6") << 0 << "6"
                                           << "0 Space"
                                           << "0 8"
                                           << "0.txt";
    QTest::newRow("slot 1") << 1 << "1"
                            << "1 Space"
                            << "1 8"
                            << "1.txt";
    QTest::newRow("slot 3") << 3 << "3"
                            << "3 Space"
                            << "3 8"
                            << "3.txt";
    QTest::newRow("slot 5") << 5 << "5"
                            << "5 Space"
                            << "5 8"
                            << "5.txt";
    QTest::newRow("slot 6 is captioned 7") << 6 << "7"
                                           << "6 Space"
                                           << "6 8"
                                           << "6.txt";
    QTest::newRow("slot 7 is captioned 8") << 7 << "8"
                                           << "7 Space"
                                           << "7 8"
                                           << "7.txt";
}

void TestFormatStore::captionsAndKeys()
{
    QFETCH(int, slot);
    QFETCH(QString, caption);
    QFETCH(QString, firstKey);
    QFETCH(QString, lastKey);
    QFETCH(QString, file);
    QCOMPARE(FormatStore::slotCaption(slot), caption);
    QCOMPARE(FormatStore::settingsKey(slot, " Space"), firstKey);
    QCOMPARE(FormatStore::settingsKey(slot, " 8"), lastKey);
    QCOMPARE(FormatStore::slotFilePath(slot), AppPaths::formatFolder() + "/" + file);
}

void TestFormatStore::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("compact");
    QTest::addColumn<QString>("spaced");
    QTest::newRow("whole") << "12"
                           << "12"
                           << " 12 ";
    QTest::newRow("leading part only") << " 12abc"
                                       << "12"
                                       << " 12 ";
    QTest::newRow("empty is 0") << ""
                                << "0"
                                << " 0 ";
    QTest::newRow("text is 0") << "abc"
                               << "0"
                               << " 0 ";
    QTest::newRow("trailing zeros dropped") << "2.50"
                                            << "2.5"
                                            << " 2.5 ";
    QTest::newRow("negative has no leading space") << "-3"
                                                   << "-3"
                                                   << "-3 ";
    QTest::newRow("one") << "1"
                         << "1"
                         << " 1 ";
}

void TestFormatStore::numbers()
{
    QFETCH(QString, text);
    QFETCH(QString, compact);
    QFETCH(QString, spaced);
    QCOMPARE(FormatFile::compactNumber(text), compact);
    QCOMPARE(FormatFile::spacedNumber(FormatFile::compactNumber(text).toDouble()), spaced);
}

void TestFormatStore::defaultsWhenNothingStored()
{
    StickerInput in;
    in.condensed = true;
    in.maxField = 5;
    FormatStore::loadSlot(3, in);
    QCOMPARE(in.TxSp, QString("3"));
    QCOMPARE(in.TxCol, QString("6"));
    QCOMPARE(in.TxRow, QString("12"));
    QCOMPARE(in.TxBlank, QString("3"));
    QCOMPARE(in.TxMaxFLenth, QString("4"));
    QCOMPARE(in.condensed, false);
    QCOMPARE(in.maxField, 1);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(in.Atxt[size_t(i)], QString(" "));
}

void TestFormatStore::savedFilesAndKeys()
{
    QString error;
    QVERIFY2(FormatStore::save(2, filled(), &error), qPrintable(error));
    QVERIFY(error.isEmpty());
    QCOMPARE(TestSupport::readFile(AppPaths::formatFolder() + "/2.txt"), filledSlotFile);
    QCOMPARE(TestSupport::readFile(AppPaths::formatFolder() + "/Setting.txt"),
        QByteArray("Courier New\r\n 10.5 \r\n 720 \r\n-15 \r\n 1800 \r\n 0 \r\n0\r\n"));

    QSettings ini(SettingsStore::fileName(SettingsAppName), QSettings::IniFormat);
    ini.beginGroup("Sticker");
    const QStringList expected = {"2 Space", "2 Col", "2 Row", "2 Blankline", "2 MaxFL", "2 PrintStyle",
        "2 1", "2 2", "2 3", "2 4", "2 5", "2 6", "2 7", "2 8"};
    QStringList keys = ini.childKeys();
    keys.sort();
    QStringList sortedExpected = expected;
    sortedExpected.sort();
    QCOMPARE(keys, sortedExpected); // " Maxf" is never written
    QCOMPARE(ini.value("2 Col").toString(), QString("5abc"));
    QCOMPARE(ini.value("2 PrintStyle").toString(), QString("1"));
    QCOMPARE(ini.value("2 2").toString(), QString(" 12 Market Road "));
    QCOMPARE(ini.value("2 3").toString(), QString(""));
}

void TestFormatStore::roundTrip_data()
{
    QTest::addColumn<int>("slot");
    for (int slot = 0; slot < FormatStore::SlotCount; ++slot)
        QTest::newRow(qPrintable(QString("slot %1").arg(slot))) << slot;
}

void TestFormatStore::roundTrip()
{
    QFETCH(int, slot);
    const StickerInput saved = filled();
    QString error;
    QVERIFY2(FormatStore::save(slot, saved, &error), qPrintable(error));

    StickerInput loaded;
    FormatStore::loadSlot(slot, loaded);
    QVERIFY(FormatStore::LoadWindowSettings(loaded));
    for (int i = 0; i < 12; ++i)
        QCOMPARE(loaded.Atxt[size_t(i)], saved.Atxt[size_t(i)]);
    QCOMPARE(loaded.Atxt[2], QString("")); // empty stays empty, not the one-space default
    QCOMPARE(loaded.maxField, 7);
    QCOMPARE(loaded.TxSp, QString("2"));
    QCOMPARE(loaded.TxCol, QString("5")); // the file holds the number
    QCOMPARE(loaded.TxRow, QString("20"));
    QCOMPARE(loaded.TxBlank, QString("1"));
    QCOMPARE(loaded.TxMaxFLenth, QString("2.5"));
    QCOMPARE(loaded.condensed, true);
    QCOMPARE(loaded.txtRowPrint, QString("3"));
    QCOMPARE(loaded.Combo2, QString("5"));
    QCOMPARE(loaded.ChkIn1, true);
    QCOMPARE(loaded.ChkIn2, false);
    QCOMPARE(loaded.TxtFontNM, QString("Courier New"));
    QCOMPARE(loaded.TxtFontSZ, QString("10.5"));
    QCOMPARE(loaded.TxtMLeft, QString("-15"));
    QCOMPARE(loaded.TxtWidth, QString("0"));

    // Other slots are untouched.
    StickerInput other;
    FormatStore::loadSlot((slot + 1) % FormatStore::SlotCount, other);
    QCOMPARE(other.TxCol, QString("6"));
}

void TestFormatStore::savingTwiceGivesIdenticalFiles()
{
    QString error;
    QVERIFY(FormatStore::save(4, filled(), &error));
    const QByteArray slotFile = TestSupport::readFile(FormatStore::slotFilePath(4));
    const QByteArray settingFile = TestSupport::readFile(FormatStore::settingFilePath());
    StickerInput again = filled();
    FormatStore::loadSlot(4, again);
    FormatStore::LoadWindowSettings(again);
    QVERIFY(FormatStore::save(4, again, &error));
    QCOMPARE(TestSupport::readFile(FormatStore::slotFilePath(4)), slotFile);
    QCOMPARE(TestSupport::readFile(FormatStore::settingFilePath()), settingFile);
    QCOMPARE(QDir(AppPaths::formatFolder()).entryList(QDir::Files).size(), 2);
}

void TestFormatStore::slotFileLines_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("maxField");
    QTest::addColumn<QString>("rowPrint");
    QTest::addColumn<QString>("loop");
    QTest::addColumn<bool>("in1");
    QTest::addColumn<bool>("in2");
    const QByteArray head = "a\r\nb\r\nc\r\nd\r\ne\r\n1\r\n9\r\nx\r\nf\r\ng\r\n";
    const QByteArray grid = "3\r\n6\r\n12\r\n4\r\n1\r\n5\r\n";
    QTest::newRow("spaced numbers read") << head + "5\r\n" + grid + " 2 \r\n 5 \r\n 1 \r\n 1 \r\n"
                                         << 5 << "2"
                                         << "5" << true << true;
    QTest::newRow("rows per sheet 0 shows 1, loop 0 shows 4")
        << head + "5\r\n" + grid + " 0 \r\n 0 \r\n 0 \r\n 0 \r\n"
        << 5 << "1"
        << "4" << false << false;
    QTest::newRow("empty lines fall back") << head + "5\r\n" + grid + "\r\n\r\n\r\n\r\n"
                                           << 5 << "1"
                                           << "4" << false << false;
    QTest::newRow("max field 0 kept") << head + "0\r\n" + grid + " 1 \r\n 4 \r\n 0 \r\n 1 \r\n"
                                      << 0 << "1"
                                      << "4" << false << true;
    QTest::newRow("max field out of range ignored")
        << head + "300\r\n" + grid + " 1 \r\n 4 \r\n 0 \r\n 1 \r\n"
        << 2 << "1"
        << "4" << false << true;
    QTest::newRow("lines after 21 ignored, LF ends read too")
        << head + "6\n" + grid + " 7 \n 5 \n 1 \n 0 \nextra\nmore\n"
        << 6 << "7"
        << "5" << true << false;
}

void TestFormatStore::slotFileLines()
{
    QFETCH(QByteArray, file);
    QFETCH(int, maxField);
    QFETCH(QString, rowPrint);
    QFETCH(QString, loop);
    QFETCH(bool, in1);
    QFETCH(bool, in2);
    TestSupport::writeFile(AppPaths::formatFolder() + "/6.txt", file);
    StickerInput in;
    in.maxField = 2;
    QVERIFY(FormatStore::LoadFormat(6, in));
    QCOMPARE(in.Atxt[0], QString("a"));
    QCOMPARE(in.Atxt[5], QString("1"));
    QCOMPARE(in.Atxt[7], QString("x"));
    QCOMPARE(in.Atxt[9], QString("g"));
    QCOMPARE(in.Atxt[10], QString("1"));
    QCOMPARE(in.Atxt[11], QString("5"));
    QCOMPARE(in.TxRow, QString("12"));
    QCOMPARE(in.maxField, maxField);
    QCOMPARE(in.txtRowPrint, rowPrint);
    QCOMPARE(in.Combo2, loop);
    QCOMPARE(in.ChkIn1, in1);
    QCOMPARE(in.ChkIn2, in2);
}

void TestFormatStore::storedKeyValues_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<QString>("maxf");
    QTest::addColumn<bool>("condensed");
    QTest::addColumn<int>("maxField");
    QTest::newRow("condensed, 3 lines") << "1"
                                        << "3" << true << 3;
    QTest::newRow("normal") << "0"
                            << "7" << false << 7;
    QTest::newRow("style 2 leaves the style") << "2"
                                              << "4" << true << 4;
    QTest::newRow("style text leaves normal") << "x"
                                              << "4" << false << 4; // numeric value 0
    QTest::newRow("max field 256 is ignored") << "1"
                                              << "256" << true << 5;
}

void TestFormatStore::storedKeyValues()
{
    QFETCH(QString, style);
    QFETCH(QString, maxf);
    QFETCH(bool, condensed);
    QFETCH(int, maxField);
    SettingsStore::save(SettingsAppName, "Sticker", "5 PrintStyle", style);
    SettingsStore::save(SettingsAppName, "Sticker", "5 maxf", maxf);
    StickerInput in;
    in.condensed = true;
    in.maxField = 5;
    FormatStore::loadSlotSettings(5, in);
    QCOMPARE(in.condensed, condensed);
    QCOMPARE(in.maxField, maxField);
}

void TestFormatStore::missingOrShortFileKeepsOnlyStoredValues()
{
    SettingsStore::save(SettingsAppName, "Sticker", "1 Col", "4");
    SettingsStore::save(SettingsAppName, "Sticker", "1 6", "700");
    // The form still holds the slot left before: what only its file kept
    // must not carry over into a slot without a file.
    StickerInput in = filled();
    FormatStore::loadSlot(1, in);
    QVERIFY(!FormatStore::LoadFormat(1, in));
    QCOMPARE(in.TxCol, QString("4"));
    QCOMPARE(in.Atxt[5], QString("700"));
    QCOMPARE(in.Atxt[0], QString(" "));
    for (int i : {8, 9, 10, 11})
        QCOMPARE(in.Atxt[size_t(i)], QString());
    QCOMPARE(in.txtRowPrint, QString("1"));
    QCOMPARE(in.Combo2, QString("4"));
    QCOMPARE(in.ChkIn1, false);
    QCOMPARE(in.maxField, 1);

    TestSupport::writeFile(AppPaths::formatFolder() + "/1.txt", "first\r\nsecond\r\n");
    in = filled();
    FormatStore::loadSlot(1, in);
    QCOMPARE(in.Atxt[0], QString("first"));
    QCOMPARE(in.Atxt[1], QString("second"));
    QCOMPARE(in.Atxt[2], QString(" "));
    QCOMPARE(in.Atxt[5], QString("700"));
    QCOMPARE(in.Atxt[9], QString());
    QCOMPARE(in.TxCol, QString("4"));
    QCOMPARE(in.txtRowPrint, QString("1"));
    QCOMPARE(in.Combo2, QString("4"));
    QCOMPARE(in.ChkIn1, false);

    QFile::remove(FormatStore::settingFilePath());
    in.TxtFontNM = "kept";
    QVERIFY(!FormatStore::LoadWindowSettings(in));
    QCOMPARE(in.TxtFontNM, QString("kept"));
}

void TestFormatStore::fileNamesMatchedWithoutCase()
{
    const QString folder = AppPaths::formatFolder();
    QVERIFY(QFile::rename(FormatStore::settingFilePath(), folder + "/SETTING.TXT"));
    TestSupport::writeFile(folder + "/3.TXT", "upper\r\n");
    StickerInput in;
    QVERIFY(FormatStore::LoadFormat(3, in));
    QCOMPARE(in.Atxt[0], QString("upper"));
    QVERIFY(FormatStore::LoadWindowSettings(in));
    QString error;
    QVERIFY(FormatStore::save(3, filled(), &error));
    // The existing files are replaced, no second spelling appears.
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), QStringList({"3.TXT", "SETTING.TXT"}));
    QCOMPARE(TestSupport::readFile(folder + "/3.TXT"), filledSlotFile);
}

void TestFormatStore::firstRunSettingFileMatchesWriter()
{
    const QByteArray firstRun = TestSupport::readFile(FormatStore::settingFilePath());
    StickerInput in;
    QVERIFY(FormatStore::LoadWindowSettings(in));
    QCOMPARE(in.TxtFontSZ, QString("10"));
    QCOMPARE(FormatFile::settingFileBytes(in), firstRun);
}

void TestFormatStore::failedSaveKeepsOldFile()
{
    const QString slotFile = AppPaths::formatFolder() + "/2.txt";
    TestSupport::writeFile(slotFile, "old\r\n");
    const QByteArray oldSetting = TestSupport::readFile(FormatStore::settingFilePath());
    QString error;
    bool saved;
    {
        FileSizeLimit limit(16);
        saved = FormatStore::save(2, filled(), &error);
    }
    QVERIFY(!saved);
    QVERIFY(error.startsWith("The format file "));
    QCOMPARE(TestSupport::readFile(slotFile), QByteArray("old\r\n"));
    QCOMPARE(TestSupport::readFile(FormatStore::settingFilePath()), oldSetting);
    QCOMPARE(QDir(AppPaths::formatFolder()).entryList(QDir::Files).size(), 2); // no leftovers
}

void TestFormatStore::directoryInPlaceOfFile()
{
    QVERIFY(QDir().mkpath(AppPaths::formatFolder() + "/5.txt"));
    QString error;
    QVERIFY(!FormatStore::save(5, filled(), &error));
    QVERIFY2(error.contains("5.txt"), qPrintable(error));
    QVERIFY(QFileInfo(AppPaths::formatFolder() + "/5.txt").isDir());
    // The other file is still written.
    QCOMPARE(TestSupport::readFile(FormatStore::settingFilePath()), FormatFile::settingFileBytes(filled()));
}

QTEST_MAIN(TestFormatStore)
#include "tst_formatstore.moc"
