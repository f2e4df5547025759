#include "sticker/CharSheetWriter.h"

#include "platform/ByteText.h"
#include "platform/NumericText.h"
#include "startup/MainModule.h"

#include <QIODevice>
#include <QSaveFile>

#include <cmath>

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
class ChunkedOutput
{
public:
    explicit ChunkedOutput(QIODevice *device)
        : m_device(device)
    {
        m_chunk.reserve(ChunkSize + 4096);
    }

    bool append(const QByteArray &bytes)
    {
        m_chunk.append(bytes);
        return m_chunk.size() < ChunkSize || flush();
    }

    bool flush()
    {
        if (m_chunk.isEmpty())
            return true;
        const qint64 written = m_device->write(m_chunk);
        if (written != m_chunk.size())
            return false;
        m_chunk.clear();
        return true;
    }

private:
    QIODevice *m_device;
    QByteArray m_chunk;
};

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

} // namespace

QString CharSheetWriter::validate(const StickerInput &input)
{
    if (!inRange(input.TxSp, 0, 32767, true))
        return rangeMessage(QStringLiteral("SPace Between Col"), 0, 32767);
    if (!inRange(input.TxCol, 0, 255, true))
        return rangeMessage(QStringLiteral("Col"), 0, 255);
    if (!inRange(input.TxRow, 0, 32767, false))
        return rangeMessage(QStringLiteral("Row"), 0, 32767);
    if (!inRange(input.TxMaxFLenth, 0, 32767, false))
        return rangeMessage(QStringLiteral("Max Field Lenth"), 0, 32767);
    // Below 1 means no blank lines; only a count too large to be meant is refused.
    if (NumericText::leadingNumber(input.TxBlank) >= StickerWorkingValues::MaxBlankLines + 1)
        return rangeMessage(QStringLiteral("Margin Between Two Sticker"), 0,
                            StickerWorkingValues::MaxBlankLines);
    if (input.maxField < 0 || input.maxField > 7)
        return rangeMessage(QStringLiteral("Max Field"), 0, 7);
    const double pages = NumericText::leadingNumber(input.txtPage);
    if (pages != 0 && pages < 1)
        return QStringLiteral("\"Page\" must be a number of 1 or more.");
    return QString();
}

bool CharSheetWriter::write(const StickerWorkingValues &values, bool condensed, QIODevice *device,
                            QString *error)
{
    const int width = qMax(0, values.W);
    const QByteArray gap = ByteText::toBytes(values.ColumnGap);
    const int cols = values.StickerCols;
    const int lines = qMin(values.MaxField, 7);

    // Every line but the numbered one is the same in every row of every
    // page: build each once, untrimmed (for the first line of the file,
    // which carries the condensed sequence) and as written.
    QByteArray rowLine[8];
    QByteArray rowLineOut[8];
    for (int x = 1; x <= 7; ++x) {
        const QByteArray piece = ByteText::toBytes(values.LineText[size_t(x)]) + gap;
        rowLine[x] = piece.repeated(cols);
        rowLineOut[x] = trimSpaces(rowLine[x]) + "\r\n";
    }
    // The numbered line: the text of line 4 without its surrounding spaces,
    // the running number after it, cut or padded to the width.
    const QByteArray numberBase = trimSpaces(ByteText::toBytes(values.LineText[4]));
    const QByteArray blankLines = ByteText::toBytes(values.BlankLines);
    const QByteArray rowGap = blankLines + "\r\n";
    const QByteArray pageEnd = blankLines + ".  .  .\r\n";
    QByteArray prefix = condensed ? ByteText::toBytes(CondOn) : QByteArray();

    ChunkedOutput out(device);
    QByteArray line;
    line.reserve(qsizetype(cols) * (width + gap.size()) + prefix.size() + 2);
    char digits[24];
    bool ok = true;
    for (long long p = 1; ok && p <= values.Pages; ++p) {
        int n = 1;
        for (int r = 1; ok && r <= values.StickerRows; ++r) {
            for (int x = 1; ok && x <= lines; ++x) {
                if (x != 4 && prefix.isEmpty()) {
                    ok = out.append(rowLineOut[x]);
                    continue;
                }
                line = prefix;
                if (x == 4) {
                    for (int c = 1; c <= cols; ++c, ++n) {
                        const int len = std::snprintf(digits, sizeof digits, "%d", n);
                        const qsizetype start = line.size();
                        line.append(numberBase).append(digits, len);
                        if (line.size() - start >= width)
                            line.truncate(start + width);
                        else
                            line.append(width - (line.size() - start), ' ');
                        line.append(gap);
                    }
                } else {
                    line.append(rowLine[x]);
                }
                prefix.clear();
                ok = out.append(trimSpaces(line)) && out.append(QByteArrayLiteral("\r\n"));
            }
            if (ok && r < values.StickerRows)
                ok = out.append(rowGap);
        }
        if (ok)
            ok = out.append(pageEnd);
    }
    if (ok)
        ok = out.append((condensed ? ByteText::toBytes(CondOff) : QByteArray()) + "\x0c\r\n") && out.flush();
    if (!ok && error)
        *error = device->errorString();
    return ok;
}

CharSheetWriter::Result CharSheetWriter::run(const StickerInput &input)
{
    Result result;
    result.txtPage = input.txtPage;
    result.error = validate(input);
    if (!result.error.isEmpty())
        return result;

    const QString name = NextTempFileName();
    if (name.isEmpty()) {
        result.error = QStringLiteral("No temporary print file can be created.");
        return result;
    }
    StickerInput used = input;
    if (NumericText::leadingNumber(input.txtPage) == 0)
        used.txtPage = QStringLiteral("1");
    result.txtPage = used.txtPage;

    // Written whole or not at all: a failed run leaves no half sheet behind.
    QSaveFile file(name);
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
        result.error = QStringLiteral("The print file %1 cannot be written.\n%2").arg(name, reason);
        return result;
    }
    PrintFileName = name;
    result.fileName = name;
    result.ok = true;
    return result;
}
