#include "export/HtmlExport.h"

#include "escp/EscpCommands.h"
#include "platform/OleColor.h"
#include "platform/OutputFile.h"

#include <QDir>
#include <QFile>

#include "platform/FileStamp.h"
#include <array>
#include <cstring>
#include <memory>
#include <vector>

HtmlColours htmlColours(const QColor &background, const QColor &doubleWidth, const QColor &bold,
    const QColor &condensed, CodePage::Id codePage)
{
    HtmlColours colours;
    colours.background = OleColor::fromColor(background);
    colours.doubleWidth = OleColor::fromColor(doubleWidth);
    colours.bold = OleColor::fromColor(bold);
    colours.condensed = OleColor::fromColor(condensed);
    colours.codePage = codePage;
    return colours;
}

quint8 RgbR(quint32 Colr)
{
    return quint8((Colr % 65536) % 256);
}

quint8 RgbG(quint32 Colr)
{
    return quint8((Colr % 65536) / 256);
}

quint8 RgbB(quint32 Colr)
{
    // Only a plain 24-bit colour has its blue in one byte.
    return quint8((Colr / 65536) % 256);
}

namespace {

// A system-colour reference is first turned into the colour it stands for.
quint32 plainColour(quint32 colour)
{
    return (colour & 0x80000000u) ? OleColor::fromColor(OleColor::toColor(colour)) : colour;
}

QByteArray rgbText(quint32 colour)
{
    colour = plainColour(colour);
    return "rgb(" + QByteArray::number(RgbR(colour)) + ',' + QByteArray::number(RgbG(colour)) + ','
        + QByteArray::number(RgbB(colour)) + ')';
}

// "#RRGGBB": the page background, which browsers read from the legacy
// attribute as a hex colour only.
QByteArray hexText(quint32 colour)
{
    colour = plainColour(colour);
    const quint32 rgb = (quint32(RgbR(colour)) << 16) | (quint32(RgbG(colour)) << 8) | RgbB(colour);
    return '#' + QByteArray::number(rgb, 16).rightJustified(6, '0').toUpper();
}

QByteArray colourStyle(quint32 colour)
{
    return " color:" + rgbText(colour) + ';';
}

// The bytes that start something the translation replaces.
constexpr char Esc = char(Escp::ESC);
constexpr char ShiftOut = char(Escp::SO); // starts the double-strike-bold opening
constexpr char Dc4 = char(Escp::DC4);     // starts the double-strike-bold closing
constexpr char ShiftIn = char(Escp::SI);  // condensed on
constexpr char Dc2 = char(Escp::DC2);     // condensed off
const char *const BBoldOpen = Escp::BBoldOn.data();
const char *const BBoldClose = Escp::BBoldOff.data();

std::array<bool, 256> specialBytes()
{
    std::array<bool, 256> table {};
    for (unsigned char c : {'\r', '\n', ' ', '<', '>', '&', ShiftOut, Dc4, Esc, ShiftIn, Dc2})
        table[c] = true;
    return table;
}
const std::array<bool, 256> Special = specialBytes();

// The UTF-8 of each byte's character in a code page; empty for Latin-1,
// whose bytes are copied as they are.
std::vector<QByteArray> utf8Table(CodePage::Id codePage)
{
    std::vector<QByteArray> table;
    if (codePage == CodePage::Id::Latin1)
        return table;
    table.resize(256);
    for (int byte = 0; byte < 256; ++byte)
        table[size_t(byte)] = QString(CodePage::decodeByte(codePage, uchar(byte))).toUtf8();
    return table;
}

class PageWriter
{
public:
    PageWriter(QIODevice &out, const HtmlColours &colours)
        : m_out(out)
        , m_bboldOpen("<H2 style = 'margin-top:0;margin bottom:0; " + colourStyle(colours.doubleWidth) + "' >")
        , m_boldOpen("<b  style = '" + colourStyle(colours.bold) + "'>")
        , m_condOpen("<h6 style = 'margin-top:0;margin bottom:0 ; " + colourStyle(colours.condensed) + "'>")
        , m_utf8(utf8Table(colours.codePage))
        , m_buffer(new char[BufferSize]) // not cleared: pages cost only when written to
    { }

    bool failed() const { return m_failed; }

    void put(const char *data, size_t size)
    {
        if (m_used + size > BufferSize) {
            flush();
            if (size > BufferSize) {
                writeOut(data, size);
                return;
            }
        }
        std::memcpy(m_buffer.get() + m_used, data, size);
        m_used += size;
    }
    void put(const QByteArray &bytes) { put(bytes.constData(), size_t(bytes.size())); }
    // `count` copies of a short text, as a run of spaces becomes.
    template <size_t N> void putRepeated(const char (&text)[N], size_t count)
    {
        for (size_t room; count; count -= room) {
            if (m_used + N - 1 > BufferSize)
                flush();
            room = qMin(count, (BufferSize - m_used) / (N - 1));
            for (size_t k = 0; k < room; ++k, m_used += N - 1)
                std::memcpy(m_buffer.get() + m_used, text, N - 1);
        }
    }
    template <size_t N> void putLiteral(const char (&text)[N]) { put(text, N - 1); }

    void flush()
    {
        if (m_used)
            writeOut(m_buffer.get(), m_used);
        m_used = 0;
    }

    // Translates the next bytes of the print file. Returns how many were
    // used: a sequence or a CR LF cut by the end of the bytes waits for more,
    // unless this is the end of the file.
    size_t translate(const char *data, size_t size, bool atEnd);
    // Plain text and spaces, the bulk of a report, straight into the
    // buffer: no call per byte or per word. Stops at any other special
    // byte; returns how many bytes it took.
    size_t copyPlain(const char *data, size_t size)
    {
        size_t i = 0;
        while (i < size) {
            if (BufferSize - m_used < 64)
                flush();
            const size_t n = qMin(size - i, (BufferSize - m_used) / 6); // a space takes six
            char *out = m_buffer.get() + m_used;
            const char *p = data + i;
            const char *const end = p + n;
            for (; p < end; ++p) {
                const char c = *p;
                if (!Special[static_cast<unsigned char>(c)]) {
                    *out++ = c;
                } else if (c == ' ') {
                    std::memcpy(out, "&nbsp;", 6);
                    out += 6;
                } else {
                    break;
                }
            }
            const size_t took = size_t(p - (data + i));
            m_used = size_t(out - m_buffer.get());
            i += took;
            if (took < n)
                break;
        }
        return i;
    }
    void finishLine()
    {
        if (m_inLine)
            endLine();
    }

private:
    static constexpr size_t BufferSize = 1 << 20;

    // Text copied to the page. The underline-off sequence is removed as the
    // last step, after the underline-on sequences have gone, so it is matched
    // on what is written: an ESC, or ESC "-", is held back until the next
    // byte shows whether ESC "-0" is complete.
    void text(const char *data, size_t size)
    {
        while (m_held && size) {
            const char c = *data;
            if (m_held == 1 && c == '-') {
                m_held = 2;
            } else if (m_held == 2 && c == '0') {
                m_held = 0;
            } else {
                releaseHeld();
                break;
            }
            ++data;
            --size;
        }
        if (size)
            putText(data, size);
    }
    // The file's own characters: its bytes, or their UTF-8 in a code page.
    void putText(const char *data, size_t size)
    {
        if (m_utf8.empty()) {
            put(data, size);
            return;
        }
        size_t start = 0;
        for (size_t i = 0; i < size; ++i) {
            const auto c = static_cast<unsigned char>(data[i]);
            if (c < 0x80)
                continue;
            put(data + start, i - start);
            put(m_utf8[c]);
            start = i + 1;
        }
        put(data + start, size - start);
    }
    void element(const QByteArray &markup)
    {
        releaseHeld();
        put(markup);
    }
    template <size_t N> void element(const char (&markup)[N])
    {
        releaseHeld();
        put(markup, N - 1);
    }
    void escape()
    {
        if (m_held == 1)
            put(&Esc, 1);
        else if (m_held == 2)
            putLiteral("\x1b-");
        m_held = 1;
    }
    void releaseHeld()
    {
        if (m_held == 1)
            put(&Esc, 1);
        else if (m_held == 2)
            putLiteral("\x1b-");
        m_held = 0;
    }
    void endLine()
    {
        releaseHeld();
        putLiteral("\r\n");
        m_inLine = false;
    }
    void writeOut(const char *data, size_t size)
    {
        if (!m_failed && m_out.write(data, qint64(size)) != qint64(size))
            m_failed = true;
    }

    QIODevice &m_out;
    size_t m_used = 0;
    QByteArray m_bboldOpen, m_boldOpen, m_condOpen;
    std::vector<QByteArray> m_utf8;
    std::unique_ptr<char[]> m_buffer;
    int m_held = 0;
    bool m_inLine = false;
    bool m_failed = false;
};

size_t PageWriter::translate(const char *data, size_t size, bool atEnd)
{
    size_t i = 0;
    while (i < size) {
        if (!m_inLine) {
            putLiteral("<br>");
            m_inLine = true;
        }
        if (m_held == 0 && m_utf8.empty()) { // bytes copied as they are
            i += copyPlain(data + i, size - i);
            if (i == size)
                break;
        }
        size_t j = i;
        while (j < size && !Special[static_cast<unsigned char>(data[j])])
            ++j;
        if (j > i)
            text(data + i, j - i);
        i = j;
        if (i == size)
            break;
        const size_t rest = size - i;
        const char *p = data + i;
        switch (*p) {
        case '\r':
            if (rest < 2 && !atEnd)
                return i;
            i += (rest >= 2 && p[1] == '\n') ? 2 : 1;
            endLine();
            break;
        case '\n': // a lone LF, as instruments and lab software end lines; LF CR is one end
            if (rest < 2 && !atEnd)
                return i;
            i += (rest >= 2 && p[1] == '\r') ? 2 : 1;
            endLine();
            break;
        case ' ': {
            size_t run = 1;
            while (run < rest && p[run] == ' ')
                ++run;
            releaseHeld();
            putRepeated("&nbsp;", run);
            i += run;
            break;
        }
        case '&':
            element("&amp;");
            ++i;
            break;
        case '<':
            element("&lt;");
            ++i;
            break;
        case '>':
            element("&gt;");
            ++i;
            break;
        case ShiftOut:
        case Dc4: {
            if (rest < 5 && !atEnd)
                return i;
            const bool open = *p == ShiftOut;
            if (rest >= 5 && std::memcmp(p, open ? BBoldOpen : BBoldClose, 5) == 0) {
                if (open)
                    element(m_bboldOpen);
                else
                    element("</H2>");
                i += 5;
            } else {
                text(p, 1);
                ++i;
            }
            break;
        }
        case Esc:
            if (rest < 3 && !atEnd)
                return i;
            if (rest >= 2 && p[1] == 'E') {
                element(m_boldOpen);
                i += 2;
            } else if (rest >= 2 && p[1] == 'F') {
                element("</b>");
                i += 2;
            } else if (rest >= 3 && p[1] == '-' && p[2] == '1') {
                i += 3; // underline on: dropped
            } else {
                escape();
                ++i;
            }
            break;
        case ShiftIn:
            element(m_condOpen);
            ++i;
            break;
        case Dc2:
            element("</h6>");
            ++i;
            break;
        default:
            text(p, 1);
            ++i;
        }
    }
    return i;
}

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

bool expHTml(QIODevice &printFile, QIODevice &page, const HtmlColours &colours, QString *error,
    const HtmlProgress &progress)
{
    PageWriter writer(page, colours);
    writer.putLiteral("<HTML>\r\n");
    if (colours.codePage != CodePage::Id::Latin1)
        writer.putLiteral("<meta charset=\"utf-8\">\r\n");
    writer.put("<body  bgcolor='" + hexText(colours.background) + "';>\r\n");
    writer.putLiteral("<font face ='Courier New'>\r\n");
    writer.putLiteral("<font size =3> <p style = 'margin-top:0;margin bottom:0; '>\r\n");

    constexpr qint64 ChunkSize = 1 << 20;
    // Not cleared: a small file touches only the pages it is read into.
    const std::unique_ptr<char[]> chunk(new char[size_t(ChunkSize) + 8]);
    size_t carried = 0;
    qint64 read = 0;
    const qint64 total = printFile.isSequential() ? 0 : printFile.size();
    for (;;) {
        const qint64 got = printFile.read(chunk.get() + carried, ChunkSize);
        if (got < 0) {
            if (error)
                *error = printFile.errorString();
            return false;
        }
        const bool atEnd = got == 0;
        const size_t size = carried + size_t(got);
        const size_t used = writer.translate(chunk.get(), size, atEnd);
        carried = size - used;
        if (carried)
            std::memmove(chunk.get(), chunk.get() + used, carried);
        if (writer.failed())
            break;
        if (atEnd)
            break;
        read += got;
        if (progress && !progress(read, total)) {
            if (error)
                *error = QObject::tr("the export was stopped.");
            return false;
        }
    }
    writer.finishLine();
    writer.putLiteral("</p></font>\r\n</body>\r\n</HTML>\r\n");
    writer.flush();
    if (writer.failed()) {
        if (error)
            *error = page.errorString();
        return false;
    }
    return true;
}

bool expHTml(const QString &printFilePath, const QString &pagePath, const HtmlColours &colours, QString *error,
    const HtmlProgress &progress)
{
    QFile in(printFilePath);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QObject::tr("Cannot read the print file %1: %2")
                         .arg(nativePath(printFilePath), in.errorString());
        return false;
    }
    const FileStamp stamp = FileStamp::of(in.handle());
    OutputFile out(pagePath);
    if (!out.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QObject::tr("Cannot write %1: %2").arg(nativePath(pagePath), out.errorString());
        return false;
    }
    QString reason;
    if (!expHTml(in, out, colours, &reason, progress) || stamp.changed(in.handle())) {
        out.cancelWriting();
        if (error && in.error() == QFile::NoError && stamp.changed(in.handle())) {
            *error = QObject::tr("Cannot read the print file %1: it %2.")
                         .arg(nativePath(printFilePath), FileStamp::changedText());
            return false;
        }
        if (error) {
            *error = in.error() != QFile::NoError
                ? QObject::tr("Cannot read the print file %1: %2").arg(nativePath(printFilePath), reason)
                : QObject::tr("Cannot write %1: %2").arg(nativePath(pagePath), reason);
        }
        return false;
    }
    if (!out.commit()) {
        if (error)
            *error = QObject::tr("Cannot write %1: %2").arg(nativePath(pagePath), out.errorString());
        return false;
    }
    return true;
}
