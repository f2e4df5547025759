#include "printing/RawPrinting.h"

#include "escp/EscpCommands.h"
#include "platform/FileStamp.h"
#include "platform/NumericText.h"
#include "printing/CupsSpooler.h"
#include "printing/LineFramer.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace {

// Lines are gathered and handed to the spooler in pieces of about this size.
constexpr qsizetype WriteChunk = 256 * 1024;
constexpr qint64 ReadChunk = 256 * 1024;

RunTimeError fileError(const QFile &file)
{
    return {long(file.error()) ? long(file.error()) : long(QFileDevice::ReadError),
        QStringLiteral("Reading %1").arg(file.fileName()), file.errorString()};
}

bool paperHeightValid(qint16 height)
{
    return height >= 0 && height <= 255;
}

QString paperHeightMessage(const QString &text)
{
    return QCoreApplication::translate(
        "Printing", "The paper height (%1) must be a number of inches from 0 to 255.")
        .arg(text);
}

// Sends one copy of the file through the framer; the output buffer is handed
// to the spooler whenever it has grown past WriteChunk.
bool sendCopy(Spooler &spooler, QFile &file, LineFramer &framer, QByteArray &out, RunTimeError *error,
    const RawJobOptions &options, qint64 *sent, qint64 total)
{
    QByteArray chunk(ReadChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 n = file.read(chunk.data(), ReadChunk);
        if (n < 0) {
            *error = fileError(file);
            return false;
        }
        if (n == 0)
            break;
        framer.feed(chunk.constData(), n, out);
        *sent += n;
        if (options.progress)
            options.progress(*sent, total);
        if (options.stopped && options.stopped())
            return false;
        if (out.size() >= WriteChunk) {
            if (!WriteRaw(spooler, out)) {
                *error = spooler.lastError();
                return false;
            }
            out.resize(0);
        }
    }
    framer.finishCopy(out);
    return true;
}

QString cancelledMessage(const QString &file)
{
    return QCoreApplication::translate("Printing", "Printing %1 was cancelled; nothing of it prints.").arg(file);
}

// What stops a job before anything is opened: no file, or a paper height
// out of range. False with the failure told.
bool checkJob(const QString &file, const RawJobOptions &options, RawJobFailure &f)
{
    if (!FileExists(file)) {
        f.kind = RawJobFailure::MissingFile;
        f.message = QCoreApplication::translate("Printing", "File %1 does not exists").arg(file);
        return false;
    }
    if (!paperHeightValid(options.paperHeight)) {
        f.kind = RawJobFailure::PaperHeight;
        f.message = paperHeightMessage(QString::number(options.paperHeight));
        return false;
    }
    return true;
}

// The spooler did not open the printer: cancelled, no print server, or a
// name it does not know, told in `f`. The spooler is closed again.
void openFailure(Spooler &spooler, const QString &file, const RawJobOptions &options, RawJobFailure &f)
{
    spooler.close();
    spooler.setStopCheck({});
    if (options.stopped && options.stopped()) {
        f.kind = RawJobFailure::Cancelled;
        f.message = cancelledMessage(file);
        return;
    }
    if (spooler.lastError().noServer) {
        f.kind = RawJobFailure::NoServer;
        f.error = spooler.lastError();
        f.message = QCoreApplication::translate("Printing", "%1 Nothing was printed.").arg(f.error.description);
        return;
    }
    f.kind = RawJobFailure::UnknownPrinter;
    f.printerName = spooler.printerName().isEmpty() ? options.printerName : spooler.printerName();
    f.message
        = QCoreApplication::translate("Printing", "The Printer Name (%1) wasn't recognized.").arg(f.printerName);
}

// Sends the setup sequences and every copy of the open file as one spooler
// document; a document that fails is cancelled. `changed` is set when the
// file is no longer the one `stamp` was taken of after a copy.
bool sendDocument(Spooler &spooler, QFile &file, const FileStamp &stamp, const RawJobOptions &options,
    bool *changed, RunTimeError *error)
{
    const RawPanelState &panel = options.panel;
    if (!spooler.startDocument(
            options.documentName.isEmpty() ? ParseFileName11(file.fileName()) : options.documentName)) {
        *error = spooler.lastError();
        return false;
    }
    bool ok = true;
    QByteArray out = setupSequences(options.draft, panel.ch12, panel.ch17, quint8(options.paperHeight));
    out.reserve(WriteChunk + ReadChunk * 2 + 16);
    LineFramer framer(panel.extraLine);
    const long long copies = copiesOf(panel.copies);
    const qint64 total = file.size() * copies;
    qint64 sent = 0;
    for (long long copy = 1; ok && copy <= copies; ++copy) {
        if (copy > 1) {
            file.close();
            if (!file.open(QIODevice::ReadOnly)) {
                *error = fileError(file);
                ok = false;
                break;
            }
        }
        ok = sendCopy(spooler, file, framer, out, error, options, &sent, total);
        if (ok && stamp.changed(file.handle()))
            *changed = true, ok = false;
    }
    if (ok && !out.isEmpty() && !WriteRaw(spooler, out)) {
        *error = spooler.lastError();
        ok = false;
    }
    if (ok && !spooler.finishDocument()) {
        *error = spooler.lastError();
        ok = false;
    }
    if (!ok)
        spooler.cancelDocument();
    return ok;
}

} // namespace

long long copiesOf(const QString &text)
{
    const double value = NumericText::leadingNumber(text);
    return value >= 1 ? static_cast<long long>(std::floor(value)) : 0;
}

QByteArray setupSequences(bool draft, bool ch12, bool ch17, quint8 paperHeight)
{
    QByteArray bytes = Escp::TenPitch.toByteArray();
    if (draft)
        bytes.append(Escp::DraftQuality);
    if (ch12)
        bytes.append(Escp::C96On); // twelve pitch, condensed and double width off
    if (ch17)
        bytes.append(Escp::CondOn);
    // No height chosen: the printer keeps its own form length (ESC C NUL 0
    // is a length no printer takes).
    if (paperHeight > 0) {
        bytes.append(Escp::PageLengthInches);
        bytes.append(char(paperHeight));
    }
    return bytes;
}

bool WriteRaw(Spooler &printer, const QByteArray &bytes)
{
    return printer.write(bytes.constData(), bytes.size());
}

bool FileExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

QString ParseFileName11(const QString &PstrFileIn)
{
    const qsizetype cut
        = std::max(PstrFileIn.lastIndexOf(QLatin1Char('\\')), PstrFileIn.lastIndexOf(QLatin1Char('/')));
    return PstrFileIn.mid(cut + 1);
}

bool paperHeightOf(const QString &text, qint16 *height, QString *message)
{
    if (NumericText::isNumber(text)) {
        const long long value = NumericText::roundedValue(text);
        if (value >= 0 && value <= 255) {
            *height = qint16(value);
            return true;
        }
    }
    if (message)
        *message = paperHeightMessage(text);
    return false;
}

bool sendRawJob(Spooler &spooler, const QString &PStrtextfile, const RawJobOptions &options, RawJobFailure *failure)
{
    RawJobFailure ignored;
    RawJobFailure &f = failure ? *failure : ignored;
    f = RawJobFailure();
    if (!checkJob(PStrtextfile, options, f))
        return false;

    // The file is opened before the printer so that an unreadable file
    // sends nothing at all.
    QFile file(PStrtextfile);
    if (!file.open(QIODevice::ReadOnly)) {
        f.kind = RawJobFailure::RunTime;
        f.error = fileError(file);
        f.message = QCoreApplication::translate("Printing", "Cannot read %1: %2")
                        .arg(PStrtextfile, file.errorString());
        return false;
    }
    // Every copy must be this file as it is now, or nothing prints.
    const FileStamp stamp = FileStamp::of(file.handle());

    // No name: the spooler's default destination.
    spooler.setStopCheck(options.stopped);
    if (!spooler.open(options.printerName)) {
        openFailure(spooler, PStrtextfile, options, f);
        return false;
    }
    bool changed = false;
    RunTimeError error;
    const bool ok = sendDocument(spooler, file, stamp, options, &changed, &error);
    spooler.close();
    spooler.setStopCheck({});
    file.close();
    if (changed) {
        f.kind = RawJobFailure::Changed;
        f.message = QCoreApplication::translate("Printing", "%1: %2; nothing of it prints.")
                        .arg(PStrtextfile, FileStamp::changedText());
        return false;
    }
    if (!ok && options.stopped && options.stopped()) {
        f.kind = RawJobFailure::Cancelled;
        f.message = cancelledMessage(PStrtextfile);
        return false;
    }
    if (!ok) {
        if (!error.pending())
            error = {long(QFileDevice::UnspecifiedError), QStringLiteral("Printing"),
                QCoreApplication::translate("Printing", "Unknown error")};
        f.kind = RawJobFailure::RunTime;
        f.error = error;
        f.message = QStringLiteral("Printing %1 on %2 failed: %3")
                        .arg(PStrtextfile, options.printerName, error.description);
    }
    return ok;
}
