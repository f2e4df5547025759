// The commands whose units, ranges and ends are easy to get wrong, each
// checked against what the printer references say with a few crafted
// files: tabs and their steps, skips, feeds forward and back, the absolute
// and relative moves and their units (positions in units of 1/2160 in).
#include "EscpBytes.h"
#include "EscpSheets.h"
#include "TestSupport.h"

#include <QTest>

class TestEscpReference : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void sheets_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("expected");
        const QString h = "h=23760";
        const int nine = int(PrinterModel::NinePin);
        const int p24 = int(PrinterModel::TwentyFourPin);
        const int p2 = int(PrinterModel::EscP2);

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
        // ESC B / ESC b: lines of the spacing, in order; one out of order ends the list.
        QTest::newRow("ESC B ends at a line out of order") << E + "B" + b({3, 2, 5, 0}) + "\x0b" "a\x0b" "b" << nine
                                                           << h + " 0,1320'a'216 | " + h + " 0,240'b'216";
        QTest::newRow("ESC b ends at a line out of order") << E + "b" + b({1, 4, 1, 6, 0}) + E + "/" + b({1}) + "\x0b" "a\x0b" "b"
                                                           << nine << h + " 0,1680'a'216 | " + h + " 0,240'b'216";
        QTest::newRow("ESC B in lines of ESC 3") << E + "3" + b({72}) + E + "B" + b({2, 0}) + "\x0b" "a" << nine
                                                 << h + " 0,1680'a'216";
        // ESC f: spaces or lines skipped, neither with a carriage return.
        QTest::newRow("ESC f 0 3") << "a" + E + "f" + b({0, 3}) + "b" << nine << h + " 0,240'a'216 864,240'b'216";
        QTest::newRow("ESC f '0' 3") << "a" + E + "f0" + b({3}) + "b" << nine << h + " 0,240'a'216 864,240'b'216";
        QTest::newRow("ESC f 1 2 keeps the column") << "ab" + E + "f" + b({1, 2}) + "c" << nine
                                                    << h + " 0,240'ab'216 432,960'c'216";
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
        QTest::newRow("ESC ( v up stops at the top margin") << "a\r\n" + E + "(v" + b({2, 0, 0x10, 0xff}) + "b" << p2
                                                            << h + " 0,240'a'216 0,240'b'216";
        QTest::newRow("ESC ( v down") << "a" + E + "(v" + b({2, 0, 0x68, 1}) + "b" << p2 << h + " 0,240'a'216 216,2400'b'216";
        QTest::newRow("ESC ( U 5 is 1/720 in") << E + "(U" + b({1, 0, 5}) + E + "(V" + b({2, 0, 0xd0, 2}) + "a" << p2
                                               << h + " 0,2400'a'216";
    }
    void sheets()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, model);
        QFETCH(QString, expected);
        QCOMPARE(::sheets(bytes, PrinterModel(model)), expected);
    }
};

QTEST_MAIN(TestEscpReference)
#include "tst_escpreference.moc"
