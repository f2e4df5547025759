#include "rules/MailAddress.h"

#if __has_include("delivery/MailSender.h")
#include "delivery/MailSender.h"
#else
#include <QRegularExpression>
#endif

namespace MailAddress {

bool isValid(const QString &text)
{
#if __has_include("delivery/MailSender.h")
    return isMailAddress(text);
#else
    static const QRegularExpression plain(QStringLiteral(
        "^[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+(\\.[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+)*@[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?"
        "(\\.[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?)*$"));
    return text.size() <= 254 && plain.match(text).hasMatch();
#endif
}

} // namespace MailAddress
