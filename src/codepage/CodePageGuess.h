#pragma once

#include "codepage/CodePage.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// Which code page a print file was written in, judged from its bytes above
// 127: runs of box drawing, and national letters that sit inside words with
// the letter case of their neighbours. The DOS code pages put box drawing and
// letters at different bytes, so each reading of the bytes gets a score and
// the most plausible one wins. Bytes inside printer commands (parameters and
// picture data) are not text and are passed over.
namespace CodePage {

// The bytes the guess reads at most: the first 4 MB, many pages of any
// report. Every guess, whoever asks, judges these bytes and no others.
constexpr qsizetype GuessReads = 4 << 20;

// The most plausible code page; nothing when the bytes hold no byte above 127
// outside printer commands (every code page reads them alike). Ties go to the
// earlier of all(), Latin-1 first, so text that reads as well in Latin-1 stays
// as it is. Reads at most the first GuessReads bytes.
std::optional<Id> guess(QByteArrayView bytes);

// The head of the file at `path` that guess() reads: its first GuessReads
// bytes; empty when it cannot be read.
QByteArray guessHead(const QString &path);

// The code page "auto" takes when nothing can be guessed (no byte above 127
// outside printer commands, or nothing could be read): Latin-1, the bytes as
// they are, which reads such a file as every code page would. The command
// line's `--codepage auto` and a rule's `codepage = auto` (or the rules'
// own --codepage auto) resolve through Choice and take it. The report view
// does not: there the guess only replaces the code page the view has, and
// where nothing can be guessed the view keeps the one the user chose.
constexpr Id Unguessed = Id::Latin1;

// Whether the code page is one of the DOS (PC) ones, with box drawing.
bool isDos(Id id);

// A code page as a user names it: one of the names, or "auto" for the guess.
struct Choice
{
    bool automatic = false;
    Id id = Unguessed; // when not automatic

    // The code page to read `bytes` in: the named one, or the guess
    // (Unguessed when there is nothing to guess from).
    Id resolve(QByteArrayView bytes) const;
    // The same for the file at `path`, whose head (guessHead) is read only
    // for the guess.
    Id resolveFile(const QString &path) const;
};
std::optional<Choice> choiceFromName(QStringView name);

} // namespace CodePage
