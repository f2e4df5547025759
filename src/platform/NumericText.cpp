#include "platform/NumericText.h"

#include <cmath>

namespace NumericText {
namespace {

// Length of the numeric prefix starting at `from`, 0 when there is none.
qsizetype numberLength(const QString &text, qsizetype from)
{
    qsizetype i = from;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isDigit() && c.unicode() < 128) {
            digits = true;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
        } else {
            break;
        }
    }
    return digits ? i - from : 0;
}

qsizetype skipSpaces(const QString &text, qsizetype i)
{
    while (i < text.size() && (text.at(i) == QLatin1Char(' ') || text.at(i) == QLatin1Char('\t')))
        ++i;
    return i;
}

} // namespace

double leadingNumber(const QString &text)
{
    const qsizetype start = skipSpaces(text, 0);
    const qsizetype len = numberLength(text, start);
    if (len == 0)
        return 0.0;
    return text.mid(start, len).toDouble();
}

long long roundedValue(const QString &text)
{
    return std::llrint(leadingNumber(text));
}

bool isNumber(const QString &text)
{
    const qsizetype start = skipSpaces(text, 0);
    const qsizetype len = numberLength(text, start);
    return len > 0 && skipSpaces(text, start + len) == text.size();
}

} // namespace NumericText
