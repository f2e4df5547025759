#pragma once

#include <QByteArrayView>
#include <QString>

// The ESC/P language (9-pin, 24-pin and ESC/P2) as the printer reads it: the
// control characters, the length of every command with its parameters, and
// the printer sequences the program itself writes. Constants only.
namespace Escp {

// Control characters.
constexpr uchar NUL = 0x00, BEL = 0x07, BS = 0x08, HT = 0x09, LF = 0x0A, VT = 0x0B, FF = 0x0C,
                CR = 0x0D, SO = 0x0E, SI = 0x0F, DC1 = 0x11, DC2 = 0x12, DC3 = 0x13, DC4 = 0x14,
                CAN = 0x18, ESC = 0x1B, DEL = 0x7F;

// A byte the printer takes as a control character, not as a character to print.
constexpr bool isControl(uchar c) { return c < 0x20 || c == DEL; }

// A 16-bit parameter as the printer reads it: the low byte first (nL nH).
constexpr qsizetype word(const uchar *p) { return p[0] + 256 * qsizetype(p[1]); }

// The printer sequences the markup of the report view, the web page, raw
// printing and the sticker sheet use, one open/close pair per markup tag.
inline constexpr QByteArrayView BoldOn{"\x1b" "E"};                       // emphasized
inline constexpr QByteArrayView BoldOff{"\x1b" "F"};
inline constexpr QByteArrayView BBoldOn{"\x0e\x1b" "E" "\x1b" "G"};       // double width, emphasized, double strike
inline constexpr QByteArrayView BBoldOff{"\x14\x1b" "F" "\x1b" "H"};
inline constexpr QByteArrayView ULineOn{"\x1b-1"};                         // underline
inline constexpr QByteArrayView ULineOff{"\x1b-0"};
inline constexpr QByteArrayView CondOn{"\x0f"};                             // condensed
inline constexpr QByteArrayView CondOff{"\x12"};
inline constexpr QByteArrayView C96On{"\x12\x1b" "W \x1b" "M"};           // condensed and double width off, 12 cpi
inline constexpr QByteArrayView C96Off{"\x1b" "P"};                        // back to 10 cpi
// Raw printing's set-up: ten characters per inch, draft quality, and the
// page length in whole inches (ESC C NUL n, n following).
inline constexpr QByteArrayView TenPitch{"\x1b" "P"};
inline constexpr QByteArrayView DraftQuality{"\x1bx\x00", 3};
inline constexpr QByteArrayView PageLengthInches{"\x1b" "C\x00", 3};

// A sequence as text, one character per byte (as the markup passes search it).
inline QString text(QByteArrayView sequence) { return QString::fromLatin1(sequence); }

// What follows ESC: how its parameters are counted.
enum class Shape : uchar {
    Unknown,     // not a command the printer knows: ESC and the letter only
    Fixed,       // a fixed number of parameter bytes
    UpToNul,     // ESC D, ESC B: up to a NUL (at most `fixed` bytes before it)
    VfuChannel,  // ESC b: a channel byte, then up to a NUL
    PageLength,  // ESC C n, or ESC C NUL n
    Extended,    // ESC ( x nL nH, then nL + 256 nH bytes
    BitImage,    // ESC K/L/Y/Z nL nH, then n bytes
    BitImageM,   // ESC * m nL nH, then n columns of 1, 3 or 6 bytes
    NinePin,     // ESC ^ m nL nH, then n columns of 2 bytes
    Download,    // ESC & NUL n m, then the characters n to m
    Raster,      // ESC . c v h m nL nH, then the rows (ESC . 2 until its EXIT)
    Ejl,         // ESC SOH: the job language's "@EJL ..." lines, each up to its LF
};

struct CommandShape
{
    Shape shape = Shape::Unknown;
    uchar fixed = 0; // parameter bytes (Fixed), or the most before the NUL (UpToNul)
};

// The shape of ESC followed by `letter`.
CommandShape shapeOf(uchar letter);

// The bytes of ESC . 2's compressed mode, from its first byte after the
// header up to and with its EXIT; -1 when the data runs past `size`.
qsizetype tiffModeLength(const uchar *data, qsizetype size);
// The bytes a run-length packed block of `unpacked` bytes takes; -1 when it
// runs past `size`.
qsizetype packedLength(const uchar *data, qsizetype size, qsizetype unpacked);

// The bytes per column of ESC * m: 1 (8 dots), 3 (24 dots) or 6 (48 dots); 0
// for a density the printer does not know.
int bytesPerColumn(int m);
// ESC ? n m: which of ESC K, L, Y and Z (0 to 3) it gives the density of
// ESC * m; -1 when the printer ignores it (another letter, an unknown m).
int reassignedImageCommand(uchar n, uchar m);
// The dots per inch across of ESC * m; 0 for an unknown density.
int dotsPerInch(int m);

// ESC & NUL n m, the characters n to m defined: on 9 pins an attribute byte
// (bit 7 clear: the lower eight pins; bits 6-4 and 3-0 the first and last
// column printed) and 11 columns of one byte each; on 24 pins a0 a1 a2 (space
// before, columns, space after) and a1 columns of 3 bytes, or of 2 bytes
// (16 dots) while super- or subscript (ESC S) is on. The length of the
// command in `pins`' form (9 or 24; 0: the form the bytes fit, the 24-pin one
// when both do); -1 when it runs past `size`. `p` points at the ESC.
qsizetype downloadLength(const uchar *p, qsizetype size, int pins, bool superSubscript = false);
// The bytes of one column of a 24-pin downloaded character.
constexpr int downloadColumnBytes(bool superSubscript) { return superSubscript ? 2 : 3; }
// Whether the bytes read as a plausible 9-pin (9) or 24-pin (24) definition,
// 0 when they read as both or neither. A 9-pin character has no two dots
// side by side in a row (the pin cannot fire in two columns running).
// `superSubscript`: ESC S is on (24-pin columns of 2 bytes).
int downloadForm(const uchar *p, qsizetype size, bool superSubscript = false);

// Remote mode (ESC ( R ... REMOTE1): its commands run until ESC NUL NUL NUL.
// The bytes from `data` (just after the ESC ( R header) up to and with the
// closing ESC NUL NUL NUL; -1 when they run past `size`.
qsizetype remoteModeLength(const uchar *data, qsizetype size);

} // namespace Escp
