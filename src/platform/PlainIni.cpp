#include "platform/PlainIni.h"

#include "platform/PlainFile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>

namespace PlainIni {
namespace {

std::string trimBlanks(const std::string &text)
{
    size_t b = 0;
    size_t e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t'))
        ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t'))
        --e;
    return text.substr(b, e - b);
}

// A key with its %XX escapes undone; nothing for %U escapes or a stray %.
std::optional<std::string> decodedKey(const std::string &key)
{
    std::string out;
    for (size_t i = 0; i < key.size(); ++i) {
        if (key[i] != '%') {
            out += key[i];
            continue;
        }
        if (i + 2 >= key.size() || !std::isxdigit((unsigned char)key[i + 1]) || !std::isxdigit((unsigned char)key[i + 2]))
            return std::nullopt;
        out += char(std::strtol(key.substr(i + 1, 2).c_str(), nullptr, 16));
        i += 2;
    }
    return out;
}

Value valueOf(const std::string &raw)
{
    Value v;
    if (!printable(raw))
        return v;
    if (!raw.empty() && raw.front() == '"') {
        const std::string inner = raw.size() >= 2 && raw.back() == '"' ? raw.substr(1, raw.size() - 2) : std::string("\"");
        v.plain = inner.find_first_of("\"\\") == std::string::npos;
        v.text = inner;
        return v;
    }
    v.plain = raw.find_first_of("\"\\,;") == std::string::npos && (raw.empty() || raw.front() != '@');
    v.text = raw;
    return v;
}

} // namespace

std::string lower(std::string text)
{
    for (char &c : text)
        c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

bool printable(const std::string &text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7e; });
}

bool readSection(const std::string &path, const std::string &name, Section *section)
{
    const std::string header = "[" + name + "]";
    const std::string group = lower(name);
    std::string bytes;
    bool missing = false;
    if (!readWhole(path, &bytes, &missing))
        return missing;
    if (bytes.compare(0, 3, "\xef\xbb\xbf") == 0)
        return false;
    bool inSection = false;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", at);
        if (end == std::string::npos)
            end = bytes.size();
        const std::string line = trimBlanks(bytes.substr(at, end - at));
        at = end + 1;
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            inSection = line == header;
            if (!inSection && lower(line).find(group) != std::string::npos)
                return false; // a header QSettings may read as the section
            continue;
        }
        if (inSection && line.back() == '\\')
            return false; // a value that goes on on the next line
        const size_t equals = line.find('=');
        const std::optional<std::string> key = decodedKey(trimBlanks(line.substr(0, equals)));
        if (!key || line.front() == '#')
            return false;
        const std::string keyName = lower(*key);
        if (keyName.compare(0, group.size() + 1, group + "/") == 0)
            return false; // the section's keys written another way
        if (!inSection)
            continue;
        if (equals == std::string::npos || section->count(keyName))
            return false; // a line QSettings reads its own way, or one key twice
        (*section)[keyName] = valueOf(trimBlanks(line.substr(equals + 1)));
    }
    return true;
}

} // namespace PlainIni
