#include "report/PrintedLookOffer.h"

#include "escp/EscpTokenizer.h"
#include "platform/SettingsStore.h"

#include <QFileInfo>

namespace PrintedLookOffer {

namespace {

// A report's first pages tell: its pictures (a letterhead, a logo) and its
// positioned columns come on every page.
constexpr qsizetype MostRead = 4 << 20;

const QString Section = QStringLiteral("ReportView");

bool placesText(const EscpToken &token)
{
    switch (token.code) {
    case '$':  // absolute horizontal position
    case '\\': // relative horizontal position
    case 'j':  // reverse paper feed
        return true;
    case '(': // absolute and relative vertical position
        return token.sub == 'V' || token.sub == 'v';
    default:
        return false;
    }
}

QString keyOf(const QString &kind)
{
    return QStringLiteral("PrintedFor_%1").arg(kind.isEmpty() ? QStringLiteral("none") : kind);
}

} // namespace

Need need(QByteArrayView bytes)
{
    EscpTokenizer tokens(bytes.first(qMin(bytes.size(), MostRead)));
    Need found = Need::None;
    for (EscpToken token = tokens.next(); token.kind != EscpToken::End; token = tokens.next()) {
        if (token.kind == EscpToken::Picture)
            return Need::Pictures;
        if (token.kind == EscpToken::Command && placesText(token))
            found = Need::Positioning;
    }
    return found;
}

QString kindOf(const QString &fileName)
{
    return QFileInfo(fileName).suffix().toLower();
}

std::optional<bool> answer(const QString &kind)
{
    const QString stored = SettingsStore::read(SettingsAppName, Section, keyOf(kind), QString()).trimmed();
    if (stored.isEmpty())
        return std::nullopt;
    return stored != QLatin1String("0");
}

bool saveAnswer(const QString &kind, bool printed)
{
    return SettingsStore::save(SettingsAppName, Section, keyOf(kind), printed ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace PrintedLookOffer
