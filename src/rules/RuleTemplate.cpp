#include "rules/RuleTemplate.h"

namespace RuleTemplate {

const QStringList &jobFields()
{
    static const QStringList fields = { QStringLiteral("user"), QStringLiteral("title"), QStringLiteral("queue"),
        QStringLiteral("job"), QStringLiteral("date"), QStringLiteral("time"), QStringLiteral("sheets"),
        QStringLiteral("name") };
    return fields;
}

bool fieldsOf(const QString &text, QStringList *fields, QString *cause)
{
    fields->clear();
    qsizetype at = 0;
    while (true) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), at);
        const qsizetype stray = text.indexOf(QLatin1Char('}'), at);
        if (stray >= 0 && (open < 0 || stray < open)) {
            *cause = QStringLiteral("a '}' without its '{'");
            return false;
        }
        if (open < 0)
            return true;
        const qsizetype close = text.indexOf(QLatin1Char('}'), open);
        if (close < 0) {
            *cause = QStringLiteral("a '{' is not closed");
            return false;
        }
        const QString name = text.mid(open + 1, close - open - 1);
        if (name.isEmpty() || name.contains(QLatin1Char('{'))) {
            *cause = QStringLiteral("a field needs a name between '{' and '}'");
            return false;
        }
        fields->append(name);
        at = close + 1;
    }
}

QString expanded(const QString &text, const QHash<QString, QString> &values)
{
    QString out;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), at);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('}'), open);
        if (close < 0) {
            out += text.mid(at);
            break;
        }
        out += text.mid(at, open - at);
        out += values.value(text.mid(open + 1, close - open - 1));
        at = close + 1;
    }
    return out;
}

} // namespace RuleTemplate
