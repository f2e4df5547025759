#pragma once

#include "sticker/StickerInput.h"

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

// The character-mode sticker sheet: the same stickers in a grid, written as a
// print file (in the printer's code page, Windows-1252 by default; CR LF) with the condensed sequences around a condensed
// run and one form feed at the end. The file is streamed (through
// SheetGrid, in chunks of a megabyte); at most one page of it is held.
class CharSheetWriter
{
public:
    // Told how far a sheet has got, a megabyte at a time: the bytes written
    // and the most it can take (0 when unknown: a sheet of data). Returns
    // false to stop it.
    using Progress = std::function<bool(qint64 written, qint64 largest)>;

    // What a character-mode run hands back to the form.
    struct Result
    {
        bool ok = false;
        bool stopped = false; // by the progress: no file, no message
        QString error;    // the message for the user when !ok and !stopped
        QString pageCount;  // the "Page" field's text after the run ("1" when it was 0 or empty)
        QString fileName; // the print file written
    };

    // Checks the entries a character-mode sheet cannot be made from, among
    // them a printed line holding a character the sheet's code page has no byte for.
    // Returns the message for the user, or an empty text when the input is usable.
    static QString validate(const StickerInput &input);

    // Writes the sheet of `pages` pages to `device`. Returns false with an
    // error text when a line has no bytes in the sheet's code page (nothing is written
    // then) or the device refuses the bytes, and with an empty one when
    // `progress` stopped it.
    static bool write(const StickerWorkingValues &values, bool condensed, QIODevice *device, QString *error,
        const Progress &progress = {});

    // The whole character-mode run behind a print button: checks the input,
    // takes the next temporary print file name after `lastTempNumber` (the
    // caller's numbering, updated) and writes the sheet into it. Nothing is
    // written when the input is refused, and a sheet that cannot be written
    // leaves no file, not even the reserved empty one. The caller updates the
    // "Page" field from the result and, on success, opens a report view on
    // the result's file.
    static Result run(const StickerInput &input, QString &lastTempNumber, const Progress &progress = {});

    // The most bytes the sheet of `values` (without data) can take; a run
    // refuses a sheet larger than the free space of its print file's disk.
    static long double largestSize(const StickerWorkingValues &values);
};
