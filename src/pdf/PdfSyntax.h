#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One PDF object as written (a dictionary, an array, a name, a string, a
// number or keyword, a reference), read from its text and written again,
// with its references renumbered on the way. Numbers and strings keep the
// text they were written with, so what is not changed goes out as it came.
struct PdfValue
{
    enum Kind { Token, Name, String, Array, Dictionary, Reference };
    Kind kind = Token;
    std::string text; // a token, a name with its slash, a string with its delimiters
    int number = 0; // a reference's object and generation
    int generation = 0;
    std::vector<PdfValue> items; // an array's
    std::vector<std::pair<std::string, PdfValue>> entries; // a dictionary's, in their order

    // A dictionary's value for `key` ("/Type"), or null.
    const PdfValue *find(std::string_view key) const;
    PdfValue *find(std::string_view key);
    bool isName(std::string_view name) const { return kind == Name && text == name; }
    // The whole number a token holds; false when it holds another.
    bool integer(long long *value) const;
    // Each reference in the value, in the order written.
    void references(const std::function<void(const PdfValue &)> &visit) const;
};

namespace PdfSyntax {

// Reads the value at `at` in `text` and moves `at` past it; throws
// std::runtime_error when the text is not a PDF value.
PdfValue read(std::string_view text, size_t *at);

// Moves `at` past white space and comments.
void skipSpace(std::string_view text, size_t *at);

// The value as PDF text, each reference numbered by `renumber` (given the
// old number, the new one).
void write(const PdfValue &value, const std::function<int(int)> &renumber, std::string *out);

} // namespace PdfSyntax
