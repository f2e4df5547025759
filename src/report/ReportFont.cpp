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
    // Every character of a print file is Latin-1, which the report font holds;
    // control codes have no glyph in any font, so searching other fonts for
    // them would only slow the layout down.
    font.setStyleStrategy(QFont::NoFontMerging);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}
