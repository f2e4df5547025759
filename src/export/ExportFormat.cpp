#include "export/ExportFormat.h"


#include <QCoreApplication>
#include <QFileInfo>

const QList<ExportFormatInfo> &exportFormats()
{
    static const QList<ExportFormatInfo> formats = {
        {ExportFormat::RichText, QLatin1String("rtf"), {}, Qt::CaseInsensitive, false, false,
            QT_TRANSLATE_NOOP("ExportFormat", " Rich Text Format (*.rtf)"), QLatin1String("*.rtf")},
        {ExportFormat::PlainText, QLatin1String("txt"), {QLatin1String("txt")}, Qt::CaseSensitive, false,
            true, QT_TRANSLATE_NOOP("ExportFormat", " Text  (*.txt) "), QLatin1String("*.txt")},
        {ExportFormat::Workbook, QLatin1String("xlsx"), {QLatin1String(".xls"), QLatin1String(".xlsx")},
            Qt::CaseInsensitive, true, false, QT_TRANSLATE_NOOP("ExportFormat", " Excel WorkBook (*.xls)"),
            QLatin1String("*.xls")},
        {ExportFormat::WebPage, QLatin1String("html"), {QLatin1String("html")}, Qt::CaseInsensitive, true,
            true, QT_TRANSLATE_NOOP("ExportFormat", " Web Page (*.HTML)"), QLatin1String("*.html")},
        {ExportFormat::Pdf, QLatin1String("pdf"), {QLatin1String(".pdf")}, Qt::CaseInsensitive, false, false,
            QT_TRANSLATE_NOOP("ExportFormat", " PDF Document (*.pdf)"), QLatin1String("*.pdf"), ExportLook::Shown},
        {ExportFormat::Png, QLatin1String("png"), {QLatin1String(".png")}, Qt::CaseInsensitive, false, false,
            nullptr, QLatin1String(), ExportLook::Sheets},
    };
    return formats;
}

const ExportFormatInfo &exportFormatInfo(ExportFormat format)
{
    for (const ExportFormatInfo &info : exportFormats()) {
        if (info.format == format)
            return info;
    }
    return exportFormats().first();
}

std::optional<ExportFormat> exportFormatNamed(const QString &name)
{
    for (const ExportFormatInfo &info : exportFormats()) {
        if (name.compare(info.name, Qt::CaseInsensitive) == 0)
            return info.format;
    }
    return std::nullopt;
}

ExportFormat exportFormatForName(const QString &fileName)
{
    // No name ends in two rows' endings, so the order does not matter; rich
    // text, with none, takes the rest.
    for (const ExportFormatInfo &info : exportFormats()) {
        for (const QLatin1String &ending : info.endings) {
            if (fileName.endsWith(ending, info.endingCase))
                return info.format;
        }
    }
    return ExportFormat::RichText;
}

ExportFormat exportFormatForOutput(const QString &fileName)
{
    const QString ending = QFileInfo(fileName).suffix();
    if (ending.compare(QLatin1String("htm"), Qt::CaseInsensitive) == 0)
        return ExportFormat::WebPage;
    for (const ExportFormatInfo &info : exportFormats()) {
        for (QLatin1String known : info.endings) {
            if (known.startsWith(QLatin1Char('.')))
                known = known.sliced(1);
            if (ending.compare(known, info.endingCase) == 0)
                return info.format;
        }
    }
    return ExportFormat::RichText;
}

QString exportDialogFilter()
{
    QStringList entries;
    for (const ExportFormatInfo &info : exportFormats()) {
        if (info.filterLabel)
            entries.append(QCoreApplication::translate("ExportFormat", info.filterLabel) + QLatin1Char('|')
                + info.filterPattern);
    }
    return entries.join(QLatin1Char('|'));
}
