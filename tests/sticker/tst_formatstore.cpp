#include "FileSizeLimit.h"
#include "TestSupport.h"
#include "platform/AppPaths.h"
#include "platform/SettingsStore.h"
#include "sticker/FormatFile.h"
#include "sticker/FormatStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

#include <optional>

namespace {

StickerInput filled()
{
    StickerInput in; // line 1 written in Windows-1252, the code of the format files
    in.lineTexts = {"“Velmora” Traders – 5 €", " 12 Market Road ", "", "Roll No", "Class", "601", "612", "4", "Phone",
        "India", "1", "10"};
    in.maxField = 7;
    in.TxSp = "12345678901234567"; // written in digits, never with an exponent
    in.stickersAcross = "5abc";
    in.TxRow = "20";
    in.TxBlank = "1";
    in.lineWidth = "0.000050";
    in.condensed = true;
    in.txtRowPrint = "3";
    in.Combo2 = "5";
    in.ChkIn2 = false;
    in.TxtFontNM = "Courier New";
    in.TxtFontSZ = "10.5";
    in.TxtMtop = "720";
    in.TxtMLeft = "-15";
    in.TxtHEight = "1800";
    in.digits = 6;
    in.startAt = 3;
    in.barcode = BarcodeKind::Qr;
    in.sheetCodePage = CodePage::Id::Pc852;
    in.dataFile = "/data/addresses.csv";
    return in;
}

const QByteArray filledSlotFile
    = "\x93Velmora\x94 Traders \x96 5 \x80\r\n 12 Market Road \r\n\r\nRoll No\r\nClass\r\n601\r\n612\r\n4\r\n"
      "Phone\r\nIndia\r\n7\r\n12345678901234568\r\n5\r\n20\r\n0.00005\r\n1\r\n10\r\n"
      " 3 \r\n 5 \r\n 1 \r\n 0 \r\n";

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

    void roundTrip_data()
    {
        QTest::addColumn<int>("slot");
        for (int slot = 0; slot < FormatStore::SlotCount; ++slot)
            QTest::addRow("slot %d", slot) << slot;
    }

    void roundTrip()
    {
        // The slot's file, the shared settings file and the slot's keys, with
        // numbers written compact or spaced as the files always held them.
        QFETCH(int, slot);
        QString error;
        QVERIFY2(FormatStore::save(slot, filled(), &error), qPrintable(error));
        const QString slotFile = AppPaths::formatFolder() + QString("/%1.txt").arg(slot);
        const QString settingFile = AppPaths::formatFolder() + "/Setting.txt";
        const QByteArray setting = "Courier New\r\n 10.5 \r\n 720 \r\n-15 \r\n 1800 \r\n 0 \r\n0\r\n";
        QCOMPARE(TestSupport::readFile(slotFile), filledSlotFile);
        QCOMPARE(TestSupport::readFile(settingFile), setting);
        QSettings ini(SettingsStore::fileName(SettingsAppName), QSettings::IniFormat);
        ini.beginGroup("Sticker");
        QStringList keys;
        // " Maxf" is read but never written.
        for (const char *suffix : {"1", "2", "3", "4", "5", "6", "7", "8", "Barcode", "Blankline", "CodePage", "Col",
                 "DataDelimiter", "DataEncoding", "DataFile", "Digits", "MaxFL", "PrintStyle", "Row", "Space", "StartAt"})
            keys << QString("%1 %2").arg(slot).arg(suffix);
        QCOMPARE(ini.childKeys(), keys);
        QCOMPARE(QStringList({ini.value(keys[11]).toString(), ini.value(keys[9]).toString(),
                     ini.value(keys[1]).toString(), ini.value(keys[2]).toString(), ini.value(keys[8]).toString(),
                     ini.value(keys[10]).toString()}),
            QStringList({"5abc", "1", " 12 Market Road ", "", "qr", "cp852"}));
        StickerInput loaded;
        FormatStore::loadSlot(slot, loaded);
        QVERIFY(FormatStore::LoadWindowSettings(loaded));
        QCOMPARE(loaded.lineTexts, filled().lineTexts); // the empty line stays empty, not the one-space default
        // The file holds the number of "5abc".
        QCOMPARE(QStringList({loaded.stickersAcross, loaded.lineWidth, loaded.txtRowPrint, loaded.Combo2,
                     loaded.TxtFontSZ, loaded.TxtMLeft}),
            QStringList({"5", "0.00005", "3", "5", "10.5", "-15"}));
        QVERIFY(loaded.maxField == 7 && loaded.condensed && loaded.ChkIn1 && !loaded.ChkIn2);
        QVERIFY(loaded.digits == 6 && loaded.startAt == 3 && loaded.barcode == BarcodeKind::Qr
            && loaded.sheetCodePage == CodePage::Id::Pc852);
        QCOMPARE(loaded.dataFile, QString("/data/addresses.csv"));
        // Saving what was loaded gives the same files, and no others.
        QVERIFY(FormatStore::save(slot, loaded, &error));
        QCOMPARE(TestSupport::readFile(slotFile), filledSlotFile);
        QCOMPARE(TestSupport::readFile(settingFile), setting);
        QCOMPARE(QDir(AppPaths::formatFolder()).entryList(QDir::Files).size(), 2);
        // Other slots are untouched.
        StickerInput other;
        FormatStore::loadSlot((slot + 1) % FormatStore::SlotCount, other);
        QCOMPARE(other.stickersAcross, QString("6"));
    }

    void lettersBeyondWindows1252_data()
    {
        // Stickers in a PC code page's letters: the file is written in UTF-8 after a byte-order mark
        // (it was refused), and read back as typed.
        QTest::addColumn<QString>("line10");
        QTest::addColumn<QString>("font");
        QTest::newRow("Polish, on a line kept only in the file") << "Łódź Żółć" << "Courier New";
        QTest::newRow("Czech and Cyrillic, a font name too") << "Příliš žluťoučký кінь" << "Шрифт";
    }

    void lettersBeyondWindows1252()
    {
        QFETCH(QString, line10);
        QFETCH(QString, font);
        StickerInput in = filled();
        in.lineTexts[9] = line10;
        in.TxtFontNM = font;
        QString error;
        QVERIFY2(FormatStore::save(4, in, &error), qPrintable(error));
        const QByteArray file = TestSupport::readFile(FormatStore::slotFilePath(4));
        QVERIFY(file.startsWith("\xEF\xBB\xBF\xE2\x80\x9CVelmora"));
        QVERIFY(TestSupport::readFile(FormatStore::settingFilePath()).startsWith(
            font == "Courier New" ? QByteArray("Courier New\r\n") : "\xEF\xBB\xBF" + font.toUtf8() + "\r\n"));
        StickerInput loaded;
        FormatStore::loadSlot(4, loaded);
        QVERIFY(FormatStore::LoadWindowSettings(loaded));
        QCOMPARE(loaded.lineTexts, in.lineTexts);
        QCOMPARE(loaded.TxtFontNM, font);
        QCOMPARE(loaded.stickersAcross, QString("5"));
        // Back to letters Windows-1252 has: the file is as it always was.
        QVERIFY(FormatStore::save(4, filled(), &error));
        QCOMPARE(TestSupport::readFile(FormatStore::slotFilePath(4)), filledSlotFile);
    }

    void slotFileLines_data()
    {
        // Lines 11 and 18 to 21 of a slot file: lines per sticker, rows per
        // printed sheet, loop position and the two "++" boxes, as read.
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("read"); // maxField rowPrint loop in1 in2
        auto row
            = [](const char *name, const QByteArray &maxField, const QByteArray &tail, const char *read) {
                  QTest::newRow(name) << "a\r\nb\r\nc\r\nd\r\ne\r\n1\r\n9\r\nx\r\nf\r\ng\r\n" + maxField
                          + "\r\n3\r\n6\r\n12\r\n4\r\n1\r\n5\r\n"
                          + tail << QString(read);
              };
        row("spaced numbers read", "5", " 2 \r\n 5 \r\n 1 \r\n 1 \r\n", "5 2 5 1 1");
        row("rows per sheet 0 shows 1, loop 0 shows 4", "5", " 0 \r\n 0 \r\n 0 \r\n 0 \r\n", "5 1 4 0 0");
        row("max field out of range ignored", "300", " 1 \r\n 4 \r\n 0 \r\n 1 \r\n", "2 1 4 0 1");
        QTest::newRow("lines after 21 ignored, LF ends lines too") << QByteArray(
            "a\nb\nc\nd\ne\n1\n9\nx\nf\ng\n6\n3\n6\n12\n4\n1\n5\n 7 \n 5 \n 1 \n 0 \nextra\nmore\n")
                                                                   << "6 7 5 1 0";
    }

    void slotFileLines()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, read);
        TestSupport::writeFile(AppPaths::formatFolder() + "/6.txt", file);
        StickerInput in;
        in.maxField = 2;
        QVERIFY(FormatStore::LoadFormat(6, in));
        QCOMPARE(
            QStringList({in.lineTexts[7], in.lineTexts[9], in.lineTexts[11], in.TxRow}), QStringList({"x", "g", "5", "12"}));
        QCOMPARE(QStringList({QString::number(in.maxField), in.txtRowPrint, in.Combo2,
                                 QString::number(in.ChkIn1), QString::number(in.ChkIn2)})
                     .join(' '),
            read);
    }

    // A slot file's lines: every line end a Windows program or an editor
    // writes, read as the plain reading of a slot reads them.
    void fileLinesEndAsWritten_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("LF, no end after the last") << QByteArray("a\nb") << QStringList{"a", "b"};
        QTest::newRow("CR alone") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("an empty line kept") << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
        QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
        QTest::newRow("an empty file") << QByteArray() << QStringList{};
        QTest::newRow("one empty line") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("Windows-1252") << QByteArray("\x80 \x9a\r\nx") << QStringList{"\u20ac \u0161", "x"};
        QTest::newRow("UTF-8 after its mark") << QByteArray("\xef\xbb\xbf\xc5\x99\r\nx") << QStringList{"\u0159", "x"};
        // Notepad's "Unicode": UTF-16 after its mark, either byte order.
        QTest::newRow("UTF-16 LE") << QByteArray("\xff\xfe" "A\0\x59\x01\r\0\n\0b\0", 12) << QStringList{"A\u0159", "b"};
        QTest::newRow("UTF-16 BE") << QByteArray("\xfe\xff\0A\x01\x59\0\r\0\n\0b", 12) << QStringList{"A\u0159", "b"};
    }

    void fileLinesEndAsWritten()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, lines);
        QCOMPARE(FormatFile::fileLines(file), lines);
    }

    void missingOrShortFileKeepsOnlyStoredValues()
    {
        SettingsStore::save(SettingsAppName, "Sticker", "1 Col", "4");
        SettingsStore::save(SettingsAppName, "Sticker", "1 6", "700");
        // The form still holds the slot left before: neither what only its file
        // kept nor its stored values may carry over; missing keys give defaults.
        const auto fields = [](const StickerInput &in) {
            return QStringList {in.lineTexts[0], in.lineTexts[1], in.lineTexts[2], in.lineTexts[5], in.lineTexts[8], in.lineTexts[9],
                in.lineTexts[10], in.lineTexts[11], in.stickersAcross, in.TxSp, in.TxRow, in.TxBlank, in.lineWidth,
                in.txtRowPrint, in.Combo2, QString::number(in.maxField), QString::number(in.condensed),
                QString::number(in.ChkIn1)};
        };
        StickerInput in = filled();
        FormatStore::loadSlot(1, in);
        QVERIFY(!FormatStore::LoadFormat(1, in));
        QCOMPARE(fields(in),
            QStringList(
                {" ", " ", " ", "700", "", "", "", "", "4", "3", "12", "3", "4", "1", "4", "1", "0", "0"}));
        QFile::remove(FormatStore::settingFilePath());
        in.TxtFontNM = "kept";
        QVERIFY(!FormatStore::LoadWindowSettings(in));
        QCOMPARE(in.TxtFontNM, QString("kept"));
    }

    void fileNamesMatchedWithoutCase()
    {
        const QString folder = AppPaths::formatFolder();
        QVERIFY(QFile::rename(FormatStore::settingFilePath(), folder + "/SETTING.TXT"));
        TestSupport::writeFile(folder + "/3.TXT", "upper\r\n");
        StickerInput in;
        QVERIFY(FormatStore::LoadFormat(3, in));
        QCOMPARE(in.lineTexts[0], QString("upper"));
        QVERIFY(FormatStore::LoadWindowSettings(in));
        QString error;
        QVERIFY(FormatStore::save(3, filled(), &error));
        // The existing files are replaced, no second spelling appears.
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), QStringList({"3.TXT", "SETTING.TXT"}));
        QCOMPARE(TestSupport::readFile(folder + "/3.TXT"), filledSlotFile);
    }

    void failedStoreLeavesSlotAsItWas_data()
    {
        // What stops the save: a folder in place of the settings store or the slot file (neither can be
        // written, whoever runs the test), a full disk part-way through, or a lone surrogate (no file holds
        // one).
        QTest::addColumn<QString>("blocked");
        for (const char *blocked : {"ini", "slot", "disk", "text"})
            QTest::newRow(blocked) << QString(blocked);
    }

    void failedStoreLeavesSlotAsItWas()
    {
        QFETCH(QString, blocked);
        QString error;
        QVERIFY(FormatStore::save(2, filled(), &error));
        const QString ini = SettingsStore::fileName(SettingsAppName);
        const QString slotFile = FormatStore::slotFilePath(2);
        const QByteArray oldIni = TestSupport::readFile(ini);
        const QByteArray oldSlot = TestSupport::readFile(slotFile);
        const QByteArray oldSetting = TestSupport::readFile(FormatStore::settingFilePath());
        StickerInput changed = filled();
        changed.stickersAcross = "9";
        changed.lineTexts[0] = "Changed";
        changed.TxtFontNM = "Changed";
        if (blocked == "text")
            changed.lineTexts[9] = QStringLiteral("x") + QChar(0xD800);

        const QString path = blocked == "ini" ? ini : slotFile;
        const bool folder = blocked == "ini" || blocked == "slot";
        QVERIFY(!folder || (QFile::rename(path, path + ".old") && QDir().mkdir(path)));
        bool saved;
        {
            std::optional<FileSizeLimit> limit;
            if (blocked == "disk")
                limit.emplace(16);
            saved = FormatStore::save(2, changed, &error);
        }
        QVERIFY(!folder || (QDir().rmdir(path) && QFile::rename(path + ".old", path)));
        QVERIFY(!saved);
        if (folder)
            QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
        else if (blocked == "disk")
            QVERIFY2(error.startsWith("The format file ") && error.endsWith("File too large"), qPrintable(error));
        else
            QVERIFY2(error.startsWith("The format cannot be saved: the character ")
                    && error.endsWith("U+D800 cannot be written."),
                qPrintable(error));
        QCOMPARE(TestSupport::readFile(slotFile), oldSlot);
        QCOMPARE(TestSupport::readFile(FormatStore::settingFilePath()), oldSetting);
        QCOMPARE(TestSupport::readFile(ini), oldIni);
        QCOMPARE(QDir(AppPaths::formatFolder()).entryList(QDir::Files).size(), 2); // no leftovers
    }
};

QTEST_MAIN(TestFormatStore)
#include "tst_formatstore.moc"
