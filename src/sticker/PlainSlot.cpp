#include "sticker/PlainSlot.h"

#include "platform/PlainFile.h"
#include "platform/PlainIni.h"
#include "sticker/FormatSlots.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <dirent.h>
#include <vector>

namespace PlainSlot {
namespace {

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
        if (PlainIni::lower(entry->d_name) == PlainIni::lower(name)) {
            found = folder + '/' + entry->d_name;
            ++count;
        }
    }
    ::closedir(dir);
    if (count > 1)
        return std::nullopt;
    return found;
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

std::vector<std::string> storedFiles(const Paths &paths, int slot)
{
    std::vector<std::string> files {paths.settingsFile};
    const std::optional<std::string> formats = findNoCase(paths.programFolder, "Format");
    if (formats && !formats->empty()) {
        for (const std::string &name : {std::string("Setting.txt"), std::to_string(slot) + ".txt"}) {
            const std::optional<std::string> file = findNoCase(*formats, name);
            if (file && !file->empty())
                files.push_back(*file);
        }
    }
    return files;
}

bool isStoredPlace(const Paths &paths, const std::string &path)
{
    const auto realFolderOf = [](const std::string &file) {
        const size_t slash = file.rfind('/');
        const std::string folder = slash == std::string::npos ? std::string(".") : file.substr(0, slash == 0 ? 1 : slash);
        char *real = ::realpath(folder.c_str(), nullptr);
        std::string resolved = real ? std::string(real) : std::string();
        std::free(real);
        return resolved;
    };
    const auto nameOf = [](const std::string &file) {
        const size_t slash = file.rfind('/');
        return slash == std::string::npos ? file : file.substr(slash + 1);
    };
    const std::string folder = realFolderOf(path);
    if (folder.empty())
        return false;
    if (folder == realFolderOf(paths.settingsFile) && nameOf(path) == nameOf(paths.settingsFile))
        return true;
    const std::optional<std::string> formats = findNoCase(paths.programFolder, "Format");
    if (!formats || formats->empty())
        return false;
    char *real = ::realpath(formats->c_str(), nullptr);
    const bool inFormats = real && folder == real;
    std::free(real);
    return inFormats; // (any file there: the quick sheet leaves the finer judgement to the full program)
}

std::optional<SheetGrid::Grid> read(const Paths &paths, int slot, const Overrides &overrides)
{
    if (slot < 0 || slot >= FormatSlots::Count)
        return std::nullopt;
    PlainIni::Section settings;
    if (!PlainIni::readSection(paths.settingsFile, "Sticker", &settings))
        return std::nullopt;
    const std::string prefix = std::to_string(slot) + ' ';
    bool plain = true;
    auto setting = [&](const char *suffix, std::string *field) {
        const auto found = settings.find(prefix + PlainIni::lower(suffix));
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
    std::array<PlainIni::Value, 8> lineSettings;
    for (int i = 0; i < 8; ++i) {
        const auto found = settings.find(prefix + std::to_string(i + 1));
        lineSettings[size_t(i)] = found == settings.end() ? PlainIni::Value { true, " " } : found->second;
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
        // (A file in UTF-8 begins with its byte-order mark, which is no
        // printable ASCII: its first line, printed first, sends the slot to
        // the full program.)
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
        if (!PlainIni::printable(text) || (!fromFile[source] && source < 8 && !lineSettings[source].plain))
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
