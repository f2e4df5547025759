#include "sticker/CharSheetWriter.h"

#include "escp/EscpCommands.h"
#include "codepage/CodePage.h"
#include "platform/ByteText.h"
#include "platform/NumericText.h"
#include "platform/OutputFile.h"
#include "platform/AppPaths.h"
#include "sticker/StickerInput.h"
#include "sticker/CsvTable.h"
#include "sticker/SheetGrid.h"
#include "sticker/StickerFields.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStorageInfo>
#include <QIODevice>
#include <cmath>

namespace {

static_assert(Escp::CondOn.at(0) == SheetGrid::CondensedOn && Escp::CondOff.at(0) == SheetGrid::CondensedOff);

// The bytes between the first and the last character that is not a space.
// Only spaces are removed: a control code at either end stays.
QByteArray trimSpaces(const QByteArray &bytes)
{
    const std::string_view kept = SheetGrid::trimSpaces(std::string_view(bytes.constData(), size_t(bytes.size())));
    return QByteArray(kept.data(), qsizetype(kept.size()));
}

// The grid's bytes handed to the device; a refusal leaves its cause there.
// Each chunk is told to the progress, which may stop the sheet.
class DeviceSink : public SheetGrid::Sink
{
public:
    DeviceSink(QIODevice *device, const CharSheetWriter::Progress &progress, qint64 largest)
        : m_device(device)
        , m_progress(progress)
        , m_largest(largest)
    { }
    bool put(const char *data, size_t size) override
    {
        if (m_device->write(data, qint64(size)) != qint64(size))
            return false;
        m_written += qint64(size);
        m_stopped = m_progress && !m_progress(m_written, m_largest);
        return !m_stopped;
    }
    bool stopped() const { return m_stopped; }

private:
    QIODevice *m_device;
    const CharSheetWriter::Progress &m_progress;
    const qint64 m_largest;
    qint64 m_written = 0;
    bool m_stopped = false;
};

bool append(SheetGrid::ChunkedOutput &out, const QByteArray &bytes)
{
    return out.append(bytes.constData(), size_t(bytes.size()));
}

// The sheet filled from data rows: one sticker per row, across the row
// first, on as many pages as the rows need; the last page ends after its
// last sticker row. The running number counts on across the pages, since
// no two pages are alike.
bool writeDataSheet(
    const StickerWorkingValues &values, const QByteArray &gap, QByteArray prefix, SheetGrid::ChunkedOutput &out)
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
            if (r > 0 && !append(out, blankLines + "\r\n"))
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
                if (!append(out, trimSpaces(line) + "\r\n"))
                    return false;
            }
        }
        if (!append(out, blankLines + ".  .  .\r\n"))
            return false;
    }
    return true;
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

bool CharSheetWriter::write(const StickerWorkingValues &values, bool condensed, QIODevice *device, QString *error,
    const Progress &progress)
{
    SheetGrid::Grid grid;
    grid.lines = qMin(values.MaxField, 7);
    QByteArray text[8];
    if (!lineBytes(values, grid.lines, text, error))
        return false;
    DeviceSink sink(device, progress, values.Data ? 0 : qint64(qMin(largestSize(values), 9e18L)));
    SheetGrid::ChunkedOutput out(sink);
    bool ok;
    if (values.Data) {
        const QByteArray gap = ByteText::toBytes(values.ColumnGap);
        const QByteArray prefix = condensed ? Escp::CondOn.toByteArray() : QByteArray();
        ok = writeDataSheet(values, gap, prefix, out) && SheetGrid::finish(out, condensed);
    } else {
        for (int x = 1; x <= grid.lines; ++x)
            grid.line[x] = text[x].toStdString();
        grid.gap = ByteText::toBytes(values.ColumnGap).toStdString();
        grid.width = qMax(0, values.W);
        grid.cols = values.StickerCols;
        grid.rows = values.StickerRows;
        grid.digits = values.Digits;
        grid.pages = values.Pages;
        grid.blankLines = ByteText::toBytes(values.BlankLines).toStdString();
        grid.condensed = condensed;
        ok = SheetGrid::write(grid, out);
    }
    if (!ok && error)
        *error = sink.stopped() ? QString() : device->errorString();
    return ok;
}

// The most bytes a sheet without data can take: every line of every sticker
// at its full width (the spaces at a line's end are left out when written).
long double CharSheetWriter::largestSize(const StickerWorkingValues &values)
{
    const long double lineBytes = (long double)qMax(0, values.StickerCols)
            * ((long double)qMax(0, values.W) + ByteText::toBytes(values.ColumnGap).size())
        + 2;
    const long double rowBytes = qMin(values.MaxField, 7) * lineBytes + ByteText::toBytes(values.BlankLines).size() + 2;
    return (long double)qMax(1LL, values.Pages) * qMax(0, values.StickerRows) * rowBytes + 16;
}

CharSheetWriter::Result CharSheetWriter::run(const StickerInput &input, QString &lastTempNumber, const Progress &progress)
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

    // A sheet the temporary folder's disk cannot hold is refused before a
    // byte is written: a mistyped page count or width (a petabyte) would
    // otherwise fill the disk, with the window waiting, before the write failed.
    const StickerWorkingValues values = computeWorkingValues(used);
    if (!used.data) {
        const QStorageInfo disk(QFileInfo(name).absolutePath());
        const long double largest = largestSize(values);
        if (disk.isValid() && disk.bytesAvailable() >= 0 && largest > (long double)disk.bytesAvailable()) {
            QFile::remove(name);
            const QLocale locale;
            result.error = QCoreApplication::translate("Sticker",
                "The sheet would take up to %1, more than the %2 free for the print file in %3. "
                "Check \"Page\", \"Row\", \"Col\" and \"Max Field Lenth\".")
                               .arg(largest >= 1e18L ? QStringLiteral("%1 EB").arg(double(largest / 1e18L), 0, 'g', 3)
                                                     : locale.formattedDataSize(qint64(largest)),
                                   locale.formattedDataSize(disk.bytesAvailable()),
                                   QFileInfo(name).absolutePath());
            return result;
        }
    }

    // Written whole or not at all: a failed run leaves no half sheet behind.
    OutputFile file(name);
    QString reason;
    bool stopped = false;
    const Progress told = [&](qint64 written, qint64 largest) {
        stopped = progress && !progress(written, largest);
        return !stopped;
    };
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok)
        ok = write(values, used.condensed, &file, &reason, told);
    else
        reason = file.errorString();
    if (ok && !file.commit()) {
        ok = false;
        reason = file.errorString();
    }
    if (!ok) {
        // Nor the empty file that reserved the name.
        QFile::remove(name);
        result.stopped = stopped;
        if (stopped)
            return result;
        result.error = QCoreApplication::translate("Sticker", "The print file %1 cannot be written.\n%2")
                           .arg(name, reason);
        return result;
    }
    result.fileName = name;
    result.ok = true;
    return result;
}
