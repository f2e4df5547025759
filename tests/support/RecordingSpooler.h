#pragma once

#include "printing/Spooler.h"

#include <QStringList>

// A spooler that keeps what it is sent, for unit tests of the byte stream.
// It can be told to refuse a step, to try the failure paths.
class RecordingSpooler : public Spooler
{
public:
    bool refuseStart = false;
    int refuseWriteNumber = 0; // refuse the n-th write (1-based), 0: never
    bool refuseFinish = false;

    // What happened: "open", "start", "write", "finish", "cancel", "close".
    QStringList calls;
    QString documentName;
    QByteArray bytes;
    int writes = 0;

    bool open(const QString &name) override
    {
        calls << "open";
        m_name = name.isEmpty() ? QStringLiteral("Recorder") : name; // the one printer, and the default
        return m_name == QLatin1String("Recorder");
    }
    QString printerName() const override { return m_name; }
    bool startDocument(const QString &name) override
    {
        calls << "start";
        documentName = name;
        return refuse(refuseStart, 1030, "not accepting jobs");
    }
    bool write(const char *data, qsizetype size) override
    {
        calls << "write";
        if (!refuse(++writes == refuseWriteNumber, 1282, "write refused"))
            return false;
        bytes.append(data, size);
        return true;
    }
    bool finishDocument() override
    {
        calls << "finish";
        return refuse(refuseFinish, 1280, "document refused");
    }
    void cancelDocument() override { calls << "cancel"; }
    void close() override { calls << "close"; }
    RunTimeError lastError() const override { return m_error; }

private:
    bool refuse(bool refused, long number, const char *description)
    {
        if (refused)
            m_error = {number, QStringLiteral("Recorder"), QString::fromLatin1(description)};
        return !refused;
    }

    QString m_name;
    RunTimeError m_error;
};
