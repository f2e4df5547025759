#include "FileSizeLimit.h"
#include "TestSupport.h"
#include "platform/AppPaths.h"
#include "report/PageTable.h"
#include "sticker/CharSheetWriter.h"
#include "sticker/CsvTable.h"

#include <QStringEncoder>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A sticker with line texts "L1" ... "L7" and "No" on the numbered line.
StickerInput sticker(int maxField, const char *width, const char *gap, const char *cols, const char *rows,
    const char *blank, const char *pages = "1", bool condensed = false)
{
    StickerInput in;
    const int sources[7] = {0, 1, 2, 3, 4, 8, 9};
    for (int i = 0; i < 7; ++i)
        in.lineTexts[size_t(sources[i])] = QStringLiteral("L%1").arg(i + 1);
    in.lineTexts[3] = QStringLiteral("No");
    in.maxField = maxField;
    in.lineWidth = width;
    in.TxSp = gap;
    in.stickersAcross = cols;
    in.TxRow = rows;
    in.TxBlank = blank;
    in.pageCount = pages;
    in.condensed = condensed;
    return in;
}

std::shared_ptr<const CsvTable> csv(const QString &text)
{
    auto table = std::make_shared<CsvTable>();
    if (!CsvTable::parse(text, table.get(), nullptr))
        qFatal("bad CSV");
    return table;
}

QByteArray sheet(const StickerInput &in)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    if (!CharSheetWriter::write(computeWorkingValues(in), in.condensed, &buffer, &error))
        qFatal("write failed: %s", qPrintable(error));
    return buffer.data();
}

} // namespace

class TestCharSheetWriter : public QObject
{
    Q_OBJECT

    QString lastNumber; // the numbering of the temporary print files

private slots:
    void initTestCase() { TestSupport::init(); }
    void init()
    {
        lastNumber.clear();
        QDir(AppPaths::privateTempFolder()).removeRecursively();
    }

    void bytes_data()
    {
        QTest::addColumn<StickerInput>("input");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray twoPages = "L1  L1\r\nL2  L2\r\nL3  L3\r\nNo1 No2\r\n\r\n\r\n.  .  .\r\n"
                                    "L1  L1\r\nL2  L2\r\nL3  L3\r\nNo1 No2\r\n\r\n\r\n.  .  .\r\n";
        QTest::newRow("max field 3: three lines, no number, rows apart by blank+1")
            << sticker(3, "4", "2", "3", "2", "1")
            << QByteArray("L1    L1    L1\r\nL2    L2    L2\r\nL3    L3    L3\r\n\r\n\r\n"
                          "L1    L1    L1\r\nL2    L2    L2\r\nL3    L3    L3\r\n\r\n.  .  .\r\n\x0c\r\n");
        QTest::newRow("max field 7: number on line 4 across, then down; blank 0")
            << sticker(7, "6", "1", "2", "2", "0")
            << QByteArray("L1     L1\r\nL2     L2\r\nL3     L3\r\nNo1    No2\r\nL5     L5\r\nL6     L6\r\n"
                          "L7     L7\r\n\r\nL1     L1\r\nL2     L2\r\nL3     L3\r\nNo3    No4\r\nL5     L5\r\n"
                          "L6     L6\r\nL7     L7\r\n.  .  .\r\n\x0c\r\n");
        QTest::newRow("two pages, each with its marker and numbers from 1")
            << sticker(4, "4", "0", "2", "1", "2", "2") << twoPages + "\x0c\r\n";
        QTest::newRow("condensed over two pages: SI once at the start, DC2 FF at the end")
            << sticker(4, "4", "0", "2", "1", "2", "2", true) << "\x0f" + twoPages + "\x12\x0c\r\n";
        StickerInput empty = sticker(2, "5", "3", "3", "1", "0");
        empty.lineTexts[0] = QString();
        empty.lineTexts[1] = QStringLiteral("  x  ");
        QTest::newRow("a line empty in every column prints empty")
            << empty << QByteArray("\r\nx       x       x\r\n.  .  .\r\n\x0c\r\n");
        empty.condensed = true;
        QTest::newRow("condensed empty first line keeps its SI")
            << empty << QByteArray("\x0f\r\nx       x       x\r\n.  .  .\r\n\x12\x0c\r\n");
        QTest::newRow("width halves to even, text cut at the width")
            << sticker(1, "2.5", "1", "2", "1", "0.9") << QByteArray("L1 L1\r\n.  .  .\r\n\x0c\r\n");
        StickerInput padded = sticker(4, "7", "0", "2", "1", "0");
        padded.digits = 4;
        QTest::newRow("digits 4: numbers padded with zeros")
            << padded << QByteArray("L1     L1\r\nL2     L2\r\nL3     L3\r\nNo0001 No0002\r\n.  .  .\r\n\x0c\r\n");
        // Three rows on sheets of 2 x 1: the second page ends after its one
        // sticker, and the number counts on.
        StickerInput data = sticker(4, "6", "1", "2", "1", "1");
        data.lineTexts[0] = QStringLiteral("{Name}!");
        data.lineTexts[3] = QStringLiteral("{ No }-");
        data.data = csv("Name,No\nAnn,7\n\"B,\r\nC\",8\nDe\u00e9\u20ac,9\n");
        QTest::newRow("data rows fill the stickers")
            << data
            << QByteArray("Ann!   B, C!\r\nL2     L2\r\nL3     L3\r\n7-1    8-2\r\n\r\n.  .  .\r\n"
                          "De\xe9\x80!\r\nL2\r\nL3\r\n9-3\r\n\r\n.  .  .\r\n\x0c\r\n");
        StickerInput latin = sticker(1, "10", "1", "1", "1", "0");
        latin.lineTexts[0] = QStringLiteral("Grüße “€”–");
        QTest::newRow("one Windows-1252 byte per character")
            << latin << QByteArray("Gr\xfc\xdf" "e \x93\x80\x94\x96\r\n.  .  .\r\n\x0c\r\n");
        StickerInput czech = sticker(1, "10", "1", "1", "1", "0");
        czech.lineTexts[0] = QStringLiteral("Dvo\u0159\u00e1k \u0141");
        czech.sheetCodePage = CodePage::Id::Pc852;
        QTest::newRow("the printer's code page: PC852")
            << czech << QByteArray("Dvo\xfd\xa0k \x9d\r\n.  .  .\r\n\x0c\r\n");
    }

    void bytes()
    {
        QFETCH(StickerInput, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(sheet(input), expected);
    }

    void validation_data()
    {
        QTest::addColumn<StickerInput>("input");
        QTest::addColumn<QString>("message");
        auto row
            = [](const char *name, QString StickerInput::*field, const char *value, const QString &message) {
                  StickerInput in = sticker(3, "4", "2", "3", "2", "1");
                  in.*field = QString::fromLatin1(value);
                  QTest::newRow(name) << in << message;
              };
        const QString gap = "\"SPace Between Col\" must be a number from 0 to 32767.";
        const QString page = "\"Page\" must be a number of 1 or more.";
        row("gap not a number", &StickerInput::TxSp, "two", gap);
        row("columns 255.5 rounds to 256", &StickerInput::stickersAcross, "255.5",
            "\"Col\" must be a number from 0 to 255.");
        row("width negative", &StickerInput::lineWidth, "-3",
            "\"Max Field Lenth\" must be a number from 0 to 32767.");
        row("blank lines negative mean none", &StickerInput::TxBlank, "-4", QString());
        row("pages negative", &StickerInput::pageCount, "-2", page);
        row("pages empty is one page", &StickerInput::pageCount, "", QString());
        StickerInput reversed = sticker(3, "4", "2", "3", "2", "1");
        reversed.lineTexts[5] = "610";
        reversed.lineTexts[6] = "601";
        reversed.TxRow = "-3"; // what the form works out from the backwards range
        QTest::newRow("first range backwards")
            << reversed << QString("The first range runs backwards, from 610 to 601: give the smaller number first.");
        StickerInput polish = sticker(3, "4", "2", "3", "2", "1");
        polish.lineTexts[1] = QStringLiteral("Łódź");
        QTest::newRow("printed line outside Windows-1252")
            << polish << QStringLiteral("Line 2 holds the character \"Ł\" (U+0141), which the print file cannot hold: "
                                        "it has no byte in Windows-1252.");
        StickerInput euro = polish;
        euro.lineTexts[1] = QStringLiteral("\u20ac\u0141");
        euro.sheetCodePage = CodePage::Id::Pc852;
        QTest::newRow("printed line outside the chosen code page")
            << euro << QStringLiteral("Line 2 holds the character \"\u20ac\" (U+20AC), which the print file cannot "
                                      "hold: it has no byte in PC852 (Central Europe).");
        polish.maxField = 1;
        QTest::newRow("a line not printed may hold anything") << polish << QString();
        StickerInput digits = sticker(3, "4", "2", "3", "2", "1");
        digits.digits = 21;
        QTest::newRow("digits 21") << digits << QString("\"Digits\" must be a number from 0 to 20.");
        StickerInput unknown = sticker(3, "4", "2", "3", "2", "1");
        unknown.lineTexts[2] = "{Town}";
        unknown.data = csv("Name\nA\n");
        QTest::newRow("placeholder naming no column")
            << unknown << QString("Sticker line 3 holds {Town}, but the data file has no column \"Town\".");
        StickerInput greek = unknown;
        greek.lineTexts[2] = "{Name}";
        greek.data = csv("Name\nA\n\u03a9\n");
        QTest::newRow("data character without a byte")
            << greek
            << QString("Data row 2 puts the character \"\u03a9\" (U+03A9) on sticker line 3; a character-mode "
                       "print file has no byte for it in Windows-1252.");
        QTest::newRow("max field 8") << sticker(8, "4", "2", "3", "2", "1")
                                     << QString("\"Max Field\" must be a number from 0 to 7.");
    }

    void validation()
    {
        QFETCH(StickerInput, input);
        QFETCH(QString, message);
        const CharSheetWriter::Result result = CharSheetWriter::run(input, lastNumber);
        QCOMPARE(result.ok, message.isEmpty());
        QCOMPARE(result.error, message);
        if (!message.isEmpty()) {
            // Refused before anything is written or named.
            QVERIFY(QDir(AppPaths::privateTempFolder()).entryList(QDir::Files).isEmpty());
            QCOMPARE(result.pageCount, input.pageCount);
        }
    }

    void runWritesTheNextTempFile_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("pageAfter");
        QTest::addColumn<int>("markers");
        QTest::newRow("0 means one page") << "0" << "1" << 1;
        QTest::newRow("text counts as 0") << "abc" << "1" << 1;
    }

    void runWritesTheNextTempFile()
    {
        QFETCH(QString, page);
        QFETCH(QString, pageAfter);
        QFETCH(int, markers);
        StickerInput in = sticker(4, "5", "1", "2", "3", "1");
        in.pageCount = page;
        const CharSheetWriter::Result first = CharSheetWriter::run(in, lastNumber);
        QVERIFY2(first.ok, qPrintable(first.error));
        QCOMPARE(first.pageCount, pageAfter);
        QCOMPARE(first.fileName, AppPaths::privateTempFolder() + "/Tz0.Tmp");
        const QByteArray bytes = TestSupport::readFile(first.fileName);
        QCOMPARE(bytes.count(".  .  .\r\n"), markers);
        // The whole run is one page of the report view.
        PageTable table;
        table.setBytes(bytes);
        QCOMPARE(table.PageCount(), 1);
        // Every run takes a new name; the earlier file stays.
        QCOMPARE(CharSheetWriter::run(in, lastNumber).fileName, AppPaths::privateTempFolder() + "/Tz1.Tmp");
        QCOMPARE(TestSupport::readFile(first.fileName), bytes);
    }

    void runFailures()
    {
        // A link planted in place of the private folder makes it unusable.
        const QString folder = AppPaths::privateTempFolder();
        QDir(folder).removeRecursively();
        QTemporaryDir elsewhere;
        QVERIFY(QFile::link(elsewhere.path(), folder));
        CharSheetWriter::Result result = CharSheetWriter::run(sticker(3, "4", "2", "3", "2", "1"), lastNumber);
        QFile::remove(folder);
        QVERIFY(!result.ok);
        QCOMPARE(result.error, QString("No temporary print file can be created."));
        QVERIFY(QDir(elsewhere.path()).isEmpty());
        // A full disk part-way through the file: no half sheet is left under the name.
        StickerInput in = sticker(7, "20", "2", "8", "50", "1", "20"); // well past one output chunk
        {
            FileSizeLimit limit(100000);
            result = CharSheetWriter::run(in, lastNumber);
        }
        QVERIFY(!result.ok);
        QVERIFY2(result.error.startsWith("The print file ") && result.error.endsWith("File too large"),
            qPrintable(result.error));
        // Nor the empty file that took the name.
        QVERIFY(!QFile::exists(AppPaths::privateTempFolder() + "/Tz0.Tmp"));
        // A sheet no disk holds (a petabyte: Page 1000 instead of 10, say) is
        // refused before a byte is written; the window had waited while the
        // disk filled.
        in = sticker(5, "30000", "2", "255", "30000", "1", "1000");
        result = CharSheetWriter::run(in, lastNumber);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.startsWith("The sheet would take up to ") && result.error.contains("Max Field Lenth"),
            qPrintable(result.error));
        QVERIFY(QDir(AppPaths::privateTempFolder()).entryList(QDir::Files).isEmpty());
    }

    // A long sheet tells its progress a chunk at a time, within the most it
    // can take, and a stop leaves nothing behind and no message.
    void runProgressAndStop()
    {
        const StickerInput in = sticker(7, "20", "2", "8", "50", "1", "60"); // a few megabytes
        QList<qint64> told;
        qint64 largest = 0;
        CharSheetWriter::Result result = CharSheetWriter::run(in, lastNumber, [&](qint64 written, qint64 most) {
            told << written;
            largest = most;
            return true;
        });
        QVERIFY2(result.ok, qPrintable(result.error));
        const qint64 size = QFileInfo(result.fileName).size();
        QVERIFY2(told.size() >= 3, qPrintable(QString::number(told.size())));
        QVERIFY(std::is_sorted(told.cbegin(), told.cend()));
        QCOMPARE(told.last(), size);
        QVERIFY(largest >= size);

        told.clear();
        result = CharSheetWriter::run(in, lastNumber, [&](qint64 written, qint64) {
            told << written;
            return told.size() < 2;
        });
        QVERIFY(!result.ok);
        QVERIFY(result.stopped);
        QVERIFY(result.error.isEmpty());
        QCOMPARE(told.size(), 2);
        QCOMPARE(QDir(AppPaths::privateTempFolder()).entryList(QDir::Files), QStringList{"Tz0.Tmp"});
    }

    // The size a run checks against the disk is never below the sheet's.
    void largestSizeHoldsTheSheet_data()
    {
        QTest::addColumn<StickerInput>("input");
        QTest::newRow("one line") << sticker(1, "4", "2", "3", "2", "1");
        QTest::newRow("seven lines, wide, blank lines") << sticker(7, "40", "3", "4", "5", "3", "3");
        QTest::newRow("condensed, no gap") << sticker(4, "10", "0", "1", "9", "0", "2", true);
        QTest::newRow("no lines") << sticker(0, "10", "1", "2", "2", "2");
        QTest::newRow("narrower than the text") << sticker(7, "1", "1", "6", "3", "1", "4");
    }

    void largestSizeHoldsTheSheet()
    {
        QFETCH(StickerInput, input);
        const qsizetype written = sheet(input).size();
        const long double largest = CharSheetWriter::largestSize(computeWorkingValues(input));
        QVERIFY2(largest >= (long double)written, qPrintable(QString("%1 < %2").arg(double(largest)).arg(written)));
    }

    // CSV data files: the quoting rules, the line breaks, and the two encodings.
    void csvParse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QList<QStringList>>("rows"); // empty with an error
        QTest::addColumn<QString>("error");
        const QStringList ab {"A", "B"};
        QTest::newRow("plain, CR LF, no final break")
            << "A,B\r\n1,2\r\n3,4" << ab << QList<QStringList> {{"1", "2"}, {"3", "4"}} << "";
        QTest::newRow("quotes hold commas, breaks and doubled quotes")
            << "A,B\n\"x, y\",\"line 1\r\nline 2\"\n\"say \"\"hi\"\"\",\"\"\n"
            << ab << QList<QStringList> {{"x, y", "line 1\r\nline 2"}, {"say \"hi\"", ""}} << "";
        QTest::newRow("blank lines skipped, short rows, lone CR")
            << "A,B\r\r\n1\r\n\n,5\n" << ab << QList<QStringList> {{"1"}, {"", "5"}} << "";
        QTest::newRow("open quote names its line")
            << "A,B\n1,2\n3,\"4\n5" << QStringList() << QList<QStringList>()
            << "the quoted field that starts on line 3 is not closed";
        QTest::newRow("empty") << "\r\n" << QStringList() << QList<QStringList>() << "it has no line naming the columns";
        QTest::newRow("a quote inside an unquoted value is data")
            << "A,B\n5\" floppy,2\"\n" << ab << QList<QStringList> {{"5\" floppy", "2\""}} << "";
        QTest::newRow("a NUL is refused with its line")
            << QString("A,B\n1,2\n3,x") + QChar(0) << QStringList() << QList<QStringList>()
            << "line 3 holds a NUL character";
    }

    void csvParse()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, columns);
        QFETCH(QList<QStringList>, rows);
        QFETCH(QString, error);
        CsvTable table;
        QString reason;
        QCOMPARE(CsvTable::parse(text, &table, &reason), error.isEmpty());
        QCOMPARE(reason, error);
        if (!error.isEmpty())
            return;
        QCOMPARE(table.columns(), columns);
        QCOMPARE(table.rowCount(), rows.size());
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < columns.size(); ++c)
                QCOMPARE(table.value(r, c), rows.at(r).value(c));
        QCOMPARE(table.columnIndex(" B "), 1);
    }

    void csvReadFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding"); // as named by the user
        QTest::addColumn<QString>("value");
        const QString dvorak = QString::fromUtf8("Dvo\u0159\u00e1k");
        const auto utf16 = [](const QString &text, QStringConverter::Encoding encoding) -> QByteArray {
            return QStringEncoder(encoding, QStringConverter::Flag::WriteBom)(text);
        };
        QTest::newRow("UTF-8 with a byte-order mark")
            << QByteArray("\xef\xbb\xbfName\nM\xc3\xbcller \xe2\x82\xac") << ""
            << QString::fromUtf8("M\u00fcller \u20ac");
        QTest::newRow("the mark decides over a stray byte and a name")
            << QByteArray("\xef\xbb\xbfName\nM\xc3\xbcller\xff") << "Windows-1250"
            << QString::fromUtf8("M\u00fcller\ufffd");
        QTest::newRow("not UTF-8: Windows-1252") << QByteArray("Name\nM\xfcller \x80 \x93q\x94") << ""
                                                 << QString::fromUtf8("M\u00fcller \u20ac \u201cq\u201d");
        QTest::newRow("Windows-1252: an unassigned byte keeps its Latin-1 meaning")
            << QByteArray("Name\nA\x81\x9d\xfc") << "" << QString::fromUtf8("A\u0081\u009d\u00fc");
        QTest::newRow("Windows-1250 named") << QByteArray("Name\nDvo\xf8\xe1k") << "Windows-1250" << dvorak;
        QTest::newRow("UTF-16 LE, tabs") << utf16("Name\tCity\r\n" + dvorak + "\tBrno\r\n", QStringConverter::Utf16LE)
                                         << "" << dvorak;
        QTest::newRow("UTF-16 BE, semicolons")
            << utf16("Name;City\n" + dvorak + ";Brno, Morava", QStringConverter::Utf16BE) << "" << dvorak;
        QTest::newRow("semicolons, a comma in a value") << QByteArray("Name;City\nAnn, Bo;Brno") << "" << "Ann, Bo";
    }

    void csvReadFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        QFETCH(QString, value);
        QTemporaryDir dir;
        const QString path = TestSupport::writeFile(dir.filePath("data.csv"), bytes);
        CsvTable table;
        QString error;
        QVERIFY2(CsvTable::readFile(path, &table, &error, CsvFormat{QChar(), encoding}), qPrintable(error));
        QCOMPARE(table.columns().first(), "Name");
        QCOMPARE(table.value(0, 0), value);
        // Known to be read as Windows-1252 for want of a better guess: a
        // message about its letters then says so.
        QCOMPARE(table.readAsWindows1252(), QString(QTest::currentDataTag()).contains("Windows-1252"));
        // A folder is not a data file; the message names it.
        QVERIFY(!CsvTable::readFile(dir.path(), &table, &error));
        QVERIFY2(error.contains(dir.path()) && error.contains("not a regular file"), qPrintable(error));
    }
};

QTEST_MAIN(TestCharSheetWriter)
#include "tst_charsheetwriter.moc"
