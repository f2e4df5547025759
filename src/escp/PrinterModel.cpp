#include "escp/PrinterModel.h"

#include "escp/EscpCommands.h"
#include "escp/EscpTokenizer.h"

#include <QCoreApplication>

#include <array>
#include <cmath>

namespace {

struct Named
{
    PrinterModel model;
    const char *name;
    const char *title;
};
constexpr std::array<Named, 4> Models{{
    {PrinterModel::Auto, "auto", QT_TRANSLATE_NOOP("PrinterModels", "Printer: as the file tells")},
    {PrinterModel::NinePin, "9-pin", QT_TRANSLATE_NOOP("PrinterModels", "9-pin printer (ESC/P)")},
    {PrinterModel::TwentyFourPin, "24-pin", QT_TRANSLATE_NOOP("PrinterModels", "24-pin printer (ESC/P)")},
    {PrinterModel::EscP2, "escp2", QT_TRANSLATE_NOOP("PrinterModels", "ESC/P2 printer")},
}};

constexpr int Decided = 64; // this much evidence for 24 pins ends the search

// Whether `perInch` lines to the inch is a spacing a program asks for: a
// whole number of lines per inch from 2 to 12.
bool roundSpacing(double perInch)
{
    return perInch >= 2 && perInch <= 12 && std::abs(perInch - std::round(perInch)) < 1e-9;
}

// A line spacing of n steps: +1 when it is round only in 24-pin steps, -1
// when only in 9-pin steps, 0 when both or neither.
int spacingVote(int n, double nineSteps, double twentyFourSteps)
{
    if (n <= 0)
        return 0;
    const bool nine = roundSpacing(nineSteps / n);
    const bool twentyFour = roundSpacing(twentyFourSteps / n);
    return nine == twentyFour ? 0 : twentyFour ? 1 : -1;
}

} // namespace

namespace PrinterModels {

QString name(PrinterModel model)
{
    return QString::fromLatin1(Models[size_t(model)].name);
}

QStringList names()
{
    QStringList all;
    for (const Named &m : Models)
        all << QString::fromLatin1(m.name);
    return all;
}

std::optional<PrinterModel> fromName(QStringView name)
{
    for (const Named &m : Models) {
        if (name.compare(QLatin1StringView(m.name), Qt::CaseInsensitive) == 0)
            return m.model;
    }
    return std::nullopt;
}

QString title(PrinterModel model)
{
    return QCoreApplication::translate("PrinterModels", Models[size_t(model)].title);
}

int pins(PrinterModel model)
{
    switch (model) {
    case PrinterModel::NinePin: return 9;
    case PrinterModel::TwentyFourPin:
    case PrinterModel::EscP2: return 24;
    case PrinterModel::Auto: break;
    }
    return 0;
}

PrinterModel guess(QByteArrayView bytes)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.data());
    int twentyFour = 0; // evidence for 24 pins, against 9
    bool ninePinOnly = false;
    // The commands of the first megabytes tell: a long report's set-up is at
    // its beginning, and the rest of it is not read twice.
    EscpTokenizer tokens(bytes.first(qMin(bytes.size(), GuessReads)));
    for (EscpToken t = tokens.next(); t.kind != EscpToken::End && twentyFour < Decided; t = tokens.next()) {
        if (t.kind != EscpToken::Command && t.kind != EscpToken::Picture)
            continue;
        const uchar *p = data + t.offset;
        const uchar n0 = t.length > 2 ? p[2] : 0;
        switch (t.code) {
        case '.': // raster graphics
        case 'X': // scalable fonts
            return PrinterModel::EscP2;
        case '(':
            // ESC ( t, ESC ( - and ESC ( ^ are 24-pin ESC/P too; the page
            // format, the unit, the positions and bar codes are ESC/P2's.
            if (t.sub == 't' || t.sub == '-' || t.sub == '^')
                twentyFour += 4;
            else
                return PrinterModel::EscP2;
            break;
        case '*':
            if (n0 == 71 || n0 == 72 || n0 == 73)
                return PrinterModel::EscP2;
            if (n0 >= 32)
                twentyFour += 4;
            else if (n0 == 5 || n0 == 7)
                ninePinOnly = true; // the plotter and CRT III densities
            break;
        case '?':
            if (t.length > 3 && p[3] >= 32)
                twentyFour += 4;
            break;
        case '+': // n/360 in line spacing
            twentyFour += 4;
            break;
        case '^': // 9-pin graphics
        case 'j': // reverse feed
        case '1': // 7/72 in line spacing
            ninePinOnly = true;
            break;
        case '&': {
            const int form = Escp::downloadForm(p, bytes.size() - t.offset, tokens.superSubscript());
            if (form == 9)
                ninePinOnly = true;
            else if (form == 24)
                twentyFour += 4;
            break;
        }
        case '3':
            twentyFour += spacingVote(n0, 216, 180);
            break;
        case 'A':
            twentyFour += spacingVote(n0, 72, 60);
            break;
        default:
            break;
        }
    }
    if (ninePinOnly && twentyFour < 4)
        return PrinterModel::NinePin;
    return twentyFour > 0 ? PrinterModel::TwentyFourPin : PrinterModel::NinePin;
}

} // namespace PrinterModels
