#pragma once

#include "printing/Spooler.h"

typedef struct _http_s http_t;
struct CupsLibrary;

// Raw documents through libcups: one job per document on the destination,
// format application/vnd.cups-raw, streamed over one connection to the
// server that CUPS_SERVER or the client configuration names.
class CupsSpooler : public Spooler
{
public:
    CupsSpooler() = default;
    ~CupsSpooler() override;
    CupsSpooler(const CupsSpooler &) = delete;
    CupsSpooler &operator=(const CupsSpooler &) = delete;

    bool open(const QString &printerName) override;
    QString printerName() const override { return m_name; }
    bool startDocument(const QString &documentName) override;
    bool write(const char *data, qsizetype size) override;
    bool finishDocument() override;
    void cancelDocument() override;
    void close() override;
    RunTimeError lastError() const override { return m_error; }
    void setStopCheck(std::function<bool()> stopped) override { m_stopped = std::move(stopped); }

    // Takes the queue by its exact name and asks for it on this connection,
    // whose waits end at the stop check (libcups' own lookup falls back to
    // listing every destination, with minute-long waits of its own, when
    // the server does not answer). False when the server does not answer
    // or has no such queue.
    bool openQueue(const QString &queue);
    // The format of the documents started next (a MIME type CUPS knows);
    // raw bytes unless set.
    void setDocumentFormat(const QByteArray &format) { m_format = format; }
    // The copies of each job started next (CUPS's "copies"); one unless set.
    void setCopies(int copies) { m_copies = copies; }
    // Cancels the job of the document finished last, when a stop came as
    // its last bytes went: true when the server took it back (one that has
    // printed already cannot be).
    bool cancelFinishedJob();

private:
    bool connect();
    void fail(const QString &what);
    static int waitedOneSecond(http_t *http, void *spooler);

    const CupsLibrary *m_cups = nullptr; // found by the first connect
    http_t *m_http = nullptr;
    QString m_name;
    int m_jobId = 0;
    int m_finishedJobId = 0;
    bool m_documentOpen = false;
    RunTimeError m_error;
    std::function<bool()> m_stopped;
    QByteArray m_format = "application/vnd.cups-raw";
    int m_copies = 1;
};
