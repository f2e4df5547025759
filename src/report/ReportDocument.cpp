#include "report/ReportDocument.h"

#include "report/BackgroundPageCut.h"
#include "report/PageChoice.h"
#include "report/PageText.h"

#include <QDir>
#include <QFileInfo>

namespace {

// How long a wait for the cut sleeps before it tells its progress again.
constexpr int ProgressMs = 50;

} // namespace

ReportDocument::ReportDocument(QObject *parent)
    : QObject(parent)
{
    setStoredLook(ReportViewSettings()); // the defaults
}

ReportDocument::~ReportDocument()
{
    m_cut.reset(); // stops the cut before the table it reads goes
}

bool ReportDocument::load(const QString &file, QString *error)
{
    PageTable table;
    if (!table.load(file, error))
        return false;
    m_cut.reset();
    takeTable(file, table);
    return true;
}

bool ReportDocument::open(const QString &file, QString *error, const Progress &firstPage, qint64 cutAtOnce)
{
    if (QFileInfo(file).size() <= cutAtOnce)
        return load(file, error);
    PageTable table;
    if (!table.open(file, error))
        return false;
    std::unique_ptr<BackgroundPageCut> cut;
    if (!table.complete()) {
        cut = std::make_unique<BackgroundPageCut>(table, [this] {
            QMetaObject::invokeMethod(this, [this] { takeCut(); }, Qt::QueuedConnection);
        });
    }
    // The first page is there before the view shows it.
    qint64 done = 0;
    while (cut && table.PageCount() < 1) {
        if (firstPage && !firstPage(done, table.bytes().size())) {
            if (error)
                error->clear();
            return false; // the cut stops, the document stays as it was
        }
        cut->wait(ProgressMs);
        const BackgroundPageCut::Found found = cut->take();
        table.addStarts(found.starts);
        done = found.done;
        if (found.finished) {
            table.finishCut();
            cut.reset();
        }
    }
    m_cut = std::move(cut); // the cut of the file before stops
    m_cutDone = m_cut ? done : table.bytes().size();
    takeTable(file, table);
    return true;
}

bool ReportDocument::takeCut()
{
    if (!m_cut)
        return false;
    const BackgroundPageCut::Found found = m_cut->take();
    const int before = m_pages.PageCount();
    m_pages.addStarts(found.starts);
    m_cutDone = found.done;
    if (found.finished) {
        m_pages.finishCut();
        m_cut.reset();
    }
    if (!showsSheets() && m_pages.PageCount() != before)
        emit pagesChanged();
    emit cutProgress(found.done, m_pages.bytes().size());
    return found.finished;
}

bool ReportDocument::finishPages(const Progress &progress)
{
    while (m_cut) {
        if (takeCut())
            break;
        if (progress && !progress(m_cutDone, m_pages.bytes().size()))
            return false;
        if (m_cut)
            m_cut->wait(ProgressMs);
    }
    return true;
}

void ReportDocument::needAllPages() const
{
    if (m_cut)
        const_cast<ReportDocument *>(this)->finishPages();
}

void ReportDocument::takeTable(const QString &file, const PageTable &table)
{
    m_pages = table;
    m_file = file;
    m_printed = SheetIndex();
    m_printedBuilt = false;
    m_current = 0;
    m_place = 0;
    m_continuous = false;
    m_marks = QVector<qint16>(11, 0);
    m_markCount = 0;
    emit loaded();
    emit pagesChanged();
    emit currentPageChanged(m_current);
    emit continuousChanged(m_continuous);
    emit columnMarksChanged();
}

void ReportDocument::dropSheets()
{
    const bool shown = showsSheets();
    if (shown)
        m_place = shownStart(m_current);
    m_printedBuilt = false;
    if (shown)
        emit pagesChanged();
}

void ReportDocument::setPrintedLook(bool on)
{
    if (m_printedLook == on)
        return;
    m_place = shownStart(m_current);
    const bool shown = showsSheets();
    m_printedLook = on;
    emit lookChanged(on);
    if (shown != showsSheets())
        emit pagesChanged();
}

void ReportDocument::setForms(const SheetForms &forms)
{
    // Forms carry no equality of their own: any setting is news.
    m_forms = forms;
    emit formsChanged();
}

void ReportDocument::setCurrentPage(int page)
{
    if (m_current == page)
        return;
    m_current = page;
    emit currentPageChanged(page);
}

void ReportDocument::setContinuous(bool on)
{
    if (m_continuous == on)
        return;
    m_continuous = on;
    emit continuousChanged(on);
}

PageRenderOptions ReportDocument::renderOptions() const
{
    PageRenderOptions options;
    options.markup = m_markup;
    options.largestPoints = m_viewPoints;
    options.forms = m_forms;
    return options;
}

void ReportDocument::setPrinterSetup(const PrinterSetup &setup)
{
    if (setup.formLengthInches != m_setup.formLengthInches || setup.carriageInches != m_setup.carriageInches
        || setup.model != m_setup.model)
        dropSheets();
    const CodePage::Id codePage = m_setup.codePage; // the sheets' own, kept by setCodePage()
    m_setup = setup;
    m_setup.codePage = codePage;
}

bool ReportDocument::buildPrinted(const Progress &progress)
{
    if (!m_printedLook || m_printedBuilt)
        return true;
    m_setup.codePage = codePage();
    m_printedBuilt = m_printed.build(QByteArrayView(m_pages.bytes()), m_setup, progress, 0, m_pages.mappedFile());
    if (!m_printedBuilt) {
        m_printed = SheetIndex();
        m_printedLook = false;
        emit lookChanged(false);
        return false;
    }
    emit pagesChanged();
    return true;
}

PageSource ReportDocument::pageSource() const
{
    needAllPages();
    if (!showsSheets())
        return PageSource::pagesOf(m_pages);
    return PageSource::sheetsOf(m_pages, [printed = &m_printed](int i) { return printed->sheet(i); },
        m_printed.sheetCount());
}

bool ReportDocument::asLoaded(QString *error) const
{
    if (!m_pages.changed())
        return true;
    if (error)
        *error = tr("%1 changed on disk after it was loaded; reload it, then try again.")
                     .arg(QDir::toNativeSeparators(m_file));
    return false;
}

bool ReportDocument::shownSource(const ShownText &shown, bool selectionOnly, PageSource *source, QString *error) const
{
    if (!asLoaded(error))
        return false;
    if (showsSheets()) {
        *source = pageSource().only(m_current);
        return true;
    }
    QByteArray bytes;
    if (!shownPageBytes(shown, selectionOnly, &bytes, error))
        return false;
    *source = PageSource::onePage(bytes);
    return true;
}

int ReportDocument::pageCount() const
{
    return showsSheets() ? m_printed.sheetCount() : m_pages.PageCount();
}

qsizetype ReportDocument::shownStart(int i) const
{
    if (i < 0 || i >= pageCount())
        return 0;
    return showsSheets() ? m_printed.sheet(i).firstByte : m_pages.pageStart(i);
}

int ReportDocument::shownAt(qsizetype at) const
{
    return showsSheets() ? m_printed.sheetAt(at) : m_pages.pageAt(at);
}

void ReportDocument::setColumnMarkCount(int count)
{
    const quint8 before = m_markCount;
    m_markCount = quint8(qBound(0, count, 255));
    if (m_marks.size() < m_markCount + 1)
        m_marks.resize(m_markCount + 1);
    if (m_markCount != before)
        emit columnMarksChanged();
}

void ReportDocument::addColumnMark(int column)
{
    if (m_markCount == 0 || m_markCount >= 255)
        return;
    if (m_marks.size() <= m_markCount)
        m_marks.resize(m_markCount + 1);
    m_marks[m_markCount] = qint16(column);
    ++m_markCount;
    m_marks.resize(m_markCount + 1);
    emit columnMarksChanged();
}

QVector<int> ReportDocument::chosenShown(const PageSelection &choice) const
{
    needAllPages();
    int first = 0;
    int last = pageCount() - 1;
    if (choice.kind == PageSelection::Range) {
        first = choice.first - 1;
        last = choice.last - 1;
    } else if (choice.kind == PageSelection::Current) {
        first = last = m_current;
    }
    return pageIndexes(first, last, pageCount());
}

QVector<int> ReportDocument::chosenPages(const PageSelection &choice) const
{
    return pageSource().filePages(chosenShown(choice));
}

bool ReportDocument::hasChosen(const PageSelection &choice, QString *error) const
{
    if (choice.kind != PageSelection::Range || !chosenShown(choice).isEmpty())
        return true;
    // Said as it is: a range typed backwards, or with an empty box, had been
    // told that its first page was past the last.
    if (error) {
        if (choice.first > pageCount())
            *error = tr("Page %1 is past the last page (%2).").arg(choice.first).arg(pageCount());
        else if (choice.first < 1 || choice.last < 1)
            *error = tr("Page numbers start at 1: page %1 to %2 is no range.").arg(choice.first).arg(choice.last);
        else
            *error = tr("The range from page %1 to %2 runs backwards.").arg(choice.first).arg(choice.last);
    }
    return false;
}

bool ReportDocument::hasSelection(const ShownText &shown) const
{
    return !showsSheets() && !shown.selection.isEmpty();
}

bool ReportDocument::encode(const QString &text, QByteArray *bytes, QString *error) const
{
    return PageText::toBytes(text, codePage(), bytes, error);
}

bool ReportDocument::shownPageBytes(const ShownText &shown, bool selectionOnly, QByteArray *bytes,
    QString *error) const
{
    if (selectionOnly && hasSelection(shown))
        return encode(shown.selection, bytes, error);
    const QByteArray source = m_continuous ? m_pages.bytes() : m_pages.pageBytes(m_current) + '\f';
    if (!asLoaded(error))
        return false;
    if (!shown.page) {
        *bytes = source;
        return true;
    }
    // An edited page goes back through encode(); an untouched one gives
    // the bytes it was read from.
    return PageText::printBytes(*shown.page, source, codePage(), bytes, error);
}

bool ReportDocument::chosenBytes(const PageSelection &choice, const ShownText &shown, QByteArray *bytes,
    QString *error) const
{
    needAllPages();
    bytes->clear();
    const bool sheets = showsSheets();
    if (choice.kind == PageSelection::Current && !sheets)
        return shownPageBytes(shown, false, bytes, error);
    if (choice.kind != PageSelection::All) {
        // Pages the range names beyond the report are left out; a sheet
        // of the printed look sends the pages it was printed from.
        for (int i : chosenPages(choice))
            *bytes += m_pages.pageBytes(i) + '\f';
    }
    return asLoaded(error); // after the reading too: it may have met the file's new end
}
