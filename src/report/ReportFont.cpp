#include "report/ReportFont.h"

#include <QFontDatabase>
#include <QFontMetrics>

#include <array>

namespace {

const QString CodePageFamily = QStringLiteral("DejaVu Sans Mono");

// Whether the family is installed, from the font database's list:
// QFontDatabase::hasFamily() first asks fontconfig to substitute the name,
// which costs more than the rest of a view's choice of font.
bool installed(const QString &family)
{
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

// The placeholder an undefined byte decodes to (see CodePage).
bool isPlaceholder(char16_t c)
{
    return c >= 0xF700 && c <= 0xF7FF;
}

} // namespace

bool fontHoldsCodePage(const QFont &font, CodePage::Id codePage)
{
    const QFontMetrics metrics(font);
    const char16_t *table = CodePage::table(codePage);
    for (int byte = 0x80; byte < 0x100; ++byte) {
        const char16_t c = table[byte];
        if (!isPlaceholder(c) && !metrics.inFont(QChar(c)))
            return false;
    }
    return true;
}

QString reportFontFamily(CodePage::Id codePage)
{
    static const QString family = installed(QStringLiteral("Courier New"))
        ? QStringLiteral("Courier New")
        : QStringLiteral("Liberation Mono");
    if (codePage == CodePage::Id::Latin1)
        return family;
    // Decided once for every code page, at the first call (an initialisation
    // that threads wait for): the installed fonts do not change meanwhile.
    static const std::array<QString, CodePage::Count> chosen = [] {
        std::array<QString, CodePage::Count> families;
        QFont candidate(CodePageFamily);
        candidate.setStyleStrategy(QFont::NoFontMerging);
        const bool holds = installed(CodePageFamily);
        for (size_t i = 0; i < families.size(); ++i)
            families[i] = holds && fontHoldsCodePage(candidate, CodePage::Id(i)) ? CodePageFamily : family;
        return families;
    }();
    return chosen.at(size_t(codePage));
}

QFont reportFont(double points, bool bold, CodePage::Id codePage)
{
    QFont font(reportFontFamily(codePage));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // Every character of a print file is one the chosen font holds; control
    // codes have no glyph in any font, so searching other fonts for them
    // would only slow the layout down (and a glyph from a proportional font
    // would break the columns). Nor does a column of a print file need the
    // font's shaping rules (ligatures, kerning), which would only cost time:
    // each emphasis run of a line is shaped on its own.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferNoShaping));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}
