#include "rules/MailAddress.h"

#include "delivery/MailSender.h"

namespace MailAddress {

bool isValid(const QString &text)
{
    return isMailAddress(text);
}

} // namespace MailAddress
