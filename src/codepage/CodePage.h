#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// The single-byte code pages a print file may be read in, and the one the
// sticker texts are written in.
//
// Decoding keeps every position: each byte becomes exactly one UTF-16 unit,
// so offsets and columns in the decoded text are byte offsets. Bytes 0x00 to
// 0x7F always stay themselves (the markup looks for ESC, SI, SO, DC2, DC4 ...
// and the view shows the text around them), and every table is one-to-one,
// so encoding the decoded text gives back the very same bytes.
//
// Latin-1 is the bytes as they are. The PC and Windows tables come from
// glibc iconv (CP437, IBM850, IBM852, CP866, CP1252, and the printer's CP857,
// CP858, CP860, CP863 and CP865), built once per code
// page on first use; Kamenicky (KEYBCS2) has no converter there and is a
// table of its own here. A byte a table leaves undefined (Windows-1252 has
// five: 0x81, 0x8D, 0x8F, 0x90, 0x9D) decodes to the private-use character
// U+F700 + byte, which a font shows as its missing-glyph box and which
// encodes back to the byte.
namespace CodePage {

enum class Id {
    Latin1, Windows1252, Pc437, Pc850, Pc852, Kamenicky, Pc866,
    // Character tables a printer can be told to print with (ESC ( t), which
    // are not offered as a file's code page: table() and decode() know them.
    Pc857, Pc858, Pc860, Pc863, Pc865
};
// How many code pages there are: a table indexed by Id has this many rows.
constexpr int Count = int(Id::Pc866) + 1;
// With the printer's tables.
constexpr int TableCount = int(Id::Pc865) + 1;

// Every code page, in the order a drop-down lists them (Latin-1 first).
QList<Id> all();

// The command-line and settings name: "latin1", "cp1252", "cp437", "cp850",
// "cp852", "kamenicky", "cp866".
QString name(Id id);
// The names of all(), joined by ", " (for a usage or an error text).
QString names();
// The code page of a name, letter case ignored; nothing for an unknown one.
std::optional<Id> fromName(QStringView name);
// What a drop-down shows: "Latin-1 (as is)", "Windows-1252",
// "PC437 (US, box drawing)", "PC850 (Western Europe)", "PC852 (Central
// Europe)", "Kamenicky (Czech and Slovak)", "PC866 (Cyrillic)", in the user's
// language.
QString label(Id id);

// Whether the table could be built. False (with the reason) only when the
// system's converter lacks the code page; the table then decodes every byte
// from 0x80 up to its placeholder.
bool available(Id id, QString *error = nullptr);

// The 256 characters the bytes decode to, indexed by byte.
const char16_t *table(Id id);
inline QChar decodeByte(Id id, uchar byte)
{
    return QChar(table(id)[byte]);
}

// The text of `bytes`, one character per byte.
QString decode(Id id, QByteArrayView bytes);
// The same into `out`, reusing its buffer (for whole print files and pages).
void decodeInto(Id id, QByteArrayView bytes, QString &out);

// The bytes of `text`, one per character. Fails, leaving `bytes` empty, at
// the first character the code page has no byte for; `missing` then holds
// that character (both halves of a surrogate pair). Nothing is ever replaced.
bool encode(Id id, QStringView text, QByteArray *bytes, QString *missing = nullptr);

// A character for a message: "Ł" (U+0141).
QString describe(const QString &character);

} // namespace CodePage
