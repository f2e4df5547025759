#include "printing/CurrentPrinter.h"

#include <cups/cups.h>

namespace CurrentPrinter {
namespace {

QString s_name;

// The destinations CUPS knows, and the name of its default one.
QStringList destinations(QString *defaultName)
{
    cups_dest_t *dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    QStringList names;
    for (int i = 0; i < count; ++i) {
        QString name = QString::fromLocal8Bit(dests[i].name);
        if (dests[i].instance)
            name += QLatin1Char('/') + QString::fromLocal8Bit(dests[i].instance);
        if (dests[i].is_default && defaultName)
            *defaultName = name;
        names.append(name);
    }
    cupsFreeDests(count, dests);
    return names;
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

void setName(const QString &printerName)
{
    s_name = printerName;
}

bool isInstalled(const QString &printerName)
{
    return !printerName.isEmpty() && destinations(nullptr).contains(printerName);
}

} // namespace CurrentPrinter
