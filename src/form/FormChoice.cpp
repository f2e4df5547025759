#include "form/FormChoice.h"

#include <QObject>
#include <QStringList>

#include <cmath>

FormChoice FormChoice::fromFormsText(const QString &text)
{
    FormChoice choice;
    const qsizetype comma = text.lastIndexOf(QLatin1Char(','));
    if (comma < 0) {
        choice.first = text.trimmed();
        choice.next = choice.first;
        return choice;
    }
    choice.first = text.left(comma).trimmed();
    choice.next = text.mid(comma + 1).trimmed();
    return choice;
}

FormChoice FormChoice::fromFormsText(const QString &text, const std::function<bool(const QString &)> &exists)
{
    const QString whole = text.trimmed();
    if (!whole.isEmpty() && exists(whole))
        return FormChoice { whole, whole, {} };
    for (qsizetype comma = text.indexOf(QLatin1Char(',')); comma >= 0;
         comma = text.indexOf(QLatin1Char(','), comma + 1)) {
        const QString first = text.left(comma).trimmed();
        const QString next = text.mid(comma + 1).trimmed();
        if ((!first.isEmpty() || !next.isEmpty()) && (first.isEmpty() || exists(first))
            && (next.isEmpty() || exists(next)))
            return FormChoice { first, next, {} };
    }
    return fromFormsText(text);
}

bool FormChoice::offsetFromText(const QString &text, QPointF *millimetres, QString *error)
{
    const QStringList parts = text.split(QLatin1Char(','));
    double values[2] = {0, 0};
    bool ok = parts.size() == 2;
    for (int i = 0; ok && i < 2; ++i) {
        values[i] = parts.at(i).trimmed().toDouble(&ok);
        ok = ok && std::isfinite(values[i]) && std::abs(values[i]) <= LargestOffset;
    }
    if (!ok) {
        if (error)
            *error = QObject::tr("the form offset \"%1\" is not X,Y in millimetres, each -%2 to %2")
                         .arg(text)
                         .arg(LargestOffset);
        return false;
    }
    *millimetres = QPointF(values[0], values[1]);
    return true;
}
