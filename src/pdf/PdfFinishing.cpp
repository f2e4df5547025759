#include "pdf/PdfFinishing.h"

#include "pdf/PdfRewriter.h"
#include "pdf/QpdfLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QTemporaryFile>

#include <unistd.h>
#include <QTimeZone>

#include <sys/mman.h>

namespace {

// The first pass's file. A write that stops short (a full disk, a size
// limit) sets no error; writing the rest fails at once, and that failure
// carries the cause the user is told.
class FirstPassFile : public QTemporaryFile
{
public:
    using QTemporaryFile::QTemporaryFile;

    bool openUnbuffered() { return QTemporaryFile::open(QIODevice::ReadWrite | QIODevice::Unbuffered); }

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        qint64 done = 0;
        while (done < len) {
            const qint64 written = QTemporaryFile::writeData(data + done, len - done);
            if (written <= 0)
                return -1;
            done += written;
        }
        return done;
    }
};

QDateTime sourceDateEpoch()
{
    const QByteArray value = qgetenv("SOURCE_DATE_EPOCH");
    bool ok = false;
    const qint64 seconds = value.trimmed().toLongLong(&ok);
    if (!ok || seconds < 0)
        return QDateTime();
    return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc());
}

} // namespace

namespace PdfFinishing {

QDateTime creationDate(const QDateTime &printFileChanged)
{
    const QDateTime fixed = sourceDateEpoch();
    return fixed.isValid() ? fixed : printFileChanged;
}

bool copyAsWritten(const QString &qtPdf, QIODevice &out, QString *error)
{
    QFile file(qtPdf);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(block.data(), block.size());
        if (got < 0) {
            if (error)
                *error = file.errorString();
            return false;
        }
        if (got == 0)
            return true;
        if (out.write(block.constData(), got) != got) {
            if (error)
                *error = out.errorString();
            return false;
        }
    }
}

bool finish(const QString &qtPdf, const PdfDocumentInfo &info, QIODevice &out, QString *error)
{
    QFile file(qtPdf);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const qint64 size = file.size();
    const uchar *data = size > 0 ? file.map(0, size) : nullptr;
    if (data) {
        const std::string_view bytes(reinterpret_cast<const char *>(data), size_t(size));
        // The map's pages read go back now and then: the PDF may be
        // larger than the memory a finishing pass should hold.
        const auto readDone = [&] { madvise(const_cast<uchar *>(data), size_t(size), MADV_DONTNEED); };
        switch (PdfRewriter::write(bytes, info, out, error, readDone)) {
        case PdfRewriter::Outcome::Written:
            return true;
        case PdfRewriter::Outcome::Failed:
            return false;
        case PdfRewriter::Outcome::NotQtsShape:
            break;
        }
    }
    // Not as Qt lays a PDF out: qpdf reads it, unless it is too large for
    // qpdf's memory.
    file.close();
    if (size > LargestFinished)
        return copyAsWritten(qtPdf, out, error);
    const QpdfLibrary *qpdf = QpdfLibrary::get(error);
    if (!qpdf)
        return false;
    PdfDocumentInfo dated = info;
    dated.created = creationDate(info.created);
    return qpdf->finish(qtPdf, dated, out, error);
}

bool throughTemporaryFile(const FirstPass &firstPass, const SecondPass &secondPass, QString *error)
{
    FirstPassFile job(QDir(QDir::tempPath()).filePath(QStringLiteral("sticker2-XXXXXX.pdf")));
    if (!job.openUnbuffered()) {
        if (error)
            *error = QObject::tr("Cannot make a temporary file in %1: %2")
                         .arg(QDir::toNativeSeparators(QDir::tempPath()), job.errorString());
        return false;
    }
    // A first pass that fails on its file (a full temporary folder) names
    // that file, not the output, whose disk may have room.
    const bool drawn = firstPass(job, error);
    if (drawn)
        job.flush();
    if (job.error() != QFileDevice::NoError) {
        if (error)
            *error = QObject::tr("Cannot write the temporary file %1: %2")
                         .arg(QDir::toNativeSeparators(job.fileName()), job.errorString());
        return false;
    }
    if (!drawn)
        return false;
    // The second pass reads the first through its descriptor, the file's
    // name taken away first: a conversion killed meanwhile (SIGKILL, a
    // stop of the watch) left the whole job's PDF in the temporary folder.
    // Where /proc is not there to read it by, the name stays until the end.
    const QString viaDescriptor = QStringLiteral("/proc/self/fd/%1").arg(job.handle());
    if (QFileInfo::exists(viaDescriptor) && ::unlink(QFile::encodeName(job.fileName()).constData()) == 0) {
        job.setAutoRemove(false);
        return secondPass(viaDescriptor, error);
    }
    return secondPass(job.fileName(), error);
}

} // namespace PdfFinishing
