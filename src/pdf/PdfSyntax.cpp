#include "pdf/PdfSyntax.h"

#include <stdexcept>

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool isDelimiter(char c)
{
    return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' || c == '}'
        || c == '/' || c == '%';
}

[[noreturn]] void malformed()
{
    throw std::runtime_error("the PDF's object syntax is not as expected");
}

// A name or a keyword: up to the next space or delimiter.
std::string_view regular(std::string_view text, size_t *at)
{
    const size_t start = *at;
    while (*at < text.size() && !isSpace(text[*at]) && !isDelimiter(text[*at]))
        ++*at;
    return text.substr(start, *at - start);
}

bool wholeNumber(std::string_view token)
{
    if (token.empty() || token.size() > 10)
        return false;
    for (char c : token) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

} // namespace

const PdfValue *PdfValue::find(std::string_view key) const
{
    for (const auto &entry : entries) {
        if (entry.first == key)
            return &entry.second;
    }
    return nullptr;
}

PdfValue *PdfValue::find(std::string_view key)
{
    return const_cast<PdfValue *>(static_cast<const PdfValue *>(this)->find(key));
}

bool PdfValue::integer(long long *value) const
{
    if (kind != Token || text.empty() || text.size() > 15)
        return false;
    long long result = 0;
    size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        result = result * 10 + (text[i] - '0');
    }
    *value = text[0] == '-' ? -result : result;
    return true;
}

void PdfValue::references(const std::function<void(const PdfValue &)> &visit) const
{
    if (kind == Reference)
        visit(*this);
    for (const PdfValue &item : items)
        item.references(visit);
    for (const auto &entry : entries)
        entry.second.references(visit);
}

namespace PdfSyntax {

void skipSpace(std::string_view text, size_t *at)
{
    while (*at < text.size()) {
        if (isSpace(text[*at])) {
            ++*at;
        } else if (text[*at] == '%') {
            while (*at < text.size() && text[*at] != '\n' && text[*at] != '\r')
                ++*at;
        } else {
            return;
        }
    }
}

PdfValue read(std::string_view text, size_t *at)
{
    skipSpace(text, at);
    if (*at >= text.size())
        malformed();
    PdfValue value;
    const size_t start = *at;
    const char c = text[*at];
    if (c == '/') {
        ++*at;
        regular(text, at);
        value.kind = PdfValue::Name;
        value.text.assign(text.substr(start, *at - start));
    } else if (c == '(') {
        int depth = 0;
        for (; *at < text.size(); ++*at) {
            if (text[*at] == '\\')
                ++*at;
            else if (text[*at] == '(')
                ++depth;
            else if (text[*at] == ')' && --depth == 0)
                break;
        }
        if (*at >= text.size())
            malformed();
        ++*at;
        value.kind = PdfValue::String;
        value.text.assign(text.substr(start, *at - start));
    } else if (c == '<' && *at + 1 < text.size() && text[*at + 1] == '<') {
        *at += 2;
        value.kind = PdfValue::Dictionary;
        for (;;) {
            skipSpace(text, at);
            if (text.substr(*at, 2) == ">>") {
                *at += 2;
                break;
            }
            PdfValue key = read(text, at);
            if (key.kind != PdfValue::Name)
                malformed();
            value.entries.emplace_back(std::move(key.text), read(text, at));
        }
    } else if (c == '<') {
        const size_t end = text.find('>', *at);
        if (end == std::string_view::npos)
            malformed();
        *at = end + 1;
        value.kind = PdfValue::String;
        value.text.assign(text.substr(start, *at - start));
    } else if (c == '[') {
        ++*at;
        value.kind = PdfValue::Array;
        for (;;) {
            skipSpace(text, at);
            if (*at < text.size() && text[*at] == ']') {
                ++*at;
                break;
            }
            value.items.push_back(read(text, at));
        }
    } else {
        const std::string_view token = regular(text, at);
        if (token.empty())
            malformed();
        value.text.assign(token);
        // "12 0 R": a reference, else the number alone.
        if (wholeNumber(token)) {
            size_t next = *at;
            skipSpace(text, &next);
            const std::string_view generation = regular(text, &next);
            skipSpace(text, &next);
            if (wholeNumber(generation) && regular(text, &next) == "R") {
                value.kind = PdfValue::Reference;
                value.number = std::stoi(value.text);
                value.generation = std::stoi(std::string(generation));
                value.text.clear();
                *at = next;
            }
        }
    }
    return value;
}

void write(const PdfValue &value, const std::function<int(int)> &renumber, std::string *out)
{
    switch (value.kind) {
    case PdfValue::Token:
    case PdfValue::Name:
    case PdfValue::String:
        out->append(value.text);
        break;
    case PdfValue::Reference:
        out->append(std::to_string(renumber(value.number)));
        out->append(" 0 R");
        break;
    case PdfValue::Array:
        out->append("[");
        for (const PdfValue &item : value.items) {
            out->push_back(' ');
            write(item, renumber, out);
        }
        out->append(" ]");
        break;
    case PdfValue::Dictionary:
        out->append("<<");
        for (const auto &entry : value.entries) {
            out->push_back(' ');
            out->append(entry.first);
            out->push_back(' ');
            write(entry.second, renumber, out);
        }
        out->append(" >>");
        break;
    }
}

} // namespace PdfSyntax
