#include "printing/RawPrinting.h"

#include "platform/MessageBox.h"
#include "platform/NumericText.h"
#include "printing/CupsSpooler.h"
#include "printing/CurrentPrinter.h"
#include "printing/ErrorWindow.h"
#include "printing/LineFramer.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace {

const QString ErrorTitle = QStringLiteral("Printer Error Information");
const QString ProcedureLabel = QStringLiteral("Procedure Name : PrintFile");

// Lines are gathered and handed to the spooler in pieces of about this size.
constexpr qsizetype WriteChunk = 256 * 1024;
constexpr qint64 ReadChunk = 256 * 1024;

class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { done(); }
    void done()
    {
        if (m_on && QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        m_on = false;
    }

private:
    bool m_on = true;
};

RunTimeError fileError(const QFile &file)
{
    return {long(file.error()) ? long(file.error()) : long(QFileDevice::ReadError),
        QStringLiteral("Reading %1").arg(file.fileName()), file.errorString()};
}

long long copiesOf(const QString &text)
{
    const double value = NumericText::leadingNumber(text);
    return value >= 1 ? static_cast<long long>(std::floor(value)) : 0;
}

bool paperHeightValid(qint16 height)
{
    return height >= 0 && height <= 255;
}

void refusePaperHeight(const QString &text, QWidget *parent)
{
    MessageBox::show(parent,
        QStringLiteral("The paper height (%1) must be a number of inches from 0 to 255.").arg(text),
        ErrorTitle, QMessageBox::Information);
}

// Sends one copy of the file through the framer; the output buffer is handed
// to the spooler whenever it has grown past WriteChunk.
bool sendCopy(Spooler &spooler, QFile &file, LineFramer &framer, QByteArray &out, RunTimeError *error)
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

} // namespace

QByteArray setupSequences(bool draft, bool ch12, bool ch17, quint8 paperHeight)
{
    QByteArray bytes("\x1b\x50", 2); // ten characters per inch
    if (draft)
        bytes.append("\x1bx\x00", 3);
    if (ch12)
        bytes.append("\x12\x1bW \x1bM", 6); // the twelve-pitch sequence (C96On)
    if (ch17)
        bytes.append('\x0f');        // condensed (CondOn)
    bytes.append("\x1b\x43\x00", 3); // page length in inches
    bytes.append(char(paperHeight));
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

bool PrintFile(Spooler &spooler, const QString &PStrtextfile, const QString &PStrPrinterName,
    qint16 PIntPaperHeight, bool PBlnDraftMode, const RawPanelState &panel, QWidget *parent)
{
    if (!FileExists(PStrtextfile)) {
        MessageBox::show(parent, QStringLiteral("File %1 does not exists").arg(PStrtextfile), ErrorTitle,
            QMessageBox::Information);
        return false;
    }
    if (!paperHeightValid(PIntPaperHeight)) {
        refusePaperHeight(QString::number(PIntPaperHeight), parent);
        return false;
    }

    // The file is opened before the printer so that an unreadable file
    // sends nothing at all.
    QFile file(PStrtextfile);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowErrorWindow(ProcedureLabel, ErrorTitle, fileError(file), parent);
        return false;
    }

    // No name: the program's current printer; when there is none either,
    // the spooler's default destination.
    const QString printerName = PStrPrinterName.isEmpty() ? CurrentPrinter::name() : PStrPrinterName;
    BusyCursor busy;
    if (!spooler.open(printerName)) {
        busy.done();
        spooler.close();
        MessageBox::show(parent,
            QStringLiteral("The Printer Name (%1) wasn't recognized.").arg(spooler.printerName()), ErrorTitle,
            QMessageBox::Information);
        return false;
    }

    RunTimeError error;
    bool ok = spooler.startDocument(ParseFileName11(PStrtextfile));
    if (!ok) {
        error = spooler.lastError();
    } else {
        QByteArray out = setupSequences(PBlnDraftMode, panel.ch12, panel.ch17, quint8(PIntPaperHeight));
        out.reserve(WriteChunk + ReadChunk * 2 + 16);
        LineFramer framer(panel.extraLine);
        const long long copies = copiesOf(panel.copies);
        for (long long copy = 1; ok && copy <= copies; ++copy) {
            if (copy > 1) {
                file.close();
                if (!file.open(QIODevice::ReadOnly)) {
                    error = fileError(file);
                    ok = false;
                    break;
                }
            }
            ok = sendCopy(spooler, file, framer, out, &error);
        }
        if (ok && !out.isEmpty() && !WriteRaw(spooler, out)) {
            error = spooler.lastError();
            ok = false;
        }
        if (ok && !spooler.finishDocument()) {
            error = spooler.lastError();
            ok = false;
        }
        if (!ok)
            spooler.cancelDocument();
    }
    spooler.close();
    file.close();
    busy.done();
    if (!ok) {
        if (!error.pending())
            error = {long(QFileDevice::UnspecifiedError), QStringLiteral("Printing"),
                QStringLiteral("Unknown error")};
        ShowErrorWindow(ProcedureLabel, ErrorTitle, error, parent);
    }
    return ok;
}

bool PrintFile(const QString &PStrtextfile, const QString &PStrPrinterName, qint16 PIntPaperHeight,
    bool PBlnDraftMode, const RawPanelState &panel, QWidget *parent)
{
    CupsSpooler spooler;
    return PrintFile(spooler, PStrtextfile, PStrPrinterName, PIntPaperHeight, PBlnDraftMode, panel, parent);
}

bool PrintCharMode(const CharModeOptions &options, QWidget *parent)
{
    if (!NumericText::isNumber(options.paperHeight)) {
        refusePaperHeight(options.paperHeight, parent);
        return false;
    }
    const long long height = NumericText::roundedValue(options.paperHeight);
    if (height < 0 || height > 255) {
        refusePaperHeight(options.paperHeight, parent);
        return false;
    }
    return PrintFile(options.file, options.printerName, qint16(height), options.draft, options.panel, parent);
}
