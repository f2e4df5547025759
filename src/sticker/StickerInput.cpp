#include "sticker/StickerInput.h"

#include "platform/NumericText.h"
#include "startup/MainModule.h"

StickerWorkingValues computeWorkingValues(const StickerInput &input)
{
    StickerWorkingValues v;
    v.W = int(NumericText::roundedValue(input.TxMaxFLenth));
    static const int lineSources[8] = {-1, 0, 1, 2, 3, 4, 8, 9};
    for (int i = 1; i <= 7; ++i)
        v.LineText[size_t(i)] = PadRight(input.Atxt[size_t(lineSources[i])], v.W);
    v.ColumnGap = QString(int(qMax(0LL, NumericText::roundedValue(input.TxSp))), QLatin1Char(' '));
    v.StickerCols = int(NumericText::roundedValue(input.TxCol));
    v.StickerRows = int(NumericText::roundedValue(input.TxRow));
    const double blank = NumericText::leadingNumber(input.TxBlank);
    for (int i = 1; i <= blank; ++i)
        v.BlankLines += QStringLiteral("\r\n");
    v.MaxField = input.maxField;
    v.Pages = qMax(1LL, (long long)NumericText::leadingNumber(input.txtPage));
    return v;
}
