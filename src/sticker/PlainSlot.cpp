#include "sticker/PlainSlot.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace PlainSlot {
namespace {

// A settings value as QSettings would read it, when that is certain: a
// text of printable ASCII without the characters its INI format gives a
// meaning (quotes, backslashes, commas, a leading @), or one quoted whole.
struct Value
{
    bool plain = false;
    std::string text;
};
using Section = std::map<std::string, Value>; // keys in lower case

std::string lower(std::string text)
{
    for (char &c : text)
        c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

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

bool printable(const std::string &text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7e; });
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

bool readWhole(const std::string &path, std::string *bytes, bool *missing)
{
    *missing = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *missing = errno == ENOENT;
        return false;
    }
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    char buffer[16384];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        bytes->append(buffer, size_t(n));
    }
    ::close(fd);
    return ok;
}

// The "Sticker" section's keys of the settings file; a missing file has
// none. False when the file holds what only QSettings can read for sure.
bool readSettings(const std::string &path, Section *section)
{
    std::string bytes;
    bool missing = false;
    if (!readWhole(path, &bytes, &missing))
        return missing;
    if (bytes.compare(0, 3, "\xef\xbb\xbf") == 0)
        return false;
    bool inSticker = false;
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
            inSticker = line == "[Sticker]";
            if (!inSticker && lower(line).find("sticker") != std::string::npos)
                return false; // a header QSettings may read as the section
            continue;
        }
        if (inSticker && line.back() == '\\')
            return false; // a value that goes on on the next line
        const size_t equals = line.find('=');
        const std::optional<std::string> key = decodedKey(trimBlanks(line.substr(0, equals)));
        if (!key || line.front() == '#')
            return false;
        const std::string name = lower(*key);
        if (name.compare(0, 8, "sticker/") == 0)
            return false; // the section's keys written another way
        if (!inSticker)
            continue;
        if (equals == std::string::npos || section->count(name))
            return false; // a line QSettings reads its own way, or one key twice
        (*section)[name] = valueOf(trimBlanks(line.substr(equals + 1)));
    }
    return true;
}

// The entry of `folder` named `name` whatever its letter case; empty when
// there is none, nothing when there are two.
std::optional<std::string> findNoCase(const std::string &folder, const std::string &name)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return std::string();
    std::string found;
    int count = 0;
    while (const dirent *entry = ::readdir(dir)) {
        if (lower(entry->d_name) == lower(name)) {
            found = folder + '/' + entry->d_name;
            ++count;
        }
    }
    ::closedir(dir);
    if (count > 1)
        return std::nullopt;
    return found;
}

std::vector<std::string> fileLines(const std::string &bytes)
{
    std::vector<std::string> lines;
    size_t at = 0;
    while (true) {
        const size_t end = bytes.find_first_of("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(at));
            break;
        }
        lines.push_back(bytes.substr(at, end - at));
        at = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
    }
    if (lines.back().empty())
        lines.pop_back();
    return lines;
}

// The slot's values as the sticker form holds them.
struct Slot
{
    std::array<std::string, 10> lineTexts;
    std::string space = "3", cols = "6", rows = "12", blank = "3", width = "4";
    std::string printStyle = "0", maxFieldSetting = "1", digits = "0";
    std::optional<std::string> maxFieldLine; // line 11 of the slot's file
};

std::string padRight(const std::string &text, long long width)
{
    if (width <= 0)
        return std::string();
    std::string s(SheetGrid::trimSpaces(text));
    s.resize(size_t(width), ' ');
    return s;
}

} // namespace

std::optional<long long> plainNumber(const std::string &text)
{
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::atoll(text.c_str());
}

std::optional<Paths> pathsFromEnvironment()
{
    // Qt takes a path as given, or cleans it ("a/../b" is "b" even where a
    // is a link): only an absolute path without . or .. is certain.
    auto certain = [](const char *path) {
        if (!path || path[0] != '/')
            return false;
        const std::string text = std::string(path) + '/';
        return text.find("/./") == std::string::npos && text.find("/../") == std::string::npos;
    };
    auto folder = [&certain](const char *variable, const char *underHome) -> std::optional<std::string> {
        const char *value = std::getenv(variable);
        if (value && *value)
            return certain(value) ? std::optional<std::string>(value) : std::nullopt;
        const char *home = std::getenv("HOME");
        if (!certain(home))
            return std::nullopt;
        return std::string(home) + underHome;
    };
    const std::optional<std::string> config = folder("XDG_CONFIG_HOME", "/.config");
    const std::optional<std::string> data = folder("XDG_DATA_HOME", "/.local/share");
    if (!config || !data)
        return std::nullopt;
    return Paths { *config + "/Sticker2.ini", *data + "/Sticker2" };
}

std::optional<SheetGrid::Grid> read(const Paths &paths, int slot, const Overrides &overrides)
{
    if (slot < 0 || slot > 7)
        return std::nullopt;
    Section settings;
    if (!readSettings(paths.settingsFile, &settings))
        return std::nullopt;
    const std::string prefix = std::to_string(slot) + ' ';
    bool plain = true;
    auto setting = [&](const char *suffix, std::string *field) {
        const auto found = settings.find(prefix + lower(suffix));
        if (found == settings.end())
            return;
        plain = plain && found->second.plain;
        *field = found->second.text;
    };
    Slot s;
    setting("Space", &s.space);
    setting("Col", &s.cols);
    setting("Row", &s.rows);
    setting("Blankline", &s.blank);
    setting("MaxFL", &s.width);
    setting("PrintStyle", &s.printStyle);
    setting("Maxf", &s.maxFieldSetting);
    setting("Digits", &s.digits);
    std::string dataFile;
    setting("DataFile", &dataFile);
    if (!plain || !dataFile.empty())
        return std::nullopt;
    // The printed lines are checked once the file has had its say: a
    // setting the file replaces may hold anything.
    std::array<Value, 8> lineSettings;
    for (int i = 0; i < 8; ++i) {
        const auto found = settings.find(prefix + std::to_string(i + 1));
        lineSettings[size_t(i)] = found == settings.end() ? Value { true, " " } : found->second;
    }

    // The Format folder, its settings file (which the full program would
    // make on its first run) and the slot's file over the settings.
    const std::optional<std::string> formats = findNoCase(paths.programFolder, "Format");
    if (!formats || formats->empty())
        return std::nullopt;
    const std::optional<std::string> settingFile = findNoCase(*formats, "Setting.txt");
    const std::optional<std::string> slotFile = findNoCase(*formats, std::to_string(slot) + ".txt");
    if (!settingFile || settingFile->empty() || !slotFile)
        return std::nullopt;
    std::vector<std::string> lines;
    if (!slotFile->empty()) {
        std::string bytes;
        bool missing = false;
        if (readWhole(*slotFile, &bytes, &missing))
            lines = fileLines(bytes);
        else if (!missing)
            return std::nullopt;
    }
    const size_t count = std::min<size_t>(lines.size(), 21);
    std::array<bool, 10> fromFile {};
    for (size_t i = 0; i < 10; ++i) {
        fromFile[i] = i < count;
        if (i < count)
            s.lineTexts[i] = lines[i];
        else if (i < 8)
            s.lineTexts[i] = lineSettings[i].text;
    }
    if (count >= 11)
        s.maxFieldLine = lines[10];
    std::string *const grid[4] = { &s.space, &s.cols, &s.rows, &s.width };
    for (size_t i = 0; i < 4; ++i) {
        if (count >= 12 + i)
            *grid[i] = lines[11 + i];
    }

    // Whole numbers only, each within the range the full program accepts;
    // anything else there gets the full program's message.
    const auto space = plainNumber(s.space), cols = plainNumber(s.cols), rows = plainNumber(s.rows),
               blank = plainNumber(s.blank), width = plainNumber(s.width), style = plainNumber(s.printStyle),
               maxSetting = plainNumber(s.maxFieldSetting), digitsSetting = plainNumber(s.digits);
    if (!space || !cols || !rows || !blank || !width || !style || !maxSetting || !digitsSetting)
        return std::nullopt;
    long long maxField = *maxSetting <= 255 ? *maxSetting : 1;
    if (s.maxFieldLine) {
        const auto fileValue = plainNumber(*s.maxFieldLine);
        if (!fileValue)
            return std::nullopt;
        if (*fileValue <= 255)
            maxField = *fileValue;
    }
    const long long digits = overrides.digits >= 0 ? overrides.digits : (*digitsSetting <= 20 ? *digitsSetting : 0);
    const long long pages = overrides.pages >= 0 ? overrides.pages : 1;
    if (*space > 32767 || *cols > 255 || *rows > 32767 || *width > 32767 || *blank > 32767 || maxField > 7
        || digits > 20 || pages < 1)
        return std::nullopt;

    SheetGrid::Grid result;
    result.lines = int(maxField);
    static const int lineSources[8] = { -1, 0, 1, 2, 3, 4, 8, 9 };
    for (int x = 1; x <= result.lines; ++x) {
        const size_t source = size_t(lineSources[x]);
        const std::string &text = s.lineTexts[source];
        if (!printable(text) || (!fromFile[source] && source < 8 && !lineSettings[source].plain))
            return std::nullopt;
        result.line[x] = padRight(text, *width);
    }
    result.gap.assign(size_t(*space), ' ');
    result.width = int(*width);
    result.cols = int(*cols);
    result.rows = int(*rows);
    result.digits = int(digits);
    result.pages = pages;
    for (long long i = 0; i < *blank; ++i)
        result.blankLines += "\r\n";
    result.condensed = *style == 1;
    return result;
}

} // namespace PlainSlot
