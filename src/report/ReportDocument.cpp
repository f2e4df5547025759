#include "report/ReportDocument.h"

#include "report/PageChoice.h"
#include "report/PageText.h"

bool ReportDocument::load(const QString &file, QString *error)
{
    PageTable table;
    if (!table.load(file, error))
        return false;
    m_file = file;
    m_pages = table;
    m_printed = SheetIndex();
    m_printedBuilt = false;
    m_current = 0;
    m_continuous = false;
    m_marks = QVector<qint16>(11, 0);
    m_markCount = 0;
    return true;
}

void ReportDocument::setCodePage(CodePage::Id codePage)
{
    if (codePage != m_setup.codePage)
        m_printedBuilt = false;
    m_markup.codePage = codePage;
}

void ReportDocument::setMarkup(const MarkupContext &markup)
{
    const CodePage::Id codePage = m_markup.codePage;
    m_markup = markup;
    m_markup.codePage = codePage;
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
        m_printedBuilt = false;
    const CodePage::Id codePage = m_setup.codePage; // the sheets' own, kept by setCodePage()
    m_setup = setup;
    m_setup.codePage = codePage;
}

bool ReportDocument::buildPrinted(const Progress &progress)
{
    if (!m_printedLook || m_printedBuilt)
        return true;
    m_setup.codePage = codePage();
    m_printedBuilt = m_printed.build(QByteArrayView(m_pages.bytes()), m_setup, progress);
    if (!m_printedBuilt) {
        m_printed = SheetIndex();
        m_printedLook = false;
    }
    return m_printedBuilt;
}

PageSource ReportDocument::pageSource() const
{
    if (!showsSheets())
        return PageSource::pagesOf(m_pages);
    return PageSource::sheetsOf(m_pages, [printed = &m_printed](int i) { return printed->sheet(i); },
        m_printed.sheetCount());
}

bool ReportDocument::shownSource(bool selectionOnly, PageSource *source, QString *error) const
{
    if (showsSheets()) {
        *source = pageSource().only(m_current);
        return true;
    }
    QByteArray bytes;
    if (!shownPageBytes(selectionOnly, &bytes, error))
        return false;
    *source = PageSource::onePage(bytes);
    return true;
}

int ReportDocument::pageCount() const
{
    return showsSheets() ? m_printed.sheetCount() : m_pages.PageCount();
}

void ReportDocument::setColumnMarkCount(int count)
{
    m_markCount = quint8(qBound(0, count, 255));
    if (m_marks.size() < m_markCount + 1)
        m_marks.resize(m_markCount + 1);
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
}

QVector<int> ReportDocument::chosenShown(const PageSelection &choice) const
{
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

bool ReportDocument::hasSelection() const
{
    return !showsSheets() && m_shown.selection && !m_shown.selection().isEmpty();
}

bool ReportDocument::encode(const QString &text, QByteArray *bytes, QString *error) const
{
    return PageText::toBytes(text, codePage(), bytes, error);
}

bool ReportDocument::shownPageBytes(bool selectionOnly, QByteArray *bytes, QString *error) const
{
    if (selectionOnly && hasSelection())
        return encode(m_shown.selection(), bytes, error);
    const QByteArray source = m_continuous ? m_pages.bytes() : m_pages.pageBytes(m_current) + '\f';
    if (!m_shown.page) {
        *bytes = source;
        return true;
    }
    // An edited page goes back through encode(); an untouched one gives
    // the bytes it was read from.
    return PageText::printBytes(m_shown.page(), source, codePage(), bytes, error);
}

bool ReportDocument::chosenBytes(const PageSelection &choice, QByteArray *bytes, QString *error) const
{
    bytes->clear();
    const bool sheets = showsSheets();
    if (choice.kind == PageSelection::Current && !sheets)
        return shownPageBytes(false, bytes, error);
    if (choice.kind != PageSelection::All) {
        // Pages the range names beyond the report are left out; a sheet
        // of the printed look sends the pages it was printed from.
        for (int i : chosenPages(choice))
            *bytes += m_pages.pageBytes(i) + '\f';
    }
    return true;
}
