#include "export/PageChoice.h"

#include <QtGlobal>

QVector<int> pageIndexes(int first, int last, int pageCount)
{
    QVector<int> pages;
    first = qMax(first, 0);
    last = qMin(last, pageCount - 1);
    for (int i = first; i <= last; ++i)
        pages.append(i);
    return pages;
}
