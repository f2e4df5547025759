#pragma once

#include <QString>

#include <functional>
#include <string_view>

class QIODevice;
struct PdfDocumentInfo;

// The finishing pass over a PDF as Qt's writer makes it, an object at a
// time from its cross-reference table, holding no more than one page's
// content at once: the objects renumbered in the order they are reached
// from the catalog (Qt numbers its fonts' objects in the order of a hash
// table), font subsets named after their font data, each page's text runs
// merged (PdfTextRuns), the information set, a /ID from the content.
// What it does not change (images, font programs) goes out byte for byte.
namespace PdfRewriter {

enum class Outcome {
    Written,
    Failed, // the output failed (the cause in the error)
    NotQtsShape, // the PDF is not laid out as Qt writes one: nothing was written
};

// `readDone`, when given, is called now and then as the output grows: the
// bytes of `pdf` read so far may be let go (a map's pages handed back), as
// they are read again when needed.
Outcome write(std::string_view pdf, const PdfDocumentInfo &info, QIODevice &out, QString *error,
    const std::function<void()> &readDone = {});

} // namespace PdfRewriter
