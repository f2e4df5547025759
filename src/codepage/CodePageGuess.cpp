#include "codepage/CodePageGuess.h"

#include "escp/EscpTokenizer.h"

#include <QChar>
#include <QFile>

#include <array>
#include <cstring>

namespace CodePage {
namespace {

enum class Kind { Other, Letter, Box, Neutral };

bool latinOrCyrillic(char16_t c, Id id)
{
    return id == Id::Pc866 ? c >= 0x400 && c < 0x500 : c < 0x250;
}

Kind kindOf(char16_t c, Id id)
{
    if (c >= 0x2500 && c <= 0x25A0)
        return Kind::Box;
    const QChar ch(c);
    if (ch.isLetter() && latinOrCyrillic(c, id) && c != 0xAA && c != 0xBA)
        return Kind::Letter;
    switch (c) {
    case 0xA0: case 0xA7: case 0xAB: case 0xB0: case 0xB1: case 0xB2: case 0xB5: case 0xB7: case 0xBB:
    case 0x2013: case 0x2014: case 0x2018: case 0x2019: case 0x201C: case 0x201D: case 0x2026: case 0x20AC:
        return Kind::Neutral;
    default:
        return Kind::Other;
    }
}

// One reading of the bytes: each byte above 127 scored by what it becomes
// and what stands beside it.
struct Reading
{
    Id id;
    const char16_t *chars;
    int score = 0; // in halves
};

bool isLetterAt(const Reading &r, uchar byte)
{
    return byte >= 0x80 ? kindOf(r.chars[byte], r.id) == Kind::Letter : QChar::isLetter(char16_t(byte));
}

// Of a letter in a word: whether its case goes with its neighbours' (a
// capital that begins a word of small letters does).
bool caseFits(const Reading &r, char16_t c, int prev, int next)
{
    const auto letter = [&](int b) { return b >= 0 && isLetterAt(r, uchar(b)); };
    const auto upper = [&](int b) { return QChar(r.chars[uchar(b)]).isUpper(); };
    const bool isUpper = QChar(c).isUpper();
    if ((letter(prev) && upper(prev) == isUpper) || (letter(next) && upper(next) == isUpper))
        return true;
    return isUpper && !letter(prev) && letter(next);
}

void score(Reading &r, uchar byte, int prev, int next)
{
    const char16_t c = r.chars[byte];
    const auto kindAt = [&](int b) {
        return b < 0 ? Kind::Other : b >= 0x80 ? kindOf(r.chars[b], r.id) : QChar::isLetter(char16_t(b)) ? Kind::Letter : Kind::Other;
    };
    const Kind before = kindAt(prev);
    const Kind after = kindAt(next);
    switch (kindOf(c, r.id)) {
    case Kind::Letter:
        if (byte == prev || byte == next)
            r.score -= 2; // the same letter twice over is a rule read wrong, not a word
        else if (before == Kind::Box || after == Kind::Box)
            r.score -= 4; // a letter glued to a frame is a frame read wrong
        else if (before == Kind::Letter || after == Kind::Letter)
            r.score += caseFits(r, c, prev, next) ? 6 : 0;
        else
            r.score += 1;
        break;
    case Kind::Box:
        r.score += before == Kind::Box || after == Kind::Box ? 4 : 1;
        break;
    case Kind::Neutral:
        break;
    case Kind::Other:
        r.score -= 2;
        break;
    }
}

} // namespace

bool isDos(Id id)
{
    return id == Id::Pc437 || id == Id::Pc850 || id == Id::Pc852 || id == Id::Kamenicky || id == Id::Pc866;
}

std::optional<Id> guess(QByteArrayView bytes)
{
    std::array<Reading, 7> readings {};
    const QList<Id> ids = all();
    for (int i = 0; i < ids.size() && i < int(readings.size()); ++i)
        readings[size_t(i)] = Reading {ids[i], table(ids[i])};

    // Only text is scored: the tokenizer passes over printer commands with
    // their parameters and picture data as the printer reads them.
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    EscpTokenizer tokens(bytes.first(qMin(bytes.size(), GuessReads)));
    bool any = false;
    for (EscpToken t = tokens.next(); t.kind != EscpToken::End; t = tokens.next()) {
        if (t.kind != EscpToken::Text)
            continue;
        for (qsizetype i = t.offset; i < t.end(); ++i) {
            if (p[i] < 0x80)
                continue;
            any = true;
            const int prev = i > t.offset ? p[i - 1] : -1;
            const int next = i + 1 < t.end() ? p[i + 1] : -1;
            for (Reading &r : readings)
                score(r, p[i], prev, next);
        }
    }
    if (!any)
        return std::nullopt;
    const Reading *best = &readings[0];
    for (const Reading &r : readings) {
        if (r.score > best->score)
            best = &r;
    }
    return best->id;
}

QByteArray guessHead(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(GuessReads) : QByteArray();
}

Id Choice::resolve(QByteArrayView bytes) const
{
    return automatic ? guess(bytes).value_or(Unguessed) : id;
}

Id Choice::resolveFile(const QString &path) const
{
    return automatic ? resolve(guessHead(path)) : id;
}

std::optional<Choice> choiceFromName(QStringView name)
{
    if (name.compare(QLatin1StringView("auto"), Qt::CaseInsensitive) == 0)
        return Choice {true, Unguessed};
    if (const std::optional<Id> id = fromName(name))
        return Choice {false, *id};
    return std::nullopt;
}

} // namespace CodePage
