#include "printing/CupsSpooler.h"

#include "printing/CupsLibrary.h"

#include <QCoreApplication>

CupsSpooler::~CupsSpooler()
{
    if (m_documentOpen)
        cancelDocument();
    close();
}

bool CupsSpooler::connect()
{
    if (m_http)
        return true;
    if (!m_cups) {
        QString missing;
        m_cups = CupsLibrary::get(&missing);
        if (!m_cups) {
            m_error = {long(IPP_STATUS_ERROR_SERVICE_UNAVAILABLE), QStringLiteral("CUPS"), missing};
            return false;
        }
    }
    m_http = m_cups->httpConnect2(m_cups->cupsServer(), m_cups->ippPort(), nullptr, AF_UNSPEC,
        m_cups->cupsEncryption(), 1, 30000, nullptr);
    if (m_http) {
        // Waits are cut into seconds, so that a stop ends them.
        m_cups->httpSetTimeout(m_http, 1.0, &CupsSpooler::waitedOneSecond, this);
    } else {
        m_error = {long(IPP_STATUS_ERROR_SERVICE_UNAVAILABLE), QStringLiteral("CUPS"),
            QCoreApplication::translate("Printing", "The print server %1 does not answer.")
                .arg(QString::fromLocal8Bit(m_cups->cupsServer())),
            false, true};
    }
    return m_http != nullptr;
}

int CupsSpooler::waitedOneSecond(http_t *, void *spooler)
{
    const auto *self = static_cast<const CupsSpooler *>(spooler);
    return self->m_stopped && self->m_stopped() ? 0 : 1; // 0 ends the wait
}

void CupsSpooler::fail(const QString &what)
{
    if (m_stopped && m_stopped()) {
        m_error = {long(IPP_STATUS_ERROR_SERVICE_UNAVAILABLE), QStringLiteral("CUPS: %1").arg(what),
            QCoreApplication::translate("Printing", "Cancelled.")};
        return;
    }
    long number = long(m_cups->cupsLastError());
    if (number == 0)
        number = long(IPP_STATUS_ERROR_INTERNAL);
    m_error
        = {number, QStringLiteral("CUPS: %1").arg(what), QString::fromUtf8(m_cups->cupsLastErrorString())};
    if (number == long(IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)) {
        m_error.noServer = true;
        m_error.description = QCoreApplication::translate("Printing", "The print server %1 does not answer.")
                                  .arg(QString::fromLocal8Bit(m_cups->cupsServer()));
    }
}

bool CupsSpooler::open(const QString &printerName)
{
    // Until a destination is found, the name is the one asked for, so a
    // refusal (even by a print server that cannot be reached) names it.
    m_name = printerName;
    if (!connect())
        return false;
    const QByteArray name = printerName.toUtf8();
    cups_dest_t *dest
        = m_cups->cupsGetNamedDest(m_http, printerName.isEmpty() ? nullptr : name.constData(), nullptr);
    if (!dest) {
        fail(QStringLiteral("find destination"));
        return false;
    }
    m_name = QString::fromUtf8(dest->name);
    m_cups->cupsFreeDests(1, dest);
    return true;
}

bool CupsSpooler::openQueue(const QString &queue)
{
    m_name = queue;
    if (!connect())
        return false;
    char uri[1024];
    m_cups->httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
        "/printers/%s", queue.toUtf8().constData());
    ipp_t *request = m_cups->ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    m_cups->ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    m_cups->ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "printer-name");
    ipp_t *response = m_cups->cupsDoRequest(m_http, request, "/"); // takes the request
    const bool found = response && m_cups->cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
    if (response)
        m_cups->ippDelete(response);
    if (!found)
        fail(QStringLiteral("find destination"));
    return found;
}

bool CupsSpooler::startDocument(const QString &documentName)
{
    const QByteArray name = m_name.toUtf8();
    const QByteArray title = documentName.toUtf8();
    QByteArray copies = QByteArray::number(m_copies);
    cups_option_t copiesOption { const_cast<char *>("copies"), copies.data() };
    m_jobId = m_copies > 1 ? m_cups->cupsCreateJob(m_http, name.constData(), title.constData(), 1, &copiesOption)
                           : m_cups->cupsCreateJob(m_http, name.constData(), title.constData(), 0, nullptr);
    if (m_jobId <= 0) {
        m_jobId = 0;
        fail(QStringLiteral("create job on %1").arg(m_name));
        return false;
    }
    if (m_cups->cupsStartDocument(m_http, name.constData(), m_jobId, title.constData(), m_format.constData(), 1)
        != HTTP_STATUS_CONTINUE) {
        fail(QStringLiteral("start document on %1").arg(m_name));
        cancelDocument();
        return false;
    }
    m_documentOpen = true;
    return true;
}

bool CupsSpooler::write(const char *data, qsizetype size)
{
    if (!m_documentOpen)
        return false;
    if (m_cups->cupsWriteRequestData(m_http, data, size_t(size)) != HTTP_STATUS_CONTINUE) {
        fail(QStringLiteral("send data to %1").arg(m_name));
        return false;
    }
    return true;
}

bool CupsSpooler::finishDocument()
{
    if (!m_documentOpen)
        return false;
    m_documentOpen = false;
    const QByteArray name = m_name.toUtf8();
    const ipp_status_t status = m_cups->cupsFinishDocument(m_http, name.constData());
    if (status > IPP_STATUS_OK_EVENTS_COMPLETE) {
        fail(QStringLiteral("finish document on %1").arg(m_name));
        return false;
    }
    m_finishedJobId = m_jobId;
    m_jobId = 0;
    return true;
}

bool CupsSpooler::cancelFinishedJob()
{
    if (m_finishedJobId <= 0 || !connect())
        return false;
    const ipp_status_t status = m_cups->cupsCancelJob2(m_http, m_name.toUtf8().constData(), m_finishedJobId, 1);
    m_finishedJobId = 0;
    return status <= IPP_STATUS_OK_CONFLICTING;
}

void CupsSpooler::cancelDocument()
{
    if (m_documentOpen) {
        // Dropping the connection in the middle of the document makes the
        // server throw the partial document away; the job is then cancelled
        // over a fresh connection.
        m_documentOpen = false;
        m_cups->httpClose(m_http);
        m_http = nullptr;
    }
    if (m_jobId > 0 && connect()) {
        const RunTimeError kept = m_error;
        m_cups->cupsCancelJob2(m_http, m_name.toUtf8().constData(), m_jobId, 1);
        m_error = kept;
    }
    m_jobId = 0;
}

void CupsSpooler::close()
{
    if (m_http) {
        m_cups->httpClose(m_http);
        m_http = nullptr;
    }
}
