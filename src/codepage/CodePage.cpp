#include "codepage/CodePage.h"

#include <QCoreApplication>
#include <QObject>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <mutex>
#include <utility>

namespace CodePage {
namespace {

constexpr char16_t Placeholder = 0xF700; // + the byte a table leaves undefined

struct Info
{
    const char *name;
    const char *label;
    const char *converter; // the glibc iconv name; null when the table is our own
};

// The labels are shown in the user's language (label()).
const Info infos[TableCount] = {
    {"latin1", QT_TRANSLATE_NOOP("CodePage", "Latin-1 (as is)"), nullptr},
    {"cp1252", QT_TRANSLATE_NOOP("CodePage", "Windows-1252"), "CP1252"},
    {"cp437", QT_TRANSLATE_NOOP("CodePage", "PC437 (US, box drawing)"), "CP437"},
    {"cp850", QT_TRANSLATE_NOOP("CodePage", "PC850 (Western Europe)"), "IBM850"},
    {"cp852", QT_TRANSLATE_NOOP("CodePage", "PC852 (Central Europe)"), "IBM852"},
    {"kamenicky", QT_TRANSLATE_NOOP("CodePage", "Kamenicky (Czech and Slovak)"), nullptr},
    {"cp866", QT_TRANSLATE_NOOP("CodePage", "PC866 (Cyrillic)"), "CP866"},
    // The printer's tables alone (no label to show).
    {"cp857", nullptr, "CP857"},
    {"cp858", nullptr, "CP858"},
    {"cp860", nullptr, "CP860"},
    {"cp863", nullptr, "CP863"},
    {"cp865", nullptr, "CP865"},
};

// Kamenicky (KEYBCS2), bytes 0x80 to 0xFF: Czech and Slovak letters in place
// of the PC437 accented letters, the PC437 box drawing and symbols after them.
// clang-format off
const char16_t kamenickyHigh[128] = {
    0x010C, 0x00FC, 0x00E9, 0x010F, 0x00E4, 0x010E, 0x0164, 0x010D, // 0x80
    0x011B, 0x011A, 0x0139, 0x00CD, 0x013E, 0x013A, 0x00C4, 0x00C1,
    0x00C9, 0x017E, 0x017D, 0x00F4, 0x00F6, 0x00D3, 0x016F, 0x00DA, // 0x90
    0x00FD, 0x00D6, 0x00DC, 0x0160, 0x013D, 0x00DD, 0x0158, 0x0165,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x0148, 0x0147, 0x016E, 0x00D4, // 0xA0
    0x0161, 0x0159, 0x0155, 0x0154, 0x00BC, 0x00A7, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, // 0xB0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, // 0xC0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, // 0xD0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, // 0xE0
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, // 0xF0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};
// clang-format on

struct Table
{
    char16_t chars[256];
    // The upper half turned round: (character, byte), sorted by character.
    std::array<std::pair<char16_t, uchar>, 128> reverse;
    QString error;
};

// The character one byte converts to, or 0 when the converter has none.
char16_t convertByte(iconv_t cd, uchar byte)
{
    char in = char(byte);
    char16_t out[4];
    char *inPtr = &in;
    char *outPtr = reinterpret_cast<char *>(out);
    size_t inLeft = 1;
    size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1) || inLeft != 0
        || outLeft != sizeof out - sizeof(char16_t))
        return 0;
    return out[0];
}

void fill(Id id, Table &t)
{
    for (int b = 0; b < 256; ++b)
        t.chars[b] = b < 0x80 || id == Id::Latin1 ? char16_t(b) : char16_t(Placeholder + b);
    const Info &info = infos[int(id)];
    if (id == Id::Kamenicky) {
        std::copy(std::begin(kamenickyHigh), std::end(kamenickyHigh), t.chars + 0x80);
    } else if (info.converter) {
        const iconv_t cd = iconv_open("UTF-16LE", info.converter);
        if (cd == iconv_t(-1)) {
            t.error = QObject::tr("The system has no converter for %1 (%2): %3")
                          .arg(QString::fromLatin1(info.label), QString::fromLatin1(info.converter),
                              QString::fromLocal8Bit(std::strerror(errno)));
        } else {
            for (int b = 0x80; b < 256; ++b) {
                const char16_t c = convertByte(cd, uchar(b));
                if (c != 0)
                    t.chars[b] = c;
            }
            iconv_close(cd);
        }
    }
    for (int b = 0x80; b < 256; ++b)
        t.reverse[size_t(b - 0x80)] = {t.chars[b], uchar(b)};
    std::sort(t.reverse.begin(), t.reverse.end());
}

const Table &tableOf(Id id)
{
    static Table tables[TableCount];
    static std::once_flag built[TableCount];
    const int i = int(id);
    std::call_once(built[i], [i] { fill(Id(i), tables[i]); });
    return tables[i];
}

bool valid(Id id)
{
    return int(id) >= 0 && int(id) < Count;
}

} // namespace

QList<Id> all()
{
    QList<Id> ids;
    for (int i = 0; i < Count; ++i)
        ids << Id(i);
    return ids;
}

QString name(Id id)
{
    return valid(id) ? QString::fromLatin1(infos[int(id)].name) : QString();
}

QString names()
{
    QStringList list;
    for (int i = 0; i < Count; ++i)
        list << QString::fromLatin1(infos[i].name);
    return list.join(QStringLiteral(", "));
}

std::optional<Id> fromName(QStringView text)
{
    for (int i = 0; i < Count; ++i) {
        if (text.compare(QLatin1StringView(infos[i].name), Qt::CaseInsensitive) == 0)
            return Id(i);
    }
    return std::nullopt;
}

QString label(Id id)
{
    return valid(id) ? QCoreApplication::translate("CodePage", infos[int(id)].label) : QString();
}

bool available(Id id, QString *error)
{
    const QString &reason = tableOf(id).error;
    if (error)
        *error = reason;
    return reason.isEmpty();
}

const char16_t *table(Id id)
{
    return tableOf(id).chars;
}

QString decode(Id id, QByteArrayView bytes)
{
    QString text;
    decodeInto(id, bytes, text);
    return text;
}

void decodeInto(Id id, QByteArrayView bytes, QString &out)
{
    // Every code page here keeps ASCII as it is: bytes below 0x80 need no
    // table (whose making asks the system's converter, a library of its own).
    const auto high = [](char b) { return uchar(b) >= 0x80; };
    if (id == Id::Latin1 || std::none_of(bytes.begin(), bytes.end(), high)) {
        out = QString::fromLatin1(bytes);
        return;
    }
    const char16_t *chars = table(id);
    out.resize(bytes.size());
    char16_t *d = reinterpret_cast<char16_t *>(out.data());
    const uchar *s = reinterpret_cast<const uchar *>(bytes.data());
    for (qsizetype i = 0, n = bytes.size(); i < n; ++i)
        d[i] = chars[s[i]];
}

bool encode(Id id, QStringView text, QByteArray *bytes, QString *missing)
{
    const Table &t = tableOf(id);
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80 || (id == Id::Latin1 && c < 0x100)) {
            out[i] = char(c);
            continue;
        }
        const auto hit = std::lower_bound(t.reverse.begin(), t.reverse.end(), std::make_pair(c, uchar(0)));
        if (hit != t.reverse.end() && hit->first == c) {
            out[i] = char(hit->second);
            continue;
        }
        if (missing) {
            const bool pair = QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate();
            *missing = text.mid(i, pair ? 2 : 1).toString();
        }
        bytes->clear();
        return false;
    }
    *bytes = out;
    return true;
}

QString describe(const QString &character)
{
    const char32_t code = character.isEmpty() ? 0 : character.toUcs4().value(0);
    const QString hex = QStringLiteral("%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("\"%1\" (U+%2)").arg(character, hex);
}

} // namespace CodePage
