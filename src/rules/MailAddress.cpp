#include "rules/MailAddress.h"

#include "delivery/MailSender.h"

#include <algorithm>

namespace MailAddress {

bool isValid(const QString &text)
{
    return isMailAddress(text);
}

namespace {

// The name before "<address>": its quotes taken away and what they escaped
// kept.
QString unquoted(const QString &name)
{
    QString plain;
    bool escaped = false;
    for (const QChar c : name) {
        if (escaped) {
            plain.append(c);
            escaped = false;
        } else if (c == QLatin1Char('\\')) {
            escaped = true;
        } else if (c != QLatin1Char('"')) {
            plain.append(c);
        }
    }
    return plain.simplified();
}

} // namespace

bool parseMailbox(const QString &text, QString *name, QString *address)
{
    const QString trimmed = text.trimmed();
    name->clear();
    *address = trimmed;
    if (trimmed.isEmpty() || pieces(trimmed).size() != 1)
        return false;
    if (!trimmed.endsWith(QLatin1Char('>')))
        return !trimmed.contains(QLatin1Char('<')) && !trimmed.contains(QLatin1Char('"'));
    // "Name <address>": the one angle bracket outside quotes opens the
    // address. A piece with two is no recipient, rather than one of them.
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
    if (opens != 1 || quoted)
        return false;
    *name = unquoted(trimmed.left(open));
    *address = trimmed.mid(open + 1, trimmed.size() - open - 2).trimmed();
    return true;
}

QString filledMailbox(const QString &piece, const std::function<QString(const QString &)> &fill)
{
    QString nameOf, addressOf;
    if (!parseMailbox(piece, &nameOf, &addressOf))
        return fill(piece).trimmed(); // refused as it stands
    const QString name = fill(nameOf).simplified();
    const QString address = fill(addressOf).trimmed();
    if (name.isEmpty())
        return address;
    static const QString specials = QStringLiteral("()<>[]:;@\\,.\"");
    const bool plain = std::none_of(name.begin(), name.end(), [](QChar c) { return specials.contains(c); });
    if (plain)
        return QStringLiteral("%1 <%2>").arg(name, address);
    QString quoted = name;
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QStringLiteral("\"%1\" <%2>").arg(quoted, address);
}

bool isMailbox(const QString &text)
{
    QString name, address;
    return parseMailbox(text, &name, &address) && isValid(address);
}

QStringList pieces(const QString &list)
{
    QStringList found;
    QString piece;
    bool quoted = false;
    bool bracketed = false;
    const auto take = [&] {
        if (!piece.trimmed().isEmpty())
            found.append(piece.trimmed());
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
    return found;
}

QStringList split(const QString &list)
{
    QStringList addresses;
    for (const QString &piece : pieces(list)) {
        QString name, address;
        parseMailbox(piece, &name, &address);
        addresses.append(address);
    }
    return addresses;
}

} // namespace MailAddress
