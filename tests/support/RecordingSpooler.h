#pragma once

#include "printing/Spooler.h"

#include <QStringList>

// A spooler that keeps what it is sent, for unit tests of the byte stream.
// It can be told to refuse a step, to try the failure paths.
class RecordingSpooler : public Spooler
{
public:
    // Destinations that open() accepts; the first is the default.
    QStringList printers {QStringLiteral("Recorder")};
    bool refuseStart = false;
    int refuseWriteNumber = 0; // refuse the n-th write (1-based), 0: never
    bool refuseFinish = false;

    // What happened.
    QStringList calls; // "open", "start", "write", "finish", "cancel", "close"
    QString documentName;
    QByteArray bytes;
    int writes = 0;

    bool open(const QString &printerName) override;
    QString printerName() const override { return m_name; }
    bool startDocument(const QString &documentName) override;
    bool write(const char *data, qsizetype size) override;
    bool finishDocument() override;
    void cancelDocument() override;
    void close() override;
    RunTimeError lastError() const override { return m_error; }

private:
    QString m_name;
    RunTimeError m_error;
};
