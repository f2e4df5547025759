#include "sticker/FormatFile.h"

#include "sticker/StickerInput.h"

#include "codepage/CodePage.h"
#include "sticker/PlainSlot.h"
#include "platform/NumericText.h"

#include <QLocale>
#include <QStringDecoder>
#include <cmath>

namespace FormatFile {
namespace {

// Plain decimal digits, never an exponent: readers take only the digits
// and the point, so "1.2e+16" would come back as 1.2.
QString numberText(double v)
{
    if (v == std::floor(v) && std::fabs(v) < 1e15)
        return QString::number((long long)v);
    return QString::number(v, 'f', QLocale::FloatingPointShortest);
}

const QByteArray Utf8Mark("\xEF\xBB\xBF");

bool joinLines(const QStringList &lines, QByteArray *bytes, QString *error)
{
    const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    if (CodePage::encode(CodePage::Id::Windows1252, text, bytes, nullptr))
        return true;
    // A letter Windows-1252 lacks: the whole file in UTF-8, marked as such.
    // (A lone surrogate, which no text typed holds, has no UTF-8 either.)
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        if (pair) {
            ++i;
        } else if (c.isSurrogate()) {
            if (error)
                *error = QStringLiteral("The format cannot be saved: the character U+%1 cannot be written.")
                             .arg(QString::number(c.unicode(), 16).toUpper());
            return false;
        }
    }
    *bytes = Utf8Mark + text.toUtf8();
    return true;
}

} // namespace

QString compactNumber(const QString &text)
{
    return numberText(NumericText::leadingNumber(text));
}

QString spacedNumber(double value)
{
    return (value < 0 ? QString() : QStringLiteral(" ")) + numberText(value) + QLatin1Char(' ');
}

bool slotFileBytes(const StickerInput &in, QByteArray *bytes, QString *error)
{
    QStringList lines;
    for (int i = 0; i <= 9; ++i)
        lines << in.lineTexts[size_t(i)];
    lines << QString::number(in.maxField) << compactNumber(in.TxSp) << compactNumber(in.stickersAcross)
          << compactNumber(in.TxRow) << compactNumber(in.lineWidth) << in.lineTexts[10] << in.lineTexts[11]
          << spacedNumber(NumericText::leadingNumber(in.txtRowPrint))
          << spacedNumber(NumericText::leadingNumber(in.Combo2)) << spacedNumber(in.ChkIn1 ? 1 : 0)
          << spacedNumber(in.ChkIn2 ? 1 : 0);
    return joinLines(lines, bytes, error);
}

void applySlotFile(const QStringList &lines, StickerInput &in)
{
    const int count = int(qMin<qsizetype>(lines.size(), SlotFileLines));
    auto has = [count](int line) { return line <= count; };
    auto at = [&lines](int line) { return lines.at(line - 1); };

    // Lines 1 to 8 are also kept in the settings store; a short file leaves
    // those as loaded. The other texts live only here: a line the file lacks
    // empties its field rather than leaving the previous slot's text.
    for (int i = 0; i <= 9; ++i) {
        if (has(i + 1))
            in.lineTexts[size_t(i)] = at(i + 1);
        else if (i >= 8)
            in.lineTexts[size_t(i)].clear();
    }
    in.lineTexts[10] = has(16) ? at(16) : QString();
    in.lineTexts[11] = has(17) ? at(17) : QString();
    if (has(11)) {
        // An unsigned 8-bit count: a value out of range is ignored.
        const double v = std::nearbyint(NumericText::leadingNumber(at(11)));
        if (v >= 0 && v <= 255)
            in.maxField = int(v);
    }
    QString *const grid[4] = {&in.TxSp, &in.stickersAcross, &in.TxRow, &in.lineWidth};
    for (int i = 0; i < 4; ++i) {
        if (has(12 + i))
            *grid[i] = at(12 + i);
    }
    const double rowPrint = has(18) ? NumericText::leadingNumber(at(18)) : 0;
    in.txtRowPrint = rowPrint == 0 ? QStringLiteral("1") : numberText(rowPrint);
    const bool loopGiven = has(19) && NumericText::leadingNumber(at(19)) != 0;
    in.Combo2 = loopGiven ? TrimSpaces(at(19)) : QStringLiteral("4");
    bool *const boxes[2] = {&in.ChkIn1, &in.ChkIn2};
    for (int i = 0; i < 2; ++i) {
        const long long v = has(20 + i) ? NumericText::roundedValue(at(20 + i)) : 0;
        if (v == 0 || v == 1)
            *boxes[i] = v == 1;
    }
}

bool settingFileBytes(const StickerInput &in, QByteArray *bytes, QString *error)
{
    QStringList lines;
    lines << in.TxtFontNM;
    for (const QString *field : {&in.TxtFontSZ, &in.TxtMtop, &in.TxtMLeft, &in.TxtHEight, &in.TxtWidth})
        lines << spacedNumber(NumericText::leadingNumber(*field));
    lines << QStringLiteral("0");
    return joinLines(lines, bytes, error);
}

QStringList fileLines(const QByteArray &bytes)
{
    // Line ends are bytes of ASCII, the same in the code page: the bytes are
    // cut into lines as the plain reading of a slot cuts them, then read.
    // A file saved as UTF-16 (Notepad's "Unicode") begins with its mark
    // too; read as Windows-1252 its every other byte would be a NUL.
    const bool littleEndian = bytes.startsWith("\xFF\xFE");
    if (littleEndian || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        const QString text = utf16.decode(QByteArrayView(bytes).sliced(2));
        return fileLines(Utf8Mark + text.toUtf8());
    }
    QStringList lines;
    const bool utf8 = bytes.startsWith(Utf8Mark);
    const QByteArray text = utf8 ? bytes.mid(Utf8Mark.size()) : bytes;
    for (const std::string &line : PlainSlot::fileLines(text.toStdString())) {
        const QByteArrayView view(line.data(), qsizetype(line.size()));
        lines.append(utf8 ? QString::fromUtf8(view) : CodePage::decode(CodePage::Id::Windows1252, view));
    }
    return lines;
}

void applySettingFile(const QStringList &lines, StickerInput &in)
{
    if (!lines.isEmpty())
        in.TxtFontNM = lines.at(0);
    QString *const fields[5] = {&in.TxtFontSZ, &in.TxtMtop, &in.TxtMLeft, &in.TxtHEight, &in.TxtWidth};
    for (int i = 0; i < 5 && i + 1 < lines.size(); ++i)
        *fields[i] = TrimSpaces(lines.at(i + 1));
}

} // namespace FormatFile
