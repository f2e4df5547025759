#pragma once

#include "report/ReportViewSettings.h"

#include <QFrame>

class JeweledButton;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class ReportDocument;

// The colour-settings panel of a report view: seven swatches TXt(0)..TXt(6)
// with a sample label Lb(i) beside each, the bold and "-1 Line" boxes and the
// "Code page" drop-down and the "Printed" look. A double-click on a swatch asks for a colour and
// stores the colours; a code page chosen is stored at once.
class ReportColorPanel : public QFrame
{
    Q_OBJECT

public:
    enum Swatch {
        Dubble = 0,
        Bold = 1,
        Normal = 2,
        Condence = 3,
        ReportBack = 4,
        SearchString = 5,
        Highlight = 6
    };
    static constexpr int SwatchCount = 7;

    explicit ReportColorPanel(QWidget *parent = nullptr);

    // The document the swatches write their emphasis and paper colours into,
    // now and whenever a swatch changes, and the code page drop-down the
    // code page the user chooses; the drop-down shows the document's code
    // page (null: none).
    void setDocument(ReportDocument *document);

    // Shows the stored settings and colours the "Dubble", "Bold" and
    // "Condence" samples.
    void showSettings(const ReportViewSettings &settings);
    QColor swatchColor(int index) const;
    void setSwatchColor(int index, const QColor &color);
    bool searchBold() const;
    bool highlightBold() const;
    bool minusOneLine() const;
    CodePage::Id codePage() const;
    // "Printed": the pages as they come off the printer.
    bool printedLook() const;
    // Shows the code page without storing it (a command line's choice).
    void setCodePage(CodePage::Id codePage);

    QLineEdit *TXt[SwatchCount] = {};
    QLabel *Lb[SwatchCount] = {};
    QCheckBox *ChSearch = nullptr;
    QCheckBox *ChHighlighte = nullptr;
    QCheckBox *ChL = nullptr;
    JeweledButton *Command3 = nullptr;
    QLabel *LbCodePage = nullptr;
    QComboBox *CboCodePage = nullptr;
    QCheckBox *ChkPrinted = nullptr;
    QComboBox *CboFormLength = nullptr;
    QComboBox *CboCarriage = nullptr;
    QComboBox *CboPrinterModel = nullptr;
    // Which printer Auto took for the file shown.
    QLabel *LbModelTaken = nullptr;

    // Says which printer model the sheets on screen were read for.
    void showModelTaken(PrinterModel chosen, PrinterModel taken, bool shown);
    QPushButton *CmdForm = nullptr; // "Form...": the forms under the printed sheets

signals:
    // The user chose another code page (it is stored, and in the document, already).
    void codePageChosen(CodePage::Id codePage);
    // The user chose the look on screen (it is stored already).
    void printedLookChosen(bool printed);
    // The user chose "Detect": the view guesses; nothing is stored.
    void detectChosen();
    // The user chose another form length, carriage or printer model (stored already).
    void printerChosen();
    // A swatch shows another colour.
    void swatchChanged();
    // The user chose other forms, or none (stored already).
    void formsChosen();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The steps of building the panel, a group of controls each, top down.
    void buildTitle(QGridLayout *grid);
    void buildSwatches(QGridLayout *grid);
    void buildCodePage(QGridLayout *grid);
    // The printed look and the printer it is read for.
    void buildPrinter(QGridLayout *grid);
    void buildFormChoice(QGridLayout *grid);
    // The close button square, as tall as the font makes it.
    void squareClose();
    void chooseColor(int index);
    // The emphasis and paper swatches into the document, when there is one.
    void writeColors();
    void colorSample(int index);
    ReportViewSettings currentSettings() const;

    QColor m_colors[SwatchCount];
    CodePage::Id m_codePage = CodePage::Id::Latin1;
    ReportDocument *m_document = nullptr;
};
