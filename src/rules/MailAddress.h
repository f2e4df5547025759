#pragma once

#include <QString>
#include <QStringList>

#include <functional>

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

// One recipient written as `piece` (an address, or "Name <address>"), its
// fields filled in by `fill` part by part: the name's value is the name
// whatever it holds (quoted where it must be: "Müller, Jan"), the address's
// is the address. A value that is no one address leaves no valid mailbox.
QString filledMailbox(const QString &piece, const std::function<QString(const QString &)> &fill);

// A list as business programs print it, split at the commas and semicolons
// outside quotes and angle brackets, each piece trimmed; empty pieces are
// dropped. Each piece is a recipient as written, names and all.
QStringList pieces(const QString &list);

// The addresses of such a list, each "Name <address>" taken as its address
// (a piece with two addresses in brackets stays whole, and so no address).
QStringList split(const QString &list);
} // namespace MailAddress
