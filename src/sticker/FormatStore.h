#pragma once

#include "sticker/FormatSlots.h"
#include "sticker/StickerInput.h"

#include <QString>
#include <QStringList>

// The eight format slots: where each slot's values are kept (the settings
// store, section "Sticker", and the slot's file in the Format folder), the
// shared Windows-mode settings file, and the order of loading and saving.
// Slot numbers run 0 to 7; the form's buttons show them as captions.
class FormatStore
{
public:
    static constexpr int SlotCount = FormatSlots::Count;

    // Caption of the slot's button: slot 0 is "6", 1 to 5 are "1" to "5",
    // 6 is "7" and 7 is "8".
    static QString slotCaption(int slot);

    // The settings key of a slot: the slot number and a suffix that begins
    // with a space (" Space", " Col", ..., " 1" ... " 8"; and, for the
    // values no format file holds, " Digits", " StartAt", " Barcode",
    // " DataFile", " CodePage").
    static QString settingsKey(int slot, const QString &suffix);

    // The slot's file ("k.txt") and the settings file, found in the Format
    // folder whatever their letter case.
    static QString slotFilePath(int slot);
    static QString settingFilePath();
    // Every file a slot's sheet is read from: the slot's file, Setting.txt
    // and the settings file (an output must never be one of them).
    static QStringList storedFiles(int slot);
    // Whether `path` is where a stored file is kept, there or not yet: any
    // slot's file or Setting.txt in the Format folder, or the settings file
    // (a sheet written there would break that slot, or every one).
    static bool isStoredPlace(const QString &path);
    // Which of them is there but cannot be read (its name and the cause), or
    // empty: a missing file reads as empty, one that cannot be read would
    // make a sheet of defaults without a word. Setting.txt only counts for
    // the window (desktop font) sheet, the one that reads it.
    static QString unreadableFile(int slot, bool windowSheet);

    // Selecting a slot: its keys from the settings store (defaults for the
    // missing ones), then its format file over them (a missing file counts
    // as an empty one).
    static void loadSlot(int slot, StickerInput &input);
    static void loadSlotSettings(int slot, StickerInput &input);
    // Reads the slot's format file; false (and nothing changed) when there is none.
    static bool LoadFormat(int slot, StickerInput &input);

    // Reads Format/Setting.txt into the Windows-mode fields; false (and
    // nothing changed) when it cannot be read.
    static bool LoadWindowSettings(StickerInput &input);

    // Saves the slot to the settings store and its format file, and the
    // Windows-mode fields to Format/Setting.txt: all three or none. Returns
    // false with the message for the user, naming the file, when the
    // settings store or a file cannot be written; everything is then as it
    // was before.
    static bool save(int slot, const StickerInput &input, QString *error);
};
