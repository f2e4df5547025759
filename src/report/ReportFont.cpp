#include "report/ReportFont.h"

#include <QFontDatabase>

QString reportFontFamily()
{
    static const QString family = QFontDatabase::hasFamily(QStringLiteral("Courier New"))
        ? QStringLiteral("Courier New")
        : QStringLiteral("Liberation Mono");
    return family;
}

QFont reportFont(double points, bool bold)
{
    QFont font(reportFontFamily());
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}
