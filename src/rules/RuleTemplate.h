#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// A rule's text with fields in braces, such as "{date}_{invoice}.pdf".
namespace RuleTemplate {

// The fields every job has, whatever the rule's pattern.
const QStringList &jobFields();

// The names of the fields the text uses, in order; false with a cause when a
// brace is not closed or a field has no name.
bool fieldsOf(const QString &text, QStringList *fields, QString *cause);

// The text with each field replaced by its value (a field without one gives
// an empty text).
QString expanded(const QString &text, const QHash<QString, QString> &values);

} // namespace RuleTemplate
