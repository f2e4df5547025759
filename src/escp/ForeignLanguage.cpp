#include "escp/ForeignLanguage.h"

#include <QFile>
#include <QSet>

namespace ForeignLanguage {

namespace {

constexpr char Esc = '\x1b';
constexpr char Gs = '\x1d';

bool lower(char c)
{
    return c >= 'a' && c <= 'z';
}

bool upper(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool digit(char c)
{
    return c >= '0' && c <= '9';
}

// What a spooler or a driver may put before a job: NULs (an Epson job's
// packet mode ended first) and a PostScript job's Ctrl-D.
QByteArrayView withoutLead(QByteArrayView bytes)
{
    qsizetype i = 0;
    while (i < bytes.size() && (bytes[i] == '\0' || bytes[i] == '\x04'))
        ++i;
    return bytes.sliced(i);
}

// "%!PS-Adobe-3.0", "%!PS", or "%!" alone on its line; or the binary header
// of a DOS EPS file. Report text may well begin with "%", not in this way.
bool isPostScript(QByteArrayView b)
{
    if (b.startsWith("%!PS") || b.startsWith("\xc5\xd0\xd3\xc6"))
        return true;
    return b.startsWith("%!") && (b.size() == 2 || b[2] == '\r' || b[2] == '\n');
}

// One of PCL's parameterized escapes at `at`: ESC, the group ('&' or '*'),
// the parameter (a lower-case letter), then values (a sign, digits, a
// point), each ended by a lower-case letter when another follows or an
// upper-case one for the last: ESC & l 0 O, ESC * r b C, ESC * t 300 R.
// ESC/P has ESC & NUL (characters) and ESC * m (bit images, m never a
// letter): none of them is such an escape. Its length, or 0.
qsizetype pclEscape(QByteArrayView b, qsizetype at)
{
    if (at + 3 >= b.size() || b[at] != Esc || (b[at + 1] != '&' && b[at + 1] != '*') || !lower(b[at + 2]))
        return 0;
    qsizetype i = at + 3;
    for (int values = 0; values < 16 && i < b.size(); ++values) {
        if (b[i] == '+' || b[i] == '-')
            ++i;
        while (i < b.size() && (digit(b[i]) || b[i] == '.'))
            ++i;
        if (i >= b.size())
            return 0;
        if (upper(b[i]) || b[i] == '@')
            return i + 1 - at;
        if (!lower(b[i]))
            return 0;
        ++i;
    }
    return 0;
}

// One of ESC/Page's commands at `at`: GS, values (digits, ';', '.'), the
// command's lower-case letters, an upper-case letter (after '{' for the
// ones that carry data): GS rhE, GS 0;0.24muE, GS 512Y, GS 242;160;32;0bi{I.
// Its name (letters and end) and length, or an empty name.
QByteArrayView gsCommand(QByteArrayView b, qsizetype at, qsizetype *length)
{
    if (at + 2 >= b.size() || b[at] != Gs)
        return {};
    qsizetype i = at + 1;
    while (i < b.size() && (digit(b[i]) || b[i] == ';' || b[i] == '.' || b[i] == '-'))
        ++i;
    const qsizetype name = i;
    while (i < b.size() && i - name < 5 && lower(b[i]))
        ++i;
    if (i < b.size() && b[i] == '{')
        ++i;
    if (i >= b.size() || !upper(b[i]) || i == at + 1)
        return {};
    *length = i + 1 - at;
    return b.sliced(name, i + 1 - name);
}

// ESC/Page: the job begins with its commands (within the first bytes, after
// its printer's job language or a few set-up escapes), several of them and
// not one repeated: ESC/P has no GS command, and the bytes of a bit image
// that happen to look like one repeat the picture's pattern.
bool hasPageCommands(QByteArrayView b)
{
    constexpr qsizetype FirstWithin = 48;
    constexpr qsizetype Window = 512;
    const QByteArrayView head = b.first(qMin(b.size(), Window));
    const qsizetype first = head.indexOf(Gs);
    if (first < 0 || first > FirstWithin)
        return false;
    QSet<QByteArray> names;
    int count = 0;
    for (qsizetype i = first; i < head.size(); ++i) {
        qsizetype length = 0;
        const QByteArrayView name = gsCommand(head, i, &length);
        if (name.isEmpty())
            continue;
        ++count;
        names.insert(name.toByteArray());
        i += length - 1;
    }
    return count >= 4 && names.size() >= 2;
}

bool containsNoCase(QByteArrayView b, const char *text)
{
    return b.toByteArray().toUpper().contains(QByteArray(text));
}

// A job in HP's job language (ESC %-12345X @PJL ...): the language it
// enters, from its ENTER LANGUAGE line or the data after its lines.
QString pjlLanguage(QByteArrayView b)
{
    const QByteArray text = b.toByteArray();
    qsizetype at = qsizetype(sizeof("\x1b%-12345X")) - 1;
    // Past the job language's lines, and a second UEL that may end them.
    for (;;) {
        while (at < text.size() && (text[at] == '\r' || text[at] == '\n' || text[at] == ' ' || text[at] == '\t'))
            ++at;
        if (text.mid(at, 4).compare("@PJL", Qt::CaseInsensitive) == 0) {
            const qsizetype end = text.indexOf('\n', at);
            if (end < 0)
                break;
            at = end + 1;
        } else if (text.mid(at).startsWith("\x1b%-12345X")) {
            at += qsizetype(sizeof("\x1b%-12345X")) - 1;
        } else {
            break;
        }
    }
    const QByteArrayView data = QByteArrayView(text).sliced(qMin(at, text.size()));
    if (isPostScript(data))
        return QStringLiteral("PostScript");
    if (data.startsWith("%PDF-"))
        return QStringLiteral("PDF");
    if (data.startsWith(") HP-PCL XL"))
        return QStringLiteral("PCL XL");
    const QByteArray upperText = text.left(at).toUpper();
    const qsizetype enter = upperText.indexOf("ENTER LANGUAGE");
    if (enter >= 0) {
        const qsizetype lineEnd = upperText.indexOf('\n', enter);
        QByteArray value = upperText.mid(enter, lineEnd < 0 ? -1 : lineEnd - enter);
        value = value.mid(value.indexOf('=') + 1).trimmed();
        if (value == "PCLXL")
            return QStringLiteral("PCL XL");
        if (value == "POSTSCRIPT")
            return QStringLiteral("PostScript");
        if (value == "PDF")
            return QStringLiteral("PDF");
        value.replace('/', QByteArray());
        if (value.startsWith("ESCPAGE")) // ESCPAGECOLOR too
            return QStringLiteral("ESC/Page");
        // ESC/P behind the job language's lines, as some spoolers send it:
        // not another language.
        if (value == "ESCP" || value == "ESCP2" || value == "EPSON")
            return QString();
    }
    return QStringLiteral("PJL/PCL");
}

} // namespace

QString of(QByteArrayView start)
{
    const QByteArrayView b = withoutLead(start.first(qMin(start.size(), LookedAt)));
    if (isPostScript(b))
        return QStringLiteral("PostScript");
    if (b.startsWith("%PDF-"))
        return QStringLiteral("PDF");
    if (b.startsWith("\x1b%-12345X"))
        return pjlLanguage(b);
    if (b.startsWith(") HP-PCL XL"))
        return QStringLiteral("PCL XL");
    if (b.startsWith("RaS2PwgRaster"))
        return QStringLiteral("PWG raster");
    for (const char *magic : {"RaS2", "RaS3", "RaSt", "2SaR", "3SaR", "tSaR"}) {
        if (b.startsWith(magic))
            return QStringLiteral("CUPS raster");
    }
    if (b.startsWith(QByteArrayView("UNIRAST\0", 8)))
        return QStringLiteral("Apple raster");
    // Epson's job language: ESC/Page when it enters that language, or its
    // commands follow. Ink-jet ESC/P jobs begin with it too (ESC ( R ... and
    // ESC @ after it): they are not named.
    if (b.startsWith("\x1b\x01@EJL")) {
        const qsizetype headerEnd = b.indexOf(Gs);
        const QByteArrayView header = headerEnd < 0 ? b : b.first(headerEnd);
        if (containsNoCase(header, "LA=ESC/PAGE") || containsNoCase(header, "LANGUAGE=ESC/PAGE")
            || (headerEnd >= 0 && hasPageCommands(b.sliced(headerEnd))))
            return QStringLiteral("ESC/Page");
        return QString();
    }
    if (hasPageCommands(b))
        return QStringLiteral("ESC/Page");
    // PCL: its reset (ESC E, which is ESC/P's bold too) with a PCL escape
    // right after it, or a PCL escape first of all. The ghostscript driver
    // for Epson's older ink-jets begins with PCL's end of raster too, and
    // prints with ESC | B and ESC | J, which no ESC/P printer knows.
    qsizetype at = 0;
    while (b.sliced(at).startsWith("\x1b" "E"))
        at += 2;
    if (pclEscape(b, at) > 0) {
        if (at == 0 && (b.indexOf("\x1b|B") >= 0 || b.indexOf("\x1b|J") >= 0))
            return QStringLiteral("Epson ink-jet raster");
        return QStringLiteral("PJL/PCL");
    }
    return QString();
}

QString ofFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return of(file.read(LookedAt));
}

QString note(const QString &language)
{
    const bool vowel = !language.isEmpty() && QStringLiteral("AEIOU").contains(language.at(0).toUpper());
    return QStringLiteral("this is %1 %2 job, not an ESC/P print file; it is read as ESC/P all the same")
        .arg(vowel ? QStringLiteral("an") : QStringLiteral("a"), language);
}

} // namespace ForeignLanguage
