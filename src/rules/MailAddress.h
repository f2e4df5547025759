#pragma once

#include <QString>
#include <QStringList>

// Mail addresses in rules, as the mail sender takes them.
namespace MailAddress {
bool isValid(const QString &text);

// The addresses of a list as business programs print it: split at the
// commas and semicolons outside quotes and angle brackets, each "Name
// <address>" taken as its address (the name is left out; a piece with two
// addresses in brackets stays whole, and so no address), spaces around
// taken away; empty pieces are dropped.
QStringList split(const QString &list);
} // namespace MailAddress
