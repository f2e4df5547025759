#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The widths of a font's glyphs in thousandths of the text size, by the
// two-byte code a Type 0 font with the Identity-H encoding shows them by.
struct GlyphWidths
{
    double defaultWidth = 1000;
    std::vector<double> widths; // by code; codes past its end have the default

    void set(unsigned code, double width)
    {
        if (code >= 0x10000)
            return;
        if (code >= widths.size())
            widths.resize(code + 1, defaultWidth);
        widths[code] = width;
    }
    double of(unsigned code) const { return code < widths.size() ? widths[code] : defaultWidth; }
};

// One entry of a CID font's /W array, as its reader found it.
struct WidthEntry
{
    enum Kind { Number, List, Other } kind = Other; // a list of numbers only; anything else is Other
    double number = 0;
    std::vector<double> list;
};

// The widths a CID font's /DW (`defaultWidth`) and /W give: codes from 0 to
// 0xFFFF, each entry `first [w w ...]` or `first last w`; nothing when an
// entry is of neither shape (the font's glyphs are then left as they are).
// The one reading of /W for both PDF passes.
std::optional<GlyphWidths> glyphWidthsOf(double defaultWidth, const std::vector<WidthEntry> &w);

// The fonts of a page by their resource names ("/F7").
using PageFontWidths = std::map<std::string, GlyphWidths, std::less<>>;

// Qt's PDF writer places every glyph with an operator pair of its own
// (`108 0 Td <0002> Tj`), about twenty bytes a character. This rewrites a
// content stream so that the glyphs one text object places along one line
// in one font are shown by one string: the step most of them take is the
// run's character spacing (Tc), a gap is a number in a TJ array where that
// number is exact, else a Td. Each glyph stays exactly where it was: the
// same page, a quarter of the bytes, and a text that readers take as words.
namespace PdfTextRuns {

// The content stream rewritten; returned as it is when it sets the
// character spacing or the horizontal scaling itself, holds an inline
// image, or places no glyph of a font in `fonts`.
std::string merged(std::string_view content, const PageFontWidths &fonts);

} // namespace PdfTextRuns
