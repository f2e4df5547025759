#include "gui/printing/CurrentPrinter.h"

#include "printing/PrinterList.h"

namespace CurrentPrinter {
namespace {

QString s_name;

// The destinations the spooler knows, and the name of its default one,
// asked for with a short time-out (nothing when the spooler does not answer).
QStringList destinations(QString *defaultName)
{
    const PrinterList list = PrinterList::fetch();
    if (defaultName)
        *defaultName = list.defaultName;
    return list.names;
}

} // namespace

QString name()
{
    if (!s_name.isEmpty())
        return s_name;
    QString defaultName;
    destinations(&defaultName);
    return defaultName;
}

QString chosen()
{
    return s_name;
}

void setName(const QString &printerName)
{
    s_name = printerName;
}

bool isInstalled(const QString &printerName)
{
    return !printerName.isEmpty() && destinations(nullptr).contains(printerName);
}

} // namespace CurrentPrinter
