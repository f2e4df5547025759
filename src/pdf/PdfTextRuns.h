#pragma once

#include <map>
#include <string>
#include <string_view>
#include <unordered_map>

// The widths of a font's glyphs in thousandths of the text size, by the
// two-byte code a Type 0 font with the Identity-H encoding shows them by.
struct GlyphWidths
{
    double defaultWidth = 1000;
    std::unordered_map<unsigned, double> widths;

    double of(unsigned code) const
    {
        const auto found = widths.find(code);
        return found == widths.end() ? defaultWidth : found->second;
    }
};

// The fonts of a page by their resource names ("/F7").
using PageFontWidths = std::map<std::string, GlyphWidths>;

// Qt's PDF writer places every glyph with an operator pair of its own
// (`108 0 Td <0002> Tj`), about twenty bytes a character. This rewrites a
// content stream so that the glyphs one text object places along one line
// in one font are shown by one string (`[(..) -600 (..)] TJ`, a gap as the
// number between two strings), each glyph exactly where it was: the same
// page, about a fifth of the bytes, and a text that readers take as words.
namespace PdfTextRuns {

// The content stream rewritten; returned as it is when it sets the
// character spacing or the horizontal scaling (a TJ array's numbers would
// then move the glyphs) or places no glyph of a font in `fonts`.
std::string merged(std::string_view content, const PageFontWidths &fonts);

} // namespace PdfTextRuns
