#pragma once

#include <QString>
#include <QStringList>

// Mail addresses in rules, as the mail sender takes them.
namespace MailAddress {
// A plain address (local@domain.example).
bool isValid(const QString &text);

// One recipient as a rule writes it: an address, or "Name <address>" (the
// name may be quoted, "Müller, Jan" <jan@example.com>). False when the text
// is not exactly one such recipient (two of them, a list, brackets amiss).
bool parseMailbox(const QString &text, QString *name, QString *address);
// The same, true only when the address is valid too.
bool isMailbox(const QString &text);

// A list as business programs print it, split at the commas and semicolons
// outside quotes and angle brackets, each piece trimmed; empty pieces are
// dropped. Each piece is a recipient as written, names and all.
QStringList pieces(const QString &list);

// The addresses of such a list, each "Name <address>" taken as its address
// (a piece with two addresses in brackets stays whole, and so no address).
QStringList split(const QString &list);
} // namespace MailAddress
