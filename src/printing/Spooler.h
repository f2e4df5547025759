#pragma once

#include "printing/RunTimeError.h"

#include <QByteArray>
#include <QString>

#include <functional>

// The print spooler as raw printing sees it: open a destination by name, start
// one document of raw bytes, write to it, then finish it or cancel it. The
// CUPS implementation talks to the real spooler; tests can record instead.
class Spooler
{
public:
    virtual ~Spooler() = default;

    // Opens the named destination; an empty name opens the default one.
    virtual bool open(const QString &printerName) = 0;
    // Name of the destination that open() found (the default's own name).
    virtual QString printerName() const = 0;
    virtual bool startDocument(const QString &documentName) = 0;
    virtual bool write(const char *data, qsizetype size) = 0;
    // Hands the document over for printing.
    virtual bool finishDocument() = 0;
    // Drops a started document so that nothing of it prints.
    virtual void cancelDocument() = 0;
    virtual void close() = 0;
    // The last failure, for the error window.
    virtual RunTimeError lastError() const = 0;

    // Asked while the spooler waits for its server: true stops the wait and
    // fails the call under way (the user cancelled). A spooler that never
    // waits may ignore it.
    virtual void setStopCheck(std::function<bool()> stopped) { Q_UNUSED(stopped); }
};
