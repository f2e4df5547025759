#pragma once

#include <QString>

// Mail addresses in rules, as the mail sender takes them.
namespace MailAddress {
bool isValid(const QString &text);
}
