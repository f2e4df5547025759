#include "export/ExportFormat.h"

ExportFormat exportFormatForName(const QString &fileName)
{
    if (fileName.right(4).compare(QLatin1String("html"), Qt::CaseInsensitive) == 0)
        return ExportFormat::WebPage;
    if (fileName.endsWith(QLatin1String("txt"), Qt::CaseSensitive))
        return ExportFormat::PlainText;
    return ExportFormat::RichText;
}
