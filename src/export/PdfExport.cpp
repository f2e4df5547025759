#include "export/PdfExport.h"

#include "platform/BufferedOutput.h"
#include "platform/ByteText.h"
#include "platform/SystemPaper.h"
#include "report/PageTable.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QObject>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace {

QPageLayout pageLayout(const PdfOptions &options)
{
    const QPageSize size(options.paper == PdfPaper::Letter ? QPageSize::Letter : QPageSize::A4);
    const double m = qMax(0.0, options.marginMillimetres);
    return QPageLayout(size, options.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
        QMarginsF(m, m, m, m), QPageLayout::Millimeter);
}

} // namespace

namespace PdfExport {

// A write error of a file device, seen as soon as it happens, so a full
// disk ends the export at once rather than at its end.
bool deviceFailed(QIODevice &out, QString *error)
{
    const auto *file = qobject_cast<QFileDevice *>(&out);
    if (!file || file->error() == QFileDevice::NoError)
        return false;
    if (error)
        *error = file->errorString();
    return true;
}

PdfDocumentInfo documentInfo(const PdfOptions &options)
{
    return {options.title, options.subject, options.keywords, options.created};
}

} // namespace PdfExport

namespace {

// Qt's pass: the pages drawn with their emphasis.
bool writePages(QIODevice &out, const PageTable &table, const PdfOptions &options, QString *error)
{
    for (int i : options.pages) {
        if (i < 0 || i >= table.PageCount()) {
            if (error)
                *error = QObject::tr("Page %1 is not in the report, which has %2 pages.")
                             .arg(i + 1)
                             .arg(table.PageCount());
            return false;
        }
    }
    if (options.pages.isEmpty()) {
        if (error)
            *error = QObject::tr("No page is chosen.");
        return false;
    }
    if (!out.isOpen() || !out.isWritable()) {
        if (error)
            *error = QObject::tr("The output is not open for writing.");
        return false;
    }

    BufferedOutput buffered(out);
    QPdfWriter writer(&buffered);
    writer.setCreator(QStringLiteral("Sticker2"));
    writer.setTitle(options.title);
    writer.setPageLayout(pageLayout(options));
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error)
            *error = QObject::tr("The PDF writer cannot start.");
        return false;
    }
    using PdfExport::deviceFailed;
    EmphasisRenderer renderer(painter, writer, options.render);
    int written = 0;
    for (int i : options.pages) {
        if (!renderer.drawPage(table.pageView(i))) {
            painter.end();
            if (error)
                *error = QObject::tr("The PDF writer refused a new page.");
            return false;
        }
        if (deviceFailed(out, error)) {
            painter.end();
            return false;
        }
        if (options.progress && !options.progress(++written, int(options.pages.size()))) {
            painter.end();
            if (error)
                *error = QObject::tr("The PDF was cancelled.");
            return false;
        }
    }
    painter.end();
    if (!buffered.flushBuffer() && !deviceFailed(out, error)) {
        if (error)
            *error = buffered.errorString();
        return false;
    }
    return !deviceFailed(out, error);
}

} // namespace

namespace PdfExport {

bool write(QIODevice &out, const PageTable &table, const PdfOptions &options, QString *error)
{
    // Qt draws the pages; qpdf merges their text runs, sets the subject
    // and the keywords and writes the same bytes for the same pages.
    const auto firstPass = [&](QIODevice &pdf, QVector<PdfSheetPlace> *, QString *reason) {
        return writePages(pdf, table, options, reason);
    };
    return PdfUnderlay::writeThrough(out, firstPass, {}, documentInfo(options), error);
}

bool save(const QString &path, const PageTable &table, const PdfOptions &options, QString *error)
{
    // (A target that is no file to write over is refused by the saving.)
    return ByteText::saveThrough(
        path, [&](QIODevice &out, QString *reason) { return write(out, table, options, reason); }, error);
}

PdfPaper defaultPaper()
{
    return SystemPaper::isLetterWidth() ? PdfPaper::Letter : PdfPaper::A4;
}

std::optional<PdfPaper> paperFromName(const QString &name)
{
    if (name.compare(QLatin1String("a4"), Qt::CaseInsensitive) == 0)
        return PdfPaper::A4;
    if (name.compare(QLatin1String("letter"), Qt::CaseInsensitive) == 0)
        return PdfPaper::Letter;
    return std::nullopt;
}

} // namespace PdfExport
