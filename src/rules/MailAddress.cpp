#include "rules/MailAddress.h"

#include "delivery/MailSender.h"

namespace MailAddress {

bool isValid(const QString &text)
{
    return isMailAddress(text);
}

namespace {

// "Max Müller <mm@example.com>" gives the address between the brackets;
// anything else is taken as it is.
QString addressOf(const QString &piece)
{
    const QString trimmed = piece.trimmed();
    const qsizetype open = trimmed.lastIndexOf(QLatin1Char('<'));
    if (trimmed.endsWith(QLatin1Char('>')) && open >= 0)
        return trimmed.mid(open + 1, trimmed.size() - open - 2).trimmed();
    return trimmed;
}

} // namespace

QStringList split(const QString &list)
{
    QStringList addresses;
    QString piece;
    bool quoted = false;
    bool bracketed = false;
    const auto take = [&] {
        const QString address = addressOf(piece);
        if (!address.isEmpty())
            addresses.append(address);
        piece.clear();
    };
    for (const QChar c : list) {
        if (c == QLatin1Char('"') && !bracketed)
            quoted = !quoted;
        else if (c == QLatin1Char('<') && !quoted)
            bracketed = true;
        else if (c == QLatin1Char('>') && !quoted)
            bracketed = false;
        if (c == QLatin1Char(',') && !quoted && !bracketed)
            take();
        else
            piece.append(c);
    }
    take();
    return addresses;
}

} // namespace MailAddress
