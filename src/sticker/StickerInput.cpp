#include "sticker/StickerInput.h"

#include "platform/NumericText.h"

#include <cmath>

namespace {

// The rounded value of a number typed by the user, held within [lo, hi] so a
// huge or absurd entry can never overflow a count or a string length. The
// character-mode checks reject such entries before a sheet is written.
int boundedRound(const QString &text, int lo, int hi)
{
    const double v = NumericText::leadingNumber(text);
    if (!(v >= lo))
        return lo;
    if (v >= hi)
        return hi;
    return int(std::nearbyint(v));
}

} // namespace

StickerWorkingValues computeWorkingValues(const StickerInput &input)
{
    StickerWorkingValues v;
    v.W = boundedRound(input.lineWidth, -32768, 32767);
    static const int lineSources[8] = {-1, 0, 1, 2, 3, 4, 8, 9};
    for (int i = 1; i <= 7; ++i) {
        v.LineSource[size_t(i)] = input.lineTexts[size_t(lineSources[i])];
        v.LineText[size_t(i)] = PadRight(v.LineSource[size_t(i)], v.W);
    }
    v.ColumnGap = QString(boundedRound(input.TxSp, 0, 32767), QLatin1Char(' '));
    v.StickerCols = boundedRound(input.stickersAcross, 0, 255);
    v.StickerRows = boundedRound(input.TxRow, -32768, 32767);
    // One CR LF per whole unit: 2.5 gives two, anything below 1 none.
    const double blank = qMin(NumericText::leadingNumber(input.TxBlank), double(StickerWorkingValues::MaxBlankLines));
    for (int i = 1; i <= blank; ++i)
        v.BlankLines += QStringLiteral("\r\n");
    v.MaxField = qBound(0, input.maxField, 255);
    const double pages = NumericText::leadingNumber(input.pageCount);
    v.Pages = pages >= 1 ? (pages < 1e15 ? (long long)pages : (long long)1e15) : 1;
    v.Digits = qBound(0, input.digits, StickerInput::MaxDigits);
    v.SheetCodePage = input.sheetCodePage;
    v.Data = input.data;
    return v;
}

void countPagesFromOne(StickerInput &input)
{
    if (NumericText::leadingNumber(input.pageCount) == 0)
        input.pageCount = QStringLiteral("1");
}

QString zeroPadded(const QString &number, int digits)
{
    const int sign = number.startsWith(QLatin1Char('-')) ? 1 : 0;
    const qsizetype length = number.size() - sign;
    if (length >= digits || length == 0)
        return number;
    for (qsizetype i = sign; i < number.size(); ++i)
        if (!number.at(i).isDigit())
            return number;
    return number.left(sign) + QString(digits - length, QLatin1Char('0')) + number.mid(sign);
}

QString TrimSpaces(const QString &text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text.at(b) == QLatin1Char(' '))
        ++b;
    while (e > b && text.at(e - 1) == QLatin1Char(' '))
        --e;
    return text.mid(b, e - b);
}

QString PadRight(const QString &text, int width)
{
    if (width <= 0)
        return QString();
    QString s = TrimSpaces(text);
    s.append(QString(width, QLatin1Char(' ')));
    return s.left(width);
}
