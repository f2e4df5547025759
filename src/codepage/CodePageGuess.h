#pragma once

#include "codepage/CodePage.h"

#include <QByteArrayView>
#include <QStringView>

#include <optional>

// Which code page a print file was written in, judged from its bytes above
// 127: runs of box drawing, and national letters that sit inside words with
// the letter case of their neighbours. The DOS code pages put box drawing and
// letters at different bytes, so each reading of the bytes gets a score and
// the most plausible one wins. Bytes inside printer commands (parameters and
// picture data) are not text and are passed over.
namespace CodePage {

// The most plausible code page; nothing when the bytes hold no byte above 127
// outside printer commands (every code page reads them alike). Ties go to the
// earlier of all(), Latin-1 first, so text that reads as well in Latin-1 stays
// as it is. Reads at most the first few megabytes.
std::optional<Id> guess(QByteArrayView bytes);

// Whether the code page is one of the DOS (PC) ones, with box drawing.
bool isDos(Id id);

// A code page as a user names it: one of the names, or "auto" for the guess.
struct Choice
{
    bool automatic = false;
    Id id = Id::Latin1; // when not automatic

    // The code page to read `bytes` in: the named one, or the guess
    // (Latin-1, the bytes as they are, when there is nothing to guess from).
    Id resolve(QByteArrayView bytes) const;
};
std::optional<Choice> choiceFromName(QStringView name);

} // namespace CodePage
