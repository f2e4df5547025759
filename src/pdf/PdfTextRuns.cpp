#include "pdf/PdfTextRuns.h"

#include <charconv>
#include <map>
#include <cmath>
#include <vector>

namespace {

bool number(std::string_view text, double *value)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    // PDF writes ".5" and "-.5"; from_chars wants the digit before the point.
    std::string spelled;
    if (!text.empty() && (text.front() == '.' || text.substr(0, 2) == "-.")) {
        spelled = std::string(text);
        spelled.insert(text.front() == '-' ? 1 : 0, 1, '0');
        text = spelled;
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), *value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && std::isfinite(*value);
}

// The words of a line, split at single spaces.
std::vector<std::string_view> words(std::string_view line)
{
    std::vector<std::string_view> list;
    size_t at = 0;
    while (at < line.size()) {
        const size_t end = line.find(' ', at);
        const size_t stop = end == std::string_view::npos ? line.size() : end;
        if (stop > at)
            list.push_back(line.substr(at, stop - at));
        at = stop + 1;
    }
    return list;
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

// "<0001000a>" as its bytes; false unless whole two-byte codes.
bool hexBytes(std::string_view word, std::string *bytes)
{
    if (word.size() < 6 || word.front() != '<' || word.back() != '>' || (word.size() - 2) % 4 != 0)
        return false;
    bytes->clear();
    for (size_t i = 1; i + 1 < word.size(); i += 2) {
        const int high = hexDigit(word[i]);
        const int low = hexDigit(word[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes->push_back(char(high * 16 + low));
    }
    return true;
}

// A number as PDF writes it: no exponent, at most six decimals, no
// trailing zeros.
void appendNumber(std::string &out, double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    std::string_view text(buffer, size_t(result.ptr - buffer));
    if (text.find('.') != std::string_view::npos) {
        while (text.back() == '0')
            text.remove_suffix(1);
        if (text.back() == '.')
            text.remove_suffix(1);
    }
    if (text == "-0")
        text = "0";
    out.append(text);
}

// Bytes as a PDF literal string; the line ends escaped, since a reader
// takes a bare carriage return in a string as a line feed.
void appendLiteral(std::string &out, std::string_view bytes)
{
    out.push_back('(');
    for (char c : bytes) {
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
    out.push_back(')');
}

double rounded(double value, double step)
{
    return std::round(value / step) * step;
}

// The glyphs of one line of one text object, shown by one TJ array.
class Run
{
public:
    bool isOpen() const { return !m_glyphs.empty(); }

    // Starts the run with a glyph placed at (dx, dy) from the line's start.
    void open(double dx, double dy, const std::string &bytes, double width, double size)
    {
        m_glyphs.clear();
        m_dx = dx;
        m_dy = dy;
        m_size = size;
        m_lastX = 0;
        m_glyphs.push_back({bytes, width, 0});
    }

    // A glyph `dx` further along the line than the one before.
    void add(double dx, const std::string &bytes, double width)
    {
        m_lastX += dx;
        m_glyphs.push_back({bytes, width, m_lastX});
    }

    // Writes the run, its start `shift` further than the line's start;
    // returns how far the line's start then lags behind where the glyph by
    // glyph placing had left it.
    double close(std::string &out, double shift)
    {
        // A printer's columns are seldom the font's own advance: the
        // difference that most steps have is the character spacing of the
        // run, so that only gaps need a number.
        std::map<double, int> spacings;
        for (size_t i = 1; i < m_glyphs.size(); ++i)
            ++spacings[rounded(m_glyphs[i].x - m_glyphs[i - 1].x - m_glyphs[i - 1].width * m_size / 1000, 1e-6)];
        double spacing = 0;
        int most = 0;
        for (const auto &entry : spacings) {
            if (entry.second > most) {
                most = entry.second;
                spacing = entry.first;
            }
        }
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
        std::string array;
        std::string string = m_glyphs.front().bytes;
        bool numbers = false;
        double segmentX = 0; // where the last Td put the line's start
        auto endSegment = [&] {
            if (numbers) {
                out.push_back('[');
                out += array;
                appendLiteral(out, string);
                out.append("] TJ\n");
            } else {
                appendLiteral(out, string);
                out.append(" Tj\n");
            }
            array.clear();
            numbers = false;
        };
        for (size_t i = 1; i < m_glyphs.size(); ++i) {
            const double step = m_glyphs[i].x - m_glyphs[i - 1].x;
            const double lag = m_glyphs[i - 1].width * m_size / 1000 + spacing - step;
            const double adjust = lag * 1000 / m_size;
            if (std::abs(lag) < 1e-9) {
                string += m_glyphs[i].bytes;
            } else if (std::abs(adjust - rounded(adjust, 1e-6)) < 1e-9) {
                appendLiteral(array, string);
                array.push_back(' ');
                appendNumber(array, adjust);
                array.push_back(' ');
                string = m_glyphs[i].bytes;
                numbers = true;
            } else {
                endSegment();
                appendNumber(out, m_glyphs[i].x - segmentX);
                out.append(" 0 Td ");
                segmentX = m_glyphs[i].x;
                string = m_glyphs[i].bytes;
            }
        }
        endSegment();
        if (spacing != 0)
            out.append("0 Tc\n");
        m_glyphs.clear();
        return m_lastX - segmentX;
    }

private:
    struct Glyph
    {
        std::string bytes;
        double width = 0; // thousandths of the size
        double x = 0;     // from the run's first glyph
    };
    std::vector<Glyph> m_glyphs;
    double m_dx = 0, m_dy = 0, m_size = 0;
    double m_lastX = 0; // the last glyph's origin from the run's first one
};

bool setsSpacing(std::string_view content)
{
    for (std::string_view op : {" Tc\n", " Tz\n", " Tc ", " Tz "}) {
        if (content.find(op) != std::string_view::npos)
            return true;
    }
    return false;
}

} // namespace

namespace PdfTextRuns {

std::string merged(std::string_view content, const PageFontWidths &fonts)
{
    if (fonts.empty() || setsSpacing(content))
        return std::string(content);
    std::string out;
    out.reserve(content.size() / 3);
    const GlyphWidths *font = nullptr;
    double size = 0;
    Run run;
    double shift = 0; // how far the line's start lags behind the original's
    std::string bytes;
    bool placedAny = false;

    auto closeRun = [&] {
        if (!run.isOpen())
            return;
        shift = run.close(out, shift);
    };
    // What the line's start is owed goes out before any other operator
    // that might move from it (none at the end of the text object).
    auto settle = [&](std::string_view line) {
        closeRun();
        if (shift != 0 && line != "ET") {
            appendNumber(out, shift);
            out.append(" 0 Td\n");
        }
        shift = 0;
    };

    size_t at = 0;
    while (at < content.size()) {
        const size_t end = content.find('\n', at);
        const size_t stop = end == std::string_view::npos ? content.size() : end;
        const std::string_view line = content.substr(at, stop - at);
        const bool lineFeed = end != std::string_view::npos;
        at = stop + 1;

        const std::vector<std::string_view> list = words(line);
        double dx = 0, dy = 0;
        const bool glyph = font && size > 0 && list.size() == 5 && list[2] == "Td" && list[4] == "Tj"
            && number(list[0], &dx) && number(list[1], &dy) && hexBytes(list[3], &bytes);
        if (glyph) {
            double width = 0;
            for (size_t i = 0; i + 1 < bytes.size(); i += 2)
                width += font->of((unsigned(static_cast<unsigned char>(bytes[i])) << 8) | static_cast<unsigned char>(bytes[i + 1]));
            if (run.isOpen() && dy == 0) {
                run.add(dx, bytes, width);
            } else {
                closeRun();
                run.open(dx, dy, bytes, width, size);
            }
            placedAny = true;
            continue;
        }
        settle(line);
        for (size_t i = 0; i + 2 < list.size(); ++i) {
            if (list[i + 2] == "Tf" && !list[i].empty() && list[i].front() == '/') {
                const auto found = fonts.find(std::string(list[i]));
                font = found == fonts.end() ? nullptr : &found->second;
                if (!number(list[i + 1], &size))
                    font = nullptr;
            }
        }
        out.append(line);
        if (lineFeed)
            out.push_back('\n');
    }
    settle("ET");
    return placedAny ? out : std::string(content);
}

} // namespace PdfTextRuns
