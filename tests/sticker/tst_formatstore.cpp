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
    in.digits = 6;
    in.startAt = 3;
    in.barcode = BarcodeKind::Qr;
    in.dataFile = "/data/addresses.csv";
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

    void slotCaptions()
    {
        const QStringList captions {"6", "1", "2", "3", "4", "5", "7", "8"};
        for (int slot = 0; slot < FormatStore::SlotCount; ++slot)
            QCOMPARE(FormatStore::slotCaption(slot), captions.at(slot));
    }

    void savedFilesAndKeys();
    void roundTrip_data();
    void roundTrip();
    void slotFileLines_data();
    void slotFileLines();
    void storedKeyValues_data();
    void storedKeyValues();
    void missingOrShortFileKeepsOnlyStoredValues();
    void fileNamesMatchedWithoutCase();
    void firstRunSettingFileMatchesWriter();
    void failedSaveKeepsOldFile();
};

void TestFormatStore::savedFilesAndKeys()
{
    // Slot 0 (captioned "6"): its file, the shared settings file and its keys,
    // with numbers written compact or spaced as the files always held them.
    QString error;
    QVERIFY2(FormatStore::save(0, filled(), &error), qPrintable(error));
    QCOMPARE(TestSupport::readFile(AppPaths::formatFolder() + "/0.txt"), filledSlotFile);
    QCOMPARE(TestSupport::readFile(AppPaths::formatFolder() + "/Setting.txt"),
        QByteArray("Courier New\r\n 10.5 \r\n 720 \r\n-15 \r\n 1800 \r\n 0 \r\n0\r\n"));

    QSettings ini(SettingsStore::fileName(SettingsAppName), QSettings::IniFormat);
    ini.beginGroup("Sticker");
    QStringList keys = ini.childKeys();
    keys.sort();
    // " Maxf" is read but never written.
    QCOMPARE(keys,
        QStringList({"0 1", "0 2", "0 3", "0 4", "0 5", "0 6", "0 7", "0 8", "0 Barcode", "0 Blankline",
            "0 Col", "0 DataFile", "0 Digits", "0 MaxFL", "0 PrintStyle", "0 Row", "0 Space", "0 StartAt"}));
    QCOMPARE(ini.value("0 Barcode").toString(), QString("qr"));
    QCOMPARE(ini.value("0 Col").toString(), QString("5abc"));
    QCOMPARE(ini.value("0 PrintStyle").toString(), QString("1"));
    QCOMPARE(ini.value("0 2").toString(), QString(" 12 Market Road "));
    QCOMPARE(ini.value("0 3").toString(), QString(""));
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
    const QByteArray slotFile = TestSupport::readFile(FormatStore::slotFilePath(slot));
    const QByteArray settingFile = TestSupport::readFile(FormatStore::settingFilePath());

    StickerInput loaded;
    FormatStore::loadSlot(slot, loaded);
    QVERIFY(FormatStore::LoadWindowSettings(loaded));
    QCOMPARE(loaded.Atxt, saved.Atxt); // the empty line stays empty, not the one-space default
    QCOMPARE(loaded.maxField, 7);
    QCOMPARE(loaded.TxCol, QString("5")); // the file holds the number
    QCOMPARE(loaded.TxMaxFLenth, QString("2.5"));
    QCOMPARE(loaded.condensed, true);
    QCOMPARE(loaded.txtRowPrint, QString("3"));
    QCOMPARE(loaded.Combo2, QString("5"));
    QCOMPARE(loaded.ChkIn1, true);
    QCOMPARE(loaded.ChkIn2, false);
    QCOMPARE(loaded.TxtFontSZ, QString("10.5"));
    QCOMPARE(loaded.TxtMLeft, QString("-15"));
    QCOMPARE(loaded.digits, 6);
    QCOMPARE(loaded.startAt, 3);
    QCOMPARE(loaded.barcode, BarcodeKind::Qr);
    QCOMPARE(loaded.dataFile, QString("/data/addresses.csv"));

    // Saving what was loaded gives the same files, and no others.
    QVERIFY(FormatStore::save(slot, loaded, &error));
    QCOMPARE(TestSupport::readFile(FormatStore::slotFilePath(slot)), slotFile);
    QCOMPARE(TestSupport::readFile(FormatStore::settingFilePath()), settingFile);
    QCOMPARE(QDir(AppPaths::formatFolder()).entryList(QDir::Files).size(), 2);

    // Other slots are untouched.
    StickerInput other;
    FormatStore::loadSlot((slot + 1) % FormatStore::SlotCount, other);
    QCOMPARE(other.TxCol, QString("6"));
}

void TestFormatStore::slotFileLines_data()
{
    // Lines 11 and 18 to 21 of a slot file: lines per sticker, rows per
    // printed sheet, loop position and the two "++" boxes.
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("maxField");
    QTest::addColumn<QString>("rowPrint");
    QTest::addColumn<QString>("loop");
    QTest::addColumn<bool>("in1");
    QTest::addColumn<bool>("in2");
    auto row = [](const char *name, const QByteArray &maxField, const QByteArray &tail, int max,
                   const char *rowPrint, const char *loop, bool in1, bool in2) {
        const QByteArray head = "a\r\nb\r\nc\r\nd\r\ne\r\n1\r\n9\r\nx\r\nf\r\ng\r\n";
        const QByteArray grid = "\r\n3\r\n6\r\n12\r\n4\r\n1\r\n5\r\n";
        QTest::newRow(name) << head + maxField + grid + tail << max << QString(rowPrint) << QString(loop)
                            << in1 << in2;
    };
    row("spaced numbers read", "5", " 2 \r\n 5 \r\n 1 \r\n 1 \r\n", 5, "2", "5", true, true);
    row("rows per sheet 0 shows 1, loop 0 shows 4", "5", " 0 \r\n 0 \r\n 0 \r\n 0 \r\n", 5, "1", "4", false,
        false);
    row("empty lines fall back", "5", "\r\n\r\n\r\n\r\n", 5, "1", "4", false, false);
    row("max field 0 kept", "0", " 1 \r\n 4 \r\n 0 \r\n 1 \r\n", 0, "1", "4", false, true);
    row("max field out of range ignored", "300", " 1 \r\n 4 \r\n 0 \r\n 1 \r\n", 2, "1", "4", false, true);
    QTest::newRow("lines after 21 ignored, LF ends lines too")
        << QByteArray("a\nb\nc\nd\ne\n1\n9\nx\nf\ng\n6\n3\n6\n12\n4\n1\n5\n 7 \n 5 \n 1 \n 0 \nextra\nmore\n")
        << 6 << QString("7") << QString("5") << true << false;
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
    QCOMPARE(in.Atxt[7], QString("x"));
    QCOMPARE(in.Atxt[9], QString("g"));
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
    // " PrintStyle" and " maxf" as stored, over a form in condensed style with 5 lines.
    QTest::addColumn<QString>("style");
    QTest::addColumn<QString>("maxf");
    QTest::addColumn<bool>("condensed");
    QTest::addColumn<int>("maxField");
    QTest::newRow("condensed, 3 lines") << QString("1") << QString("3") << true << 3;
    QTest::newRow("style 2 leaves the style") << QString("2") << QString("4") << true << 4;
    QTest::newRow("style text counts as 0") << QString("x") << QString("4") << false << 4;
    QTest::newRow("max field 256 is ignored") << QString("1") << QString("256") << true << 5;
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
    // The form still holds the slot left before: neither what only its file
    // kept nor its stored values may carry over; missing keys give defaults.
    StickerInput in = filled();
    FormatStore::loadSlot(1, in);
    QVERIFY(!FormatStore::LoadFormat(1, in));
    QCOMPARE(in.TxCol, QString("4"));
    QCOMPARE(in.Atxt[5], QString("700"));
    QCOMPARE(in.Atxt[0], QString(" "));
    for (int i : {8, 9, 10, 11})
        QCOMPARE(in.Atxt[size_t(i)], QString());
    QCOMPARE(in.TxSp, QString("3"));
    QCOMPARE(in.TxRow, QString("12"));
    QCOMPARE(in.TxBlank, QString("3"));
    QCOMPARE(in.TxMaxFLenth, QString("4"));
    QCOMPARE(in.condensed, false);
    QCOMPARE(in.maxField, 1);
    QCOMPARE(in.txtRowPrint, QString("1"));
    QCOMPARE(in.Combo2, QString("4"));
    QCOMPARE(in.ChkIn1, false);

    // A short file gives its lines; the rest is as without a file.
    TestSupport::writeFile(AppPaths::formatFolder() + "/1.txt", "first\r\nsecond\r\n");
    in = filled();
    FormatStore::loadSlot(1, in);
    QCOMPARE(in.Atxt[0], QString("first"));
    QCOMPARE(in.Atxt[1], QString("second"));
    QCOMPARE(in.Atxt[2], QString(" "));
    QCOMPARE(in.Atxt[5], QString("700"));
    QCOMPARE(in.Atxt[9], QString());
    QCOMPARE(in.TxCol, QString("4"));
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

QTEST_MAIN(TestFormatStore)
#include "tst_formatstore.moc"
