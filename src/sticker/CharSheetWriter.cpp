#include "sticker/CharSheetWriter.h"

#include "escp/EscpCommands.h"
#include "codepage/CodePage.h"
#include "platform/ByteText.h"
#include "platform/NumericText.h"
#include "platform/OutputFile.h"
#include "platform/AppPaths.h"
#include "sticker/StickerInput.h"
#include "sticker/CsvTable.h"
#include "sticker/StickerFields.h"

#include <QCoreApplication>
#include <QFile>
#include <QIODevice>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr qsizetype ChunkSize = 64 * 1024;

// The bytes between the first and the last character that is not a space.
// Only spaces are removed: a control code at either end stays.
QByteArray trimSpaces(const QByteArray &bytes)
{
    qsizetype b = 0;
    qsizetype e = bytes.size();
    while (b < e && bytes.at(b) == ' ')
        ++b;
    while (e > b && bytes.at(e - 1) == ' ')
        --e;
    return bytes.mid(b, e - b);
}

// Collects the bytes of a few lines and hands them to the device in chunks,
// so a long sheet costs a few large writes and only one chunk of memory.
// Lines are built in place inside the chunk.
class ChunkedOutput
{
public:
    explicit ChunkedOutput(QIODevice *device)
        : m_device(device)
        , m_buffer(ChunkSize)
    { }

    // Room for at least `n` more bytes; null when the device refused a chunk.
    char *room(size_t n)
    {
        if (m_used + n > m_buffer.size()) {
            if (!flush())
                return nullptr;
            if (n > m_buffer.size())
                m_buffer.resize(n);
        }
        return m_buffer.data() + m_used;
    }
    void commit(size_t n) { m_used += n; }

    bool append(const QByteArray &bytes)
    {
        char *p = room(size_t(bytes.size()));
        if (!p)
            return false;
        std::memcpy(p, bytes.constData(), size_t(bytes.size()));
        commit(size_t(bytes.size()));
        return true;
    }

    bool flush()
    {
        if (m_used == 0)
            return true;
        if (m_device->write(m_buffer.data(), qint64(m_used)) != qint64(m_used))
            return false;
        m_used = 0;
        return true;
    }

private:
    QIODevice *m_device;
    std::vector<char> m_buffer;
    size_t m_used = 0;
};

// Writes n in decimal at p, with leading zeros up to `width` digits;
// returns the number of characters written.
int putNumber(char *p, int n, int width)
{
    char digits[12];
    int len = 0;
    do {
        digits[len++] = char('0' + n % 10);
        n /= 10;
    } while (n > 0);
    const int zeros = qMax(0, width - len);
    std::memset(p, '0', size_t(zeros));
    for (int i = 0; i < len; ++i)
        p[zeros + i] = digits[len - 1 - i];
    return zeros + len;
}

// The numbered line of a row at `q`: for each of its `cols` stickers the
// base text, its running number (from `first` on) and spaces to the width,
// then the gap. A number may run past the width; the caller's room allows
// for it. Returns the end.
char *putNumberedLine(char *q, const QByteArray &numberBase, int first, int cols, int width, const QByteArray &gap,
    int digits)
{
    for (int c = 0; c < cols; ++c) {
        std::memcpy(q, numberBase.constData(), size_t(numberBase.size()));
        size_t len = size_t(numberBase.size());
        len += size_t(putNumber(q + len, first + c, digits));
        if (len < size_t(width))
            std::memset(q + len, ' ', size_t(width) - len);
        q += width;
        std::memcpy(q, gap.constData(), size_t(gap.size()));
        q += gap.size();
    }
    return q;
}

// The sheet filled from data rows: one sticker per row, across the row
// first, on as many pages as the rows need; the last page ends after its
// last sticker row. The running number counts on across the pages, since
// no two pages are alike.
bool writeDataSheet(
    const StickerWorkingValues &values, const QByteArray &gap, QByteArray prefix, ChunkedOutput &out)
{
    const CsvTable &data = *values.Data;
    const int width = qMax(0, values.W);
    const int cols = values.StickerCols;
    const int lines = qMin(values.MaxField, 7);
    const long long rowsOfData = data.rowCount();
    const long long perPage = qMax(0LL, (long long)values.StickerRows * cols);
    const long long pages = perPage > 0 ? (rowsOfData + perPage - 1) / perPage : 1;
    const QByteArray blankLines = ByteText::toBytes(values.BlankLines);
    const QByteArray empty(width, ' ');
    int n = 1;
    for (long long p = 0; p < pages; ++p) {
        for (int r = 0; r < values.StickerRows; ++r) {
            const long long first = p * perPage + (long long)r * cols;
            if (first >= rowsOfData)
                break;
            if (r > 0 && !out.append(blankLines + "\r\n"))
                return false;
            for (int x = 1; x <= lines; ++x) {
                QByteArray line = prefix;
                prefix.clear();
                for (int c = 0; c < cols; ++c) {
                    const long long row = first + c;
                    if (row >= rowsOfData) {
                        line += empty + gap;
                        continue;
                    }
                    const QString filled
                        = PadRight(StickerFields::fill(values.LineSource[size_t(x)], data, int(row)), width);
                    QByteArray piece;
                    CodePage::encode(values.SheetCodePage, filled, &piece, nullptr); // checked before
                    if (x == 4) {
                        piece = trimSpaces(piece);
                        piece += ByteText::toBytes(zeroPadded(QString::number(n++), values.Digits));
                        piece = piece.leftJustified(width, ' ', true);
                    }
                    line += piece + gap;
                }
                if (!out.append(trimSpaces(line) + "\r\n"))
                    return false;
            }
        }
        if (!out.append(blankLines + ".  .  .\r\n"))
            return false;
    }
    return true;
}

// Removes the spaces at both ends of the `len` bytes at p, moving the rest to
// p; returns the new length. Only spaces: a control code at either end stays.
size_t trimInPlace(char *p, size_t len)
{
    size_t b = 0;
    while (b < len && p[b] == ' ')
        ++b;
    while (len > b && p[len - 1] == ' ')
        --len;
    if (b > 0)
        std::memmove(p, p + b, len - b);
    return len - b;
}

// Whether `text` rounds to a whole number within [lo, hi]; `isNumeric` also
// requires the whole text to be a number.
bool inRange(const QString &text, double lo, double hi, bool wholeTextNumeric)
{
    if (wholeTextNumeric && !NumericText::isNumber(text))
        return false;
    const double v = std::nearbyint(NumericText::leadingNumber(text));
    return v >= lo && v <= hi;
}

QString rangeMessage(const QString &caption, int lo, int hi)
{
    return QStringLiteral("\"%1\" must be a number from %2 to %3.").arg(caption).arg(lo).arg(hi);
}

// The sheet's bytes are in the printer's code page (Windows-1252 unless
// chosen otherwise). The bytes of the sticker lines the sheet prints,
// [1] to [lines]; false with the message for the user when a line holds a
// character that has no byte there.
bool lineBytes(const StickerWorkingValues &values, int lines, QByteArray (&bytes)[8], QString *message)
{
    for (int x = 1; x <= lines; ++x) {
        QString missing;
        if (!CodePage::encode(values.SheetCodePage, values.LineText[size_t(x)], &bytes[x], &missing)) {
            if (message)
                *message = QStringLiteral("Line %1 holds the character %2, which the print file cannot "
                                          "hold: it has no byte in %3.")
                               .arg(x)
                               .arg(CodePage::describe(missing), CodePage::label(values.SheetCodePage));
            return false;
        }
    }
    return true;
}

// The file's end: condensed printing off (when it was on), a form feed.
bool finishSheets(ChunkedOutput &out, bool condensed)
{
    return out.append((condensed ? Escp::CondOff.toByteArray() : QByteArray()) + "\x0c\r\n") && out.flush();
}

} // namespace

QString CharSheetWriter::validate(const StickerInput &input)
{
    if (!inRange(input.TxSp, 0, 32767, true))
        return rangeMessage(QStringLiteral("SPace Between Col"), 0, 32767);
    if (!inRange(input.stickersAcross, 0, 255, true))
        return rangeMessage(QStringLiteral("Col"), 0, 255);
    // A first range that runs backwards makes the form work out a negative
    // row count: name the range, not a field the user never typed.
    const double from = NumericText::leadingNumber(input.lineTexts[5]);
    const double to = NumericText::leadingNumber(input.lineTexts[6]);
    if (!inRange(input.TxRow, 0, 32767, false) && to < from)
        return QCoreApplication::translate(
            "Sticker", "The first range runs backwards, from %1 to %2: give the smaller number first.")
            .arg(input.lineTexts[5].trimmed(), input.lineTexts[6].trimmed());
    if (!inRange(input.TxRow, 0, 32767, false))
        return rangeMessage(QStringLiteral("Row"), 0, 32767);
    if (!inRange(input.lineWidth, 0, 32767, false))
        return rangeMessage(QStringLiteral("Max Field Lenth"), 0, 32767);
    // Below 1 means no blank lines; only a count too large to be meant is refused.
    if (NumericText::leadingNumber(input.TxBlank) >= StickerWorkingValues::MaxBlankLines + 1)
        return rangeMessage(
            QStringLiteral("Margin Between Two Sticker"), 0, StickerWorkingValues::MaxBlankLines);
    if (input.maxField < 0 || input.maxField > 7)
        return rangeMessage(QStringLiteral("Max Field"), 0, 7);
    if (input.digits < 0 || input.digits > StickerInput::MaxDigits)
        return rangeMessage(QStringLiteral("Digits"), 0, StickerInput::MaxDigits);
    const double pages = NumericText::leadingNumber(input.pageCount);
    if (pages != 0 && pages < 1)
        return QStringLiteral("\"Page\" must be a number of 1 or more.");
    const StickerWorkingValues values = computeWorkingValues(input);
    if (input.data) {
        const QString error = StickerFields::checkPlaceholders(values, input.maxField);
        if (!error.isEmpty())
            return error;
        const QString missing = StickerFields::checkCharacters(values, input.maxField);
        if (!missing.isEmpty())
            return missing;
    }
    QByteArray bytes[8];
    QString message;
    lineBytes(values, qMin(values.MaxField, 7), bytes, &message);
    return message;
}

bool CharSheetWriter::write(
    const StickerWorkingValues &values, bool condensed, QIODevice *device, QString *error)
{
    const int width = qMax(0, values.W);
    const QByteArray gap = ByteText::toBytes(values.ColumnGap);
    const int cols = values.StickerCols;
    const int lines = qMin(values.MaxField, 7);
    QByteArray text[8];
    if (!lineBytes(values, lines, text, error))
        return false;

    // Every line but the numbered one is the same in every row of every
    // page: build each once, untrimmed (for the first line of the file,
    // which carries the condensed sequence) and as written.
    QByteArray rowLine[8];
    QByteArray rowLineOut[8];
    for (int x = 1; x <= lines; ++x) {
        rowLine[x] = (text[x] + gap).repeated(cols);
        rowLineOut[x] = trimSpaces(rowLine[x]) + "\r\n";
    }
    // The numbered line: the text of line 4 without its surrounding spaces,
    // the running number after it, cut or padded to the width.
    const QByteArray numberBase = trimSpaces(text[4]);
    const QByteArray blankLines = ByteText::toBytes(values.BlankLines);
    const QByteArray rowGap = blankLines + "\r\n";
    const QByteArray pageEnd = blankLines + ".  .  .\r\n";
    QByteArray prefix = condensed ? Escp::CondOn.toByteArray() : QByteArray();

    ChunkedOutput out(device);
    if (values.Data) {
        const bool ok = writeDataSheet(values, gap, prefix, out) && finishSheets(out, condensed);
        if (!ok && error)
            *error = device->errorString();
        return ok;
    }
    const size_t pieceSize = size_t(width) + size_t(gap.size());
    const size_t lineRoom = size_t(prefix.size()) + size_t(cols) * pieceSize + 2;
    bool ok = true;
    for (long long p = 1; ok && p <= values.Pages; ++p) {
        int n = 1;
        for (int r = 1; ok && r <= values.StickerRows; ++r) {
            for (int x = 1; ok && x <= lines; ++x) {
                if (x != 4 && prefix.isEmpty()) {
                    ok = out.append(rowLineOut[x]);
                    continue;
                }
                char *const start = out.room(lineRoom + 12 + size_t(values.Digits));
                if (!start) {
                    ok = false;
                    break;
                }
                char *q = start;
                std::memcpy(q, prefix.constData(), size_t(prefix.size()));
                q += prefix.size();
                if (x == 4) {
                    q = putNumberedLine(q, numberBase, n, cols, width, gap, values.Digits);
                    n += cols;
                } else {
                    std::memcpy(q, rowLine[x].constData(), size_t(rowLine[x].size()));
                    q += rowLine[x].size();
                }
                prefix.clear();
                q = start + trimInPlace(start, size_t(q - start));
                *q++ = '\r';
                *q++ = '\n';
                out.commit(size_t(q - start));
            }
            if (ok && r < values.StickerRows)
                ok = out.append(rowGap);
        }
        if (ok)
            ok = out.append(pageEnd);
    }
    ok = ok && finishSheets(out, condensed);
    if (!ok && error)
        *error = device->errorString();
    return ok;
}

CharSheetWriter::Result CharSheetWriter::run(const StickerInput &input, QString &lastTempNumber)
{
    Result result;
    result.pageCount = input.pageCount;
    result.error = validate(input);
    if (!result.error.isEmpty())
        return result;

    const QString name = NextTempFileName(lastTempNumber);
    if (name.isEmpty()) {
        result.error = QCoreApplication::translate("Sticker", "No temporary print file can be created.");
        return result;
    }
    StickerInput used = input;
    countPagesFromOne(used);
    result.pageCount = used.pageCount;

    // Written whole or not at all: a failed run leaves no half sheet behind.
    OutputFile file(name);
    QString reason;
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok)
        ok = write(computeWorkingValues(used), used.condensed, &file, &reason);
    else
        reason = file.errorString();
    if (ok && !file.commit()) {
        ok = false;
        reason = file.errorString();
    }
    if (!ok) {
        // Nor the empty file that reserved the name.
        QFile::remove(name);
        result.error = QCoreApplication::translate("Sticker", "The print file %1 cannot be written.\n%2")
                           .arg(name, reason);
        return result;
    }
    result.fileName = name;
    result.ok = true;
    return result;
}
