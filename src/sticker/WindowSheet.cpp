#include "sticker/WindowSheet.h"

#include "platform/NumericText.h"
#include "sticker/StickerInput.h"
#include "sticker/Barcode.h"
#include "sticker/CsvTable.h"
#include "sticker/StickerFields.h"
#include "sticker/StickerSurface.h"

#include <cmath>
#include <limits>

#include <QCoreApplication>
#include <QPageSize>
#include <QSizeF>

namespace {

// The last line a sticker has: the form offers 1 to 7.
constexpr int LastLine = 7;

} // namespace

WindowSheetValues computeWindowSheetValues(const StickerInput &input)
{
    WindowSheetValues v;
    // A whole number past what a 64-bit count holds would come out as the
    // most negative one; the sheet refuses it (checkWindowSheet).
    const auto rounded = [&v](const QString &text) {
        bool whole = false;
        const long long exact = text.trimmed().toLongLong(&whole); // all 18 digits, where a double keeps 15
        if (whole)
            return exact;
        const double value = NumericText::leadingNumber(text);
        if (std::fabs(value) >= 9.2e18) {
            if (v.tooLarge.isEmpty())
                v.tooLarge = text.trimmed();
            return 0LL;
        }
        return std::llrint(value);
    };
    v.fontName = input.TxtFontNM;
    const long long size = NumericText::roundedValue(input.TxtFontSZ);
    v.fontSize = size <= 0 ? 10 : int(qMin(size, 32767LL));
    v.X0 = rounded(input.TxtMLeft);
    v.Y0 = rounded(input.TxtMtop);
    v.columnPitch = rounded(input.TxtHEight);
    v.linePitch = rounded(input.TxtWidth);
    v.rowPitch = NumericText::leadingNumber(input.TxBlank);
    v.rowsPerSheet = NumericText::leadingNumber(input.txtRowPrint);
    v.loopPosition = int(NumericText::leadingNumber(input.Combo2));
    if (v.loopPosition == 0)
        v.loopPosition = 4;
    v.innerLine = v.loopPosition == 4 ? 4 : 5;
    v.outerLine = v.loopPosition == 4 ? 5 : 4;
    rounded(input.lineTexts[6]); // the first range's end, counted to as the start is
    v.innerFrom = NumericText::leadingNumber(input.lineTexts[5]);
    v.innerTo = NumericText::leadingNumber(input.lineTexts[6]);
    bool fromWhole = false;
    bool toWhole = false;
    v.innerFromWhole = input.lineTexts[5].trimmed().toLongLong(&fromWhole);
    v.innerToWhole = input.lineTexts[6].trimmed().toLongLong(&toWhole);
    v.innerWhole = fromWhole && toWhole;
    v.cycleStart = rounded(input.lineTexts[5]);
    v.outerStart = rounded(input.lineTexts[10]);
    v.numberInner = input.ChkIn1;
    v.numberOuter = input.ChkIn2;
    v.startAt = input.startAt;
    v.barcode = input.barcode;
    return v;
}

bool rowsPerSheetValid(double rowsPerSheet)
{
    return rowsPerSheet >= 1 && std::floor(rowsPerSheet) == rowsPerSheet;
}

QString runningNumberText(double value)
{
    // In decimal: a whole number with all its digits, however large.
    if (std::floor(value) == value && std::fabs(value) < 1e15)
        return QString::number(static_cast<long long>(value));
    if (std::floor(value) == value)
        return QString::number(value, 'f', 0);
    return QString::number(value, 'g', 15);
}

namespace {

// Encodes every barcode of a sheet without drawing it, so that a text the
// symbology refuses stops the run before the first sheet is printed.
class BarcodeCheckSurface : public StickerSurface
{
protected:
    bool drawText(const StickerText &item) override
    {
        if (item.barcode == BarcodeKind::None)
            return true;
        setErrorText(Barcode::check(item.barcode, item.text));
        return errorText().isEmpty();
    }
};

// The sheet's two running numbers: the inner one on its line counts from
// innerFrom to innerTo and round again; the outer one on its line goes one
// up each time the inner count has come round.
struct RunningNumbers
{
    double inner = 0;
    long long innerWhole = 0; // the inner count when both ends are whole numbers
    long long cyclePosition = 0;
    long long outer = 0;

    explicit RunningNumbers(const WindowSheetValues &values) { restart(values); }

    void restart(const WindowSheetValues &values)
    {
        inner = values.innerFrom;
        innerWhole = values.innerFromWhole;
        cyclePosition = values.cycleStart;
        outer = values.outerStart;
    }

    // What line x of the next sticker shows after its text (nothing on the
    // other lines, or when the number is not shown); the count goes on.
    QString next(int x, const WindowSheetValues &values, int digits)
    {
        QString number;
        if (x == values.innerLine && values.innerWhole) {
            if (values.numberInner)
                number = zeroPadded(QString::number(innerWhole), digits);
            innerWhole = innerWhole == values.innerToWhole || innerWhole == std::numeric_limits<long long>::max()
                ? values.innerFromWhole
                : innerWhole + 1;
        } else if (x == values.innerLine) {
            if (values.numberInner)
                number = zeroPadded(runningNumberText(inner), digits);
            inner = inner == values.innerTo ? values.innerFrom : inner + 1;
        } else if (x == values.outerLine) {
            if (values.numberOuter)
                number = zeroPadded(QString::number(outer), digits);
            if (values.innerWhole ? cyclePosition == values.innerToWhole : double(cyclePosition) == values.innerTo) {
                cyclePosition = values.cycleStart;
                ++outer;
            } else {
                ++cyclePosition;
            }
        }
        return number;
    }
};

// Line x of a sticker at (left, top): its text, or on the inner line of a
// sheet with barcodes the barcode of what the line would show.
bool printLine(StickerSurface &surface, const StickerWorkingValues &work, const WindowSheetValues &values, int x,
    const QString &text, double left, double top)
{
    surface.CurrentX = left;
    surface.CurrentY = top;
    surface.FontName = values.fontName;
    surface.FontSize = values.fontSize;
    surface.FontBold = true;
    if (x == values.innerLine && values.barcode != BarcodeKind::None) {
        const QString shown = PadRight(text, work.W).trimmed();
        // A number cut to the line's width would give other stickers the
        // same bar code (ABCDEFGH00 for 1 and for 100): refused, as the
        // printed line's cut is not.
        if (!text.mid(qMax(0, work.W)).trimmed().isEmpty())
            return surface.refuse(QStringLiteral("The bar code of line %1 would be cut to the line's %2 characters "
                                                 "(\"%3\" of \"%4\"), and stickers would carry the same code: widen "
                                                 "\"Max Field Lenth\" or use fewer digits.")
                                      .arg(x)
                                      .arg(work.W)
                                      .arg(shown, text.trimmed()));
        return shown.isEmpty()
            || surface.PrintBarcode(shown, values.barcode, double(values.columnPitch), double(values.linePitch));
    }
    return surface.Print(PadRight(text, work.W));
}

bool drawSheet(const StickerWorkingValues &work, const WindowSheetValues &values, StickerSurface &surface,
    SheetTarget target, QString *errorText)
{
    const bool printer = target == SheetTarget::Printer;
    const int lines = qMin(work.MaxField, LastLine);
    auto fail = [&] {
        surface.AbandonDoc();
        if (errorText)
            *errorText = surface.errorText();
        return false;
    };

    const CsvTable *data = work.Data.get();
    const long long dataRows = data ? data->rowCount() : 0;
    const long long perPage = qMax(0LL, (long long)work.StickerRows * work.StickerCols);
    const long long skip = qMax(0, values.startAt - 1);
    const long long pages = !data ? work.Pages : perPage > 0 ? (skip + dataRows + perPage - 1) / perPage : 1;

    // Line x of the run's sticker `index`: as typed, or filled from its row.
    auto lineText = [&](int x, long long index) {
        if (!data)
            return work.LineText[size_t(x)].trimmed();
        return PadRight(StickerFields::fill(work.LineSource[size_t(x)], *data, int(index)), work.W).trimmed();
    };

    RunningNumbers numbers(values);
    long long k = 0; // rows in the open printer document
    for (long long page = 1; page <= pages; ++page) {
        // A page that starts inside an open document goes on below the rows
        // already in it instead of printing over them.
        double yOff = printer ? double(std::llrint(k * values.rowPitch)) : 0.0;
        // The pages of one sheet repeat its numbers; data pages count on.
        if (!data)
            numbers.restart(values);
        for (int r = 1; r <= work.StickerRows; ++r) {
            // The run's sticker (data row) in the first column of this row.
            const long long rowFirst = (page - 1) * perPage + (long long)(r - 1) * work.StickerCols - skip;
            if (data && rowFirst >= dataRows)
                break;
            for (int x = 1; x <= lines; ++x) {
                double xOff = 0;
                for (int c = 1; c <= work.StickerCols; ++c, xOff += double(values.columnPitch)) {
                    const long long index = rowFirst + c - 1;
                    if (data ? index < 0 || index >= dataRows : page == 1 && index < 0)
                        continue;
                    const QString text = lineText(x, index) + numbers.next(x, values, work.Digits);
                    if (!printLine(surface, work, values, x, text, double(values.X0) + xOff, double(values.Y0) + yOff))
                        return fail();
                }
                yOff += double(values.linePitch);
            }
            if (printer) {
                ++k;
                yOff = double(std::llrint(k * values.rowPitch));
                if (double(k) == values.rowsPerSheet) {
                    if (!surface.EndDoc())
                        return fail();
                    yOff = 0;
                    k = 0;
                }
            } else {
                yOff = double(std::llrint(r * values.rowPitch));
            }
        }
    }
    if (printer && values.rowsPerSheet > 1 && !surface.EndDoc())
        return fail();
    return true;
}

} // namespace

QString checkWindowSheet(const StickerWorkingValues &work, const WindowSheetValues &values)
{
    if (!values.tooLarge.isEmpty())
        return QStringLiteral("\"%1\" is too large a number for the sheet (at most 9223372036854775807).")
            .arg(values.tooLarge);
    const long long perPage = qMax(0LL, (long long)work.StickerRows * work.StickerCols);
    if (values.startAt < 1 || (perPage > 0 && values.startAt > perPage))
        return QStringLiteral("\"Start at sticker\" must be a number from 1 to %1, the stickers on a sheet.")
            .arg(qMax(1LL, perPage));
    if (values.barcode != BarcodeKind::None && (values.columnPitch <= 0 || values.linePitch <= 0))
        return QStringLiteral("A barcode needs room: \"Sticker Left Space\" and \"Space Between Two value\" "
                              "must be above 0.");
    return StickerFields::checkPlaceholders(work, qMin(work.MaxField, LastLine));
}

// A sheet of no rows, no columns or no lines draws nothing, and a run of it
// would be told as done: a first range that runs backwards makes the form
// work out a negative row count, so it is named as the cause.
static QString checkSomethingDrawn(const StickerWorkingValues &work, const WindowSheetValues &values)
{
    if (work.StickerRows < 1 && values.innerTo < values.innerFrom)
        return QCoreApplication::translate(
            "Sticker", "The first range runs backwards, from %1 to %2: give the smaller number first.")
            .arg(runningNumberText(values.innerFrom), runningNumberText(values.innerTo));
    if (work.StickerRows < 1 || work.StickerCols < 1)
        return QCoreApplication::translate("Sticker",
            "A sheet of %1 columns and %2 rows of stickers holds none: \"Col\" and \"Row\" must be 1 or more.")
            .arg(work.StickerCols)
            .arg(work.StickerRows);
    if (work.MaxField < 1)
        return QCoreApplication::translate("Sticker", "The stickers have no lines: \"Max Field\" must be 1 or more.");
    return QString();
}

// The sheets are A4 portrait (the printer and the PDF are set to it): a
// first sticker whose corner lies past the sheet's right or bottom edge puts
// every sticker off the paper, and the run would print blank sheets; so do
// margins so far left or up that even the last column's or row's text, at
// its widest (a character an em wide), ends before the sheet begins.
// A column or a row of a printed sheet that starts past the paper's edge
// would be lost without a word while the rest prints: refused too.
static QString checkOnPaper(const StickerWorkingValues &work, const WindowSheetValues &values)
{
    const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Millimeter) * (1440 / 25.4); // twips
    const double em = 20.0 * values.fontSize; // twips
    const double lastColumn = double(values.X0) + qMax(0.0, double(work.StickerCols - 1) * double(values.columnPitch));
    // The rows one printed page holds: Row Printing's, or all there are
    // (with data, as many as its rows fill after the start position).
    const double allRows = work.Data
        ? std::ceil(double(qMax(0, values.startAt - 1) + work.Data->rowCount()) / double(qMax(1, work.StickerCols)))
        : double(work.StickerRows) * double(qMax(1LL, work.Pages));
    const double rows = qMin(values.rowsPerSheet, qMax(1.0, allRows));
    // A sticker's text at its widest (a character an em wide), and from its
    // first line's top to below its last.
    const double textWidth = em * qMax(1, work.W);
    const double stickerHeight = qMax(0.0, double(qMin(work.MaxField, LastLine) - 1) * double(values.linePitch)) + 2 * em;
    const double lastRow = double(values.Y0) + qMax(0.0, (rows - 1) * values.rowPitch);
    const bool reaches = lastColumn + textWidth > 0 && lastRow + stickerHeight > 0;
    if (!(double(values.X0) < a4.width() && double(values.Y0) < a4.height() && reaches))
        return QStringLiteral("No sticker falls on the paper: the margins (left %1, top %2 twips) lie beyond the "
                              "A4 sheet (%3 x %4 twips).")
            .arg(values.X0)
            .arg(values.Y0)
            .arg(qRound(a4.width()))
            .arg(qRound(a4.height()));
    if (lastColumn >= a4.width()) {
        const long long onPaper
            = values.columnPitch > 0 ? (long long)std::ceil((a4.width() - double(values.X0)) / double(values.columnPitch)) : 1;
        return QCoreApplication::translate("Sticker",
            "Only %1 of the %2 columns of stickers fall on the A4 sheet (%3 twips wide); the others would not "
            "print. Use fewer columns, or less \"Sticker Left Space\".")
            .arg(onPaper)
            .arg(work.StickerCols)
            .arg(qRound(a4.width()));
    }
    if (lastRow >= a4.height()) {
        const long long onPaper
            = values.rowPitch > 0 ? (long long)std::ceil((a4.height() - double(values.Y0)) / values.rowPitch) : 1;
        return QCoreApplication::translate("Sticker",
            "Only %1 of the %2 rows of stickers on a printed sheet fall on the A4 sheet (%3 twips high); the others "
            "would not print. Lower \"Row Printing\", or the \"Margin Between Two Sticker\".")
            .arg(onPaper)
            .arg(qRound(rows))
            .arg(qRound(a4.height()));
    }
    // Pitches below 0 run the columns to the left and the rows upwards: the
    // first ones are on the sheet, and those whose text ends before the
    // sheet begins would be lost as quietly.
    const double firstColumnLeft = double(values.X0) + qMin(0.0, double(work.StickerCols - 1) * double(values.columnPitch));
    if (firstColumnLeft + textWidth <= 0) {
        const long long onPaper
            = (long long)std::ceil((double(values.X0) + textWidth) / -double(values.columnPitch));
        return QStringLiteral("Only %1 of the %2 columns of stickers fall on the A4 sheet: \"Sticker Left Space\" "
                              "is below 0 (%3 twips), and the others would lie left of the sheet.")
            .arg(qBound(1LL, onPaper, (long long)work.StickerCols))
            .arg(work.StickerCols)
            .arg(values.columnPitch);
    }
    const double firstRowTop = double(values.Y0) + qMin(0.0, (rows - 1) * values.rowPitch);
    if (firstRowTop + stickerHeight <= 0) {
        const long long onPaper = (long long)std::ceil((double(values.Y0) + stickerHeight) / -values.rowPitch);
        return QStringLiteral("Only %1 of the %2 rows of stickers on a printed sheet fall on the A4 sheet: the "
                              "\"Margin Between Two Sticker\" is below 0 (%3 twips), and the others would lie above "
                              "the sheet.")
            .arg(qBound(1LL, onPaper, (long long)qRound64(rows)))
            .arg(qRound(rows))
            .arg(values.rowPitch);
    }
    return QString();
}

bool drawWindowSheet(const StickerWorkingValues &work, const WindowSheetValues &values,
                     StickerSurface &surface, SheetTarget target, QString *errorText)
{
    const QString refused = windowSheetRefusal(work, values, target);
    if (!refused.isEmpty()) {
        if (errorText)
            *errorText = refused;
        return false;
    }
    return drawSheet(work, values, surface, target, errorText);
}

QString windowSheetRefusal(const StickerWorkingValues &work, const WindowSheetValues &values, SheetTarget target)
{
    QString refused = checkWindowSheet(work, values);
    if (refused.isEmpty())
        refused = checkSomethingDrawn(work, values);
    if (refused.isEmpty() && target == SheetTarget::Printer)
        refused = checkOnPaper(work, values);
    if (refused.isEmpty() && values.barcode != BarcodeKind::None && values.innerLine <= qMin(work.MaxField, LastLine)) {
        BarcodeCheckSurface check;
        drawSheet(work, values, check, target, &refused);
    }
    return refused;
}

bool drawWindowSheetOnPrinter(StickerInput &input, StickerSurface &printer, WindowSheetFailure *failure)
{
    WindowSheetFailure ignored;
    WindowSheetFailure &f = failure ? *failure : ignored;
    f = WindowSheetFailure();
    countPagesFromOne(input);
    const WindowSheetValues values = computeWindowSheetValues(input);
    if (!rowsPerSheetValid(values.rowsPerSheet)) {
        f.kind = WindowSheetFailure::RowsPerSheet;
        f.message = QStringLiteral("Row Printing must be a whole number of 1 or more (it is \"%1\").")
                        .arg(input.txtRowPrint);
        return false;
    }
    const StickerWorkingValues work = computeWorkingValues(input);
    // A printer that cannot take these settings prints with its own.
    printer.setOrientation(1);
    printer.setPaperSize(9);
    QString error;
    if (!drawWindowSheet(work, values, printer, SheetTarget::Printer, &error)) {
        f.kind = WindowSheetFailure::Drawing;
        f.message
            = QCoreApplication::translate("Sticker", "The stickers could not be printed.\n%1").arg(error);
        return false;
    }
    return true;
}

QString drawWindowSheetPreview(StickerInput &input, StickerSurface &pic)
{
    countPagesFromOne(input);
    const WindowSheetValues values = computeWindowSheetValues(input);
    const StickerWorkingValues work = computeWorkingValues(input);
    pic.Cls();
    QString refused;
    drawWindowSheet(work, values, pic, SheetTarget::Preview, &refused);
    return refused;
}
