#pragma once

#include <map>
#include <string>

// One section of a settings file in QSettings' INI format, read in plain C++
// (no Qt) for the values it can be sure of. A value is plain when QSettings
// would read it as it stands: printable ASCII without the characters the
// format gives a meaning (quotes, backslashes, commas, a semicolon, a leading
// @), or one quoted whole. Anything else is kept, marked not plain, for the
// caller to leave to QSettings.
namespace PlainIni {

struct Value
{
    bool plain = false;
    std::string text;
};
using Section = std::map<std::string, Value>; // keys with their %XX undone, in lower case

// The keys of section `name` (its letter case as written); a missing file
// has none. False when the file holds what only QSettings can read for sure:
// a byte-order mark, a key with %U escapes, a key twice, a value going on on
// the next line, a header or key that may name the section another way.
bool readSection(const std::string &path, const std::string &name, Section *section);

// ASCII letters in lower case; other bytes as they are.
std::string lower(std::string text);
// Only printable ASCII (space to ~).
bool printable(const std::string &text);

} // namespace PlainIni
