#pragma once

#include "gui/platform/UnsavedSettings.h"
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
// "Code page" drop-down and the "Printed" look. It shows and sets its
// document's look, whoever else sets it too: a double-click on a swatch asks
// for a colour and stores the colours; a code page chosen is stored at once.
// The printer's choices are stored settings. A view builds it when it is
// first shown.
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

    explicit ReportColorPanel(ReportDocument &document, QWidget *parent = nullptr);

    // Shows the document's look and the stored printer choices again (a
    // file was loaded, with the stored settings).
    void refresh();
    // The colour of a swatch in the document (the text of "Normal" is black).
    static QColor swatchColor(const ReportDocument &document, int index);
    QColor swatchColor(int index) const;
    // "Printed"'s tip, which the view's menu entry shows too.
    static QString printedToolTip();

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
    // The user chose the look on screen (it is stored, and in the document, already).
    void printedLookChosen(bool printed);
    // The user chose "Detect": the view guesses; nothing is stored.
    void detectChosen();
    // The user chose another form length, carriage or printer model (stored already).
    void printerChosen();
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
    // What the document holds, shown: the swatches and their samples, the
    // marks' boxes, the code page and the look.
    void showColors();
    void showMarks();
    void showCodePage();
    void chooseColor(int index);
    // A swatch's colour into the document.
    void setSwatchColor(int index, const QColor &color);
    void saveColors();
    // A settings file that cannot be written is said, once.
    void tellUnsaved(bool saved);
    UnsavedSettings m_unsaved;

    ReportDocument &m_document;
};
