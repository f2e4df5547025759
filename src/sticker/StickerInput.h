#pragma once

#include "codepage/CodePage.h"
#include "sticker/BarcodeKind.h"

#include <QString>
#include <array>
#include <memory>

class CsvTable;

// What the sticker form holds when a print button is pressed: the texts and
// states of its controls, read by both sheet outputs.
struct StickerInput
{
    std::array<QString, 12> lineTexts;  // Atxt(0) ... Atxt(11)
    QString TxSp = QStringLiteral("3");
    QString stickersAcross = QStringLiteral("6");
    QString TxRow = QStringLiteral("12");
    QString TxBlank = QStringLiteral("3");
    QString lineWidth = QStringLiteral("4");
    QString pageCount = QStringLiteral("1");
    int maxField = 1;               // Combo1: lines per sticker, 1 to 7
    bool condensed = false;         // Op(1) selected
    bool windowMode = false;        // ChKwIN "Window"

    // Windows-mode geometry and numbering.
    QString TxtFontNM;
    QString TxtFontSZ;
    QString TxtMtop;
    QString TxtMLeft;
    QString TxtHEight;              // column pitch
    QString TxtWidth;               // line pitch
    QString txtRowPrint;            // rows per printed sheet
    QString Combo2 = QStringLiteral("4"); // loop position
    bool ChkIn1 = true;             // "++" on the inner line
    bool ChkIn2 = true;             // "++" on the outer line

    // Beyond the form's fields; the defaults leave every sheet as it was.
    static constexpr int MaxDigits = 20;
    int digits = 0;                 // running numbers padded with zeros to this many digits
    int startAt = 1;                // Windows mode: first position used on the first sheet
    BarcodeKind barcode = BarcodeKind::None; // Windows mode: the inner number's line as a barcode
    CodePage::Id sheetCodePage = CodePage::Id::Windows1252; // character mode: the printer's code page
    QString dataFile;               // CSV file of the stickers, read into `data` by StickerFields::loadData()
    QChar dataDelimiter;            // comma, semicolon or tab; none: found from the header line
    QString dataEncoding;           // empty: found from the bytes (a byte-order mark always decides)
    std::shared_ptr<const CsvTable> data; // one sticker per row; null: every sticker alike
};

// The working values both outputs compute at the start of every run.
struct StickerWorkingValues
{
    static constexpr int MaxBlankLines = 32767;

    int W = 0;                         // width of every sticker line
    std::array<QString, 8> LineText;   // lines 1 to 7, PadRight to W; [0] unused
    QString ColumnGap;                 // spaces after every sticker of a line
    int StickerCols = 0;
    int StickerRows = 0;
    QString BlankLines;                // one CR LF per unit of TxBlank
    int MaxField = 1;                  // 0 to 255; a sheet uses at most 7
    long long Pages = 1;               // whole pages; 0 or empty counts as 1

    int Digits = 0;                    // running numbers padded with zeros to this width
    CodePage::Id SheetCodePage = CodePage::Id::Windows1252; // the character-mode sheet's bytes
    std::array<QString, 8> LineSource; // lines 1 to 7 as typed, filled from Data; [0] unused
    std::shared_ptr<const CsvTable> Data; // one sticker per row when set
};

StickerWorkingValues computeWorkingValues(const StickerInput &input);

// The "Page" field as a run uses it: 0 (empty, or no number) is one page,
// and the field then reads "1", as the form shows after the run.
void countPagesFromOne(StickerInput &input);

// A running number's decimal text padded with zeros after any minus sign to
// `digits` digits. A text that is not a whole number stays as it is.
QString zeroPadded(const QString &number, int digits);

// The text without its leading and trailing spaces (other blanks stay).
QString TrimSpaces(const QString &text);

// Trimmed text, left-aligned, exactly `width` characters.
QString PadRight(const QString &text, int width);
