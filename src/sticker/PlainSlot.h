#pragma once

#include "sticker/SheetGrid.h"

#include <optional>
#include <string>
#include <vector>

// A stored format slot read in plain C++ (no Qt) into its character-mode
// grid, for the launcher's quick `stickers` run. It reads the slot where
// FormatStore keeps it (the settings file's "Sticker" section, then the
// slot's file in the Format folder over it) and works out the grid as
// computeWorkingValues and CharSheetWriter do, but only for the plain case:
// whole numbers in their ranges, printable ASCII in the printed lines, no
// data file, settings values QSettings reads as they stand. For anything
// else it gives nothing, and the full program reads the slot; that gives
// the same sheet or the message for the user.
namespace PlainSlot {

// Where the slot lives, as Qt's standard paths find it (XDG_CONFIG_HOME,
// XDG_DATA_HOME, else the home folder); empty when unsure.
struct Paths
{
    std::string settingsFile;  // .../Sticker2.ini
    std::string programFolder; // .../Sticker2 (holds Format/)
};
std::optional<Paths> pathsFromEnvironment();

// Options given on the command line; a negative value: the slot's own.
struct Overrides
{
    long long pages = -1;
    int digits = -1;
};

std::optional<SheetGrid::Grid> read(const Paths &paths, int slot, const Overrides &overrides);

// The files a slot's sheet is read from, as far as they are found: the
// settings file, Setting.txt and the slot's file.
std::vector<std::string> storedFiles(const Paths &paths, int slot);

// Whether `path` lies in the Format folder or is the settings file, there
// or not yet (by the real path of its folder).
bool isStoredPlace(const Paths &paths, const std::string &path);

// A slot file's lines, as every reading of a slot takes them: each ends in
// CR LF, CR or LF; an empty text after the last line end is no line.
std::vector<std::string> fileLines(const std::string &bytes);

// A whole number of at most nine plain digits; nothing for any other text.
std::optional<long long> plainNumber(const std::string &text);

} // namespace PlainSlot
