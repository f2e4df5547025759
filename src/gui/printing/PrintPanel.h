#pragma once

#include "gui/platform/UnsavedSettings.h"
#include "printing/PrinterList.h"
#include "report/ReportDocument.h"

#include <QFrame>

#include <functional>

class JeweledButton;
class SpLebal;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;
struct CharModeOptions;
struct DesktopPrintSetup;

// How the panel prints: raw to the printer ("Dos", character mode) or
// through the desktop printer driver ("Windows").
enum class PrintMode { Character, Desktop };

// What the panel's boxes choose, as the print routines take it.
struct PrintChoice
{
    PrintMode mode = PrintMode::Character;
    PageSelection pages;
    long long copies = 1;       // the copies box's leading number; 0 when below one
    QString copiesText;         // the copies box as typed
    QString printerName;        // the printer list's text
    bool pageOnScreen = false;  // "Option": the page on screen through the print dialog
};

// The print-options panel of a report view: printer, mode, pitch, pages,
// copies and paper height. It lives inside its view, hidden until the view's
// print button shows it. Its print button writes the chosen pages to a page
// file and prints it raw (character mode), or prints the pages through the
// desktop driver (Windows mode).
class PrintPanel : public QFrame
{
    Q_OBJECT

public:
    // The panel of a view showing `document`, which it prints from; the
    // page count follows the document.
    explicit PrintPanel(ReportDocument &document, QWidget *parent = nullptr);
    // A panel with no document has only its own rules.
    explicit PrintPanel(QWidget *parent = nullptr);

    // The boxes' choice: mode, pages, copies, printer.
    PrintChoice choice() const;
    // The page options alone, the range as typed (whole numbers, rounded).
    PageSelection pageSelection() const;
    // The recorded page file of the last character-mode print of one page
    // or a range (empty when it printed the whole file).
    QString pageFile() const { return m_pageFile; }
    // Where a print of the page on screen takes what the view shows of it
    // (its edited text, the selection), asked at each print; unset: the
    // page as read.
    void setShownText(std::function<ShownText()> shown) { m_shownText = std::move(shown); }

    // The view's print button: shows the panel and checks the printer list.
    void CmdPrint_Click();

    // Fills the printer list with the installed printers and shows the
    // current printer (the system default until a print chooses another) in
    // CboPrinters and LaDefult. The spooler is asked on a thread of its own
    // once the window is first drawn (loading the CUPS client and all it
    // pulls in would delay its first picture; FirstPaint): the list fills
    // when it answers, and the window never waits for it.
    void LoadPrinters();
    // Waits, with the windows answering, until the list asked for has come
    // (a few seconds at most): what the print buttons do before they read it.
    void waitForPrinters();
    // After waitForPrinters(): when the print server did not answer, tells
    // so (once, in a message box), asks it again for the next click, and
    // returns false.
    bool printServerAnswered();
    // The paper-height box's text ("0" at every load of the view).
    void setPaperHeightText(const QString &text);
    // The page count: shown in the range end box's tool tip and used by the
    // range check (a panel of a document follows the document's).
    void setPageCount(int pageCount);
    // Page options: Op(0) "All Pages", Op(1) "Current Page", Op(2) "Page Range".
    // Selecting one runs the page-option rule, as a click does.
    void selectPageOption(int index);
    int pageOption() const;
    // Selects the Windows mode when the stored "Winp" says so.
    void readStoredMode();
    bool windowsMode() const;
    // The range check: puts the end within start..page count and an empty
    // start to 1; false (after its message, with the focus kept in Tend)
    // when no end is left.
    bool checkRange();
    bool rangeExists();
    // What a character-mode print of the current choice hands to raw printing.
    CharModeOptions charModeOptions() const;
    // The desktop-driver printer of a Windows-mode print: the chosen printer,
    // the orientation and the view's look; the printer's name is the one
    // chosen in the list (the real printer route prints on the current one).
    DesktopPrintSetup desktopSetup() const;
    // The preview button (Windows mode): the print preview of what the print
    // button prints, each page once: the chosen pages, or with Chwinprint the
    // page on screen.
    void CmdPreview_Click();

signals:
    void printersListed();

public:
    QComboBox *CboPrinters = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *LaDefult = nullptr;
    QRadioButton *OptCharMode = nullptr;
    QRadioButton *OptWinMode = nullptr;
    QCheckBox *Chwinprint = nullptr;
    QCheckBox *Check4 = nullptr;
    QCheckBox *ChDraft = nullptr;
    QCheckBox *Ch10 = nullptr;
    QCheckBox *Ch17 = nullptr;
    QCheckBox *Ch12 = nullptr;
    QGroupBox *FrmWin = nullptr;
    QRadioButton *OpPL[2] = {};
    QRadioButton *Op[3] = {};
    QLineEdit *Tst = nullptr;
    QLineEdit *Tend = nullptr;
    QLineEdit *Text3 = nullptr;
    QScrollBar *VScroll1 = nullptr;
    QComboBox *ComPaperHeight = nullptr;
    JeweledButton *CmdOk = nullptr;
    JeweledButton *CmdCancel = nullptr;
    JeweledButton *CmdPreview = nullptr;
    SpLebal *SpLebal1 = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPrinterChoice();
    void buildModeChoice();
    void buildPitchChoice();
    void buildOrientationChoice();
    void buildPageChoice();
    void buildRangeLabel();
    void buildCopiesAndPaper();
    void buildButtons();
    void layOutControls();
    void connectRules();
    void modeRule();
    void applyModeLook();
    void pitchRule(QCheckBox *clicked);
    void pageOptionRule();
    void VScroll1_Change(int position);
    void CmdOk_Click();
    void printCharMode();
    void printWindowsMode();
    void printDesktop(const PrintChoice &chosen);
    bool askToPrint();
    bool writePageFile(const QString &name, const QByteArray &bytes);
    void askForPrinters(int listing);
    void showPrinters(const PrinterList &list);
    ShownText shownText() const { return m_shownText ? m_shownText() : ShownText(); }

    ReportDocument *m_doc = nullptr;
    std::function<ShownText()> m_shownText;
    QString m_pageFile;
    int m_pageCount = 0;
    bool m_checkingRange = false;
    int m_listing = 0;          // the number of the last listing asked for
    bool m_printersDue = false; // a listing is under way
    int m_askedListing = 0;     // the last listing whose thread was started
    QString m_listingError;     // why the spooler gave no list
    PrinterList m_printers;     // the spooler's last answer
    UnsavedSettings m_unsaved;  // the stored mode
    QButtonGroup *m_modeGroup = nullptr;
    QButtonGroup *m_pageGroup = nullptr;
    QButtonGroup *m_orientationGroup = nullptr;
};
