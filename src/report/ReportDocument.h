#pragma once

#include "codepage/CodePage.h"
#include "escp/SheetIndex.h"
#include "report/PageSource.h"
#include "report/PageTable.h"
#include "report/ReportMarkup.h"
#include "report/ReportViewSettings.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>

class BackgroundPageCut;

// How the view marks text it finds or the user highlights: in a colour,
// bold or not.
struct MarkLook
{
    QColor colour;
    bool bold = false;
};

// Which pages a print or an export takes: all of them, the one on screen, or
// a range of page numbers as the user typed them (1-based, kept to what
// exists when used). Counted as the view counts: sheets in the printed look.
struct PageSelection
{
    enum Kind { All, Current, Range };
    Kind kind = All;
    int first = 1;
    int last = 1;
};

// What the window showing a document has on screen beyond the document
// itself, handed to the print or export that needs it: the page's text as
// shown (with paragraph breaks U+2029) while the edit box holds it, none
// while the page is as read; the user's selection (empty when there is
// none); and whether the page shows its emphasis (Edit clears "Vsual" for
// the pages shown next, not for the page being edited).
struct ShownText
{
    std::optional<QString> page;
    QString selection;
    bool emphasis = true;
};

// One print file as a report view shows it: the file and its page table,
// the code page it is read in, the look (the emphasis of the markup passes,
// or the sheets as the printer prints them), the markup context, the page on
// screen and the columns marked for the workbook export. It is the one truth
// of a view: the panels write it, and it tells its views what changed by its
// signals (each emitted only when the value changes); the print and export
// routines read it. Holds no widgets.
class ReportDocument : public QObject
{
    Q_OBJECT

public:
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    explicit ReportDocument(QObject *parent = nullptr);
    ~ReportDocument() override;

    // Reads and cuts the file; the document starts again at its first page,
    // with no marks and no sheets read yet. On failure (with the reason)
    // nothing changes.
    bool load(const QString &file, QString *error);
    // As load(), for a window: a file larger than `cutAtOnce` bytes is cut
    // on a thread of its own, and this returns once its first page is cut.
    // The pages found are added as they are (pagesChanged, cutProgress);
    // until the table is complete the document counts the pages cut so far,
    // and what needs all of them (pageSource, chosenShown, chosenPages,
    // chosenBytes) waits for the rest. A file without a form feed is one
    // page that is cut only at its end: the wait for the first page tells
    // `firstPage` how far it is (from its start, before each wait), which
    // may give the opening up (false, no error text, nothing changed).
    bool open(const QString &file, QString *error, const Progress &firstPage = {}, qint64 cutAtOnce = 32 << 20);
    QString fileName() const { return m_file; }
    // The file's page table: complete after load(), possibly still being
    // cut after open() (pagesComplete()).
    const PageTable &pages() const { return m_pages; }
    bool pagesComplete() const { return m_pages.complete(); }
    // Waits for the rest of the page table; progress (done and total bytes)
    // may stop the wait (false), which leaves the cut going on.
    bool finishPages(const Progress &progress = {});

    CodePage::Id codePage() const { return m_markup.codePage; }
    // Reads the file in another code page: sheets read in one are read again.
    void setCodePage(CodePage::Id codePage);
    const MarkupContext &markup() const { return m_markup; }
    // "Vsual": the emphasis shown, or the page as it is with its sequences.
    void setVisual(bool on);
    // The emphasis colours of the swatches: "Dubble", "Bold" and "Condence".
    void setEmphasisColors(const QColor &doubleWidth, const QColor &bold, const QColor &condensed);
    // The colour of the page's paper (the web page's background).
    QColor paperColor() const { return m_paper; }
    void setPaperColor(const QColor &paper);
    // The marks of search matches ("Search String" and its Bold box) and of
    // highlighted text ("HighLight Text" and its Bold box).
    MarkLook searchMark() const { return m_searchMark; }
    void setSearchMark(const MarkLook &look);
    MarkLook highlightMark() const { return m_highlightMark; }
    void setHighlightMark(const MarkLook &look);
    // "-1 Line": a character-mode print sends an extra line after the first.
    bool extraLine() const { return m_extraLine; }
    void setExtraLine(bool on);
    // The look as stored: the swatches' colours, the marks and "-1 Line"
    // (the code page and the printed look are the view's to choose).
    void setStoredLook(const ReportViewSettings &settings);
    bool zoomedIn() const { return m_markup.zoomedIn; }
    // Zoomed in or not, and the size the view draws the page in then, which
    // outputs never exceed.
    void setZoom(bool zoomedIn, double viewPoints);
    double viewPoints() const { return m_viewPoints; }
    // How the page renderer draws the pages: the emphasis, colours and size.
    PageRenderOptions renderOptions() const;

    // The printed look: chosen, and whether its sheets have been read.
    bool printedLook() const { return m_printedLook; }
    void setPrintedLook(bool on);
    bool printedBuilt() const { return m_printedBuilt; }
    // The printed look is on and its sheets are read: the view counts sheets.
    bool showsSheets() const { return m_printedLook && m_printedBuilt; }
    // The printer the sheets are laid out for (form length, carriage and
    // pins; the code page is the document's): another one makes the sheets
    // be read again.
    void setPrinterSetup(const PrinterSetup &setup);
    // The printer model the sheets were read for: the one chosen, or the
    // one Auto took from the file (while the printed look is read).
    PrinterModel printedModel() const { return m_printed.model(); }
    // The forms under the printed look's sheets, wherever they are drawn.
    void setForms(const SheetForms &forms);
    const SheetForms &forms() const { return m_forms; }
    // Reads the file as the printer prints it when the printed look is on
    // and its sheets are not read yet (or were read in another code page).
    // Progress may cancel: the printed look is then off and false returned.
    bool buildPrinted(const Progress &progress = {});
    // Sheet i of the printed look, 0 <= i < pageCount() while it is on.
    Printed::Sheet sheet(int i) const { return m_printed.sheet(i); }

    // The pages of the look on screen, as the view counts them: the file's
    // pages, or the sheets while the printed look shows them. Every print,
    // preview and export loops over it; valid while the document is and
    // its sheets are not read again.
    PageSource pageSource() const;
    // The page on screen as a source of one page: the sheet on screen in the
    // printed look, else the page's text as shown (edited, or the selection
    // alone when asked and there is one; see shownPageBytes).
    bool shownSource(const ShownText &shown, bool selectionOnly, PageSource *source, QString *error) const;

    // The pages the view counts: pages, or sheets in the printed look.
    int pageCount() const;
    // Where page (or sheet) i of the view begins in the file, and the page
    // (or sheet) a byte of the file lies on: a change of look keeps the
    // reader's place by it.
    qsizetype shownStart(int i) const;
    int shownAt(qsizetype at) const;
    // The page (or sheet) of the look now in force that holds the start of
    // the page shown when the look last changed or the sheets were dropped.
    int shownAtPlace() const { return shownAt(m_place); }
    int currentPage() const { return m_current; }
    void setCurrentPage(int page);
    // The continuous view: the whole file is on screen.
    bool continuous() const { return m_continuous; }
    void setContinuous(bool on);

    // Columns marked for the workbook export; element 0 is the line start.
    const QVector<qint16> &columnMarks() const { return m_marks; }
    int columnMarkCount() const { return m_markCount; }
    void setColumnMarkCount(int count);
    // Records a column while marking is on (count 1 to 254); the count is
    // 8-bit, so a 255th mark is refused.
    void addColumnMark(int column);

    // The chosen pages counted as the view counts (sheets in the printed
    // look), kept to what exists.
    QVector<int> chosenShown(const PageSelection &choice) const;
    // The same as pages of the print file: in the printed look the pages
    // the chosen sheets were printed from.
    QVector<int> chosenPages(const PageSelection &choice) const;
    // False, with the words to show, when the choice is a range that starts
    // past the last page: nothing of it would print or be written (an empty
    // job or file had been told as done), as the command line refuses it.
    bool hasChosen(const PageSelection &choice, QString *error) const;

    // False, with the words to show, when the file was written on disk
    // since it was loaded (the same file cut short, grown or written anew in
    // place): its pages read it as it is now, and a print or an export of
    // them would mix the two, or send the zeros that stand where it was
    // cut. A file replaced under its name leaves them as they were loaded.
    // Every print and export from a view asks it first.
    bool asLoaded(QString *error) const;

    // The text on screen has a selection (never while the sheets are shown).
    bool hasSelection(const ShownText &shown) const;
    // Text of this document as print-file bytes in its code page, each line
    // end a CR LF; false with an error naming a character the code page lacks.
    bool encode(const QString &text, QByteArray *bytes, QString *error) const;
    // The page on screen as print-file bytes: the file's own bytes while it
    // is as read (its form feed included; the whole file in the continuous
    // view), the edited text encoded; the selection alone when asked and
    // there is one.
    bool shownPageBytes(const ShownText &shown, bool selectionOnly, QByteArray *bytes, QString *error) const;
    // What a character-mode print of the choice sends in place of the file:
    // the page on screen as shown, or each page of the range with its form
    // feed. Nothing (and true) for all pages: the file itself is sent.
    bool chosenBytes(const PageSelection &choice, const ShownText &shown, QByteArray *bytes, QString *error) const;

signals:
    // Another file, or the same read again: pages, marks and sheets anew.
    void loaded();
    void codePageChanged(CodePage::Id codePage);
    // The visual flag or an emphasis colour (not the zoom, not the code page).
    void markupChanged();
    void paperColorChanged(const QColor &paper);
    // A mark's colour or boldness, or "-1 Line".
    void marksChanged();
    void zoomChanged(bool zoomedIn);
    // The printed look chosen or left.
    void lookChanged(bool printed);
    // The pages the view counts are others: the sheets were read, or are to
    // be read again (another code page or printer), or the look changed.
    void pagesChanged();
    void formsChanged();
    void currentPageChanged(int page);
    void continuousChanged(bool on);
    void columnMarksChanged();
    // A large file's pages are being cut: `done` of `total` bytes so far
    // (done == total once the table is complete).
    void cutProgress(qint64 done, qint64 total);

private:
    // The file is another: the page table and everything read from it anew.
    void takeTable(const QString &file, const PageTable &table);
    // Adds what the background cut found; true when that completed the table.
    bool takeCut();
    // The whole table, for what counts every page (waits without progress
    // when the window did not wait first).
    void needAllPages() const;
    // Marks the sheets as to be read again (and tells, when they were read).
    void dropSheets();
    void setMark(MarkLook *mark, const MarkLook &look);

    QString m_file;
    PageTable m_pages;
    std::unique_ptr<BackgroundPageCut> m_cut; // while a large file is cut
    qint64 m_cutDone = 0; // bytes of it cut
    MarkupContext m_markup;
    double m_viewPoints = ReportStartPoints;
    QColor m_paper = Qt::white;
    MarkLook m_searchMark;
    MarkLook m_highlightMark;
    bool m_extraLine = false;
    bool m_printedLook = false;
    SheetIndex m_printed; // over the page table's bytes
    qsizetype m_place = 0; // where the page on screen began, before the look changed
    SheetForms m_forms;
    bool m_printedBuilt = false;
    PrinterSetup m_setup;
    int m_current = 0;
    bool m_continuous = false;
    QVector<qint16> m_marks = QVector<qint16>(11, 0);
    quint8 m_markCount = 0;
};
