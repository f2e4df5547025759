#include "printing/PrinterList.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include "printing/CupsLibrary.h"

namespace {

// Cuts the library's waits into short slices and ends them at the deadline.
int withinDeadline(http_t *, void *deadline)
{
    return static_cast<const QDeadlineTimer *>(deadline)->hasExpired() ? 0 : 1; // 0 ends the wait
}

} // namespace

PrinterList PrinterList::fetch(const QString &server, int timeoutMs)
{
    PrinterList list;
    const CupsLibrary *cups = CupsLibrary::get(&list.error);
    if (!cups)
        return list;
    QByteArray host = server.isEmpty() ? QByteArray(cups->cupsServer()) : server.toLocal8Bit();
    int port = cups->ippPort();
    const qsizetype colon = host.lastIndexOf(':');
    if (!host.startsWith('/') && colon > 0 && !host.contains(']')) {
        port = host.mid(colon + 1).toInt();
        host.truncate(colon);
    }
    // The messages name the server as it is set, with a port of its own.
    const QString named = QString::fromLocal8Bit(host)
        + (host.startsWith('/') || port == 631 ? QString() : QStringLiteral(":%1").arg(port));
    const QDeadlineTimer deadline(timeoutMs);
    http_t *http = cups->httpConnect2(host.constData(), port, nullptr, AF_UNSPEC, cups->cupsEncryption(), 1,
        qMax(1, timeoutMs), nullptr);
    if (!http) {
        list.error = QCoreApplication::translate("Printing", "Cannot connect to the print server %1.").arg(named);
        return list;
    }
    cups->httpSetTimeout(http, 0.25, withinDeadline, const_cast<QDeadlineTimer *>(&deadline));
    cups_dest_t *dests = nullptr;
    const int count = cups->cupsGetDests2(http, &dests);
    if (deadline.hasExpired()) {
        list.timedOut = true;
        list.error
            = QCoreApplication::translate("Printing", "The print server %1 did not answer within %2 seconds.")
                  .arg(named)
                  .arg(timeoutMs / 1000.0);
    } else {
        list.answered = true;
        for (int i = 0; i < count; ++i) {
            QString name = QString::fromLocal8Bit(dests[i].name);
            if (dests[i].instance)
                name += QLatin1Char('/') + QString::fromLocal8Bit(dests[i].instance);
            if (dests[i].is_default)
                list.defaultName = name;
            list.names.append(name);
            for (int j = 0; j < dests[i].num_options; ++j) {
                if (qstrcmp(dests[i].options[j].name, "printer-is-accepting-jobs") == 0
                    && qstrcmp(dests[i].options[j].value, "false") == 0)
                    list.refusing.append(name);
            }
        }
    }
    cups->cupsFreeDests(count, dests);
    cups->httpClose(http);
    return list;
}
