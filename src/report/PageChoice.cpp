#include "report/PageChoice.h"

#include <QRegularExpression>
#include <QtGlobal>

QVector<int> pageIndexes(int first, int last, int pageCount)
{
    QVector<int> pages;
    first = qMax(first, 0);
    last = qMin(last, pageCount - 1);
    pages.reserve(qMax(0, last - first + 1));
    for (int i = first; i <= last; ++i)
        pages.append(i);
    return pages;
}

namespace {

const QRegularExpression &pageForm()
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,18})(?:-(\\d{1,18}))?$"));
    return form;
}

bool isAll(const QString &choice)
{
    return choice.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0;
}

} // namespace

bool isPageChoiceText(const QString &text)
{
    // Pages are numbered from 1, and a range runs forward: page 0 or 3-2
    // is a slip, which would otherwise print page 1 or page 3 alone.
    const QString choice = text.trimmed();
    if (isAll(choice))
        return true;
    const QRegularExpressionMatch m = pageForm().match(choice);
    if (!m.hasMatch())
        return false;
    const long long first = m.captured(1).toLongLong();
    return first >= 1 && (m.captured(2).isEmpty() || m.captured(2).toLongLong() >= first);
}

bool parsePageChoice(const QString &text, int pageCount, QVector<int> *pages, QString *error)
{
    const QString choice = text.trimmed();
    if (isAll(choice)) {
        *pages = pageIndexes(0, pageCount - 1, pageCount);
        return true;
    }
    const QRegularExpressionMatch m = pageForm().match(choice);
    if (!m.hasMatch()) {
        *error = QStringLiteral("the pages \"%1\" are not all, N or A-B").arg(text);
        return false;
    }
    // A start of 0 counts as 1, as the panel's empty or zero start does.
    const long long first = qMax(1LL, m.captured(1).toLongLong());
    long long last = m.captured(2).isEmpty() ? first : m.captured(2).toLongLong();
    last = qMin(qMax(last, first), (long long)pageCount);
    *pages = pageIndexes(int(qMin(first, 1LL << 30)) - 1, int(last) - 1, pageCount);
    if (pages->isEmpty()) {
        *error = QStringLiteral("page %1 is past the last page (%2)").arg(first).arg(pageCount);
        return false;
    }
    return true;
}
