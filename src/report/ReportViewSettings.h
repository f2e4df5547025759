#pragma once

#include "codepage/CodePage.h"
#include "escp/SheetIndex.h"
#include "form/FormChoice.h"
#include "report/FormLength.h"

#include <QColor>
#include <QStringList>

// The report view's stored colours and options (section "ReportView"). Read
// once per load; an absent value, or one that is not a number, gives the
// default. Colours are stored as 0x00BBGGRR in decimal.
struct ReportViewSettings
{
    QColor doubleWidth = QColor(0, 0, 0x80);           // "BBold"
    QColor bold = QColor(0x80, 0, 0);             // "Bold"
    QColor condensed = QColor(0x80, 0, 0x80);      // "Cond"
    QColor reportBack = QColor(0xFF, 0xFF, 0xFF); // "RepotBackColor"
    QColor searchString = QColor(0xFF, 0x80, 0);  // "SearchString"
    QColor highlight = QColor(0xFF, 0, 0);        // "Highlight"
    bool searchBold = true;                       // "chSearch"
    bool highlightBold = false;                   // "ChHighlighte"
    bool minusOneLine = false;                    // "chl"
    // "CodePage", by name; an unknown name reads as Latin-1.
    CodePage::Id codePage = CodePage::Id::Latin1;
    // The printed look: the page on screen as it comes off the printer
    // ("Printed", 0 or 1), the form length of files that set none, in
    // inches ("FormLength": 11, 12 for European fanfold) and the carriage
    // ("WideCarriage": 1 for 13.6 in, 0 for 8 in).
    // The printer model ("PrinterModel": auto, 9-pin, 24-pin or escp2).
    bool printedLook = false;
    double formLengthInches = DefaultFormLength;
    bool wideCarriage = true;
    PrinterModel printerModel = PrinterModel::Auto;
    // The forms under the printed look's sheets ("FormFirst", "FormNext":
    // paths, empty for none; "FormOffset": "X,Y" in millimetres).
    FormChoice forms;

    static constexpr double DefaultFormLength = PrinterSetup::DefaultFormLength;
    static constexpr double ShortestForm = FormLength::Shortest;
    static constexpr double LongestForm = FormLength::Longest;
    static constexpr double WideCarriage = PrinterSetup::WideCarriage;
    static constexpr double NarrowCarriage = PrinterSetup::NarrowCarriage;

    // The printer as these settings set it up before a file says anything.
    PrinterSetup printerSetup() const;
    // The printer's settings a command line option or a rule key overrides,
    // named alike in both: "form-length" (inches), "carriage" (wide or
    // narrow) and "printer" (a model's name). Convert, print and a rule's
    // sheet count all set them here, so that they count the same sheets.
    // False for a key or value not taken (the settings unchanged).
    static const QStringList &printerOptionKeys();
    bool setPrinterOption(const QString &key, const QString &value);

    static ReportViewSettings read();

    // The colour of the page's plain text on paper of this colour: black,
    // or white on a dark paper. The page never takes the desktop's text
    // colour, which a dark theme makes white on the white paper.
    static QColor pageText(const QColor &paper);

    // Written together whenever a swatch colour is chosen. Each save is
    // false when the settings file cannot be written (SettingsStore::save).
    bool saveColors() const;
    static bool saveHighlightBold(bool on);
    static bool saveMinusOneLine(bool on);
    static bool saveCodePage(CodePage::Id codePage);
    static bool savePrintedLook(bool on);
    static bool savePrinter(double formLengthInches, bool wideCarriage);
    static bool savePrinterModel(PrinterModel model);
    static bool saveForms(const FormChoice &forms);
};
