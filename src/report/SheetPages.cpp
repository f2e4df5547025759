#include "report/SheetPages.h"

#include "escp/SheetIndex.h"
#include "report/PageTable.h"

QVector<int> pagesOfSheets(const PageTable &pages, const SheetIndex &printed, const QVector<int> &sheets)
{
    return pagesOfSheets(pages, [&printed](int i) { return printed.sheet(i); }, printed.sheetCount(), sheets);
}

QVector<int> pagesOfSheets(const PageTable &pages, const std::function<Printed::Sheet(int)> &sheet, int sheetCount,
    const QVector<int> &sheets)
{
    QVector<int> chosen;
    if (sheets.isEmpty())
        return chosen;
    if (sheets.size() == sheetCount) {
        for (int i = 0; i < pages.PageCount(); ++i)
            chosen.append(i);
        return chosen;
    }
    qsizetype from = -1, to = -1;
    for (int i : sheets) {
        const Printed::Sheet s = sheet(i);
        from = from < 0 ? s.firstByte : qMin(from, s.firstByte);
        to = qMax(to, s.endByte);
    }
    const char *start = pages.bytes().constData();
    for (int i = 0; i < pages.PageCount(); ++i) {
        const QByteArrayView page = pages.pageView(i);
        if (!page.data())
            continue;
        const qsizetype begin = page.data() - start;
        const qsizetype end = begin + page.size() + 1; // with its form feed
        if (begin < to && end > from)
            chosen.append(i);
    }
    return chosen;
}
