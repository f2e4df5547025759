#include "gui/printing/CurrentPrinter.h"

#include "printing/PrinterList.h"

namespace CurrentPrinter {
namespace {

QString s_name;

} // namespace

QString name(const PrinterList &list)
{
    return s_name.isEmpty() ? list.defaultName : s_name;
}

QString chosen()
{
    return s_name;
}

void setName(const QString &printerName)
{
    s_name = printerName;
}

bool isInstalled(const PrinterList &list, const QString &printerName)
{
    return !printerName.isEmpty() && list.names.contains(printerName);
}

} // namespace CurrentPrinter
