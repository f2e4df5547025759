// Qt's glyph-by-glyph content streams merged into runs: every glyph must
// land exactly where it was, as a reader's text state places it.
#include "pdf/PdfTextRuns.h"

#include <QTest>

#include <cmath>
#include <vector>

namespace {

struct Placed
{
    unsigned code;
    double x, y;
};

// A reader's text state, enough for what Qt and the merging write: Tf, Tc,
// Tm (translation only), Td, Tj and TJ of two-byte codes, literal or hex.
std::vector<Placed> placedGlyphs(const std::string &content, const PageFontWidths &fonts)
{
    std::vector<Placed> placed;
    std::vector<std::string> operands;
    const GlyphWidths *font = nullptr;
    double size = 0, spacing = 0, lineX = 0, lineY = 0, x = 0, y = 0;
    auto show = [&](const std::string &bytes) {
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const unsigned code = (unsigned(quint8(bytes[i])) << 8) | quint8(bytes[i + 1]);
            placed.push_back({code, x, y});
            x += font->of(code) * size / 1000 + spacing;
        }
    };
    size_t at = 0;
    auto literal = [&]() {
        std::string bytes;
        for (++at; content[at] != ')'; ++at) {
            char c = content[at];
            if (c == '\\') {
                c = content[++at];
                c = c == 'r' ? '\r' : c == 'n' ? '\n' : c;
            }
            bytes.push_back(c);
        }
        ++at;
        return bytes;
    };
    auto hex = [&]() {
        std::string bytes;
        const size_t end = content.find('>', at);
        for (size_t i = at + 1; i + 1 < end; i += 2)
            bytes.push_back(char(std::stoi(content.substr(i, 2), nullptr, 16)));
        at = end + 1;
        return bytes;
    };
    while (at < content.size()) {
        const char c = content[at];
        if (c == ' ' || c == '\n') {
            ++at;
        } else if (c == '(') {
            operands.push_back("S" + literal());
        } else if (c == '<') {
            operands.push_back("S" + hex());
        } else if (c == '[') {
            // The array's strings and numbers, shown as TJ shows them.
            ++at;
            std::vector<std::string> items;
            while (content[at] != ']') {
                if (content[at] == ' ')
                    ++at;
                else if (content[at] == '(')
                    items.push_back("S" + literal());
                else if (content[at] == '<')
                    items.push_back("S" + hex());
                else {
                    const size_t end = content.find_first_of(" ]", at);
                    items.push_back(content.substr(at, end - at));
                    at = end;
                }
            }
            ++at;
            operands = items;
            operands.insert(operands.begin(), "A");
        } else {
            const size_t end = content.find_first_of(" \n", at);
            const std::string word = content.substr(at, end - at);
            at = end == std::string::npos ? content.size() : end;
            if (word == "Tf") {
                font = &fonts.find(operands.at(0))->second;
                size = std::stod(operands.at(1));
            } else if (word == "Tc") {
                spacing = std::stod(operands.at(0));
            } else if (word == "BT") {
                lineX = lineY = x = y = 0;
            } else if (word == "Tm") {
                x = lineX = std::stod(operands.at(4));
                y = lineY = std::stod(operands.at(5));
            } else if (word == "Td") {
                x = lineX += std::stod(operands.at(0));
                y = lineY += std::stod(operands.at(1));
            } else if (word == "Tj") {
                show(operands.at(0).substr(1));
            } else if (word == "TJ") {
                for (size_t i = 1; i < operands.size(); ++i) {
                    if (operands[i][0] == 'S')
                        show(operands[i].substr(1));
                    else
                        x -= std::stod(operands[i]) / 1000 * size;
                }
            } else if (word.front() == '/' || word.front() == '-' || word.front() == '.' || std::isdigit(word.front())) {
                operands.push_back(word);
                continue;
            }
            operands.clear();
        }
    }
    return placed;
}

// A glyph line as Qt writes it.
std::string glyph(const std::string &dx, const std::string &dy, unsigned code)
{
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04x", code);
    return dx + ' ' + dy + " Td <" + hex + "> Tj\n";
}

// A text object of a line of `codes` stepping `step` apart, a gap of
// `gapColumns` steps after every `word` glyphs.
std::string textObject(const std::string &size, const std::string &step, const std::string &gap,
    const std::vector<unsigned> &codes, int word)
{
    std::string content = "q\nBT\n/F7 " + size + " Tf 1 0 0 -1 0 0 Tm\n";
    for (size_t i = 0; i < codes.size(); ++i)
        content += glyph(i == 0 ? "0" : (i % word == 0 ? gap : step), "0", codes[i]);
    return content + "ET\nQ\n";
}

GlyphWidths monospace(double width)
{
    GlyphWidths widths;
    widths.defaultWidth = width;
    return widths;
}

} // namespace

Q_DECLARE_METATYPE(PageFontWidths)

class TestPdfTextRuns : public QObject
{
    Q_OBJECT

private slots:
    void glyphsStayWhereTheyWere_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<PageFontWidths>("fonts");
        QTest::addColumn<int>("mostBytes"); // the merged stream's size at most; -1: left as it is

        std::vector<unsigned> letters;
        for (unsigned i = 0; i < 80; ++i)
            letters.push_back(1 + i % 23);
        const PageFontWidths mono {{"/F7", monospace(602)}};
        // 10 cpi at 180 units: a column is 108, the font's advance 108.36.
        QTest::newRow("printer columns, whole-column gaps")
            << QByteArray::fromStdString(textObject("180", "108", "216", letters, 7)) << mono << 600;
        // 187.5 units a size and 112.8125 a column: a gap of two columns is
        // no number of six decimals, so a Td of its own.
        QTest::newRow("gaps no number gives exactly")
            << QByteArray::fromStdString(textObject("187.500000", "112.812500", "225.625000", letters, 9)) << mono
            << 800;
        QTest::newRow("one glyph") << QByteArray::fromStdString(textObject("180", "108", "216", {5}, 3)) << mono << 200;

        PageFontWidths proportional {{"/F7", monospace(1000)}};
        proportional["/F7"].set(1, 250);
        proportional["/F7"].set(2, 500);
        proportional["/F7"].set(3, 722.5);
        QTest::newRow("proportional advances")
            << QByteArray("BT\n/F7 12 Tf 1 0 0 -1 0 0 Tm\n0 0 Td <0001> Tj\n3 0 Td <0002> Tj\n6 0 Td <0003> Tj\n"
                          "8.67 0 Td <0001> Tj\nET\n")
            << proportional << 200;

        // A second line in the same text object, then an operator after
        // the run that the line's start must be right for.
        QTest::newRow("two lines and a font change in one object")
            << QByteArray("BT\n/F7 180 Tf 1 0 0 -1 0 0 Tm\n10 20 Td <0001> Tj\n108 0 Td <0002> Tj\n108 0 Td <0003> Tj\n"
                          "-216 200 Td <0004> Tj\n108 0 Td <0005> Tj\n/F8 90 Tf\n54 0 Td <0006> Tj\n54 0 Td <0007> Tj\n"
                          "ET\n")
            << PageFontWidths {{"/F7", monospace(602)}, {"/F8", monospace(500)}} << 400;
        QTest::newRow("codes a string must escape")
            << QByteArray::fromStdString(textObject("180", "108", "216", {0x0028, 0x5c29, 0x0d0a, 0x2929, 0x0a0d}, 9))
            << mono << 300;

        QTest::newRow("a font not known")
            << QByteArray::fromStdString(textObject("180", "108", "216", letters, 7))
            << PageFontWidths {{"/F9", monospace(602)}} << -1;
        QTest::newRow("its own character spacing")
            << QByteArray::fromStdString("2 Tc\n" + textObject("180", "108", "216", letters, 7)) << mono << -1;
        QTest::newRow("an inline image")
            << QByteArray::fromStdString(textObject("180", "108", "216", letters, 7) + "BI /W 1 /H 1 ID \n0 0 Td <0001> Tj\nEI\n")
            << mono << -1;
    }

    void glyphsStayWhereTheyWere()
    {
        QFETCH(QByteArray, content);
        QFETCH(PageFontWidths, fonts);
        QFETCH(int, mostBytes);
        const std::string original = content.toStdString();
        const std::string merged = PdfTextRuns::merged(original, fonts);
        if (mostBytes < 0) {
            QCOMPARE(merged, original);
            return;
        }
        QVERIFY2(int(merged.size()) <= mostBytes, merged.c_str());
        const std::vector<Placed> before = placedGlyphs(original, fonts);
        const std::vector<Placed> after = placedGlyphs(merged, fonts);
        QCOMPARE(after.size(), before.size());
        for (size_t i = 0; i < before.size(); ++i) {
            QCOMPARE(after[i].code, before[i].code);
            QVERIFY2(std::abs(after[i].x - before[i].x) < 1e-9 && std::abs(after[i].y - before[i].y) < 1e-9,
                qPrintable(QStringLiteral("glyph %1 at %2,%3 rather than %4,%5 in\n%6")
                               .arg(i)
                               .arg(after[i].x, 0, 'g', 17)
                               .arg(after[i].y)
                               .arg(before[i].x, 0, 'g', 17)
                               .arg(before[i].y)
                               .arg(QString::fromStdString(merged))));
        }
    }

    // A CID font's /W read the one way both PDF passes read it: lists and
    // ranges, any number of times; a font whose /W has another shape gets
    // no widths (its glyphs are left where they are).
    void widthArrays_data()
    {
        QTest::addColumn<QString>("w");        // N number, [a b] list, other: x
        QTest::addColumn<QString>("expected"); // the widths of codes 0-5, or "none"
        QTest::newRow("no /W: the default") << "" << "600 600 600 600 600 600";
        QTest::newRow("a list from 1") << "1 [300 400]" << "600 300 400 600 600 600";
        QTest::newRow("a range") << "2 4 250" << "600 600 250 250 250 600";
        QTest::newRow("both, twice") << "0 [100] 3 5 700" << "100 600 600 700 700 700";
        QTest::newRow("a real width") << "0 [512.5]" << "512.5 600 600 600 600 600";
        QTest::newRow("a range the wrong way round") << "4 2 250" << "600 600 600 600 600 600";
        QTest::newRow("a code with no widths") << "0" << "none";
        QTest::newRow("a range without its width") << "0 3" << "none";
        QTest::newRow("a negative code") << "-1 [100]" << "none";
        QTest::newRow("a fractional code") << "1.5 [100]" << "none";
        QTest::newRow("a code past 0xFFFF") << "65536 [100]" << "none";
        QTest::newRow("a list holding something else") << "0 [100 x]" << "none";
        QTest::newRow("a name for a code") << "x [100]" << "none";
    }

    void widthArrays()
    {
        QFETCH(QString, w);
        QFETCH(QString, expected);
        std::vector<WidthEntry> entries;
        const QStringList items = w.split(' ', Qt::SkipEmptyParts);
        for (int i = 0; i < items.size(); ++i) {
            WidthEntry entry;
            if (items[i].startsWith('[')) {
                entry.kind = WidthEntry::List;
                for (QString item = items[i].mid(1);; item = items[++i]) {
                    const bool last = item.endsWith(']');
                    bool number = false;
                    const double value = QString(item).remove(']').toDouble(&number);
                    if (!number)
                        entry.kind = WidthEntry::Other;
                    entry.list.push_back(value);
                    if (last)
                        break;
                }
            } else {
                bool number = false;
                entry.number = items[i].toDouble(&number);
                entry.kind = number ? WidthEntry::Number : WidthEntry::Other;
            }
            entries.push_back(entry);
        }
        const std::optional<GlyphWidths> widths = glyphWidthsOf(600, entries);
        QStringList found;
        for (unsigned code = 0; widths && code < 6; ++code)
            found << QString::number(widths->of(code));
        QCOMPARE(widths ? found.join(' ') : QStringLiteral("none"), expected);
    }
};

QTEST_GUILESS_MAIN(TestPdfTextRuns)
#include "tst_pdftextruns.moc"
