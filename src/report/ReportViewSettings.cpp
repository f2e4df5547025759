#include "report/ReportViewSettings.h"

#include <cmath>

#include "platform/NumericText.h"
#include "platform/OleColor.h"
#include "platform/SettingsStore.h"

namespace {

const QString Section = QStringLiteral("ReportView");

// The stored number, or `fallback` when the key is absent or not a number.
qint64 storedNumber(const SettingsStore::Reader &settings, const QString &key, qint64 fallback)
{
    const QString text = settings.read(key, QString::number(fallback));
    if (!NumericText::isNumber(text))
        return fallback;
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? value : fallback;
}

QColor storedColor(const SettingsStore::Reader &settings, const QString &key, const QColor &fallback)
{
    const qint64 value = storedNumber(settings, key, OleColor::fromColor(fallback));
    if (value < 0 || value > 0xFFFFFFFFLL)
        return fallback;
    const QColor color = OleColor::toColor(quint32(value));
    return color.isValid() ? color : fallback;
}

bool save(const QString &key, const QString &value)
{
    return SettingsStore::save(SettingsAppName, Section, key, value);
}

bool save(const QString &key, qint64 value)
{
    return save(key, QString::number(value));
}

} // namespace

ReportViewSettings ReportViewSettings::read()
{
    ReportViewSettings s;
    const SettingsStore::Reader settings(SettingsAppName, Section);
    const auto readNumber = [&settings](const QString &key, qint64 fallback) {
        return storedNumber(settings, key, fallback);
    };
    const auto readColor = [&settings](const QString &key, const QColor &fallback) {
        return storedColor(settings, key, fallback);
    };
    s.doubleWidth = readColor(QStringLiteral("BBold"), s.doubleWidth);
    s.bold = readColor(QStringLiteral("Bold"), s.bold);
    s.condensed = readColor(QStringLiteral("cond"), s.condensed);
    s.reportBack = readColor(QStringLiteral("RepotBackColor"), s.reportBack);
    s.searchString = readColor(QStringLiteral("SearchString"), s.searchString);
    s.highlight = readColor(QStringLiteral("Highlight"), s.highlight);
    // Each falls back on its member's own default.
    s.searchBold = readNumber(QStringLiteral("chSearch"), s.searchBold) != 0;
    s.highlightBold = readNumber(QStringLiteral("ChHighlighte"), s.highlightBold) != 0;
    s.minusOneLine = readNumber(QStringLiteral("chl"), s.minusOneLine) != 0;
    const QString codePage = settings.read(QStringLiteral("CodePage"), CodePage::name(s.codePage));
    s.codePage = CodePage::fromName(codePage.trimmed()).value_or(s.codePage);
    s.printedLook = readNumber(QStringLiteral("Printed"), s.printedLook) != 0;
    s.wideCarriage = readNumber(QStringLiteral("WideCarriage"), s.wideCarriage) != 0;
    bool ok = false;
    const double form = settings.read(QStringLiteral("FormLength"),
        QString::number(DefaultFormLength)).trimmed().toDouble(&ok);
    if (ok && std::isfinite(form) && form >= ShortestForm && form <= LongestForm)
        s.formLengthInches = form;
    const QString model = settings.read(QStringLiteral("PrinterModel"),
        PrinterModels::name(PrinterModel::Auto));
    s.printerModel = PrinterModels::fromName(model.trimmed()).value_or(PrinterModel::Auto);
    s.forms.first = settings.read(QStringLiteral("FormFirst"), QString());
    s.forms.next = settings.read(QStringLiteral("FormNext"), QString());
    QPointF offset;
    if (FormChoice::offsetFromText(
            settings.read(QStringLiteral("FormOffset"), QStringLiteral("0,0")),
            &offset, nullptr))
        s.forms.offsetMillimetres = offset;
    return s;
}

bool ReportViewSettings::saveColors() const
{
    return SettingsStore::write(SettingsAppName, Section,
        {{QStringLiteral("BBold"), QString::number(OleColor::fromColor(doubleWidth))},
            {QStringLiteral("Bold"), QString::number(OleColor::fromColor(bold))},
            {QStringLiteral("Cond"), QString::number(OleColor::fromColor(condensed))},
            {QStringLiteral("RepotBackColor"), QString::number(OleColor::fromColor(reportBack))},
            {QStringLiteral("SearchString"), QString::number(OleColor::fromColor(searchString))},
            {QStringLiteral("chSearch"), QString::number(searchBold ? 1 : 0)},
            {QStringLiteral("Highlight"), QString::number(OleColor::fromColor(highlight))}},
        nullptr, nullptr);
}

bool ReportViewSettings::saveHighlightBold(bool on)
{
    return save(QStringLiteral("ChHighlighte"), on ? 1 : 0);
}

bool ReportViewSettings::saveMinusOneLine(bool on)
{
    return save(QStringLiteral("chl"), on ? 1 : 0);
}

bool ReportViewSettings::saveCodePage(CodePage::Id codePage)
{
    return SettingsStore::save(SettingsAppName, Section, QStringLiteral("CodePage"), CodePage::name(codePage));
}

bool ReportViewSettings::savePrintedLook(bool on)
{
    return save(QStringLiteral("Printed"), on ? 1 : 0);
}

bool ReportViewSettings::savePrinter(double formLengthInches, bool wideCarriage)
{
    return SettingsStore::write(SettingsAppName, Section,
        {{QStringLiteral("FormLength"), QString::number(formLengthInches)},
            {QStringLiteral("WideCarriage"), QString::number(wideCarriage ? 1 : 0)}},
        nullptr, nullptr);
}

bool ReportViewSettings::savePrinterModel(PrinterModel model)
{
    return SettingsStore::save(SettingsAppName, Section, QStringLiteral("PrinterModel"), PrinterModels::name(model));
}

bool ReportViewSettings::saveForms(const FormChoice &forms)
{
    return SettingsStore::write(SettingsAppName, Section,
        {{QStringLiteral("FormFirst"), forms.first}, {QStringLiteral("FormNext"), forms.next},
            {QStringLiteral("FormOffset"),
                QStringLiteral("%1,%2").arg(forms.offsetMillimetres.x()).arg(forms.offsetMillimetres.y())}},
        nullptr, nullptr);
}

PrinterSetup ReportViewSettings::printerSetup() const
{
    PrinterSetup setup;
    setup.model = printerModel;
    setup.formLengthInches = formLengthInches;
    setup.carriageInches = wideCarriage ? WideCarriage : NarrowCarriage;
    setup.codePage = codePage;
    return setup;
}

const QStringList &ReportViewSettings::printerOptionKeys()
{
    static const QStringList keys {QStringLiteral("form-length"), QStringLiteral("carriage"), QStringLiteral("printer")};
    return keys;
}

bool ReportViewSettings::setPrinterOption(const QString &key, const QString &value)
{
    const QString text = value.trimmed();
    if (key == QLatin1String("form-length")) {
        bool number = false;
        const double inches = text.toDouble(&number);
        if (!number || inches < ShortestForm || inches > LongestForm)
            return false;
        formLengthInches = inches;
        return true;
    }
    if (key == QLatin1String("carriage")) {
        const bool wide = text.compare(QLatin1String("wide"), Qt::CaseInsensitive) == 0;
        if (!wide && text.compare(QLatin1String("narrow"), Qt::CaseInsensitive) != 0)
            return false;
        wideCarriage = wide;
        return true;
    }
    if (key == QLatin1String("printer")) {
        const std::optional<PrinterModel> model = PrinterModels::fromName(text);
        if (!model)
            return false;
        printerModel = *model;
        return true;
    }
    return false;
}

QColor ReportViewSettings::pageText(const QColor &paper)
{
    return paper.lightnessF() < 0.45 ? QColor(Qt::white) : QColor(Qt::black);
}
