#include "RecordingSpooler.h"

bool RecordingSpooler::open(const QString &printerName)
{
    calls << QStringLiteral("open");
    m_name = printerName.isEmpty() && !printers.isEmpty() ? printers.first() : printerName;
    return printers.contains(m_name);
}

bool RecordingSpooler::startDocument(const QString &name)
{
    calls << QStringLiteral("start");
    documentName = name;
    if (refuseStart) {
        m_error = {1030, QStringLiteral("Recorder"), QStringLiteral("not accepting jobs")};
        return false;
    }
    return true;
}

bool RecordingSpooler::write(const char *data, qsizetype size)
{
    calls << QStringLiteral("write");
    ++writes;
    if (writes == refuseWriteNumber) {
        m_error = {1282, QStringLiteral("Recorder"), QStringLiteral("write refused")};
        return false;
    }
    bytes.append(data, size);
    return true;
}

bool RecordingSpooler::finishDocument()
{
    calls << QStringLiteral("finish");
    if (refuseFinish) {
        m_error = {1280, QStringLiteral("Recorder"), QStringLiteral("document refused")};
        return false;
    }
    return true;
}

void RecordingSpooler::cancelDocument()
{
    calls << QStringLiteral("cancel");
}

void RecordingSpooler::close()
{
    calls << QStringLiteral("close");
}
