#include "pdf/PdfTextRuns.h"

#include <charconv>
#include <cmath>

namespace {

// A PDF number ("108", "-0.36", ".5"). Up to 15 digits the value is the
// correctly rounded one (a whole number divided by a power of ten), as a
// reader's own parsing gives; longer ones are refused.
bool number(std::string_view text, double *value)
{
    size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        negative = text[at++] == '-';
    long long digits = 0;
    int count = 0, decimals = 0;
    bool point = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            if (++count > 15)
                return false;
            digits = digits * 10 + (c - '0');
            decimals += point ? 1 : 0;
        } else {
            return false;
        }
    }
    if (count == 0)
        return false;
    static const double powers[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    *value = double(digits) / powers[decimals];
    if (negative)
        *value = -*value;
    return true;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The last step read: Qt's steps along a line are mostly the same few
// bytes ("108 0").
struct LastStep
{
    std::string text;
    double dx = 0, dy = 0;
};

// "108 0 Td <0002> Tj", as Qt writes a glyph's place and its two-byte code.
bool glyphLine(std::string_view line, LastStep &last, double *dx, double *dy, unsigned *code)
{
    constexpr std::string_view tail = "> Tj";
    // " Td <" and four digits and "> Tj" after the two numbers.
    if (line.size() < 16 || line.substr(line.size() - tail.size()) != tail
        || line.substr(line.size() - 13, 5) != " Td <")
        return false;
    const std::string_view numbers = line.substr(0, line.size() - 13);
    if (numbers == last.text) {
        *dx = last.dx;
        *dy = last.dy;
    } else {
        const size_t space = numbers.find(' ');
        if (space == std::string_view::npos || !number(numbers.substr(0, space), dx)
            || !number(numbers.substr(space + 1), dy))
            return false;
        last.text.assign(numbers);
        last.dx = *dx;
        last.dy = *dy;
    }
    *code = 0;
    for (size_t i = line.size() - 8; i < line.size() - 4; ++i) {
        const int digit = hexDigit(line[i]);
        if (digit < 0)
            return false;
        *code = *code * 16 + unsigned(digit);
    }
    return true;
}

// A number as PDF writes it: no exponent, at most six decimals, no
// trailing zeros.
void appendNumber(std::string &out, double value)
{
    const long long millionths = std::llround(value * 1e6);
    if (millionths < 0)
        out.push_back('-');
    const unsigned long long magnitude = millionths < 0 ? 0ULL - (unsigned long long)millionths : millionths;
    char buffer[32];
    const auto whole = std::to_chars(buffer, buffer + sizeof buffer, magnitude / 1000000);
    out.append(buffer, whole.ptr);
    unsigned long long fraction = magnitude % 1000000;
    if (fraction == 0)
        return;
    char digits[7] = {'.'};
    int count = 6;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --count;
    }
    for (int i = count; i >= 1; --i) {
        digits[i] = char('0' + fraction % 10);
        fraction /= 10;
    }
    out.append(digits, size_t(count + 1));
}

// Two-byte codes as a PDF literal string; the line ends escaped, since a
// reader takes a bare carriage return in a string as a line feed.
void appendLiteral(std::string &out, const unsigned *codes, size_t count)
{
    out.push_back('(');
    for (size_t i = 0; i < count; ++i) {
        for (const char c : {char(codes[i] >> 8), char(codes[i] & 0xFF)}) {
            switch (c) {
            case '(':
            case ')':
            case '\\':
                out.push_back('\\');
                out.push_back(c);
                break;
            case '\r':
                out.append("\\r");
                break;
            case '\n':
                out.append("\\n");
                break;
            default:
                out.push_back(c);
            }
        }
    }
    out.push_back(')');
}

double rounded(double value, double step)
{
    return std::round(value / step) * step;
}

// The glyphs of one line of one text object.
class Run
{
public:
    bool isOpen() const { return !m_glyphs.empty(); }

    // Starts the run with a glyph placed at (dx, dy) from the line's start.
    void open(double dx, double dy, unsigned code, double width, double size)
    {
        m_glyphs.clear();
        m_dx = dx;
        m_dy = dy;
        m_size = size;
        m_lastX = 0;
        m_glyphs.push_back({code, width, 0});
    }

    // A glyph `dx` further along the line than the one before.
    void add(double dx, unsigned code, double width)
    {
        m_lastX += dx;
        m_glyphs.push_back({code, width, m_lastX});
    }

    // Writes the run, its start `shift` further than the line's start;
    // returns how far the line's start then lags behind where the glyph by
    // glyph placing had left it.
    double close(std::string &out, double shift)
    {
        const double spacing = commonSpacing();
        if (spacing != 0) {
            appendNumber(out, spacing);
            out.append(" Tc\n");
        }
        appendNumber(out, m_dx + shift);
        out.push_back(' ');
        appendNumber(out, m_dy);
        out.append(" Td ");

        // A glyph that is not where the one before leaves the pen is put
        // there by a number in the array when the number is exact in six
        // decimals (a printer's gap of whole columns at most sizes), else
        // by a Td of its own from the last one's place: each glyph lands
        // exactly where it was placed.
        m_codes.clear();
        m_array.clear();
        double segmentX = 0; // where the last Td put the line's start
        auto endString = [&] {
            appendLiteral(m_array, m_codes.data(), m_codes.size());
            m_codes.clear();
        };
        auto endSegment = [&] {
            if (m_array.empty()) {
                appendLiteral(out, m_codes.data(), m_codes.size());
                out.append(" Tj\n");
            } else {
                out.push_back('[');
                out += m_array;
                appendLiteral(out, m_codes.data(), m_codes.size());
                out.append("] TJ\n");
            }
            m_codes.clear();
            m_array.clear();
        };
        m_codes.push_back(m_glyphs.front().code);
        for (size_t i = 1; i < m_glyphs.size(); ++i) {
            const double step = m_glyphs[i].x - m_glyphs[i - 1].x;
            const double lag = m_glyphs[i - 1].width * m_size / 1000 + spacing - step;
            const double adjust = lag * 1000 / m_size;
            if (std::abs(lag) < 1e-9) {
                // where the pen is
            } else if (std::abs(adjust - rounded(adjust, 1e-6)) < 1e-9) {
                endString();
                m_array.push_back(' ');
                appendNumber(m_array, adjust);
                m_array.push_back(' ');
            } else {
                endSegment();
                appendNumber(out, m_glyphs[i].x - segmentX);
                out.append(" 0 Td ");
                segmentX = m_glyphs[i].x;
            }
            m_codes.push_back(m_glyphs[i].code);
        }
        endSegment();
        if (spacing != 0)
            out.append("0 Tc\n");
        m_glyphs.clear();
        return m_lastX - segmentX;
    }

private:
    // A printer's columns are seldom the font's own advance: the difference
    // most steps have is the run's character spacing, so that only gaps
    // need a number.
    double commonSpacing()
    {
        m_spacings.clear();
        for (size_t i = 1; i < m_glyphs.size(); ++i) {
            const double spacing
                = rounded(m_glyphs[i].x - m_glyphs[i - 1].x - m_glyphs[i - 1].width * m_size / 1000, 1e-6);
            bool counted = false;
            for (auto &entry : m_spacings) {
                if (entry.first == spacing) {
                    ++entry.second;
                    counted = true;
                    break;
                }
            }
            if (!counted && m_spacings.size() < 8)
                m_spacings.push_back({spacing, 1});
        }
        double spacing = 0;
        int most = 0;
        for (const auto &entry : m_spacings) {
            if (entry.second > most) {
                most = entry.second;
                spacing = entry.first;
            }
        }
        return spacing;
    }

    struct Glyph
    {
        unsigned code = 0;
        double width = 0; // thousandths of the size
        double x = 0;     // from the run's first glyph
    };
    std::vector<Glyph> m_glyphs;
    std::vector<std::pair<double, int>> m_spacings;
    std::vector<unsigned> m_codes;
    std::string m_array;
    double m_dx = 0, m_dy = 0, m_size = 0;
    double m_lastX = 0; // the last glyph's origin from the run's first one
};

// What a line that places no glyph does to the merging: nothing, chooses a
// font ("/F7 180 Tf ..."), or makes the stream one to leave alone.
enum class LineKind { Other, Font, Unsafe };

LineKind kindOf(std::string_view line, std::string_view *fontName, std::string_view *fontSize)
{
    LineKind kind = LineKind::Other;
    std::string_view words[3];
    size_t at = 0;
    while (at < line.size()) {
        size_t end = line.find(' ', at);
        if (end == std::string_view::npos)
            end = line.size();
        const std::string_view word = line.substr(at, end - at);
        at = end + 1;
        if (word.empty())
            continue;
        // Spacing that a string's glyphs would be moved by, or an inline
        // image whose bytes are no lines.
        if (word == "Tc" || word == "Tz" || word == "BI")
            return LineKind::Unsafe;
        if (word == "Tf" && !words[1].empty() && words[1].front() == '/') {
            *fontName = words[1];
            *fontSize = words[2];
            kind = LineKind::Font;
        }
        words[1] = words[2];
        words[2] = word;
    }
    return kind;
}

} // namespace

namespace PdfTextRuns {

std::string merged(std::string_view content, const PageFontWidths &fonts)
{
    if (fonts.empty())
        return std::string(content);
    std::string out;
    out.reserve(content.size() / 3);
    const GlyphWidths *font = nullptr;
    double size = 0;
    Run run;
    double shift = 0; // how far the line's start lags behind the original's
    bool placedAny = false;
    LastStep lastStep;

    // What the line's start is owed goes out before any other operator
    // that might move from it (none at the end of the text object).
    auto settle = [&](std::string_view line) {
        if (run.isOpen())
            shift = run.close(out, shift);
        if (shift != 0 && line != "ET") {
            appendNumber(out, shift);
            out.append(" 0 Td\n");
        }
        shift = 0;
    };

    size_t at = 0;
    while (at < content.size()) {
        size_t end = content.find('\n', at);
        const bool lineFeed = end != std::string_view::npos;
        if (!lineFeed)
            end = content.size();
        const std::string_view line = content.substr(at, end - at);
        at = end + 1;

        double dx = 0, dy = 0;
        unsigned code = 0;
        if (font && glyphLine(line, lastStep, &dx, &dy, &code)) {
            const double width = font->of(code);
            if (run.isOpen() && dy == 0) {
                run.add(dx, code, width);
            } else {
                if (run.isOpen())
                    shift = run.close(out, shift);
                run.open(dx, dy, code, width, size);
            }
            placedAny = true;
            continue;
        }
        std::string_view fontName, fontSize;
        switch (kindOf(line, &fontName, &fontSize)) {
        case LineKind::Unsafe:
            return std::string(content);
        case LineKind::Font: {
            const auto found = fonts.find(fontName);
            font = found == fonts.end() || !number(fontSize, &size) || size <= 0 ? nullptr : &found->second;
            break;
        }
        case LineKind::Other:
            break;
        }
        settle(line);
        out.append(line);
        if (lineFeed)
            out.push_back('\n');
    }
    settle("ET");
    return placedAny ? out : std::string(content);
}

} // namespace PdfTextRuns

std::optional<GlyphWidths> glyphWidthsOf(double defaultWidth, const std::vector<WidthEntry> &w)
{
    GlyphWidths widths;
    widths.defaultWidth = defaultWidth;
    const auto codeOf = [](const WidthEntry &entry, unsigned *code) {
        if (entry.kind != WidthEntry::Number || !(entry.number >= 0 && entry.number <= 0xFFFF)
            || entry.number != std::floor(entry.number))
            return false;
        *code = unsigned(entry.number);
        return true;
    };
    for (size_t i = 0; i < w.size();) {
        unsigned first = 0, last = 0;
        if (!codeOf(w[i], &first) || i + 1 >= w.size())
            return std::nullopt;
        if (w[i + 1].kind == WidthEntry::List) {
            for (const double each : w[i + 1].list)
                widths.set(first++, each);
            i += 2;
        } else if (i + 2 < w.size() && codeOf(w[i + 1], &last) && w[i + 2].kind == WidthEntry::Number) {
            for (unsigned code = first; code <= last; ++code)
                widths.set(code, w[i + 2].number);
            i += 3;
        } else {
            return std::nullopt;
        }
    }
    return widths;
}
