// The ESC/P engine: the tokens a print file is cut into, the pages the page
// table cuts at the form feeds the printer obeys, and the sheets the
// interpreter lays out, down to positions in printer units.
#include "EscpBytes.h"
#include "EscpSheets.h"
#include "PageCuts.h"
#include "TestSupport.h"
#include "escp/EscpInterpreter.h"
#include "escp/EscpTokenizer.h"
#include "escp/SheetIndex.h"
#include "platform/MappedFile.h"
#include "report/PageCutter.h"
#include "report/PageTable.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <limits>
#include <memory>
#include <tuple>

namespace {

// "T3 c0d Ex3 PK7! U3": Text, control (hex), ESC command or Picture with its
// letter and length (! marks a picture the file cuts short), a command the
// file cuts short with its length.
QString tokens(const QByteArray &bytes)
{
    QStringList out;
    EscpTokenizer t(bytes);
    for (EscpToken k = t.next(); k.kind != EscpToken::End; k = t.next()) {
        switch (k.kind) {
        case EscpToken::Text: out << QStringLiteral("T%1").arg(k.length); break;
        case EscpToken::Control: out << QStringLiteral("c%1").arg(k.code, 2, 16, QLatin1Char('0')); break;
        case EscpToken::Unfinished: out << QStringLiteral("U%1").arg(k.length); break;
        default:
            out << QStringLiteral("%1%2%3%4").arg(k.kind == EscpToken::Picture ? QStringLiteral("P") : QStringLiteral("E"),
                       QString(QChar(k.code)), QString::number(k.length),
                       k.truncated ? QStringLiteral("!") : QString()); // (at once: the letter may be a %)
        }
    }
    return out.join(' ');
}

} // namespace

class TestEscp : public QObject
{
    Q_OBJECT

private slots:

    void tokenize_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("text and line end") << QByteArray("abc\r\n") << "T3 c0d c0a";
        QTest::newRow("reset, draft, spacing") << E + "@" + E + "x" + b({1}) + E + "3" + b({24}) << "E@2 Ex3 E33";
        QTest::newRow("tab stops up to NUL") << E + "D" + b({8, 16, 0}) + "x" << "ED5 T1";
        QTest::newRow("page length in lines and inches") << E + "C" + b({66}) + E + "C" + b({0, 12}) << "EC3 EC4";
        QTest::newRow("extended command") << E + "(C" + b({2, 0, 0x0c, 0x0c}) + "x" << "E(7 T1";
        QTest::newRow("bit image") << E + "K" + b({3, 0, 1, 0x0c, 3}) + "x" << "PK7 T1";
        QTest::newRow("24-dot bit image") << E + "*" + b({39, 2, 0}) + QByteArray(6, '\x0c') << "P*11";
        QTest::newRow("9-pin bit image") << E + "^" + b({0, 1, 0, 0xff, 0x80}) << "P^7";
        QTest::newRow("raster, run-length") << E + "." + b({1, 10, 10, 2, 16, 0, 0xff, 0x0c, 0x01, 0xaa, 0xbb}) << "P.13";
        QTest::newRow("raster, TIFF mode") << E + "." + b({2, 10, 10, 1, 0, 0, 0x22, 1, 0x0c, 0x61, 0xe3}) << "P.13";
        QTest::newRow("raster, bad compression") << E + "." + b({9, 10, 10, 1, 8, 0}) + "x" << "P.8 T1";
        QTest::newRow("download characters") << E + "&" + b({0, 65, 65, 0, 1, 0, 1, 2, 3}) + "x" << "E&11 T1";
        QTest::newRow("remote mode") << E + "(R" + b({8, 0, 0}) + "REMOTE1" + "SN" + b({1, 0, 0}) + E + b({0, 0, 0}) + "x"
                                     << "E(22 T1";
        QTest::newRow("job language lines") << E + b({1}) + "@EJL 1284.4\n@EJL     \n" + E + "@x" << "E\x01" "24 E@2 T1";
        const QByteArray uel = E + "%-12345X";
        QTest::newRow("HP job language lines") << uel + "@PJL JOB\r\n@PJL ENTER LANGUAGE=ESCP\n" + E + "@x" << "E%44 E@2 T1";
        QTest::newRow("HP job language ends the job") << QByteArray("x\f") + uel << "T1 c0c E%9";
        QTest::newRow("HP job language line cut short") << uel + "@PJL ENTER LANG" << "E%24";
        QTest::newRow("HP job language after a line end") << uel + "\r\n\t @PJL JOB\r\n" + "\r\nx" << "E%23 c0d c0a T1";
        QTest::newRow("user-defined characters, not the job language") << E + "%1" + E + "%-1234" << "E%3 E%3 T4";
        QTest::newRow("command cut short") << QByteArray("ab") + E + "3" << "T2 U2";
        QTest::newRow("extended command cut short") << QByteArray("ab") + E + "(B" + b({5, 0, 5}) << "T2 U6";
        QTest::newRow("job language line without its end") << QByteArray("ab") + E + b({1}) + "@EJL" << "T2 U6";
        QTest::newRow("picture cut short") << E + "K" + b({10, 0}) + "abc" << "PK7!";
        // ESC ? gives ESC K, L, Y or Z another density, 24-pin ones 3 bytes
        // a column; ESC @ gives them their own back; an unknown one is ignored.
        QTest::newRow("ESC L of 24 pins after ESC ?") << E + "?L" + b({39}) + E + "L" + b({2, 0}) + QByteArray(6, '\f') + "x"
                                                     << "E?4 PL10 T1";
        QTest::newRow("ESC Z of 48 dots after ESC ?") << E + "?Z" + b({72}) + E + "Z" + b({1, 0}) + QByteArray(6, '\f') + "x"
                                                     << "E?4 PZ10 T1";
        QTest::newRow("ESC @ after ESC ?") << E + "?L" + b({39}) + E + "@" + E + "L" + b({2, 0, 1, 2}) + "x"
                                          << "E?4 E@2 PL6 T1";
        QTest::newRow("ESC ? of no density") << E + "?L" + b({9}) + E + "L" + b({1, 0, 1}) + "x" << "E?4 PL5 T1";
        QTest::newRow("ESC ? of another letter") << E + "?M" + b({39}) + E + "L" + b({1, 0, 1}) + "x" << "E?4 PL5 T1";
        QTest::newRow("ESC alone at the end") << E << "U1";
        // The rarer parameter shapes: a length past one byte, a list without its end.
        QTest::newRow("extended command with 256 parameter bytes") << E + "(C" + b({0, 1}) + QByteArray(256, 'x') + "y"
                                                                   << "E(261 T1";
        QTest::newRow("extended command with 300 parameter bytes") << E + "(C" + b({44, 1}) + QByteArray(300, '\x0c') + "y"
                                                                   << "E(305 T1";
        QTest::newRow("tab stops ended by one not rising") << E + "D" + b({40, 50}) + "0x" << "ED4 T2";
        QTest::newRow("tab stops at the end of the file") << E + "D" + b({40, 50}) << "U4";
        // Long text is searched for its end many bytes at a time: a control
        // code (and DEL) at each place of those blocks, and none at all.
        for (int at : {0, 1, 15, 16, 17, 31, 32, 47, 48, 63, 64, 65, 127, 128, 129, 200}) {
            for (const char code : {'\r', '\x7f'}) {
                QTest::addRow("text of %d, then %s", at, code == '\r' ? "CR" : "DEL")
                    << QByteArray("x") + QByteArray(at, 'a') + code + QByteArray(100, 'b')
                    << QStringLiteral("T%1 c%2 T100").arg(at + 1).arg(code == '\r' ? "0d" : "7f");
            }
        }
        QTest::newRow("text of 300 without a control code") << QByteArray(300, 'a') << "T300";
    }
    void tokenize()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(tokens(bytes), expected);
    }

    // The page table's cuts of bytes in memory (tst_pagemarkup reads the
    // same rows from a mapped file).
    void pageCuts_data() { PageCuts::addRows(); }
    void pageCuts()
    {
        QFETCH(QByteArray, file);
        QFETCH(PageCuts::ByteList, pages);
        QFETCH(QByteArray, tail);
        PageTable table;
        table.setBytes(file);
        PageCuts::ByteList got;
        for (int i = 0; i < table.PageCount(); ++i)
            got << table.pageBytes(i);
        QCOMPARE(got, pages);
        QCOMPARE(table.pageBytes(table.PageCount()), tail);

        // The same cut from the mapped file read in blocks, small enough
        // that block ends fall inside commands, pictures and line ends.
        if (file.isEmpty())
            return;
        QTemporaryFile mapped;
        QVERIFY(mapped.open() && mapped.write(file) == file.size() && mapped.flush());
        const auto map = MappedFile::map(mapped.handle(), nullptr, MappedFile::ReadOnDemand);
        QVERIFY(map);
        QVector<qsizetype> expected;
        PageCutter whole {QByteArrayView(file)};
        whole.cutTo(file.size(), &expected);
        for (const qsizetype block : {16, 17, 33, 100}) {
            QVector<qsizetype> starts;
            PageCutter inBlocks {QByteArrayView(map->data(), map->size()), map.get(), block};
            inBlocks.cutTo(file.size(), &starts);
            QCOMPARE(starts, expected);
        }
    }

    void sheets_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        const QString h11 = "h=23760";
        QTest::newRow("text at 10 cpi") << QByteArray("ab") << h11 + " 0,240'ab'216";
        QTest::newRow("LF CR is one line end") << QByteArray("a\n\rb\r\nc") << h11 + " 0,240'a'216 0,600'b'216 0,960'c'216";
        QTest::newRow("lone CR overprints") << QByteArray("ab\r__") << h11 + " 0,240'ab'216 0,240'__'216";
        QTest::newRow("backspace") << QByteArray("a\bb") << h11 + " 0,240'a'216 0,240'b'216";
        QTest::newRow("default tabs every 8 columns") << QByteArray("a\tb") << h11 + " 0,240'a'216 1728,240'b'216";
        QTest::newRow("tab stops") << E + "D" + b({5, 0}) + "\tb\tc" << h11 + " 1080,240'b'216 1296,240'c'216";
        QTest::newRow("vertical tabs") << E + "B" + b({3, 0}) + "\x0b" "a\x0b" "b" << h11 + " 0,1320'a'216 | " + h11 + " 0,240'b'216";
        QTest::newRow("absolute and relative position") << E + "$" + b({60, 0}) + "a" + E + "\\" + b({12, 0}) + "b"
                                                        << h11 + " 2160,240'a'216 2592,240'b'216";
        QTest::newRow("left margin") << E + "l" + b({5}) + "a\r\nb" << h11 + " 1080,240'a'216 1080,600'b'216";
        // The rules at a setting other than their default.
        QTest::newRow("tab stops without their NUL") << E + "D" + b({50, 60}) + "0\tb" << h11 + " 0,240'0'216 10800,240'b'216";
        QTest::newRow("condensed elite is 20 cpi") << E + "M\x0f" "c" << h11 + " 0,240'c'108c";
        QTest::newRow("absolute position from the left margin") << E + "l" + b({5}) + E + "$" + b({60, 0}) + "a"
                                                                << h11 + " 3240,240'a'216";
        QTest::newRow("left margin in columns of the pitch") << E + "M" + E + "l" + b({6}) + "a" << h11 + " 1080,240'a'180";
        QTest::newRow("left margin in condensed columns") << "\x0f" + E + "l" + b({10}) + "a" << h11 + " 1260,240'a'126c";
        QTest::newRow("right margin in condensed columns") << "\x0f" + E + "Q" + b({20}) + QByteArray(25, 'x')
                                                           << h11 + " 0,240'" + QString(20, 'x') + "'126c 0,600'xxxxx'126c";
        QTest::newRow("left margin of proportional text in 10 cpi columns") << E + "M" + E + "p1" + E + "l" + b({6}) + "i"
                                                                            << h11 + " 1296,240'i'108";
        QTest::newRow("form length in lines of the spacing") << E + "3" + b({24}) + E + "C" + b({10}) + "a"
                                                             << "h=2400 0,240'a'216";
        QTest::newRow("pitches") << E + "Ma" + E + "gb" + E + "P\x0f" "c" + E + "!" + b({1}) + "d"
                                 << h11 + " 0,240'a'180 180,240'b'144 324,240'c'126c 450,240'd'180";
        QTest::newRow("SO double width for the line") << QByteArray("\x0e" "ab\x14" "c\x0e" "d\r\ne")
                                                     << h11 + " 0,240'ab'432w 864,240'c'216 1080,240'd'432w 0,600'e'216";
        // (ESC w below the sheet's first line: on it, it doubles nothing. On
        // 9 pins it prints no superscript.)
        QTest::newRow("looks") << "\r\n" + E + "E" + E + "-" + b({1}) + "a" + E + "-0" + E + "4b" + E + "W1" + E + "w1c" + E + "S0" + E + "Gd"
                               << h11 + " 0,600'a'216bu 216,600'b'216bi 432,600'c'432biwh 864,600'd'432biwhd";
        QTest::newRow("line spacing and feeds") << E + "3" + b({24}) + "a\r\n" + E + "A" + b({12}) + "b\r\n" + E + "J" + b({36}) + "c"
                                                << h11 + " 0,240'a'216 0,480'b'216 0,1200'c'216";
        QTest::newRow("8-dot strips touch at ESC 3 24") << E + "3" + b({24}) + E + "K" + b({1, 0, 255}) + "\r\n" + E + "K" + b({1, 0, 255})
                                                        << h11 + " [0,0 36x240] [0,240 36x240]";
        QTest::newRow("480 dots at 60 dpi are 8 in") << E + "K" + b({0xe0, 1}) + QByteArray(480, '\x81') + "x"
                                                     << h11 + " 17280,240'x'216 [0,0 17280x240]";
        QTest::newRow("24-dot picture") << E + "*" + b({39, 2, 0}) + QByteArray(6, 'x') << h11 + " [0,12 24x240]";
        QTest::newRow("raster rows") << E + "." + b({1, 10, 10, 2, 16, 0, 0xfd, 0xff}) << h11 + " [0,0 96x12]";
        // Each transfer goes on from the end of the one before.
        QTest::newRow("raster, TIFF mode pieces of a row") << E + "." + b({2, 10, 10, 1, 0, 0, 0x22, 0, 0xff, 0x22, 0, 0xff, 0x22, 0, 0xff, 0x51, 0x08, 0x22, 0, 0xff, 0xe3})
                                                           << h11 + " [0,0 240x6]";
        // MOVY goes down and back to the left end: rows one under the other.
        QTest::newRow("raster, TIFF mode rows") << E + "." + b({2, 10, 10, 1, 0, 0, 0x23, 1, 0xff, 0x0f, 0x61, 0x22, 0xff, 0xaa, 0xe3})
                                                << h11 + " [0,0 96x12]";
        QTest::newRow("raster cut short") << E + "." + b({0, 10, 10, 24, 16, 0, 0xff}) << h11 + " [0,0 48x6]";
        QTest::newRow("ESC 0, ESC 1 and ESC 2 line spacings") << E + "0a\r\n" + E + "1b\r\n" + E + "2c\r\nd"
                                                              << h11 + " 0,240'a'216 0,510'b'216 0,720'c'216 0,1080'd'216";
        QTest::newRow("ESC N skips lines before the form's end") << E + "C" + b({3}) + E + "N" + b({1}) + "a\r\nb\r\nc"
                                                                 << "h=1080 0,240'a'216 0,600'b'216 | h=1080 0,240'c'216";
        QTest::newRow("9-pin picture with its ninth dot") << E + "^" + b({0, 2, 0, 0xff, 0x80, 0, 0x80}) + "x"
                                                          << h11 + " 72,240'x'216 [0,0 72x270]";
        QTest::newRow("9-pin picture at 120 dpi, the ninth dot alone") << E + "^" + b({1, 1, 0, 0, 0x80})
                                                                       << h11 + " [0,240 18x30]";
        QTest::newRow("ESC ( $ from the left margin") << E + "l" + b({5}) + E + "($" + b({4, 0, 60, 0, 0, 0}) + "a"
                                                      << h11 + " 1440,240'a'216";
        QTest::newRow("ESC ( $ past the right margin is ignored") << QByteArray("ab") + E + "($" + b({4, 0, 0x10, 0x27, 0, 0}) + "c"
                                                                  << h11 + " 0,240'abc'216";
        QTest::newRow("ESC ( $ in four bytes") << E + "($" + b({4, 0, 60, 0, 1, 0}) + "a" << h11 + " 0,240'a'216";
        QTest::newRow("ESC C 72 at 1/6 in is 12 in") << E + "C" + b({72}) + "a" << "h=25920 0,240'a'216";
        // Out of the printer's range (1-127 lines, 1-22 inches, at most 22 inches): ignored.
        QTest::newRow("ESC C 200 ignored") << E + "C" + b({200}) + "a" << h11 + " 0,240'a'216";
        QTest::newRow("ESC C NUL 65 ignored") << E + "C" + b({0, 65}) + "a" << h11 + " 0,240'a'216";
        QTest::newRow("ESC C 100 lines past 22 in ignored") << E + "3" + b({60}) + E + "C" + b({100}) + "a"
                                                            << h11 + " 0,240'a'216";
        QTest::newRow("ESC C NUL 22 is 22 in") << E + "C" + b({0, 22}) + "a" << "h=47520 0,240'a'216";
        QTest::newRow("ESC N 200 ignored") << E + "N" + b({200}) + "a\r\nb" << h11 + " 0,240'a'216 0,600'b'216";
        QTest::newRow("ESC N of the whole form ignored") << E + "C" + b({3}) + E + "N" + b({3}) + "a\r\nb"
                                                         << "h=1080 0,240'a'216 0,600'b'216";
        QTest::newRow("ESC ( C in 1/360 in") << E + "(C" + b({2, 0, 0xe0, 0x10}) + "a" << "h=25920 0,240'a'216";
        // ESC ( U's long form: P (the first) is the unit of ESC ( C and ( c, V of ( V.
        QTest::newRow("ESC ( C in the page unit, 4/1440 in") << E + "(U" + b({5, 0, 4, 2, 4, 0xa0, 0x05}) + E + "(C" + b({2, 0, 0xa0, 0x05}) + "a"
                                                             << "h=8640 0,240'a'216";
        QTest::newRow("ESC ( c in the page unit, 4/1440 in") << E + "(U" + b({5, 0, 4, 2, 4, 0xa0, 0x05}) + E + "(c" + b({4, 0, 0x68, 1, 0xd0, 2}) + "a"
                                                             << h11 + " 0,2400'a'216";
        QTest::newRow("ESC ( C past 22 in ignored") << E + "(C" + b({2, 0, 0x58, 0x20}) + "a" << h11 + " 0,240'a'216";
        // A new form length takes the margins away: the head waiting at the
        // top margin prints at the form's top.
        QTest::newRow("ESC ( C after ESC ( c") << E + "(c" + b({4, 0, 0xd0, 2, 0x38, 4}) + E + "(C" + b({2, 0, 0x68, 1}) + "a\r\nb\r\nc"
                                               << "h=2160 0,240'a'216 0,600'b'216 0,960'c'216";
        QTest::newRow("ESC C after ESC ( c") << E + "(c" + b({4, 0, 0xd0, 2, 0x38, 4}) + E + "C" + b({6}) + "a"
                                             << "h=2160 0,240'a'216";
        // ESC ( c wants the top above the bottom, the bottom at most 22 in down.
        QTest::newRow("ESC ( c top below bottom ignored") << E + "(c" + b({4, 0, 0x38, 4, 0x68, 1}) + "a\r\nb"
                                                          << h11 + " 0,240'a'216 0,600'b'216";
        // ESC @, ESC O and ESC N take ESC ( c's margins away (ESC @ had left
        // the head waiting 1 in down); ESC ( c takes ESC N's skip away.
        QTest::newRow("ESC @ after ESC ( c") << E + "(c" + b({4, 0, 0x68, 1, 0xd0, 2}) + E + "@" + "a"
                                             << h11 + " 0,240'a'216";
        QTest::newRow("ESC O after ESC ( c") << E + "C" + b({12}) + E + "(c" + b({4, 0, 0x68, 1, 0xd0, 2}) + E + "O" + "a"
                                             << "h=4320 0,240'a'216";
        QTest::newRow("ESC N after ESC ( c") << E + "C" + b({12}) + E + "(c" + b({4, 0, 0x68, 1, 0xd0, 2}) + E + "N" + b({2}) + "a"
                                             << "h=4320 0,240'a'216";
        QTest::newRow("ESC ( c after ESC N") << E + "C" + b({4}) + E + "N" + b({2}) + E + "(c" + b({4, 0, 0, 0, 0xd0, 2}) + "a\r\nb\r\nc"
                                             << "h=1440 0,240'a'216 0,600'b'216 0,960'c'216";
        QTest::newRow("ESC ( c top at bottom ignored") << E + "(c" + b({4, 0, 0x68, 1, 0x68, 1}) + "a\r\nb"
                                                       << h11 + " 0,240'a'216 0,600'b'216";
        QTest::newRow("form feed starts a sheet") << QByteArray("a\fb\f") << h11 + " 0,240'a'216 | " + h11 + " 0,240'b'216";
        QTest::newRow("line feed past the form") << QByteArray("a") + QByteArray(66, '\n') + "b\f"
                                                 << h11 + " 0,240'a'216 | " + h11 + " 0,240'b'216";
        QTest::newRow("a full sheet then a form feed") << QByteArray(66, '\n') + "\fb" << h11 + " | " + h11 + " 0,240'b'216";
        QTest::newRow("line wraps at the carriage") << QByteArray(137, 'x')
                                                    << h11 + " 0,240'" + QString(136, 'x') + "'216 0,600'x'216";
        QTest::newRow("national set") << E + "R" + b({2}) + "[~" << h11 + " 0,240'Äß'216";
        QTest::newRow("graphics table") << E + "t1" + b({0xb3}) << h11 + " 0,240'│'216";
        QTest::newRow("italic table") << E + "t0a" + b({0xe1}) << h11 + " 0,240'a'216 216,240'a'216i";
        QTest::newRow("character table") << E + "(t" + b({3, 0, 1, 1, 0}) + E + "t" + b({1}) + b({0xb3, 0x82})
                                         << h11 + " 0,240'│é'216";
        QTest::newRow("hidden commands") << E + "@" + E + "x1" + E + "k" + b({1}) + E + "U1" + E + "(i" + b({1, 0, 1}) + "a"
                                         << h11 + " 0,240'a'216Lk1"; // letter quality in typeface 1
        QTest::newRow("reset") << E + "E" + E + "M" + E + "@a" << h11 + " 0,240'a'216";
        // A job language around the job prints nothing and selects no user-defined characters.
        QTest::newRow("HP job language around the job") << E + "%-12345X@PJL ENTER LANGUAGE=ESCP\r\n" + E + "@a\f" + E + "%-12345X"
                                                        << h11 + " 0,240'a'216";
        QTest::newRow("bad: huge picture cut short") << E + "*" + b({0, 0xff, 0xff, 1, 2}) + "" << h11 + " [0,180 72x60]";
        QTest::newRow("bad: picture of width 0") << E + "K" + b({0, 0}) + "a" << h11 + " 0,240'a'216";
        QTest::newRow("bad: raster with bad compression") << E + "." + b({7, 10, 10, 1, 8, 0}) + "a" << h11 + " 0,240'a'216";
        QTest::newRow("bad: unknown density") << E + "*" + b({9, 1, 0, 1}) + "a" << h11 + " 0,240'a'216";
    }
    void sheets()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(::sheets(bytes), expected);
    }

    // The pass that only counts sheets passes plain text over in bulk; it
    // must cut the sheets at the same bytes as laying every sheet out does.
    // A form of one line (a sixth of an inch) makes every wrap at the right
    // margin a new sheet, so a carriage position off by one cell shows.
    void countingCutsAsLayingOut_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("model");
        const QByteArray letters = QByteArray("ABCDEFGHIJ").repeated(23);
        const QByteArray upper = [] {
            QByteArray b;
            for (int c = 0x78; c < 0xB0; ++c)
                b += char(c);
            return b;
        }();
        const int nine = int(PrinterModel::NinePin), twentyFour = int(PrinterModel::TwentyFourPin);
        QTest::newRow("wraps at the margin") << (letters + "\r\n").repeated(3) << nine;
        // A long line that the margin wraps many times on one sheet and on
        // the next (a sheet of six lines), in several shapes of line.
        const QByteArray longLine = QByteArray("0123456789").repeated(160);
        QTest::newRow("many wraps on a sheet") << "\x1b" "C\x06" + (longLine + "\r\n").repeated(3) << nine;
        QTest::newRow("wraps, margins") << "\x1b" "C\x06\x1bl\x07\x1bQ\x2d" + longLine + "x\r\n" + longLine << nine;
        QTest::newRow("wraps, one column") << "\x1b" "C\x06\x1bl\x10\x1bQ\x11" + longLine.left(40) << nine;
        QTest::newRow("wraps, no line spacing") << QByteArrayLiteral("\x1b" "C\x06\x1b" "3\x00") + longLine + "\x0c" + longLine + "\x0cx" << twentyFour;
        QTest::newRow("wraps, spacing past the form") << "\x1b" "C\x03\x1b" "A\x50" + longLine << nine;
        QTest::newRow("wraps, condensed double width") << "\x1b" "C\x06\x0f\x1bW\x01" + longLine + "\x0e" + longLine << nine;
        QTest::newRow("wraps, then DEL and CAN")
            << "\x1b" "C\x06" + (longLine.left(257) + "\x7f\x7f" + longLine.left(65) + "\r\n" + longLine.left(170) + "\x18" "Z\r\n").repeated(3)
            << nine;
        QTest::newRow("wraps, bottom margin set above the head")
            << QByteArrayLiteral("\x1b" "C\x06\r\n\r\n\r\n\x1b" "3\x00\x1b(c\x04\x00\x00\x00\x3c\x00") + longLine.left(300) + "\x0cx"
            << twentyFour;
        // A form length set below the top of form makes that line the top.
        QTest::newRow("wraps, form length set below the top")
            << QByteArrayLiteral("\x1b" "C\x06\r\n\r\n\r\n\x1b" "C\x02") + longLine.left(900) + "\x0cx"
            << nine;
        // ESC @ below the top of form makes that line the top, too.
        QTest::newRow("wraps, ESC @ below the top")
            << QByteArrayLiteral("\x1b" "C\x06\r\n\r\n\r\n\x1b@") + longLine.left(900) + "\x0cx\r\n\r\n\x1b@\x1b" "C\x04" + longLine.left(900)
            << nine;
        QTest::newRow("wraps after the margin") << QByteArrayLiteral("\x1b" "C\x06\x1b$\x80\x03") + longLine << twentyFour;
        // ESC a 3 carries a word the margin cuts to the next line, and to
        // the next sheet where the word began in the text that ends it.
        const QByteArray words = QByteArray("The quick brown fox jumps over the lazy dog. ").repeated(12);
        QTest::newRow("justified words") << "\x1b" "a\x03" + words << nine;
        QTest::newRow("justified words, six lines") << "\x1b" "C\x06\x1b" "a\x03" + words + "\r\n" + words << nine;
        QTest::newRow("justified words in two looks")
            << "\x1b" "a\x03" + QByteArray("quick bro\x1b" "Ewn\x1b" "F fox jumps ").repeated(40) << nine;
        QTest::newRow("justified words and tabs") << "\x1b" "a\x03" + QByteArray("ab\tcdefghijklmnop qr ").repeated(40) << nine;
        QTest::newRow("justified words, margins") << "\x1bl\x05\x1bQ\x1e\x1b" "a\x03" + words << twentyFour;
        QTest::newRow("spaces only") << QByteArray(" ").repeated(500) + "\r\n\f" + QByteArray(" ").repeated(90) << nine;
        QTest::newRow("ink after spaces") << QByteArray(" ").repeated(170) + "x" << nine;
        QTest::newRow("italic table's controls") << QByteArrayLiteral("\x1bt\x00") + upper.repeated(12) << nine;
        QTest::newRow("italic table, ESC 6") << QByteArrayLiteral("\x1bt\x00\x1b" "6") + upper.repeated(12) << nine;
        QTest::newRow("graphics table") << QByteArrayLiteral("\x1bt\x01") + upper.repeated(4) << twentyFour;
        QTest::newRow("top bit set") << "\x1b>" + letters << nine;
        QTest::newRow("top bit cleared") << "\x1b=" + upper.repeated(12) << nine;
        QTest::newRow("condensed, double width") << "\x0f" + letters + "\x1bW\x01" + letters + "\x12" + letters << nine;
        QTest::newRow("SO to CR") << "\x0e" + letters + "\r" + letters << nine;
        QTest::newRow("12 and 15 cpi") << "\x1bM" + letters + "\x1bg" + letters << twentyFour;
        QTest::newRow("extra space") << "\x1b \x07" + letters << nine;
        QTest::newRow("proportional") << QByteArrayLiteral("\x1bp\x01") + letters + QByteArrayLiteral("\x1bp\x00") + letters << twentyFour;
        QTest::newRow("margins") << "\x1bl\x05\x1bQ\x1e" + letters + "\x1bl\x32\x1bQ\x14" + letters << nine;
        QTest::newRow("absolute position") << QByteArrayLiteral("\x1b$\x00\x03") + letters << twentyFour;
        QTest::newRow("tabs between") << QByteArrayLiteral("\x1b" "D\x08\x30\x00") + QByteArray("abc\tdefghij\t").repeated(20) << nine;
        QTest::newRow("controls printed") << QByteArrayLiteral("\x1b(^\x05\x00\x01\x02\x03\x7f" "A") + letters << twentyFour;
        QTest::newRow("DEL and BS") << QByteArray("abc\x7f\x08" "def").repeated(120) << nine;
        QTest::newRow("ESC cut short") << letters + "\x1b" << nine;
        // A character defined under ESC S (columns of 2 bytes, form feeds
        // among its dots) and printed; ESC : drops it before the sheets are
        // cut (each pass holds its own definitions).
        QTest::newRow("downloaded under super- and subscript")
            << QByteArrayLiteral("\x1bS\x00\x1b&\x00" "A" "A" "\x00\x05\x00") + QByteArray(10, '\x0c')
                + QByteArrayLiteral("\x1b%\x01" "A\x1b:\x00\x00\x00") + letters + "\x1bT" + letters + "\x1bS\x01" + letters
            << twentyFour;
        // Each pass carries its own copy of a picture's rows printed past the
        // form's end: the states still compare alike.
        QTest::newRow("picture across the form's end")
            << QByteArrayLiteral("\x1bJ\x16\x1b*\x00\x04\x00\xff\xff\xff\xff\r\nx\r\ny\r\nz") << nine;
    }
    void countingCutsAsLayingOut()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, model);
        PrinterSetup setup;
        setup.model = PrinterModel(model);
        setup.formLengthInches = 1.0 / 6;
        setup.carriageInches = 8.0;
        SheetIndex index;
        QVERIFY(index.build(bytes, setup));
        QList<qsizetype> counted;
        for (int i = 0; i < index.sheetCount(); ++i)
            counted << index.sheet(i).firstByte;

        // Sheet by sheet, a pass that lays out and one that counts meet
        // every sheet at the same byte in the same state.
        EscpInterpreter run(bytes, setup, PrinterState::initial(setup), 0);
        EscpInterpreter counting(bytes, setup, PrinterState::initial(setup), 0);
        QList<qsizetype> laidOut {0};
        Printed::Sheet sheet;
        while (run.runSheet(&sheet)) {
            QVERIFY(counting.runSheet(nullptr));
            QCOMPARE(counting.position(), run.position());
            QVERIFY2(counting.state() == run.state(), qPrintable(QString::number(laidOut.size())));
            laidOut << run.position();
            sheet = Printed::Sheet();
        }
        QVERIFY(!counting.runSheet(nullptr));
        QVERIFY(counting.state() == run.state());
        if (laidOut.size() > 1 && !run.state().sheetInked)
            laidOut.removeLast();
        QCOMPARE(counted, laidOut);
        QVERIFY2(counted.size() > 2 || bytes.size() < 200, "the row should cut several sheets");
    }

    // The index keeps the printer's state only at some sheets' starts; any
    // sheet, asked for in any order, is laid out as one pass over the whole
    // file lays it out (the look set on an earlier sheet carried over).
    void sheetsInAnyOrder_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<double>("formInches");
        QByteArray lines;
        for (int k = 0; k < 3000; ++k)
            lines += (k % 700 == 0 ? "\x1b" "E" : k % 700 == 350 ? "\x1b" "F" : "") + QByteArray::number(k) + " x\r\n";
        QTest::newRow("3,000 one-line sheets") << lines << 1.0 / 6;
        QByteArray report;
        for (int k = 0; k < 3300; ++k)
            report += (k % 500 == 0 ? "\x1b-1" : k % 500 == 250 ? "\x1b-0" : "") + QByteArray("line ").repeated(12)
                + QByteArray::number(k) + "\r\n";
        QTest::newRow("200 KB of 66-line sheets") << report << 11.0;
    }
    void sheetsInAnyOrder()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(double, formInches);
        PrinterSetup setup;
        setup.model = PrinterModel::NinePin;
        setup.formLengthInches = formInches;
        EscpInterpreter walk(bytes, setup, PrinterState::initial(setup), 0);
        QList<Printed::Sheet> laidOut;
        qsizetype start = 0;
        for (bool more = true; more;) {
            Printed::Sheet sheet;
            more = walk.runSheet(&sheet);
            sheet.firstByte = start;
            start = walk.position();
            laidOut << sheet;
        }
        if (laidOut.size() > 1 && laidOut.constLast().runs.isEmpty())
            laidOut.removeLast();
        SheetIndex index;
        QVERIFY(index.build(bytes, setup));
        QCOMPARE(index.sheetCount(), laidOut.size());
        QVERIFY(laidOut.size() > 40);
        const auto same = [&](int i) {
            const Printed::Sheet made = index.sheet(i);
            const Printed::Sheet &want = laidOut.at(i);
            const qsizetype end = i + 1 < laidOut.size() ? laidOut.at(i + 1).firstByte : bytes.size();
            if (made.firstByte != want.firstByte || made.endByte != end || made.runs.size() != want.runs.size())
                return false;
            for (qsizetype r = 0; r < made.runs.size(); ++r) {
                const Printed::TextRun &a = made.runs.at(r), &b = want.runs.at(r);
                if (a.text != b.text || a.x != b.x || a.baseline != b.baseline || !(a.style == b.style))
                    return false;
            }
            return true;
        };
        // Backwards, then forwards, then jumping about.
        for (int i = index.sheetCount() - 1; i >= 0; --i)
            QVERIFY2(same(i), qPrintable(QStringLiteral("sheet %1 backwards").arg(i)));
        for (int i = 0; i < index.sheetCount(); ++i)
            QVERIFY2(same(i), qPrintable(QStringLiteral("sheet %1 in order").arg(i)));
        for (int i = 0, k = 0; k < 200; ++k, i = (i * 7919 + 13) % index.sheetCount())
            QVERIFY2(same(i), qPrintable(QStringLiteral("sheet %1 out of order").arg(i)));
    }

    // Printing over the same places without end (CR, no line feed) makes a
    // run for every few bytes: the sheet keeps as many as its budget allows
    // and says it is over; the next sheet is whole again.
    void overprintedTextOverBudget()
    {
        const qsizetype pairs = Printed::MostRuns / 2 + 10;
        const QByteArray bytes = QByteArray("\x1b" "Ea\x1b" "Fb\r").repeated(pairs) + "\f" + "next\r\n";
        SheetIndex doc;
        QVERIFY(doc.build(bytes, PrinterSetup()));
        QCOMPARE(doc.sheetCount(), 2);
        const Printed::Sheet first = doc.sheet(0);
        QVERIFY(first.overBudget && first.textOverBudget);
        QCOMPARE(first.runs.size(), Printed::MostRuns);
        QCOMPARE(first.runs.constLast().text, QStringLiteral("b"));
        const Printed::Sheet second = doc.sheet(1);
        QVERIFY(!second.overBudget && !second.textOverBudget);
        QCOMPARE(second.runs.size(), 1);
    }

    // A large file is read in parts at once: each from the first form feed
    // past its share of the bytes, in the state the first sheet a form feed
    // began had. The sheets must be those of one pass whether that guess
    // held (the part's reading kept) or not (the pass before reads on).
    // The passes kept, for two parts and for four.
    void partsAsOnePass_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("passesOfTwo");
        QTest::addColumn<int>("passesOfFour");
        const auto pages = [](int count, const QByteArray &line) {
            QByteArray b;
            for (int p = 0; p < count; ++p) {
                b += "\x1b" "EPage " + QByteArray::number(p) + "\x1b" "F\r\n";
                for (int k = 0; k < 20; ++k)
                    b += (k % 5 == 0 ? "\x1b-1" + line + "\x1b-0" : line) + "\r\n";
                b += '\f';
            }
            return b;
        };
        const QByteArray header = QByteArrayLiteral("\x1b@\x1b" "3\x24\x1b" "C\x00\x08");
        const QByteArray line = "Item 00042   Bolts and nuts   12 pcs   1,234.50";
        QTest::newRow("pages alike") << header + pages(120, line) << 2 << 4;
        QTest::newRow("lines wider than the carriage")
            << header + pages(60, line.repeated(4)) << 2 << 4;
        QTest::newRow("characters defined on the first sheet")
            << header + "\x1b&" + QByteArray("\x00" "AA\x8b\x7e\x00\x42\x00\x42\x00\x7e\x00\x00\x00\x00\x00", 15)
                + "\x1b%\x01" + pages(80, "AAA " + line) << 2 << 4;
        QTest::newRow("form feeds only") << QByteArray(3000, '\f') << 2 << 4;
        QTest::newRow("a margin set on the third sheet")
            << header + pages(2, line) + "\x1bl\x05" + pages(100, line) << 1 << 1;
        const QByteArray half = header + pages(60, line);
        QTest::newRow("a form feed among a picture's dots at the middle")
            << half + "\x1bK\xd0\x07" + QByteArray(2000, '\f') + half << 1 << 3;
        QTest::newRow("form feeds at the form's bottom")
            << "\x1b" "C\x03" + QByteArray("a\r\nb\r\nc\r\n\f").repeated(600) << 1 << 1;
        QTest::newRow("no form feed past the middle")
            << header + pages(60, line) + (line + "\r\n").repeated(1500) << 1 << 2;
    }
    void partsAsOnePass()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, passesOfTwo);
        QFETCH(int, passesOfFour);
        PrinterSetup setup;
        setup.model = PrinterModel::NinePin;
        setup.carriageInches = 8.0;
        SheetIndex whole;
        QVERIFY(whole.build(bytes, setup, {}, 1));
        QCOMPARE(whole.passes(), 1);
        QVERIFY(whole.sheetCount() > 20);
        const auto described = [](const Printed::Sheet &s) {
            QStringList out {QStringLiteral("%1-%2 h=%3").arg(s.firstByte).arg(s.endByte).arg(s.height)};
            for (const Printed::TextRun &r : s.runs)
                out << QStringLiteral("%1,%2'%3'%4%5").arg(r.x).arg(r.baseline).arg(r.text).arg(r.style.advance)
                           .arg(r.style.underline ? "u" : r.style.bold ? "b" : "");
            for (const Printed::Picture &p : s.pictures)
                out << QStringLiteral("[%1,%2]").arg(p.left()).arg(p.upper());
            return out.join(' ');
        };
        // The same bytes as a file's map, which each pass maps in and lets
        // go of as it reads: the sheets are made from it afterwards.
        QTemporaryFile file;
        QVERIFY(file.open());
        QCOMPARE(file.write(bytes), bytes.size());
        QVERIFY(file.flush());
        const std::unique_ptr<MappedFile> map = MappedFile::map(file.handle(), nullptr);
        QVERIFY(map);
        const QByteArrayView mapped(map->data(), map->size());
        // (Three parts: no count asked, the sheets only.)
        for (const auto &[parts, passes, onMap] :
            {std::tuple{2, passesOfTwo, false}, {3, 0, false}, {4, passesOfFour, false}, {2, passesOfTwo, true},
                {1, 1, true}}) {
            SheetIndex split;
            QVERIFY(onMap ? split.build(mapped, setup, {}, parts, map.get()) : split.build(bytes, setup, {}, parts));
            if (passes > 0)
                QCOMPARE(split.passes(), passes);
            QCOMPARE(split.sheetCount(), whole.sheetCount());
            // Backwards, so that every sheet is made from a state the index kept.
            for (int i = whole.sheetCount() - 1; i >= 0; --i)
                QCOMPARE(described(split.sheet(i)), described(whole.sheet(i)));
        }
        QVERIFY(mapped == QByteArrayView(bytes));
    }

    // Cancel while parts are read at once: every pass stops, and soon.
    void partsStop()
    {
        QByteArray page;
        for (int k = 0; k < 66; ++k)
            page += QByteArray("Item 00042   Bolts and nuts   12 pcs   1,234.50  ").repeated(2) + "\r\n";
        const QByteArray bytes = (page + '\f').repeated((24 << 20) / page.size());
        SheetIndex doc;
        int calls = 0;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!doc.build(bytes, PrinterSetup(), [&calls](qint64, qint64) { return ++calls < 2; }, 4));
        QCOMPARE(calls, 2);
        QVERIFY(doc.sheetCount() >= 1 && doc.sheetCount() < (24 << 20) / page.size());
        QCOMPARE(doc.sheet(0).runs.size(), 66);
        QVERIFY2(clock.elapsed() < 5000, "the parts' passes should stop with the first");
    }

    // Cancel: the pass stops, the sheets found so far stay.
    void buildStops()
    {
        const QByteArray bytes = QByteArray("line\r\n").repeated(2 << 20);
        SheetIndex doc;
        int calls = 0;
        QVERIFY(!doc.build(bytes, PrinterSetup(), [&calls](qint64 done, qint64 total) {
            return ++calls < 2 && done < total;
        }));
        QCOMPARE(calls, 2);
        QVERIFY(doc.sheetCount() > 1 && doc.sheetCount() < (2 << 20) / 66);
        QCOMPARE(doc.sheet(0).runs.size(), 66);
    }

    // Pictures as the netpbm converters write them, for 9-pin and ESC/P2 printers.
    void netpbmPictures_data()
    {
        QTest::addColumn<QString>("converter");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("dpiX");
        QTest::newRow("pbmtoepson") << "pbmtoepson" << QStringList{} << 72;
        QTest::newRow("pbmtoescp2") << "pbmtoescp2" << QStringList{"-compress=1", "-resolution=180"} << 180;
    }
    void netpbmPictures()
    {
        QFETCH(QString, converter);
        QFETCH(QStringList, arguments);
        QFETCH(int, dpiX);
        // A 120 x 48 frame: a black border one dot wide.
        QByteArray pbm = "P1\n120 48\n";
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 120; ++x)
                pbm += (y == 0 || y == 47 || x == 0 || x == 119) ? "1 " : "0 ";
        QByteArray print;
        QString said;
        QVERIFY2(TestSupport::filterThrough(converter, arguments, pbm, &print, &said), qPrintable(said));
        SheetIndex doc;
        QVERIFY(doc.build(print, PrinterSetup()));
        QCOMPARE(doc.sheetCount(), 1);
        const Printed::Sheet sheet = doc.sheet(0);
        QVERIFY(sheet.runs.isEmpty());
        QVERIFY(!sheet.pictures.isEmpty());
        int black = 0;
        for (const Printed::Picture &p : sheet.pictures) {
            QCOMPARE(p.dpiX, dpiX);
            QCOMPARE(p.image.width(), 120);
            QCOMPARE(p.x, 0);
            for (int y = 0; y < p.image.height(); ++y)
                for (int x = 0; x < p.image.width(); ++x)
                    black += p.image.pixelIndex(x, y);
        }
        QCOMPARE(black, 2 * 120 + 2 * 46);
        // The strips touch: the last one ends where the frame's 48 rows end.
        const Printed::Picture &last = sheet.pictures.constLast();
        QCOMPARE(last.lower() - sheet.pictures.first().upper(), 48 * Printed::UnitsPerInch / last.dpiY);
    }
};

QTEST_GUILESS_MAIN(TestEscp)
#include "tst_escp.moc"
