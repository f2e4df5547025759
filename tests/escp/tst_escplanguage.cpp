// The ESC/P language as the printer reads it, command by command: the printer
// model a file is read for, downloaded characters, units, the ends of double
// width, and the commands that change the look of the text, each as bytes
// and the sheets they print (positions in units of 1/2160 in). The commands
// whose units, ranges and ends are easy to get wrong (tabs and their steps,
// skips, feeds forward and back, absolute and relative moves) are checked
// against what the printer references say.
#include "EscpBytes.h"
#include "EscpSheets.h"
#include "TestSupport.h"
#include "codepage/CodePageGuess.h"
#include "escp/EscpTokenizer.h"
#include "escp/SheetIndex.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A report of `lines` short lines, each ended by CR LF.
QByteArray report(int lines)
{
    QByteArray out;
    for (int i = 0; i < lines; ++i)
        out += "line " + QByteArray::number(i) + "\r\n";
    return out;
}

// The lines printed on each sheet.
QList<int> linesPerSheet(const QByteArray &bytes, PrinterModel model)
{
    const SheetIndex doc = built(bytes, model);
    QList<int> out;
    for (int i = 0; i < doc.sheetCount(); ++i)
        out << int(doc.sheet(i).runs.size());
    return out;
}

// ESC & NUL c c for one character: 9-pin (attribute byte, 11 columns, the
// dots of `column` in every other one, as a 9-pin head prints them).
QByteArray nineDownload(uchar code, uchar attribute, uchar column)
{
    QByteArray columns;
    for (int i = 0; i < 11; ++i)
        columns.append(char(i % 2 ? 0 : column));
    return E + "&" + b({0, code, code, attribute}) + columns;
}

// ESC & NUL c c for one character: 24-pin (a0 a1 a2, 3 x a1 bytes).
QByteArray twentyFourDownload(uchar code, int columns)
{
    return E + "&" + b({0, code, code, 2, columns, 2}) + QByteArray(3 * columns, '\xff');
}

// The same under super- or subscript (ESC S on): 2 bytes a column. The
// dots are form feeds, which a wrong count would take for control codes.
QByteArray smallDownload(uchar code, int columns)
{
    return E + "&" + b({0, code, code, 2, columns, 2}) + QByteArray(2 * columns, '\x0c');
}

} // namespace

class TestEscpLanguage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void model_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain text: 9 pins") << report(3) << "9-pin";
        QTest::newRow("ESC 3 30 is 1/6 in on 24 pins") << E + "3" + b({30}) + report(3) << "24-pin";
        QTest::newRow("ESC A 10 is 1/6 in on 24 pins") << E + "A" + b({10}) + report(3) << "24-pin";
        QTest::newRow("ESC 3 27 is 1/8 in on 9 pins") << E + "3" + b({27}) + report(3) << "9-pin";
        QTest::newRow("ESC 3 36 reads round on both: 9") << E + "3" + b({36}) + report(3) << "9-pin";
        QTest::newRow("24-dot picture") << E + "*" + b({39, 1, 0, 1, 2, 3}) << "24-pin";
        QTest::newRow("ESC + n/360") << E + "+" + b({60}) + report(2) << "24-pin";
        QTest::newRow("9-pin graphics") << E + "^" + b({0, 1, 0, 0xff, 0x80}) << "9-pin";
        QTest::newRow("ESC ( C page length") << E + "(C" + b({2, 0, 0xe0, 0x10}) << "escp2";
        QTest::newRow("ESC ( U unit") << E + "(U" + b({1, 0, 10}) << "escp2";
        QTest::newRow("raster graphics") << E + "." + b({1, 10, 10, 1, 8, 0, 0, 0xff}) << "escp2";
        QTest::newRow("scalable font") << E + "X" + b({0, 21, 0}) << "escp2";
        QTest::newRow("9-pin downloaded character") << nineDownload('A', 0x8B, 0x7E) << "9-pin";
        QTest::newRow("24-pin downloaded character") << twentyFourDownload('A', 10) << "24-pin";
        QTest::newRow("ESC ( t table is 24-pin ESC/P") << E + "(t" + b({3, 0, 1, 1, 0}) << "24-pin";
    }
    void model()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(PrinterModels::name(built(bytes).model()), expected);
    }

    void modelNames()
    {
        for (PrinterModel m : {PrinterModel::Auto, PrinterModel::NinePin, PrinterModel::TwentyFourPin, PrinterModel::EscP2})
            QCOMPARE(PrinterModels::fromName(PrinterModels::name(m)), std::optional<PrinterModel>(m));
        QCOMPARE(PrinterModels::fromName(u"24-PIN"), std::optional<PrinterModel>(PrinterModel::TwentyFourPin));
        QVERIFY(!PrinterModels::fromName(u"48-pin"));
        QCOMPARE(built(report(2), PrinterModel::TwentyFourPin).model(), PrinterModel::TwentyFourPin);
    }

    // A 24-pin report spaced 1/6 in with ESC 3 30: 66 lines to an 11 in
    // sheet; read for 9 pins (30/216 in) it would be 80.
    void linesPerSheet_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("model");
        QTest::addColumn<QList<int>>("expected");
        const QByteArray spaced = E + "3" + b({30}) + report(100);
        QTest::newRow("auto takes 24 pins") << spaced << int(PrinterModel::Auto) << QList<int>{66, 34};
        QTest::newRow("24-pin chosen") << spaced << int(PrinterModel::TwentyFourPin) << QList<int>{66, 34};
        QTest::newRow("9-pin chosen") << spaced << int(PrinterModel::NinePin) << QList<int>{80, 20};
        const QByteArray lines = E + "A" + b({12}) + report(100);
        QTest::newRow("ESC A 12 on 9 pins") << lines << int(PrinterModel::NinePin) << QList<int>{66, 34};
        QTest::newRow("ESC A 12 on 24 pins") << lines << int(PrinterModel::TwentyFourPin) << QList<int>{55, 45};
    }
    void linesPerSheet()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, model);
        QFETCH(QList<int>, expected);
        QCOMPARE(::linesPerSheet(bytes, PrinterModel(model)), expected);
    }

    void tokens_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("pins");
        QTest::addColumn<int>("length");
        QTest::newRow("9-pin form, 9 pins") << nineDownload('A', 0x8B, 0x7E) + "xyz" << 9 << 17;
        QTest::newRow("9-pin form found by its shape") << nineDownload('A', 0x8B, 0x7E) + "xyz" << 0 << 17;
        QTest::newRow("two 9-pin characters") << E + "&" + b({0, 'A', 'B'}) + b({0x0B}) + QByteArray(11, 1) + b({0x8B}) + QByteArray(11, 2) << 9 << 29;
        QTest::newRow("24-pin form, 24 pins") << twentyFourDownload('A', 10) + "xyz" << 24 << 38;
        QTest::newRow("24-pin form found by its shape") << twentyFourDownload('A', 10) + "xyz" << 0 << 38;
        QTest::newRow("last before first: the header only") << E + "&" + b({0, 'B', 'A'}) + "xyz" << 9 << 5;
    }
    void tokens()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, pins);
        QFETCH(int, length);
        EscpTokenizer t(bytes, 0, pins);
        const EscpToken token = t.next();
        QCOMPARE(token.kind, EscpToken::Command);
        QCOMPARE(int(token.length), length);
    }

    void sheets_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("expected");
        const QString h = "h=23760";
        const int nine = int(PrinterModel::NinePin);
        const int p24 = int(PrinterModel::TwentyFourPin);
        const int p2 = int(PrinterModel::EscP2);
        // Downloaded characters: the text after the definition is kept, and
        // ESC % 1 prints the character's dots in its cell.
        QTest::newRow("9-pin character defined, not selected") << nineDownload('A', 0x8B, 0x7E) + "AB" << nine
                                                             << h + " 0,240'AB'216";
        QTest::newRow("9-pin character printed") << nineDownload('A', 0x8B, 0x7E) + E + "%" + b({1}) + "AB" << nine
                                                 << h + " 216,240'B'216 [0,0 198x270]";
        QTest::newRow("24-pin character printed") << twentyFourDownload('A', 10) + E + "%" + b({1}) + "AB" + E + "%" + b({0}) + "A"
                                                  << p24 << h + " 216,240'BA'216 [0,0 252x288]";
        // ESC t 2 prints the downloaded characters of 0-127 at 128-255; where
        // none is defined, 160-255 repeat the lower half and 128-159 print
        // nothing.
        QTest::newRow("ESC t 2: downloaded characters at 128-255")
            << twentyFourDownload('A', 10) + E + "%" + b({1}) + E + "t" + b({2}) + b({0xc1, 0xc2}) << p24
            << h + " 216,240'B'216 [0,0 252x288]";
        QTest::newRow("ESC t 2 without downloaded characters") << E + "t" + b({2}) + b({0xc1, 0x8a, 0xe1}) << p24
                                                              << h + " 0,240'Aa'216";
        // Under ESC S a 24-pin character has 16 dots, columns of 2 bytes: the
        // text after the definition is kept (it was taken for dots).
        const QByteArray superscript = E + "S" + b({0});
        QTest::newRow("24-pin character defined under ESC S") << superscript + smallDownload('A', 10) + E + "T" + "AB" << p24
                                                              << h + " 0,240'AB'216";
        QTest::newRow("24-pin character printed as a superscript")
            << superscript + smallDownload('A', 10) + E + "%" + b({1}) + "AB" << p24 << h + " 216,240'B'216s [0,0 252x192]";
        QTest::newRow("24-pin character printed as a subscript")
            << E + "S" + b({1}) + smallDownload('A', 10) + E + "%" + b({1}) + "AB" << p24 << h + " 216,240'B'216 [0,96 252x192]";
        // The next sheet read from where it begins knows ESC S is on.
        QTest::newRow("ESC S on from the sheet before") << superscript + "\f" + smallDownload('A', 10) + E + "T" + "AB" << p24
                                                        << h + " | " + h + " 0,240'AB'216";
        QTest::newRow("ESC : copies the ROM over them") << nineDownload('A', 0x8B, 0x7E) + E + ":" + b({0, 0, 0}) + E + "%1A"
                                                       << nine << h + " 0,240'A'216";
        // ESC $ and ESC \ in ESC ( U's unit; a unit the printer refuses is not taken.
        QTest::newRow("ESC $ in 1/60 in") << E + "$" + b({60, 0}) + "a" << p2 << h + " 2160,240'a'216";
        QTest::newRow("ESC $ in ESC ( U's 1/360 in") << E + "(U" + b({1, 0, 10}) + E + "$" + b({0x68, 1}) + "a" << p2
                                                   << h + " 2160,240'a'216";
        QTest::newRow("ESC \\ in ESC ( U's 1/360 in") << E + "(U" + b({1, 0, 10}) + "a" + E + "\\" + b({0x68, 1}) + "b" << p2
                                                     << h + " 0,240'a'216 2376,240'b'216";
        QTest::newRow("ESC ( U 7 refused") << E + "(U" + b({1, 0, 7}) + E + "$" + b({60, 0}) + "a" << p2 << h + " 2160,240'a'216";
        QTest::newRow("ESC ( U 0 refused") << E + "(U" + b({1, 0, 0}) + E + "(V" + b({2, 0, 60, 0}) + "a" << p2
                                          << h + " 0,600'a'216";
        QTest::newRow("ESC ( U in 1/1440 in: H 4 is 1/360") << E + "(U" + b({5, 0, 4, 4, 4, 0xa0, 0x05}) + E + "$" + b({0x68, 1}) + "a"
                                                          << p2 << h + " 2160,240'a'216";
        // 1/1440 and 1/2880 in are no whole number of the sheet's units: an
        // inch of them had come out as 1.333 in.
        QTest::newRow("ESC ( $ in 1/1440 in") << E + "(U" + b({5, 0, 1, 1, 1, 0xa0, 0x05}) + E + "($" + b({4, 0, 0xa0, 0x05, 0, 0}) + "a"
                                            << p2 << h + " 2160,240'a'216";
        QTest::newRow("ESC ( V in 1/2880 in") << E + "(U" + b({5, 0, 1, 1, 1, 0x40, 0x0b}) + E + "(V" + b({2, 0, 0x40, 0x0b}) + "a"
                                            << p2 << h + " 0,2400'a'216";
        QTest::newRow("ESC ( U base 1000 refused") << E + "(U" + b({5, 0, 4, 4, 4, 0xe8, 0x03}) + E + "$" + b({60, 0}) + "a" << p2
                                                  << h + " 2160,240'a'216";
        // Where SO's double width ends.
        QTest::newRow("SO ends at a form feed") << QByteArray("\x0e" "a\fb") << nine << h + " 0,240'a'432w | " + h + " 0,240'b'216";
        // 68 double-width characters fill the 13.6 in carriage; the line the
        // wrap begins is of single width again.
        QTest::newRow("SO ends where the line wraps") << QByteArray("\x0e") + QByteArray(70, 'a') << nine
                                                     << h + " 0,240'" + QString(68, 'a') + "'432w 0,600'aa'216";
        QTest::newRow("SO ends at CR on 9 pins") << QByteArray("\x0e" "a\rb") << nine << h + " 0,240'a'432w 0,240'b'216";
        QTest::newRow("SO goes on past CR on 24 pins") << QByteArray("\x0e" "a\rb") << p24 << h + " 0,240'a'432w 0,240'b'432w";
        QTest::newRow("ESC W 0 ends SO") << QByteArray("\x0e" "a") + E + "W" + b({0}) + "b" << p24 << h + " 0,240'a'432w 432,240'b'216";
        // The italic table's 128-159 print nothing.
        QTest::newRow("italic table 80-9F") << E + "t" + b({0}) + b({0x85, 0x9f}) + "a" << nine << h + " 0,240'a'216";
        QTest::newRow("ESC 6: 80-9F print") << E + "t" + b({0}) + E + "6" + b({0x85}) + "a" << nine << h + " 0,240'\u2663'216i 216,240'a'216";
        // ESC ( t gives table 1 a national code page, ESC t 1 prints in it.
        const auto table = [](int number) { return E + "(t" + b({3, 0, 1, number, 0}) + E + "t" + b({1}); };
        QTest::newRow("ESC ( t PC850") << table(3) + b({0x81, 0x84, 0x94}) << p24 << h + " 0,240'\u00fc\u00e4\u00f6'216";
        QTest::newRow("ESC ( t PC852") << table(10) + b({0xa7, 0x9f, 0xd8}) << p24 << h + " 0,240'\u017e\u010d\u011b'216";
        QTest::newRow("ESC ( t PC866") << table(14) + b({0x8f, 0xe0, 0xa8}) << p24 << h + " 0,240'\u041f\u0440\u0438'216";
        QTest::newRow("ESC ( t Kamenicky") << table(15) + b({0x87, 0x9f, 0x96}) << p24 << h + " 0,240'\u010d\u0165\u016f'216";
        // (They had taken the set-up's code page.)
        QTest::newRow("ESC ( t PC860") << table(7) + b({0x84, 0x8c, 0x91}) << p24 << h + " 0,240'\u00e3\u00d4\u00c0'216";
        QTest::newRow("ESC ( t PC863") << table(8) + b({0x84, 0x9b}) << p24 << h + " 0,240'\u00c2\u00a2'216";
        QTest::newRow("ESC ( t PC865") << table(9) + b({0x9b, 0x9d, 0xaf}) << p24 << h + " 0,240'\u00f8\u00d8\u00a4'216";
        QTest::newRow("ESC ( t PC857") << table(11) + b({0x8d, 0x98, 0x9e}) << p24 << h + " 0,240'\u0131\u0130\u015e'216";
        QTest::newRow("ESC ( t PC858") << table(44) + b({0xd5, 0x81}) << p24 << h + " 0,240'\u20ac\u00fc'216";
        QTest::newRow("ESC ( t of a table we lack") << table(5) + b({0x81}) << p24 << h + " 0,240'\u0081'216";
        // ESC ( t names slot 0-3 or "0"-"3", ESC t the same: any other is
        // ignored (it replaced or chose the slot of its low two bits).
        QTest::newRow("ESC ( t slot 4 ignored") << E + "(t" + b({3, 0, 4, 14, 0}) + E + "t" + b({0}) + b({0x82, 0xe1}) << p24
                                                << h + " 0,240'a'216i";
        QTest::newRow("ESC ( t slot 5 ignored") << E + "(t" + b({3, 0, 5, 14, 0}) + E + "t" + b({1}) + b({0x82}) << p24
                                                << h + " 0,240'\u00e9'216";
        QTest::newRow("ESC t 4 ignored") << E + "t" + b({1}) + E + "t" + b({4}) + b({0xb3}) << p24 << h + " 0,240'\u2502'216";
        QTest::newRow("ESC t '4' ignored") << E + "t" + b({1}) + E + "t4" + b({0xb3}) << p24 << h + " 0,240'\u2502'216";
        QTest::newRow("ESC t 0x80 ignored") << E + "t" + b({1}) + E + "t" + b({0x80}) + b({0xb3}) << p24
                                            << h + " 0,240'\u2502'216";
        // ESC 7: the graphics table's 128-159 are control codes and print
        // nothing (ESC m 0 on 9 pins); ESC 6 does nothing in the italic
        // table of a 24-pin printer.
        QTest::newRow("ESC 7: graphics table's 80-9F print nothing") << E + "t" + b({1}) + E + "7" + b({0x8a, 0x8d, 0x9b}) + "a"
                                                                    << p24 << h + " 0,240'a'216";
        QTest::newRow("ESC m 0: graphics table's 80-9F print nothing") << E + "t" + b({1}) + E + "m" + b({0}) + b({0x8a, 0x9b}) + "a"
                                                                      << nine << h + " 0,240'a'216";
        QTest::newRow("ESC 6 in the italic table on 24 pins") << E + "t" + b({0}) + E + "6" + b({0x8a}) + "a" << p24
                                                              << h + " 0,240'a'216";
        // ESC R's letters are in the italic table's upper half too.
        QTest::newRow("ESC R 2 in the italic table") << E + "t" + b({0}) + E + "R" + b({2}) + b({0xdb, 0xfe, 0xc0, 0xa3}) << p24
                                                     << h + " 0,240'\u00c4\u00df\u00a7#'216i";
        QTest::newRow("ESC R 64 in the italic table") << E + "t" + b({0}) + E + "R" + b({64}) + b({0xfd, 0xfe}) << p24
                                                      << h + " 0,240'\u2020\u2122'216i";
        // ESC R of a country the printer does not have is ignored.
        QTest::newRow("ESC R 15 ignored") << E + "R" + b({2}) + E + "R" + b({15}) + "[" << nine << h + " 0,240'\u00c4'216";
        QTest::newRow("ESC R '2' ignored") << E + "R" + b({2}) + E + "R2" + "[" << nine << h + " 0,240'\u00c4'216";
        // A form is never shorter than one line.
        QTest::newRow("ESC 3 0 then ESC C 5") << E + "3" + b({0}) + E + "C" + b({5}) + "a" << nine << "h=1800 0,240'a'216";
        // CAN and DEL.
        QTest::newRow("CAN drops the line's text") << QByteArray("ab\r\ncd\x18" "e") << nine << h + " 0,240'ab'216 0,600'e'216";
        QTest::newRow("DEL takes back a character on 9 pins") << QByteArray("ab\x7f" "c") << nine << h + " 0,240'ac'216";
        QTest::newRow("DEL does nothing on 24 pins") << QByteArray("ab\x7f" "c") << p24 << h + " 0,240'abc'216";
        // ESC l, ESC Q and ESC @ drop the text before them on the line as CAN does.
        QTest::newRow("ESC l drops the line before it") << "abc" + E + "l" + b({5}) + "def\r\nghi" << nine
                                                       << h + " 1080,240'def'216 1080,600'ghi'216";
        QTest::newRow("ESC l at a line's start: the line at the new margin") << E + "l" + b({10}) + "a\r\n" + E + "l" + b({0}) + "b"
                                                                           << nine << h + " 2160,240'a'216 0,600'b'216";
        QTest::newRow("ESC Q drops the line before it") << "abc" + E + "Q" + b({40}) + "def" << nine << h + " 0,240'def'216";
        QTest::newRow("ESC @ drops the line before it") << "abc" + E + "@" + "def" << nine << h + " 0,240'def'216";
        // ESC l: 0 <= left < right; ESC Q: left < right, within the carriage (13.6 in).
        QTest::newRow("ESC l at the right margin ignored") << E + "Q" + b({10}) + E + "l" + b({12}) + "xyz" << nine
                                                          << h + " 0,240'xyz'216";
        QTest::newRow("ESC l less than a column left of the right margin") << E + "M" + E + "Q" + b({12}) + E + "l" + b({11}) + "a"
                                                                          << nine << h + " 1980,240'a'180";
        QTest::newRow("ESC Q past the carriage ignored") << E + "Q" + b({40}) + E + "Q" + b({137}) + QByteArray(41, 'a') << nine
                                                        << h + " 0,240'" + QString(40, 'a') + "'216 0,600'a'216";
        // ESC Q clears the tabs ESC D set: a tab every 8 columns again.
        QTest::newRow("ESC Q clears the tabs") << E + "D" + b({5, 0}) + E + "Q" + b({40}) + "\tb" << nine
                                               << h + " 1728,240'b'216";
        // ESC a on a narrow (8 in) carriage: 17280 units.
        QTest::newRow("ESC a 1 centres") << E + "a" + b({1}) + "ab\r\n" << nine << h + " 8424,240'ab'216";
        QTest::newRow("ESC a 2 to the right") << E + "a" + b({2}) + "ab\r\n" << nine << h + " 16848,240'ab'216";
        QTest::newRow("ESC a 2 ignores BS") << E + "a" + b({2}) + "AB\x08" "C\r\n" << nine << h + " 16632,240'ABC'216";
        QTest::newRow("ESC a 3 ignores BS") << E + "a" + b({3}) + "AB\x08" "C\r\n" << nine << h + " 0,240'ABC'216";
        QTest::newRow("ESC a 1 ignores BS") << E + "a" + b({1}) + "AB\x08\x08" "C\r\n" << nine << h + " 8316,240'ABC'216";
        QTest::newRow("ESC a 1 ignores HT") << E + "a" + b({1}) + "A\tB\r\n" << nine << h + " 8424,240'AB'216";
        QTest::newRow("ESC a 2 ignores HT") << E + "a" + b({2}) + "A\tB\r\n" << nine << h + " 16848,240'AB'216";
        // 16 words of "abcd " fill 80 columns: the 15 blanks between them
        // share the last column's 216 units (6 get 15, 9 get 14).
        QTest::newRow("ESC a 3 spreads a full line") << E + "a" + b({3}) + QByteArray("abcd ").repeated(16) + "x\r\ny\r\n" << nine
            << h + " 0,240'abcd '216 1095,240'abcd '216 2190,240'abcd '216 3285,240'abcd '216 4380,240'abcd '216 5475,240'abcd '216 6570,240'abcd '216 7664,240'abcd '216 8758,240'abcd '216 9852,240'abcd '216 10946,240'abcd '216 12040,240'abcd '216 13134,240'abcd '216 14228,240'abcd '216 15322,240'abcd '216 16416,240'abcd '216 0,600'x'216 0,960'y'216";
        // The margin cuts the word "efghij": it goes over whole, and the 14
        // blanks between the 15 words left share the 1296 units after them.
        QTest::newRow("ESC a 3 carries a cut word over") << E + "a" + b({3}) + QByteArray("abcd ").repeated(15) + "efghij\r\n" << nine
            << h + " 0,240'abcd '216 1173,240'abcd '216 2346,240'abcd '216 3519,240'abcd '216 4692,240'abcd '216 5865,240'abcd '216 7038,240'abcd '216 8211,240'abcd '216 9384,240'abcd '216 10556,240'abcd '216 11728,240'abcd '216 12900,240'abcd '216 14072,240'abcd '216 15244,240'abcd '216 16416,240'abcd '216 0,600'efghij'216";
        // A word in two looks goes over in both; a line under three quarters
        // full stays flush left.
        QTest::newRow("ESC a 3 carries a word in two looks") << E + "a" + b({3}) + "a " + QByteArray(71, 'b') + E + "E" + "cdefghij\r\n"
            << nine << h + " 0,240'a '216 0,600'" + QString(71, 'b') + "'216 15336,600'cdefghij'216b";
        // A word that ends at the margin stays: the blank after it wraps.
        QTest::newRow("ESC a 3: a word ending at the margin stays") << E + "a" + b({3}) + QByteArray("abcd ").repeated(15) + "efghi next"
            << nine << h + " 0,240'" + QString("abcd ").repeated(15) + "efghi'216 0,600' next'216";
        // A tab is ignored under full justification too: the word goes on.
        QTest::newRow("ESC a 3 ignores HT") << E + "a" + b({3}) + "abc\t" + QByteArray(75, 'w') << nine
            << h + " 0,240'abc" + QString(75, 'w') + "'216";
        QTest::newRow("ESC a 3: a word longer than the line is cut") << E + "a" + b({3}) + "a " + QByteArray(85, 'b') << nine
            << h + " 0,240'a '216 0,600'" + QString(80, 'b') + "'216 0,960'bbbbb'216";
        QTest::newRow("ESC a 0 back to the left") << E + "a" + b({2}) + E + "a" + b({0}) + "ab\r\n" << nine << h + " 0,240'ab'216";
        // ESC = and ESC > set the top bit, ESC # lets it be.
        QTest::newRow("ESC = clears bit 7") << E + "=" + b({0xc1}) + E + "#" + b({0xc1}) << nine << h + " 0,240'A\u00c1'216";
        QTest::newRow("ESC > sets bit 7") << E + ">A" << nine << h + " 0,240'\u00c1'216";
        // ESC I 1 and ESC ( ^ print control codes as characters.
        QTest::newRow("ESC I 1 prints codes 0-6") << E + "I" + b({1}) + b({0x03}) + "a" << nine << h + " 0,240'\u2665a'216";
        QTest::newRow("ESC I 1 prints codes 128-159 too") << E + "t" + b({1}) + E + "7" + E + "I" + b({1}) + b({0x80}) + "a" << nine << h + " 0,240'\u00c7a'216";
        QTest::newRow("ESC I is 9-pin only") << E + "I" + b({1}) + b({0x03}) + "a" << p24 << h + " 0,240'a'216";
        QTest::newRow("ESC ( ^ prints its bytes") << E + "(^" + b({2, 0, 0x03, 'a'}) << p2 << h + " 0,240'\u2665a'216";
        // Vertical tab channels: ESC b sets channel 1, ESC / chooses it.
        QTest::newRow("ESC b and ESC /") << E + "b" + b({1, 10, 0}) + E + "/" + b({1}) + "\x0b" "a" << nine << h + " 0,3840'a'216";
        QTest::newRow("VT on channel 0 by default") << E + "b" + b({1, 10, 0}) + E + "B" + b({2, 0}) + "\x0b" "a" << nine
                                                    << h + " 0,960'a'216";
        // The looks of ESC/P2's text.
        QTest::newRow("ESC X 24 points") << E + "X" + b({0, 48, 0}) + "a" << p2 << h + " 0,240'a'216p822";
        QTest::newRow("ESC X 8 points, 20 cpi") << E + "X" + b({18, 16, 0}) + "ab" << p2 << h + " 0,240'ab'108p274";
        QTest::newRow("ESC X 10 points") << E + "X" + b({0, 20, 0}) + "a" << p2 << h + " 0,240'a'216p342";
        QTest::newRow("ESC X 21 points in Roman") << E + "X" + b({0, 42, 0}) + "a" << p2 << h + " 0,240'a'216p720";
        QTest::newRow("ESC X 11 points refused") << E + "X" + b({0, 22, 0}) + "a" << p2 << h + " 0,240'a'216";
        QTest::newRow("ESC X 21 points in Courier") << E + "k" + b({2}) + E + "X" + b({0, 42, 0}) + "a" << p2
                                                    << h + " 0,240'a'216k2p720";
        QTest::newRow("ESC X 12 points refused in Courier") << E + "k" + b({2}) + E + "X" + b({0, 24, 0}) + "a" << p2
                                                            << h + " 0,240'a'216k2";
        QTest::newRow("ESC P ends ESC X's size") << E + "X" + b({0, 48, 0}) + "a" + E + "P" + "b" << p2
                                                 << h + " 0,240'a'216p822 216,240'b'216";
        QTest::newRow("ESC ! ends ESC X's size") << E + "X" + b({0, 48, 0}) + "a" + E + "!" + b({1}) + "b" << p2
                                                 << h + " 0,240'a'216p822 216,240'b'180";
        QTest::newRow("ESC X 1: proportional") << E + "X" + b({1, 0, 0}) + "iW" << p2 << h + " 0,240'i'108 108,240'W'252";
        // Condensed proportional letters: half as wide on 24 pins, as wide as
        // ever on 9 (they were 60 % on both).
        QTest::newRow("proportional condensed on 24 pins") << E + "p1\x0fiW" << p24 << h + " 0,240'i'54c 54,240'W'126c";
        QTest::newRow("proportional condensed on 9 pins") << E + "p1\x0fiW" << nine << h + " 0,240'i'108c 108,240'W'252c";
        // ESC c: a step of n/360 in (1 to 1080) that ends ESC SP's space;
        // SO, SI, DC2, DC4, ESC W and ESC SP end it in turn.
        const QByteArray hmi = E + "c" + b({60, 0}); // 1/6 in
        QTest::newRow("ESC c, SO: double-width pica") << hmi + "\x0e" "ab" << p2 << h + " 0,240'ab'432w";
        QTest::newRow("ESC c, SI: condensed") << hmi + "\x0f" "ab" << p2 << h + " 0,240'ab'126c";
        QTest::newRow("ESC c, ESC SI: condensed") << hmi + E + "\x0f" "ab" << p2 << h + " 0,240'ab'126c";
        QTest::newRow("ESC c, DC2: 10 cpi") << hmi + "\x12" "ab" << p2 << h + " 0,240'ab'216";
        QTest::newRow("ESC c, DC4: 10 cpi") << hmi + "\x14" "ab" << p2 << h + " 0,240'ab'216";
        QTest::newRow("ESC c, ESC W 1: double-width pica") << hmi + E + "W" + b({1}) + "ab" << p2 << h + " 0,240'ab'432w";
        QTest::newRow("ESC c, ESC W 0: 10 cpi") << hmi + E + "W" + b({0}) + "ab" << p2 << h + " 0,240'ab'216";
        QTest::newRow("ESC c, ESC SP 6: pica and the space") << hmi + E + " " + b({6}) + "ab" << p2 << h + " 0,240'ab'324";
        QTest::newRow("ESC SP 6, ESC c: the space ends") << E + " " + b({6}) + hmi + "ab" << p2 << h + " 0,240'ab'360";
        QTest::newRow("ESC c 0 ignored") << hmi + E + "c" + b({0, 0}) + "ab" << p2 << h + " 0,240'ab'360";
        QTest::newRow("ESC c 1081 ignored") << E + "c" + b({0x39, 4}) + "ab" << p2 << h + " 0,240'ab'216";
        // SI is ignored at 15 cpi and in a size of ESC X: ESC P then prints 10 cpi.
        QTest::newRow("SI at 15 cpi ignored") << E + "g" + "\x0f" + E + "P" + "ab" << p2 << h + " 0,240'ab'216";
        QTest::newRow("ESC SI at 15 cpi ignored") << E + "g" + E + "\x0f" + E + "P" + "ab" << p2 << h + " 0,240'ab'216";
        QTest::newRow("SI at 15 cpi keeps the HMI") << E + "g" + hmi + "\x0f" "a" + E + "P" + "b" << p2
                                                   << h + " 0,240'a'360 360,240'b'216";
        QTest::newRow("SI in ESC X's 8 points ignored") << E + "X" + b({0, 16, 0}) + "\x0f" + E + "X" + b({0, 21, 0}) + "ab" << p2
                                                       << h + " 0,240'ab'216";
        QTest::newRow("ESC ( - strike-through and overscore")
            << E + "(-" + b({3, 0, 1, 2, 1}) + "a" + E + "(-" + b({3, 0, 1, 3, 2}) + "b" + E + "(-" + b({3, 0, 1, 2, 0}) + "c"
            << p2 << h + " 0,240'a'216t 216,240'b'216to 432,240'c'216o";
        QTest::newRow("ESC ( - underline") << E + "(-" + b({3, 0, 1, 1, 1}) + "a" << p2 << h + " 0,240'a'216u";
        QTest::newRow("ESC q outline and shadow") << E + "q" + b({1}) + "a" + E + "q" + b({3}) + "b" << p24
                                                  << h + " 0,240'a'216O 216,240'b'216OS";
        QTest::newRow("ESC r colour") << E + "r" + b({2}) + "a" + E + "r" + b({7}) + "b" << p24 << h + " 0,240'ab'216r2";
        // Pictures print in the colour in force, as text does.
        QTest::newRow("ESC r before ESC K") << E + "r" + b({1}) + E + "K" + b({2, 0, 0xff, 0xff}) << nine << h + " [0,0 72x240]r1";
        QTest::newRow("ESC r before ESC * 39") << E + "r" + b({2}) + E + "*" + b({39, 1, 0, 0xff, 0xff, 0xff}) << p24 << h + " [0,0 12x288]r2";
        QTest::newRow("ESC r before ESC ^") << E + "r" + b({4}) + E + "^" + b({0, 1, 0, 0xff, 0x80}) << nine << h + " [0,0 36x270]r4";
        QTest::newRow("ESC r 7 ignored: ESC L keeps violet")
            << E + "r" + b({3}) + E + "r" + b({7}) + E + "L" + b({1, 0, 0xff}) << nine << h + " [0,0 18x240]r3";
        QTest::newRow("ESC r 0 and ESC @ back to black")
            << E + "r" + b({1}) + E + "r" + b({0}) + E + "K" + b({1, 0, 0xff}) + E + "r" + b({1}) + E + "@" + E + "K"
                + b({1, 0, 0xff}) << nine << h + " [0,0 36x240] [0,0 36x240]";
        QTest::newRow("ESC r before ESC ., then black")
            << E + "r" + b({6}) + E + "." + b({0, 20, 20, 1, 8, 0, 0xff}) + "\r" + E + "r" + b({0}) + E + "."
                + b({0, 20, 20, 1, 8, 0, 0xff}) << p2 << h + " [0,0 96x12]r6 [0,0 96x12]";
        QTest::newRow("ESC r in graphics mode") << E + "(G" + b({1, 0, 1}) + E + "r" + b({5}) + E + "."
                + b({0, 20, 20, 1, 8, 0, 0xff}) << p2 << h + " [0,0 96x12]r5";
        QTest::newRow("ESC r before a downloaded character")
            << twentyFourDownload('A', 10) + E + "r" + b({1}) + E + "%" + b({1}) + "A" << p24 << h + " [0,0 252x288]r1";
        QTest::newRow("ESC r before ESC ( B") << E + "r" + b({2}) + E + "(B" + b({8, 0, 5, 2, 0, 36, 0, 0}) + "AB" << p2
                                            << h + " 180,672'*AB*'216Lr2k5 [0,0 1224x432]r2";
        QTest::newRow("ESC x 1 and ESC k") << E + "x" + b({1}) + E + "k" + b({1}) + "a" + E + "x0b" << p24
                                           << h + " 0,240'a'216Lk1 216,240'b'216k1";
        QTest::newRow("ESC ( B: bars and the human-readable line")
            << E + "(B" + b({8, 0, 5, 2, 0, 36, 0, 0}) + "AB" << p2
            << h + " 180,672'*AB*'216Lk5 [0,0 1224x432]";
        // EAN and UPC: the digits in their symbol's groups, seven modules a
        // digit (2 dots a module at 180 dpi: 168 units), just under the
        // data bars (the guard bars reach 5 modules lower); the first digit
        // in the quiet zone, UPC-A's check digit right of the bars.
        QTest::newRow("ESC ( B: EAN-13's digits in their groups")
            << E + "(B" + b({19, 0, 0, 2, 0, 36, 0, 0}) + "4006381333931" << p2
            << h + " 72,636'4'168Lk5 336,636'006381'168Lk5 1464,636'333931'168Lk5 [0,0 2712x432]";
        QTest::newRow("ESC ( B: UPC-A's digits in their groups")
            << E + "(B" + b({18, 0, 3, 2, 0, 36, 0, 0}) + "036000291452" << p2
            << h + " 24,636'0'168Lk5 456,636'36000'168Lk5 1416,636'29145'168Lk5 2520,636'2'168Lk5 [0,0 2712x432]";
        // A bar code wider than the carriage has room for is not printed and
        // does not move the head (60 letters of Code 128, 6 dots a module,
        // 4,096 dots long: drawn whole it was 34 million dots).
        const QByteArray wide = b({6, 6, 0, 0x00, 0x10, 2}) + QByteArray("ABCDEFGHIJ").repeated(6);
        QTest::newRow("ESC ( B wider than the carriage") << E + "(B" + b({int(wide.size()), 0}) + wide + "x" << p2
                                                        << h + " 0,240'x'216";
        QTest::newRow("ESC ( B past the right margin") << E + "$" + b({0x2a, 3}) + E + "(B" + b({8, 0, 5, 2, 0, 36, 0, 2}) + "AB" + "x"
                                                      << p2 << h + " 29160,240'x'216";
        QTest::newRow("ESC ( B: no human-readable line") << E + "(B" + b({8, 0, 5, 2, 0, 36, 0, 2}) + "AB" << p2 << h + " [0,0 1224x432]";
        QTest::newRow("ESC p 1: each letter its width") << E + "p1" + "ii" + E + "p0" + "i" << nine
                                                        << h + " 0,240'ii'108 216,240'i'216";
        // Figures and signs in the 9-pin table (1/120 in), the 24-pin one (1/360 in).
        QTest::newRow("ESC p 1: 9-pin figures") << E + "p1" + "1.0" << nine << h + " 0,240'1'144 144,240'.'108 252,240'0'216";
        QTest::newRow("ESC p 1: 9-pin italic figures") << E + "4" + E + "p1" + "1.0" << nine
                                                      << h + " 0,240'1'162i 162,240'.'126i 288,240'0'216i";
        QTest::newRow("ESC p 1: 24-pin figures") << E + "p1" + "1.0" << p24 << h + " 0,240'1'180 180,240'.'108 288,240'0'180";
        // ESC m: the 9-pin form of ESC 6 / ESC 7; a 24-pin printer knows none.
        QTest::newRow("ESC m 4: 80-9F print") << E + "t" + b({0}) + E + "m" + b({4}) + b({0x85}) + "a" << nine
                                              << h + " 0,240'\u2663'216i 216,240'a'216";
        QTest::newRow("ESC m 0: 80-9F do not") << E + "t" + b({0}) + E + "m" + b({4}) + E + "m" + b({0}) + b({0x85}) + "a"
                                               << nine << h + " 0,240'a'216";
        QTest::newRow("ESC m on 24 pins") << E + "t" + b({0}) + E + "m" + b({4}) + b({0x85}) + "a" << p24 << h + " 0,240'a'216";
        // ESC ( G: in graphics mode the printer prints raster graphics and
        // takes only the commands that place them; text, ESC J and ESC K are
        // dropped, ESC ( v moves, ESC @ ends the mode.
        const QByteArray graphics = E + "(G" + b({1, 0, 1});
        const QByteArray raster = E + "." + b({0, 20, 20, 1, 8, 0, 0xff}); // 8 dots at 180 dpi
        QTest::newRow("ESC ( G drops text") << graphics + "abc" + raster + "\r" + E + "@" + "d" << p2
                                            << h + " 0,240'd'216 [0,0 96x12]";
        QTest::newRow("ESC ( G: ESC J and ESC K dropped, ESC ( v taken")
            << graphics + E + "J" + b({180}) + E + "K" + b({1, 0, 0xff}) + E + "(v" + b({2, 0, 60, 0}) + raster << p2
            << h + " [0,360 96x12]";
        QTest::newRow("ESC ( G: LF, ESC + and ESC $") << graphics + E + "+" + b({60}) + "\n" + E + "$" + b({60, 0}) + raster
                                                      << p2 << h + " [2160,360 96x12]";
        QTest::newRow("ESC ( G 1 0 2 refused") << E + "(G" + b({1, 0, 2}) + "abc" << p2 << h + " 0,240'abc'216";
        QTest::newRow("ESC ( G on 9 pins") << graphics + "abc" << nine << h + " 0,240'abc'216";
        // Units, ranges and the ends of lists, as the printer references give them.
        // ESC D: columns of the pitch from the left margin; a column not
        // past the one before ends the list as NUL does.
        QTest::newRow("ESC D ends at a column out of order") << E + "D" + b({5, 3, 8, 0}) + "\tb\tc" << nine
                                                             << h + " 1080,240'b'216 1296,240'c'216";
        QTest::newRow("ESC D at 12 cpi") << E + "M" + E + "D" + b({5, 0}) + "\tb" << nine << h + " 900,240'b'180";
        QTest::newRow("ESC D in proportional: 10 cpi columns") << E + "M" + E + "p1" + E + "D" + b({2, 0}) + "\ta" << p24
                                                               << h + " 432,240'a'180";
        QTest::newRow("ESC D from the left margin") << E + "l" + b({2}) + E + "D" + b({3, 0}) + "\ta" << nine
                                                    << h + " 1080,240'a'216";
        // ESC e 0 m: a tab every m columns; ESC e 1 m: a vertical tab every
        // m lines (both also as the digits '0' and '1').
        QTest::newRow("ESC e 0 4") << E + "e" + b({0, 4}) + "\ta" << nine << h + " 864,240'a'216";
        QTest::newRow("ESC e '0' 4") << E + "e0" + b({4}) + "\ta" << nine << h + " 864,240'a'216";
        QTest::newRow("ESC e 1 2: vertical tabs every 2 lines") << E + "e" + b({1, 2}) + "\x0b" "a\x0b" "b" << nine
                                                                 << h + " 0,960'a'216 0,1680'b'216";
        QTest::newRow("ESC e '1' 3") << E + "e1" + b({3}) + "\x0b" "a" << nine << h + " 0,1320'a'216";
        QTest::newRow("ESC e 1 in the channel in use") << E + "/" + b({2}) + E + "e" + b({1, 3}) + "\x0b" "a" << nine
                                                       << h + " 0,1320'a'216";
        QTest::newRow("ESC e 1 0 refused") << E + "e" + b({1, 0}) + "\x0b" "a" << nine << h + " 0,600'a'216";
        // VT without tabs: a line feed while none was set since ESC @, a
        // carriage return alone once ESC B NUL has cleared them.
        QTest::newRow("VT after ESC B NUL returns the carriage") << E + "B" + b({0}) + "ab\x0b" "c" << nine
                                                                  << h + " 0,240'ab'216 0,240'c'216";
        QTest::newRow("VT after ESC @ feeds a line") << E + "B" + b({0}) + E + "@" + "a\x0b" "b" << nine
                                                     << h + " 0,240'a'216 0,600'b'216";
        // ESC B / ESC b: lines of the spacing, in order; one out of order ends the list.
        QTest::newRow("ESC B ends at a line out of order") << E + "B" + b({3, 2, 5, 0}) + "\x0b" "a\x0b" "b" << nine
                                                           << h + " 0,1320'a'216 | " + h + " 0,240'b'216";
        QTest::newRow("ESC b ends at a line out of order") << E + "b" + b({1, 4, 1, 6, 0}) + E + "/" + b({1}) + "\x0b" "a\x0b" "b"
                                                           << nine << h + " 0,1680'a'216 | " + h + " 0,240'b'216";
        QTest::newRow("ESC B in lines of ESC 3") << E + "3" + b({72}) + E + "B" + b({2, 0}) + "\x0b" "a" << nine
                                                 << h + " 0,1680'a'216";
        // ESC f: spaces skipped, or line feeds, which end at the left margin.
        QTest::newRow("ESC f 0 3") << "a" + E + "f" + b({0, 3}) + "b" << nine << h + " 0,240'a'216 864,240'b'216";
        QTest::newRow("ESC f '0' 3") << "a" + E + "f0" + b({3}) + "b" << nine << h + " 0,240'a'216 864,240'b'216";
        // Underlining on, the columns skipped are underlined (not struck through).
        QTest::newRow("ESC f 0 3 underlined") << E + "-1" + "a" + E + "f" + b({0, 3}) + "b" << nine
                                              << h + " 0,240'a'216u 216,240'   '216u 864,240'b'216u";
        QTest::newRow("ESC f 0 under a strike-through") << E + "(-" + b({3, 0, 1, 2, 1}) + E + "-1" + E + "f" + b({0, 2}) + "b"
                                                                << nine << h + " 0,240'  '216u 432,240'b'216ut";
        QTest::newRow("ESC f 0 stops at the right margin, underlined") << E + "Q" + b({4}) + E + "-1" + "ab" + E + "f" + b({0, 9}) << nine
                                                                       << h + " 0,240'ab'216u 432,240'  '216u";
        QTest::newRow("ESC f 0 not underlined") << E + "-1" + E + "-0" + E + "f" + b({0, 2}) + "b" << nine << h + " 432,240'b'216";
        QTest::newRow("ESC f 1 2 ends at the left margin") << "ab" + E + "f" + b({1, 2}) + "c" << nine
                                                    << h + " 0,240'ab'216 0,960'c'216";
        // ESC w: not on the line of the sheet's top it is sent on (the letters
        // grow up from the baseline), on every line after it.
        QTest::newRow("ESC w on the first line") << E + "w" + b({1}) + "a\r\nb" << nine
                                                 << h + " 0,240'a'216 0,600'b'216h";
        QTest::newRow("ESC w below it") << "x\r\n" + E + "w" + b({1}) + "a" << nine << h + " 0,240'x'216 0,600'a'216h";
        QTest::newRow("ESC w 0 ends it") << "x\r\n" + E + "w1a" + E + "w0b" << nine << h + " 0,240'x'216 0,600'a'216h 216,600'b'216";
        // On 9 pins double height prints neither condensed nor superscript
        // (they come back after it); on 24 pins they stay.
        QTest::newRow("ESC w over condensed, 9 pins") << "x\r\n\x0f" + E + "w1a" + E + "w0b" << nine
                                                      << h + " 0,240'x'216 0,600'a'216h 216,600'b'126c";
        QTest::newRow("ESC w over superscript, 9 pins") << "x\r\n" + E + "S0" + E + "w1a" << nine
                                                        << h + " 0,240'x'216 0,600'a'216h";
        QTest::newRow("ESC w with condensed, 24 pins") << "x\r\n\x0f" + E + "w1a" << p24
                                                       << h + " 0,240'x'216 0,600'a'126hc";
        // The feeds left when one ends the sheet go on on the next (they were
        // dropped): three on the first sheet of three lines, two on the next.
        QTest::newRow("ESC f 1 across sheets") << E + "C" + b({3}) + "a" + E + "f" + b({1, 5}) + "b" << nine
                                               << "h=1080 0,240'a'216 | h=1080 0,960'b'216";
        // ESC J and ESC j: n/216 in on 9 pins, n/180 on 24, no carriage return.
        QTest::newRow("ESC J 216 on 9 pins") << "ab" + E + "J" + b({216}) + "c" << nine << h + " 0,240'ab'216 432,2400'c'216";
        QTest::newRow("ESC J 180 on 24 pins") << "ab" + E + "J" + b({180}) + "c" << p24 << h + " 0,240'ab'216 432,2400'c'216";
        QTest::newRow("ESC j 36 back up") << QByteArray("\n\n") + E + "j" + b({36}) + "a" << nine << h + " 0,600'a'216";
        QTest::newRow("ESC j stops at the top") << QByteArray("\n") + E + "j" + b({216}) + "a" << nine << h + " 0,240'a'216";
        // ESC $ in 1/60 in from the left margin, ignored past the right one.
        QTest::newRow("ESC $ past the right margin") << E + "Q" + b({10}) + E + "$" + b({61, 0}) + "a" << nine
                                                     << h + " 0,240'a'216";
        QTest::newRow("ESC $ inside the right margin") << E + "Q" + b({20}) + E + "$" + b({59, 0}) + "a" << nine
                                                   << h + " 2124,240'a'216";
        // ESC \: 1/120 in, on 24 pins in letter quality 1/180 in; ignored past the margins.
        QTest::newRow("ESC \\ back") << "abc" + E + "\\" + b({0xe8, 0xff}) + "d" << nine << h + " 0,240'abc'216 216,240'd'216";
        QTest::newRow("ESC \\ before the left margin") << "a" + E + "\\" + b({0xe0, 0xff}) + "d" << nine
                                                       << h + " 0,240'ad'216";
        QTest::newRow("ESC \\ 1/180 in in letter quality") << E + "x1a" + E + "\\" + b({180, 0}) + "b" << p24
                                                          << h + " 0,240'a'216L 2376,240'b'216L";
        QTest::newRow("ESC \\ 1/120 in in draft on 24 pins") << "a" + E + "\\" + b({120, 0}) + "b" << p24
                                                            << h + " 0,240'a'216 2376,240'b'216";
        // ESC ( U with ESC ( V and ESC ( v.
        QTest::newRow("ESC ( V in ESC ( U's 1/60 in") << E + "(U" + b({1, 0, 60}) + E + "(V" + b({2, 0, 60, 0}) + "a" << p2
                                                      << h + " 0,2400'a'216";
        QTest::newRow("ESC ( V from the top margin") << E + "(c" + b({4, 0, 0x68, 1, 0x2c, 0x10}) + E + "(V" + b({2, 0, 0x68, 1}) + "a"
                                                     << p2 << h + " 0,4560'a'216";
        QTest::newRow("ESC ( V below the bottom margin ejects") << E + "(V" + b({2, 0, 0x2c, 0x10}) + "a" << p2
                                                                << h + " | " + h + " 0,240'a'216";
        QTest::newRow("ESC ( v above the top margin is ignored") << "a\r\n" + E + "(v" + b({2, 0, 0x10, 0xff}) + "b" << p2
                                                                 << h + " 0,240'a'216 0,600'b'216";
        QTest::newRow("ESC ( v up to the top margin") << "a\r\n" + E + "(v" + b({2, 0, 0xc4, 0xff}) + "b" << p2
                                                      << h + " 0,240'a'216 0,240'b'216";
        QTest::newRow("ESC ( v down") << "a" + E + "(v" + b({2, 0, 0x68, 1}) + "b" << p2 << h + " 0,240'a'216 216,2400'b'216";
        // A command the file's end cuts short: the printer waits for the rest and prints nothing of it.
        QTest::newRow("ESC C NUL at the end") << "ab" + E + "C" + b({0}) << p2 << h + " 0,240'ab'216";
        QTest::newRow("ESC ( B cut short") << "ab" + E + "(B" + b({5, 0, 5}) << p2 << h + " 0,240'ab'216";
        // The paper goes back up 179/360 in at most: a move further up is ignored.
        QTest::newRow("ESC ( V up 179/360 in") << E + "(V" + b({2, 0, 0xd0, 2}) + "a" + E + "(V" + b({2, 0, 0x1d, 2}) + "b"
                                               << p2 << h + " 0,4560'a'216 216,3486'b'216";
        QTest::newRow("ESC ( V up 180/360 in is ignored") << E + "(V" + b({2, 0, 0xd0, 2}) + "a" + E + "(V" + b({2, 0, 0x1c, 2}) + "b"
                                                          << p2 << h + " 0,4560'ab'216";
        QTest::newRow("ESC ( V to the top from 2 in is ignored") << E + "(V" + b({2, 0, 0xd0, 2}) + "a" + E + "(V" + b({2, 0, 0, 0}) + "b"
                                                                 << p2 << h + " 0,4560'ab'216";
        QTest::newRow("ESC ( v up 179/360 in") << E + "(V" + b({2, 0, 0xd0, 2}) + "a" + E + "(v" + b({2, 0, 0x4d, 0xff}) + "b"
                                               << p2 << h + " 0,4560'a'216 216,3486'b'216";
        QTest::newRow("ESC ( v up 180/360 in is ignored") << E + "(V" + b({2, 0, 0xd0, 2}) + "a" + E + "(v" + b({2, 0, 0x4c, 0xff}) + "b"
                                                          << p2 << h + " 0,4560'ab'216";
        // A form length set below the top of form makes the head's line the
        // top of form: the sheet ends a form length below it (it ended a
        // form length below the paper's first top, cutting every page of
        // such a job at the wrong line).
        QTest::newRow("ESC C NUL 1 below the top") << "a\r\n" + E + "C" + b({0, 1}) + "b\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh" << nine
                                                  << "h=2520 0,240'a'216 0,600'b'216 0,960'c'216 0,1320'd'216 0,1680'e'216 0,2040'f'216 0,2400'g'216 | h=2160 0,240'h'216";
        QTest::newRow("ESC C NUL 1 at the top") << E + "C" + b({0, 1}) + "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng" << nine
                                                << "h=2160 0,240'a'216 0,600'b'216 0,960'c'216 0,1320'd'216 0,1680'e'216 0,2040'f'216 | h=2160 0,240'g'216";
        // The vertical moves count from that top of form too (they counted
        // from the paper's first top: over the sheet's first lines).
        QTest::newRow("ESC ( V from a top of form set below") << "a\r\n" + E + "C" + b({0, 1}) + E + "(V" + b({2, 0, 60, 0}) + "b"
                                                             << p2 << "h=2520 0,240'a'216 0,960'b'216";
        QTest::newRow("ESC ( v above a top of form set below") << "a\r\n" + E + "C" + b({0, 1}) + "b\r\n" + E + "(v"
                + b({2, 0, 0xa6, 0xff}) + "c" << p2 << "h=2520 0,240'a'216 0,600'b'216 0,960'c'216";
        QTest::newRow("ESC j up to a top of form set below") << "a\r\n" + E + "C" + b({0, 1}) + "b\r\n" + E + "j" + b({72}) + "c"
                                                            << nine << "h=2520 0,240'a'216 0,600'b'216 0,600'c'216";
        // ESC @ below the top of form makes the head's line the top of form:
        // the default 11 in form ends 11 in below it.
        QTest::newRow("ESC @ below the top") << E + "C" + b({3}) + "a\r\nb\r\n" + E + "@" + "c" << nine
                                             << "h=24480 0,240'a'216 0,600'b'216 0,960'c'216";
        QTest::newRow("ESC ( U 5 is 1/720 in") << E + "(U" + b({1, 0, 5}) + E + "(V" + b({2, 0, 0xd0, 2}) + "a" << p2
                                               << h + " 0,2400'a'216";
    }
    void sheets()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, model);
        QFETCH(QString, expected);
        const bool narrow = QByteArray(QTest::currentDataTag()).startsWith("ESC a");
        QCOMPARE(::sheets(bytes, PrinterModel(model), narrow ? 8.0 : 13.6), expected);
    }

    // A table ESC ( t names by its number prints its own letters whatever
    // code page the set-up chose; one we lack follows the set-up's.
    void tablesInCodePage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("codePage");
        QTest::addColumn<QString>("expected");
        const QByteArray latin1 = E + "(t" + b({3, 0, 2, 29, 16}) + E + "t" + b({2}) + b({0xe9, 0xfc});
        QTest::newRow("ISO 8859-1 under cp850") << latin1 << "cp850" << QStringLiteral("\u00e9\u00fc");
        QTest::newRow("ISO 8859-1 under cp866") << latin1 << "cp866" << QStringLiteral("\u00e9\u00fc");
    }
    void tablesInCodePage()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, codePage);
        QFETCH(QString, expected);
        PrinterSetup setup;
        setup.model = PrinterModel::TwentyFourPin;
        setup.codePage = *CodePage::fromName(codePage);
        SheetIndex doc;
        doc.build(bytes, setup);
        QCOMPARE(doc.sheetCount(), 1);
        QString text;
        for (const Printed::TextRun &r : doc.sheet(0).runs)
            text += r.text;
        QCOMPARE(text, expected);
    }

    // The code-page guess reads the tokenizer's tokens: picture data is
    // not text, whatever its bytes.
    void codePageGuess_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        const QByteArray latin1 = "Gr\xfc\xdf" "e aus M\xfcnchen, Stra\xdf" "e\r\n";
        QByteArray frame(64, '\xc4'); // box drawing in the DOS code pages
        const QByteArray tiff = E + "." + b({2, 10, 10, 1, 0x00, 0x02}) + b({0x20 | 15}) + frame.left(15) + b({0xe3});
        QTest::newRow("TIFF raster logo, then Latin-1") << tiff.repeated(8) + latin1 << "latin1";
        const QByteArray download = twentyFourDownload('A', 30);
        QByteArray boxes = download;
        boxes.replace(8, 90, frame.left(90).leftJustified(90, '\xcd'));
        QTest::newRow("downloaded characters, then Latin-1") << boxes.repeated(4) + latin1 << "latin1";
        const QByteArray dense = E + "*" + b({64, 20, 0}) + QByteArray(120, '\xb3');
        QTest::newRow("ESC * 64 picture, then Latin-1") << dense.repeated(4) + latin1 << "latin1";
        QTest::newRow("box drawing as text is DOS") << QByteArray("\xda\xc4\xc4\xc4\xbf\r\n\xb3 a \xb3\r\n") << "cp437";
    }
    void codePageGuess()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        const std::optional<CodePage::Id> got = CodePage::guess(bytes);
        QVERIFY(got);
        QCOMPARE(CodePage::name(*got), expected);
    }

    // ESC ( B: the printer's bar codes drawn so that a reader decodes them,
    // through the program as it runs (convert to pictures, read by zbarimg).
    void barcodes_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("decoded");
        // k, module 3 dots, no space adjustment, bars 90/180 in, the control
        // flag (bit 0: the printer adds the check digit), the data.
        const auto bar = [](int kind, int flags, const QByteArray &data) {
            const int n = 6 + int(data.size());
            return E + "(B" + b({n, 0, kind, 3, 0, 90, 0, flags}) + data;
        };
        QTest::newRow("EAN-13, check digit added") << bar(0, 1, "123456789012") << "EAN-13:1234567890128";
        QTest::newRow("EAN-13, check digit sent") << bar(0, 0, "4006381333931") << "EAN-13:4006381333931";
        QTest::newRow("Code 39") << bar(5, 0, "ABC-12") << "CODE-39:ABC-12";
        QTest::newRow("Code 128") << bar(6, 2, "Lot 42") << "CODE-128:Lot 42";
        QTest::newRow("Interleaved 2 of 5") << bar(2, 0, "123456") << "I2/5:123456";
    }
    void barcodes()
    {
        QFETCH(QByteArray, command);
        QFETCH(QString, decoded);
        if (QStandardPaths::findExecutable("zbarimg").isEmpty())
            QSKIP("zbarimg (zbar-tools) is not installed");
        QTemporaryDir dir;
        const QString in = TestSupport::writeFile(dir.filePath("bars.prn"), "\r\n   " + command + "\r\n\r\nafter\f");
        QCOMPARE(TestSupport::runProgram({"convert", "--printer", "escp2", "--dpi", "200", in, dir.filePath("bars.png")})
                     .status,
            0);
        const QString got = TestSupport::runTool("zbarimg", {"-q", dir.filePath("bars-001.png")}).trimmed();
        QCOMPARE(got, decoded);
    }
};

QTEST_MAIN(TestEscpLanguage)
#include "tst_escplanguage.moc"
