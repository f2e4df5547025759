#include "FileSizeLimit.h"
#include "TestSupport.h"
#include "platform/AppPaths.h"
#include "report/PageTable.h"
#include "startup/MainModule.h"
#include "sticker/CharSheetWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTest>

Q_DECLARE_METATYPE(StickerInput)

namespace {

// A sticker with line texts "L1" ... "L7" and "No" on the numbered line.
StickerInput sticker(int maxField, const QString &width, const QString &gap, const QString &cols,
    const QString &rows, const QString &blank)
{
    StickerInput in;
    const int sources[7] = {0, 1, 2, 3, 4, 8, 9};
    for (int i = 0; i < 7; ++i)
        in.Atxt[size_t(sources[i])] = QStringLiteral("L%1").arg(i + 1);
    in.Atxt[3] = QStringLiteral("No");
    in.maxField = maxField;
    in.TxMaxFLenth = width;
    in.TxSp = gap;
    in.TxCol = cols;
    in.TxRow = rows;
    in.TxBlank = blank;
    in.txtPage = QStringLiteral("1");
    return in;
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

QList<QByteArray> linesOf(const QByteArray &bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray &l : lines) {
        if (l.endsWith('\r'))
            l.chop(1);
    }
    return lines;
}

} // namespace

class TestCharSheetWriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void init()
    {
        PrintFileName.clear();
        LastTempNumber.clear();
        QDir(AppPaths::privateTempFolder()).removeRecursively();
    }

    void bytes_data();
    void bytes();
    void numberCutAtWidth();
    void numbersRestartOnEveryPage();
    void refusedDeviceIsAnError();
    void validation_data();
    void validation();
    void runWritesTheNextTempFile_data();
    void runWritesTheNextTempFile();
    void runWithoutTempFolderIsAnError();
    void runOnAFullDiskIsAnError();
    void wholeRunIsOnePageOfTheView();
};

void TestCharSheetWriter::bytes_data()
{
    QTest::addColumn<StickerInput>("input");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("max field 3: three lines, no number, rows apart by blank+1")
        << sticker(3, "4", "2", "3", "2", "1")
        << QByteArray("L1    L1    L1\r\nL2    L2    L2\r\nL3    L3    L3\r\n"
                      "\r\n\r\n"
                      "L1    L1    L1\r\nL2    L2    L2\r\nL3    L3    L3\r\n"
                      "\r\n.  .  .\r\n\x0c\r\n");

    QTest::newRow("max field 7: number on line 4 across, then down; blank 0")
        << sticker(7, "6", "1", "2", "2", "0")
        << QByteArray("L1     L1\r\nL2     L2\r\nL3     L3\r\nNo1    No2\r\nL5     L5\r\nL6     L6\r\n"
                      "L7     L7\r\n"
                      "\r\n"
                      "L1     L1\r\nL2     L2\r\nL3     L3\r\nNo3    No4\r\nL5     L5\r\nL6     L6\r\n"
                      "L7     L7\r\n"
                      ".  .  .\r\n\x0c\r\n");

    StickerInput twoPages = sticker(4, "4", "0", "2", "1", "2");
    twoPages.txtPage = "2";
    QTest::newRow("two pages, each with its marker and numbers from 1")
        << twoPages
        << QByteArray("L1  L1\r\nL2  L2\r\nL3  L3\r\nNo1 No2\r\n\r\n\r\n.  .  .\r\n"
                      "L1  L1\r\nL2  L2\r\nL3  L3\r\nNo1 No2\r\n\r\n\r\n.  .  .\r\n\x0c\r\n");

    StickerInput condensed = twoPages;
    condensed.condensed = true;
    QTest::newRow("condensed over two pages: SI once at the start, DC2 FF at the end")
        << condensed
        << QByteArray("\x0fL1  L1\r\nL2  L2\r\nL3  L3\r\nNo1 No2\r\n\r\n\r\n.  .  .\r\n"
                      "L1  L1\r\nL2  L2\r\nL3  L3\r\nNo1 No2\r\n\r\n\r\n.  .  .\r\n\x12\x0c\r\n");

    StickerInput empty = sticker(2, "5", "3", "3", "1", "0");
    empty.Atxt[0] = QString();
    empty.Atxt[1] = QStringLiteral("  x  ");
    QTest::newRow("a line empty in every column prints empty")
        << empty << QByteArray("\r\nx       x       x\r\n.  .  .\r\n\x0c\r\n");

    StickerInput emptyCondensed = empty;
    emptyCondensed.condensed = true;
    QTest::newRow("condensed empty first line keeps its SI")
        << emptyCondensed << QByteArray("\x0f\r\nx       x       x\r\n.  .  .\r\n\x12\x0c\r\n");

    QTest::newRow("max field 0: no lines, only the gaps and the marker")
        << sticker(0, "4", "1", "3", "2", "1") << QByteArray("\r\n\r\n\r\n.  .  .\r\n\x0c\r\n");

    QTest::newRow("width 0: every line empty")
        << sticker(1, "0", "2", "2", "1", "0") << QByteArray("\r\n.  .  .\r\n\x0c\r\n");

    QTest::newRow("width halves to even, text cut at the width")
        << sticker(1, "2.5", "1", "2", "1", "0.9") << QByteArray("L1 L1\r\n.  .  .\r\n\x0c\r\n");

    StickerInput latin = sticker(1, "6", "1", "1", "1", "0");
    latin.Atxt[0] = QStringLiteral("Gr\u00fc\u00dfe");
    QTest::newRow("one byte per character") << latin
                                            << QByteArray("Gr\xfc\xdf"
                                                          "e\r\n.  .  .\r\n\x0c\r\n");
}

void TestCharSheetWriter::bytes()
{
    QFETCH(StickerInput, input);
    QFETCH(QByteArray, expected);
    QCOMPARE(sheet(input), expected);
}

void TestCharSheetWriter::numberCutAtWidth()
{
    // Eight characters and the number in ten: 1 to 99 fit, from 100 on the
    // last digit is cut.
    StickerInput in = sticker(4, "10", "0", "1", "120", "0");
    in.Atxt[3] = QStringLiteral("  ABCDEFGH ");
    QList<QByteArray> numbered;
    const QList<QByteArray> lines = linesOf(sheet(in));
    for (const QByteArray &l : lines) {
        if (l.startsWith("ABCDEFGH"))
            numbered << l;
    }
    QCOMPARE(numbered.size(), 120);
    QCOMPARE(numbered.at(0), QByteArray("ABCDEFGH1"));
    QCOMPARE(numbered.at(98), QByteArray("ABCDEFGH99"));
    QCOMPARE(numbered.at(99), QByteArray("ABCDEFGH10"));
    QCOMPARE(numbered.at(119), QByteArray("ABCDEFGH12"));
}

void TestCharSheetWriter::numbersRestartOnEveryPage()
{
    StickerInput in = sticker(4, "5", "1", "3", "4", "0");
    in.txtPage = "3";
    QList<QByteArray> numbered;
    for (const QByteArray &l : linesOf(sheet(in))) {
        if (l.startsWith("No"))
            numbered << l;
    }
    QCOMPARE(numbered.size(), 12);
    for (int page = 0; page < 3; ++page) {
        QCOMPARE(numbered.at(page * 4), QByteArray("No1   No2   No3"));
        QCOMPARE(numbered.at(page * 4 + 3), QByteArray("No10  No11  No12"));
    }
}

void TestCharSheetWriter::refusedDeviceIsAnError()
{
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    QString error;
    QVERIFY(!CharSheetWriter::write(
        computeWorkingValues(sticker(3, "4", "1", "2", "2", "0")), false, &readOnly, &error));
    QVERIFY(!error.isEmpty());
}

void TestCharSheetWriter::validation_data()
{
    QTest::addColumn<StickerInput>("input");
    QTest::addColumn<QString>("message");
    const StickerInput base = sticker(3, "4", "2", "3", "2", "1");
    const QString gap = "\"SPace Between Col\" must be a number from 0 to 32767.";
    const QString col = "\"Col\" must be a number from 0 to 255.";

    QTest::newRow("usable") << base << QString();
    auto with = [&](void (*change)(StickerInput &)) {
        StickerInput in = base;
        change(in);
        return in;
    };
    QTest::newRow("gap not a number") << with([](StickerInput &in) { in.TxSp = "two"; }) << gap;
    QTest::newRow("gap empty") << with([](StickerInput &in) { in.TxSp = ""; }) << gap;
    QTest::newRow("gap with letters after it") << with([](StickerInput &in) { in.TxSp = "2x"; }) << gap;
    QTest::newRow("gap negative") << with([](StickerInput &in) { in.TxSp = "-1"; }) << gap;
    QTest::newRow("gap with spaces around") << with([](StickerInput &in) { in.TxSp = " 2 "; }) << QString();
    QTest::newRow("columns not a number") << with([](StickerInput &in) { in.TxCol = "six"; }) << col;
    QTest::newRow("columns above 255") << with([](StickerInput &in) { in.TxCol = "256"; }) << col;
    QTest::newRow("columns 255.5 rounds to 256") << with([](StickerInput &in) { in.TxCol = "255.5"; }) << col;
    QTest::newRow("columns 255") << with([](StickerInput &in) { in.TxCol = "255"; }) << QString();
    QTest::newRow("rows above 32767") << with([](StickerInput &in) { in.TxRow = "40000"; })
                                      << QString("\"Row\" must be a number from 0 to 32767.");
    QTest::newRow("width negative") << with([](StickerInput &in) { in.TxMaxFLenth = "-3"; })
                                    << QString("\"Max Field Lenth\" must be a number from 0 to 32767.");
    QTest::newRow("blank lines too many")
        << with([](StickerInput &in) { in.TxBlank = "99999"; })
        << QString("\"Margin Between Two Sticker\" must be a number from 0 to 32767.");
    QTest::newRow("blank lines negative mean none")
        << with([](StickerInput &in) { in.TxBlank = "-4"; }) << QString();
    QTest::newRow("max field 8") << with([](StickerInput &in) { in.maxField = 8; })
                                 << QString("\"Max Field\" must be a number from 0 to 7.");
    QTest::newRow("pages negative") << with([](StickerInput &in) { in.txtPage = "-2"; })
                                    << QString("\"Page\" must be a number of 1 or more.");
    QTest::newRow("pages a half") << with([](StickerInput &in) { in.txtPage = "0.5"; })
                                  << QString("\"Page\" must be a number of 1 or more.");
    QTest::newRow("pages empty is one page") << with([](StickerInput &in) { in.txtPage = ""; }) << QString();
}

void TestCharSheetWriter::validation()
{
    QFETCH(StickerInput, input);
    QFETCH(QString, message);
    QCOMPARE(CharSheetWriter::validate(input), message);
    const CharSheetWriter::Result result = CharSheetWriter::run(input);
    QCOMPARE(result.ok, message.isEmpty());
    QCOMPARE(result.error, message);
    if (!message.isEmpty()) {
        // Refused before anything is written or named.
        QVERIFY(PrintFileName.isEmpty());
        QVERIFY(QDir(AppPaths::privateTempFolder()).entryList(QDir::Files).isEmpty());
        QCOMPARE(result.txtPage, input.txtPage);
    }
}

void TestCharSheetWriter::runWritesTheNextTempFile_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("pageAfter");
    QTest::addColumn<int>("markers");
    QTest::newRow("empty means one page") << ""
                                          << "1" << 1;
    QTest::newRow("0 means one page") << "0"
                                      << "1" << 1;
    QTest::newRow("text counts as 0") << "abc"
                                      << "1" << 1;
    QTest::newRow("2 stays 2") << "2"
                               << "2" << 2;
    QTest::newRow("2.7 gives two pages") << "2.7"
                                         << "2.7" << 2;
}

void TestCharSheetWriter::runWritesTheNextTempFile()
{
    QFETCH(QString, page);
    QFETCH(QString, pageAfter);
    QFETCH(int, markers);
    StickerInput in = sticker(4, "5", "1", "2", "3", "1");
    in.txtPage = page;
    const CharSheetWriter::Result first = CharSheetWriter::run(in);
    QVERIFY2(first.ok, qPrintable(first.error));
    QCOMPARE(first.txtPage, pageAfter);
    QCOMPARE(first.fileName, AppPaths::privateTempFolder() + "/Tz0.Tmp");
    QCOMPARE(PrintFileName, first.fileName);
    const QByteArray bytes = TestSupport::readFile(first.fileName);
    QCOMPARE(bytes.count(".  .  .\r\n"), markers);
    QVERIFY(bytes.endsWith("\x0c\r\n"));
    QCOMPARE(bytes.count('\x0c'), 1);

    // Every run takes a new name; the earlier file stays.
    const CharSheetWriter::Result second = CharSheetWriter::run(in);
    QVERIFY(second.ok);
    QCOMPARE(second.fileName, AppPaths::privateTempFolder() + "/Tz1.Tmp");
    QCOMPARE(TestSupport::readFile(first.fileName), bytes);
}

void TestCharSheetWriter::runWithoutTempFolderIsAnError()
{
    // A link planted in place of the private folder makes it unusable.
    const QString folder = AppPaths::privateTempFolder();
    QDir(folder).removeRecursively();
    QTemporaryDir elsewhere;
    QVERIFY(QFile::link(elsewhere.path(), folder));
    const CharSheetWriter::Result result = CharSheetWriter::run(sticker(3, "4", "2", "3", "2", "1"));
    QFile::remove(folder);
    QVERIFY(!result.ok);
    QCOMPARE(result.error, QString("No temporary print file can be created."));
    QVERIFY(PrintFileName.isEmpty());
    QVERIFY(QDir(elsewhere.path()).isEmpty());
}

void TestCharSheetWriter::runOnAFullDiskIsAnError()
{
    StickerInput in = sticker(7, "20", "2", "8", "50", "1");
    in.txtPage = "20"; // well past one output chunk
    CharSheetWriter::Result result;
    {
        FileSizeLimit limit(100000);
        result = CharSheetWriter::run(in);
    }
    QVERIFY(!result.ok);
    QVERIFY2(result.error.startsWith("The print file "), qPrintable(result.error));
    QVERIFY(PrintFileName.isEmpty());
    // No half sheet is left under the name.
    QCOMPARE(QFileInfo(AppPaths::privateTempFolder() + "/Tz0.Tmp").size(), 0);
}

void TestCharSheetWriter::wholeRunIsOnePageOfTheView()
{
    StickerInput in = sticker(7, "12", "2", "4", "6", "1");
    in.txtPage = "3";
    in.condensed = true;
    const CharSheetWriter::Result result = CharSheetWriter::run(in);
    QVERIFY(result.ok);
    PageTable table;
    QString error;
    QVERIFY(table.load(PrintFileName, &error));
    QCOMPARE(table.PageCount(), 1);
    QCOMPARE(table.pageBytes(0).count(".  .  ."), 3);
    QVERIFY(table.pageBytes(0).startsWith("\x0fL1"));
}

QTEST_MAIN(TestCharSheetWriter)
#include "tst_charsheetwriter.moc"
