// The report view's code page (chosen, or guessed from the file's bytes) and
// the markup context it reads the page in, and the quiet bars that offer
// the code page (and the printed look) beside the page.
#include "codepage/CodePageGuess.h"
#include "gui/report/CodePageBar.h"
#include "gui/report/FrmReport.h"
#include "gui/report/FileChangeBar.h"
#include "gui/report/ForeignJobBar.h"
#include "gui/report/PageCutBar.h"
#include "gui/report/PageSearch.h"
#include "gui/report/PageView.h"
#include "gui/report/PrintedLookBar.h"
#include "gui/report/ReportColorPanel.h"
#include "render/ViewLines.h"
#include "report/ReportFont.h"
#include "report/ReportViewSettings.h"
#include "gui/report/SheetView.h"

#include <QCheckBox>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QEvent>
#include <QTextEdit>

#include <algorithm>

namespace {

// A small file all of whose bytes are below 0x80 has nothing to guess a code
// page from (the guess reads only the bytes from 0x80 up), so it is not
// asked: asking builds every code page's table, and with them the system's
// converters are loaded while the view is being opened. Files larger than
// the guess reads are asked as they are.
bool nothingToGuess(QByteArrayView bytes)
{
    if (bytes.size() > CodePage::GuessReads)
        return false;
    return std::all_of(bytes.begin(), bytes.end(), [](char byte) { return uchar(byte) < 0x80; });
}

// Whether a file read in `current` is offered the DOS code page `guessed`:
// read as it is (Latin-1), any; read in another DOS code page (the one stored
// for every view, chosen for another file), one of another kind, where the
// letters are plainly wrong (a Kamenicky file read as PC850). PC437 and PC850
// share their box drawing and most letters, and the guess tells them apart
// on few bytes: a file read in one of them is not offered the other.
bool offeredInstead(CodePage::Id current, CodePage::Id guessed)
{
    using CodePage::Id;
    if (!CodePage::isDos(guessed) || guessed == current)
        return false;
    if (!CodePage::isDos(current))
        return true; // a Windows code page (or the bytes as they are) for a DOS file
    const auto western = [](Id id) { return id == Id::Pc437 || id == Id::Pc850; };
    return !(western(current) && western(guessed));
}

} // namespace

void FrmReport::detectCodePage()
{
    m_codePageBar->hide();
    const std::optional<CodePage::Id> guessed = CodePage::guess(m_doc.pages().bytes());
    setCodePage(guessed.value_or(codePage()));
}

void FrmReport::offerDetectedCodePage()
{
    m_codePageBar->hide();
    const CodePage::Id current = codePage();
    if (m_fixedCodePage || nothingToGuess(m_doc.pages().bytes()))
        return;
    const std::optional<CodePage::Id> guessed = CodePage::guess(m_doc.pages().bytes());
    if (guessed && offeredInstead(current, *guessed)) {
        m_codePageBar->offer(*guessed);
        placeCodePageBar();
    }
}

void FrmReport::placeCodePageBar()
{
    // The quiet bars take their room from the page rather than cover its
    // first or last lines: the file's change above it, the code page and
    // the printed look below it, one above the other.
    if (!m_pageView || !SheetPane)
        return;
    const QRect page = m_editText->geometry();
    int top = page.top();
    if (m_changeBar && !m_changeBar->isHidden())
        top = m_changeBar->geometry().bottom() + 1;
    int bottom = page.bottom() + 1;
    for (QWidget *bar : {static_cast<QWidget *>(m_foreignBar), static_cast<QWidget *>(m_codePageBar),
             static_cast<QWidget *>(m_lookBar), static_cast<QWidget *>(m_cutBar)}) {
        if (!bar || bar->isHidden())
            continue;
        const int height = bar->sizeHint().height();
        bottom -= height;
        bar->setGeometry(page.left(), bottom, page.width(), height);
        bar->raise();
    }
    const QRect rest(page.left(), top, page.width(), qMax(1, bottom - top));
    m_pageView->setGeometry(rest);
    SheetPane->setGeometry(rest);
}

void FrmReport::watchQuietBars()
{
    for (QWidget *bar : {static_cast<QWidget *>(m_changeBar), static_cast<QWidget *>(m_foreignBar),
             static_cast<QWidget *>(m_codePageBar), static_cast<QWidget *>(m_lookBar), static_cast<QWidget *>(m_cutBar)}) {
        if (bar)
            bar->installEventFilter(this);
    }
}

bool FrmReport::quietBarEvent(QObject *watched, QEvent *event)
{
    if ((watched == m_changeBar || watched == m_foreignBar || watched == m_codePageBar || watched == m_lookBar
            || watched == m_cutBar)
        && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        placeCodePageBar();
    return false;
}

CodePage::Id FrmReport::codePage() const
{
    return m_doc.codePage();
}

void FrmReport::setCodePage(CodePage::Id codePage)
{
    const std::optional<CodePage::Id> fixedBefore = m_fixedCodePage;
    const bool offeredBefore = !m_codePageBar->isHidden();
    m_fixedCodePage = codePage;
    m_codePageBar->hide();
    // Sheets read in another code page are read again; the page follows
    // the document's codePageChanged.
    m_doc.setCodePage(codePage);
    if (m_doc.codePage() != codePage) {
        // Given up while the page was read in it: the offer stands again.
        m_fixedCodePage = fixedBefore;
        m_codePageBar->setVisible(offeredBefore);
    }
}

void FrmReport::showCodePage()
{
    if (m_keepingLook)
        return; // the code page before, set back: the page on screen is read in it
    const ViewLines *shown = m_pageView->lines();
    // (a flag and a value rather than std::optional: GCC 12 warns falsely
    // that the optional's value may be used uninitialised)
    const bool pageShown = shown != nullptr;
    const CodePage::Id shownIn = shown ? shown->options().codePage : CodePage::Id{};
    const QFont fontBefore = m_editText->font();
    // The font that holds the code page's characters, at the size the
    // view has now; the page on screen is read again.
    const QFont font = reportFont(m_editText->font().pointSizeF(), false, codePage());
    m_editText->setFont(font);
    m_editText->document()->setDefaultFont(font);
    // The printed look reads the characters in the code page too.
    if (m_doc.printedLook() && !m_doc.printedBuilt()) {
        buildPrinted();
        m_doc.setCurrentPage(qMin(m_doc.currentPage(), PageCount() - 1));
    }
    m_lookChangeGivenUp = false;
    {
        // The continuous view stays continuous, read in the new code page.
        const QScopedValueRollback changing(m_lookChanging, !m_opening);
        m_search->clearCount(); // the page is read anew, without its marks
        if (m_doc.continuous() && Check3->isChecked())
            showContinuous();
        else
            showPage(m_doc.currentPage());
    }
    if (!m_lookChangeGivenUp)
        return;
    // Cancel while a long page was read in the new code page: the page on
    // screen stays read in the one before, and the choice goes back to it.
    m_lookChangeGivenUp = false;
    m_editText->setFont(fontBefore);
    m_editText->document()->setDefaultFont(fontBefore);
    if (!pageShown)
        return;
    const QScopedValueRollback keeping(m_keepingLook, true);
    m_doc.setCodePage(shownIn);
}

void FrmReport::showMarkup()
{
    // Another emphasis colour shows on the page on screen at once, where it
    // is scrolled to and with its selection. "Vsual" (markup too) is not
    // followed here: it takes effect at the next page shown, so a page being
    // edited keeps the look it had.
    const ViewLines *lines = m_pageView->lines();
    if (m_loading || m_keepingLook || !lines || !lines->options().markup)
        return;
    const MarkupContext &now = m_doc.markup();
    MarkupContext context = lines->options().context;
    if (context.doubleWidth == now.doubleWidth && context.bold == now.bold && context.condensed == now.condensed)
        return;
    context.doubleWidth = now.doubleWidth;
    context.bold = now.bold;
    context.condensed = now.condensed;
    const int down = m_pageView->verticalScrollBar()->value();
    const int across = m_pageView->horizontalScrollBar()->value();
    const qint64 start = m_pageView->selectionStart();
    const qint64 length = m_pageView->selectionLength();
    const std::shared_ptr<ViewLines> shown = m_pageView->shared();
    std::shared_ptr<ViewLines> read;
    m_lookChangeGivenUp = false;
    {
        const QScopedValueRollback changing(m_lookChanging, !m_opening);
        read = readLines(shown->index().bytes().size(), [shown, context] { return shown->withContext(context); });
    }
    if (!read) {
        // Cancel while a long page was read in the new colours: the page
        // keeps the ones it was read in, and so do the swatches.
        m_lookChangeGivenUp = false;
        const MarkupContext &before = shown->options().context;
        const QScopedValueRollback keeping(m_keepingLook, true);
        m_doc.setEmphasisColors(before.doubleWidth, before.bold, before.condensed);
        return;
    }
    m_pageView->setLines(std::move(read));
    showColumnMarks();
    m_pageView->select(start, start + length);
    m_pageView->verticalScrollBar()->setValue(down);
    m_pageView->horizontalScrollBar()->setValue(across);
}

void FrmReport::showPaper(const QColor &paper)
{
    // The paper and its text together, in the edit box and the page view.
    const QColor text = ReportViewSettings::pageText(paper);
    QPalette back = m_editText->palette();
    back.setColor(QPalette::Base, paper);
    back.setColor(QPalette::Text, text);
    m_editText->setPalette(back);
    m_pageView->setBackground(paper, text);
}
