#include "report/PageSource.h"

#include "report/SheetPages.h"

#include <QtGlobal>

PageSource PageSource::pagesOf(const PageTable &table)
{
    PageSource source;
    source.m_table = table;
    source.m_count = -1;
    return source;
}

PageSource PageSource::onePage(const QByteArray &bytes)
{
    PageSource source;
    source.m_singleBytes = bytes;
    source.m_single = true;
    source.m_count = 1;
    return source;
}

PageSource PageSource::sheetsOf(const PageTable &table, const SheetSource &sheets, int count)
{
    PageSource source;
    source.m_table = table;
    source.m_sheets = sheets;
    source.m_sheetCount = qMax(0, count);
    source.m_count = -1;
    return source;
}

int PageSource::count() const
{
    if (m_count >= 0)
        return m_count;
    return drawsSheets() ? m_sheetCount : m_table.PageCount();
}

QByteArray PageSource::bytes(int i) const
{
    if (i < 0 || i >= count())
        return QByteArray();
    if (m_single)
        return m_singleBytes;
    if (!drawsSheets())
        return m_table.pageBytes(m_first + i);
    const Printed::Sheet s = sheet(i);
    return m_table.bytes().mid(s.firstByte, s.endByte - s.firstByte);
}

Printed::Sheet PageSource::sheet(int i) const
{
    if (!drawsSheets() || i < 0 || i >= count())
        return Printed::Sheet();
    return m_sheets(m_first + i);
}

PageSource PageSource::only(int i) const
{
    PageSource one = *this;
    if (i < 0 || i >= count()) {
        one.m_count = 0;
        return one;
    }
    one.m_first = m_first + i;
    one.m_count = 1;
    return one;
}

QVector<int> PageSource::filePages(const QVector<int> &chosen) const
{
    if (!drawsSheets()) {
        QVector<int> pages;
        for (int i : chosen)
            pages.append(m_first + i);
        return pages;
    }
    QVector<int> sheets;
    for (int i : chosen)
        sheets.append(m_first + i);
    return pagesOfSheets(m_table, m_sheets, m_sheetCount, sheets);
}
