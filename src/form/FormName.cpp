#include "form/FormName.h"

#include <QFileInfo>
#include <QRegularExpression>

FormName FormName::of(const QString &path)
{
    FormName name;
    name.filePath = path;
    if (QFileInfo::exists(path))
        return name;
    static const QRegularExpression PageSuffix(QStringLiteral("^(.+)#page=(.*)$"));
    const QRegularExpressionMatch suffix = PageSuffix.match(path);
    if (!suffix.hasMatch())
        return name;
    static const QRegularExpression Number(QStringLiteral("^[0-9]{1,6}$"));
    if (Number.match(suffix.captured(2)).hasMatch()) {
        name.filePath = suffix.captured(1);
        name.pageNumber = suffix.captured(2).toInt();
        name.pageNamed = true;
    } else if (QFileInfo::exists(suffix.captured(1))) {
        name.filePath = suffix.captured(1);
        name.badPage = suffix.captured(2);
    }
    return name;
}
