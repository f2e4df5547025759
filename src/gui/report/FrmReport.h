#pragma once

#include "codepage/CodePage.h"
#include "gui/platform/UnsavedSettings.h"
#include "escp/SheetIndex.h"
#include "report/PageTable.h"
#include "report/ReportDocument.h"
#include "report/ReportMarkup.h"

#include <QCursor>
#include <QVector>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class FileChangeBar;
class ForeignJobBar;
class CodePageBar;
class JeweledButton;
class PageCutBar;
class PageSearch;
class PageView;
class PrintPanel;
class PrintedLookBar;
class QAbstractScrollArea;
class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QTextDocument;
class QTextEdit;
class QTimer;
class ReportColorPanel;
class ReportExport;
class SheetView;
class SpLebal;
class ViewLines;
class ViewZoom;

// The report view window: one print file, shown a page at a time with its
// emphasis, with paging, search, zoom, highlight, edit, a continuous view,
// colour settings, and the print and export panels. Deletes itself on close
// and counts itself among the open views while it is open.
class FrmReport : public QWidget
{
    Q_OBJECT

public:
    explicit FrmReport(QWidget *parent = nullptr);
    ~FrmReport() override;

    // Reads `file`, cuts it into pages and shows page 1. On a file that
    // cannot be read: a message naming it, and the view is left as it was
    // (a view that never loaded does not count as open).
    bool LoadReport(const QString &file);
    // A watch-mode view loads its file again by itself once another program
    // has written it anew; any other view offers Reload.
    void setReloadsItself(bool on);

    // What the print and export work reads.
    const PageTable &pages() const { return m_doc.pages(); }
    // The print file this view shows, with its look and choices.
    ReportDocument &document() { return m_doc; }
    const ReportDocument &document() const { return m_doc; }
    // The pages the view counts and shows: the print file's pages, or in
    // the printed look its sheets.
    int PageCount() const;
    int currentPage() const { return m_doc.currentPage(); }
    QString reportFile() const { return m_doc.fileName(); }
    bool zoomedIn() const { return m_doc.zoomedIn(); }
    QTextEdit *editText() const { return m_editText; }
    // The page as the view shows it (m_editText holds it only while Edit is on).
    PageView *pageView() const { return m_pageView; }
    // The print panel, built the first time it is asked for, or once the
    // window is first drawn (it starts hidden).
    PrintPanel *printPanel();
    // What the view shows beyond the document, as print and export take
    // it: the page's text while the edit box holds it (edited or not), the
    // user's selection and whether the page shows its emphasis.
    ShownText onScreen() const;
    // "Printed" in the colour panel: the sheets as the printer prints them.
    bool printedLook() const;
    // Sheet i of the printed look, 0 <= i < PageCount() while it is on.
    Printed::Sheet sheet(int i) const;
    SheetView *sheetView() const { return SheetPane; }
    // The code page the view reads the file in: the panel's choice.
    CodePage::Id codePage() const;
    // Reads the file in this code page from now on (over the stored choice,
    // which it leaves as it is), as `view --codepage` asks.
    void setCodePage(CodePage::Id codePage);
    // Reads the file in the code page its bytes look written in (as
    // setCodePage does); a file with nothing to tell by keeps its code page.
    void detectCodePage();
    // A swatch's colour (ReportColorPanel::Swatch) in the document.
    QColor swatchColor(int index) const;
    // The colour panel, built the first time it is asked for: it starts
    // hidden, and the view's look is its document's.
    ReportColorPanel *colorPanel();
    // The recorded page file of the last character-mode print.
    QString tagText() const;
    // Columns marked in the view for the spreadsheet export.
    const QVector<qint16> &columnMarks() const { return m_doc.columnMarks(); }
    int columnMarkCount() const { return m_doc.columnMarkCount(); }
    void setColumnMarkCount(int count);
    // The caption shows where the caret is now (the timer writes it anew
    // once it does not).
    bool captionCurrent() const { return m_captionCurrent; }
    // The workbook's columns are being marked (each caret move records one).
    bool markingColumns() const;


    // Puts page k into the view, runs the markup passes and sets the label.
    void DisplayPage(int k);
    // Writes the caret's column and line into the window caption.
    void UpdateStatusLine();


public slots:
    void exportReport();
    void CmdExelExp_Click();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    // The steps of it: the panes the page is shown in, the colour panel
    // with what follows it, the print panel with print and export.
    void buildPanes();
    // The view following its document, and the code page's quiet bar.
    void followDocument();
    // Print and export; the print panel itself comes later (printPanel()).
    void buildPrinting();
    // The print panel centred on the screen, but kept inside the window.
    void placePrintPanel();
    // Names for screen readers, keys for the mouse-only controls, Tab order;
    // the colour panel's once it is built.
    void makeAccessible();
    void makePanelAccessible();
    // Says in the colour panel, when there is one, which printer the sheets
    // were read for.
    void showModelTaken();
    // Whether the user selected text in the page (the first character alone,
    // which showing a page selects, does not count).
    bool hasUserSelection() const;
    void buildTopBar();
    void buildBottomBar();
    void activateView();
    void layoutForm();
    // Lay the bars out from the font's metrics: the top bar gives its
    // height and the window width it needs, the bottom bar's row (in Frame8)
    // where it ends.
    int layoutTopBar(int *neededWidth);
    int layoutBottomRow();
    // Sizes the boxes and buttons right of the bottom bar; returns the
    // height the bottom bar needs.
    int sizeBottomRight();
    // The bottom bar's height as the form was drawn: the least it takes.
    static constexpr double BottomBarTwips = 750;
    // The window is never narrower: the bottom bar's buttons show whole.
    static constexpr double LeastWidthTwips = 12300;
    // Nor lower than this, or than the colour panel needs.
    static constexpr double LeastHeightTwips = 5000;
    // The colour panel's place under the top bar, where the window's height allows.
    static constexpr double ColorPanelTopTwips = 1500;
    void placeColorPanel();
    void countOut();

    // Paging.
    void CmdFst_Click();
    void CmdBck_Click();
    void CmdNxt_Click();
    void CmdLast_Click();
    void goToPage();
    void showPage(int k);
    // A document of the view's font holding the text, not yet shown; and
    // the hand-over of a finished document to the view, caret at its start.
    QTextDocument *newDocument(const QString &text);
    void showDocument(QTextDocument *document);
    // The page view or, while it holds the page (Edit), m_editText.
    QAbstractScrollArea *shownText() const;
    bool editShown() const;
    // The whole file in the page view (Cont..), not one page of it.
    bool continuousShown() const;
    void searchEditText(const QString &needle);
    void showEditText();
    void showLines(std::shared_ptr<ViewLines> lines);
    // Lines `make` makes over `size` bytes: at once for a page of ordinary
    // size, aside with a progress for a long one (a file without form
    // feeds). Null when the opening of the file, or the change of zoom or
    // code page the page is read again for, was given up meanwhile.
    std::shared_ptr<ViewLines> readLines(qint64 size, std::function<std::shared_ptr<ViewLines>()> make);
    void showColumnMarks();
    void setPageLabel(int k);
    // A large file's pages as they are cut: the count and the bar's progress.
    void showCutProgress(qint64 done, qint64 total);
    // What needs every page waits for the cut to end, with progress and
    // Cancel (false: cancelled, the cut goes on).
    bool waitForPages();
    void Timer1_Timer();

    // Rendering.
    void Command2_Click();
    // Enter and F3 (1), Shift+F3 (-1): the next or previous match.
    void runSearch(int direction = 1);
    void highlightSelection();
    // Copy, Paste, Highlight Text, Rules... and the print file's actions.
    void buildContextMenu();
    void showContextMenu(const QPoint &globalPos); // where the right button was pressed
    void sendControlKey(int key);
    void Check2_Click(bool ticked);
    void Check3_Click(bool ticked);
    // The whole file in the continuous view; false when its reading was
    // given up (the view is then as it was).
    bool showContinuous();
    bool editTextMouseEvent(QEvent *event);
    bool editTextKeyEvent(QEvent *event);

    // Form conveniences.
    void CmdImport_Click();
    void buildKeys();
    // Zoom steps, fit width and fit page, by keys and the context menu.
    void buildZoom();
    // A page key (step 1 Page Down, -1 Page Up): the next or previous page,
    // or a screen of the continuous view.
    void pageKey(int step);
    // Ctrl+End (1) and Ctrl+Home (-1): the last or first page.
    void endKey(int step);
    // Escape: the print panel or the colour panel is closed.
    void closePanel();
    // The pane the page is on screen in: the sheet, the page view or m_editText.
    QAbstractScrollArea *shownPane() const;
    bool pageKeyEvent(QEvent *event);
    void startCalculator();
    void setImagePressed(bool pressed);
    void showColorPanel();
    // The view follows its document: the page on screen read again in its
    // code page, drawn again in its emphasis colours, on its paper.
    void showCodePage();
    void showMarkup();
    void showPaper(const QColor &paper);
    // The page on screen again in the zoom the document now has, with its
    // place, marks and selection.
    void showZoom(bool zoomedIn);
    // Reads the file as the printer prints it, when the printed look is on.
    void buildPrinted();
    void applyLook();
    // Reads the stored forms into the document and the sheet on screen; a
    // form that cannot be used is left out, and told when `tell`.
    void applyForms(bool tell);
    // Offers, in the quiet bar, the DOS code page a file read as it is
    // (Latin-1) looks written in.
    void offerDetectedCodePage();
    // The quiet bars over and under the page, which gives them room.
    void placeCodePageBar();
    void watchQuietBars();
    bool quietBarEvent(QObject *watched, QEvent *event);
    // The printed look offered in a quiet bar and chosen from the menu.
    void buildLookChoice();
    void offerPrintedLook();

    // The page table and view state.
    ReportDocument m_doc;

    // Controls.
    QTextEdit *m_editText = nullptr;
    PageView *m_pageView = nullptr;
    SheetView *SheetPane = nullptr;
    JeweledButton *CmdFst = nullptr;
    JeweledButton *CmdBck = nullptr;
    JeweledButton *CmdNxt = nullptr;
    JeweledButton *CmdLast = nullptr;
    QLabel *LbPageNo = nullptr;
    QLineEdit *Text2 = nullptr;
    SpLebal *SpLebal3 = nullptr;
    QLineEdit *Text4 = nullptr;
    QLabel *Label7 = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QCheckBox *Check3 = nullptr;
    JeweledButton *Command2 = nullptr;
    QTimer *Timer1 = nullptr;
    JeweledButton *JeExit = nullptr;
    JeweledButton *CmdImport = nullptr;
    JeweledButton *CmdPrint = nullptr;
    JeweledButton *JeweledButton1 = nullptr;
    JeweledButton *CmdExelExp = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *lb1 = nullptr;
    QLabel *m_calculatorImage = nullptr;
    QFrame *Frame8 = nullptr;
    QMenu *m_contextMenu = nullptr;
    QAction *m_copyAction = nullptr;
    QAction *m_pasteAction = nullptr;
    QAction *ht = nullptr;
    PrintPanel *Frame1 = nullptr;
    ReportColorPanel *m_colorPanel = nullptr;
    FileChangeBar *m_changeBar = nullptr;
    CodePageBar *m_codePageBar = nullptr;
    ForeignJobBar *m_foreignBar = nullptr; // the file is in another printer language
    PrintedLookBar *m_lookBar = nullptr;
    PageCutBar *m_cutBar = nullptr;
    QAction *m_printedAction = nullptr;
    ReportExport *m_export = nullptr;
    PageSearch *m_search = nullptr;
    ViewZoom *m_zoom = nullptr;

    // Flags of the form.
    bool m_counted = false;
    bool m_activated = false;          // the first activation has run
    bool m_loadedPageShown = false;    // page 1 as the load showed it, untouched since
    bool m_captionCurrent = false;     // the caption is up to date
    bool m_stopSearch = false;         // stops a running search
    bool m_calculatorPressed = false;  // the calculator picture looks pressed
    bool m_loading = false;            // a file is being loaded: its page is shown at the end
    bool m_opening = false;            // LoadReport runs: the page is shown by it, not by activation
    bool m_openingGivenUp = false;     // Cancel while the opened file's page was read
    bool m_lookChanging = false;       // the page is read again for another zoom or code page
    bool m_lookChangeGivenUp = false;  // Cancel while it was: the page on screen stays as it was
    bool m_keepingLook = false;        // the zoom or code page before is being set back
    QString m_importName;
    UnsavedSettings m_unsavedImport; // the import dialog's last filter
    bool m_searching = false;
    bool m_magnifier = false;
    QPoint m_imageHome;
    std::optional<CodePage::Id> m_fixedCodePage; // from the command line
};
