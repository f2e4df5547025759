#include "printing/CurrentPrinter.h"

#include <QPrinterInfo>

namespace CurrentPrinter {
namespace {

QString s_name;

} // namespace

QString name()
{
    if (!s_name.isEmpty())
        return s_name;
    return QPrinterInfo::defaultPrinterName();
}

void setName(const QString &printerName)
{
    s_name = printerName;
}

bool isInstalled(const QString &printerName)
{
    return !printerName.isEmpty() && QPrinterInfo::availablePrinterNames().contains(printerName);
}

} // namespace CurrentPrinter
