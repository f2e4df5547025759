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
    // "Name <address>": the one angle bracket outside quotes opens the
    // address. A piece with two is left whole, so that it is refused as no
    // address rather than mailed to one of them.
    const QString trimmed = piece.trimmed();
    if (!trimmed.endsWith(QLatin1Char('>')))
        return trimmed;
    qsizetype open = -1;
    int opens = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QChar c = trimmed.at(i);
        if (quoted && c == QLatin1Char('\\'))
            ++i; // an escaped character of the name
        else if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('<'))
            open = i, ++opens;
    }
    if (opens != 1)
        return trimmed;
    return trimmed.mid(open + 1, trimmed.size() - open - 2).trimmed();
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
    bool escaped = false;
    for (const QChar c : list) {
        if (escaped)
            escaped = false;
        else if (c == QLatin1Char('\\') && quoted)
            escaped = true;
        else if (c == QLatin1Char('"') && !bracketed)
            quoted = !quoted;
        else if (c == QLatin1Char('<') && !quoted)
            bracketed = true;
        else if (c == QLatin1Char('>') && !quoted)
            bracketed = false;
        // Commas part addresses, and semicolons as Outlook writes them.
        if ((c == QLatin1Char(',') || c == QLatin1Char(';')) && !quoted && !bracketed && !escaped)
            take();
        else
            piece.append(c);
    }
    take();
    return addresses;
}

} // namespace MailAddress
