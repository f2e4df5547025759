#include "export/ReportExporter.h"

#include "export/HtmlExport.h"
#include "export/PlainTextExport.h"
#include "export/PngExport.h"
#include "export/PrintedPdfExport.h"
#include "export/RichTextExport.h"
#include "export/WorkbookExport.h"
#include "platform/FileChecks.h"
#include "platform/FileStamp.h"

#include "platform/OutputFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

using ExportWriter = bool (*)(const ExportRequest &request, const ExportOutput &out, QString *error);

// Each format's writer: the dialog and `convert` both reach it here.
ExportWriter writerOf(ExportFormat format)
{
    switch (format) {
    case ExportFormat::RichText: return Exporters::richText;
    case ExportFormat::PlainText: return Exporters::plainText;
    case ExportFormat::Workbook: return Exporters::workbook;
    case ExportFormat::WebPage: return Exporters::webPage;
    case ExportFormat::Pdf: return Exporters::pdf;
    case ExportFormat::Png: return Exporters::pictures;
    }
    return Exporters::richText;
}

} // namespace

QStringList exportInputs(const ExportRequest &request)
{
    QStringList inputs {request.printFile};
    for (const FormPage *form : request.render.forms.distinct())
        inputs.append(form->filePath());
    return inputs;
}

bool exportReport(ExportFormat format, const ExportRequest &request, const ExportOutput &out, QString *error)
{
    const ExportFormatInfo &info = exportFormatInfo(format);
    const ExportWriter write = writerOf(format);
    // The pictures' names are looked at as they are made.
    const QString input = format == ExportFormat::Png ? QString() : FileChecks::inputAt(out.path, exportInputs(request));
    if (!input.isEmpty()) {
        if (error)
            *error = FileChecks::inputOverwriteText(out.path, input);
        return false;
    }
    // The formats that draw their pages (a PDF, pictures) take the look shown.
    if (info.look != ExportLook::FilePages && request.chosen.size() > MostDrawnPages) {
        if (error)
            *error = QCoreApplication::translate("Export",
                "%1: %2 pages to draw, more than the %3 that a PDF or pictures may hold; choose fewer pages")
                         .arg(QDir::toNativeSeparators(request.printFile))
                         .arg(request.chosen.size())
                         .arg(MostDrawnPages);
        return false;
    }
    if (info.look != ExportLook::FilePages || !request.source.drawsSheets())
        return write(request, out, error);
    ExportRequest pages = request;
    pages.chosen = request.source.filePages(request.chosen);
    pages.source = PageSource::pagesOf(request.source.table());
    return write(pages, out, error);
}

namespace Exporters {

namespace {

// A device's failure, named when the device has a name.
bool deviceFailed(const ExportOutput &out, const QString &reason, QString *error)
{
    if (error)
        *error = out.deviceName.isEmpty() ? reason : QStringLiteral("%1: %2").arg(out.deviceName, reason);
    return false;
}

bool fileOnly(const ExportOutput &out, const QString &what, QString *error)
{
    return deviceFailed(out, QStringLiteral("%1 written to files only").arg(what), error);
}

// The writers of pages read them from the source's table.
bool noPages(const ExportRequest &request, QString *error)
{
    if (error)
        *error = QCoreApplication::translate("Export", "%1: the pages were not read")
                     .arg(QDir::toNativeSeparators(request.printFile));
    return false;
}

// The web page of the file as the view shows it, edited.
bool editedWebPage(const ExportRequest &request, const HtmlColours &colours, const ExportOutput &out, QString *error)
{
    QBuffer in;
    in.setData(request.shownFile);
    in.open(QIODevice::ReadOnly);
    QString reason;
    if (out.device)
        return expHTml(in, *out.device, colours, &reason) || deviceFailed(out, reason, error);
    OutputFile file(out.path);
    if (!file.open(QIODevice::WriteOnly) || !expHTml(in, file, colours, &reason) || !file.commit()) {
        if (error)
            *error = QCoreApplication::translate("Export", "Cannot write %1: %2")
                         .arg(QDir::toNativeSeparators(out.path),
                             reason.isEmpty() ? file.errorString() : reason);
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace

bool richText(const ExportRequest &request, const ExportOutput &out, QString *error)
{
    if (request.source.count() == 0)
        return noPages(request, error);
    RichTextProgress progress;
    if (request.progress)
        progress = [&request](int percent) { return request.progress(percent, 100); };
    const MarkupContext &markup = request.render.markup;
    const PageTable &pages = request.source.table();
    if (!out.device)
        return saveRichText(out.path, pages, request.chosen, markup, error, progress);
    QString reason;
    return writeRichText(*out.device, pages, request.chosen, markup, &reason, progress)
        || deviceFailed(out, reason, error);
}

bool plainText(const ExportRequest &request, const ExportOutput &out, QString *error)
{
    if (request.source.count() == 0)
        return noPages(request, error);
    const CodePage::Id codePage = request.render.markup.codePage;
    const PageTable &pages = request.source.table();
    if (!out.device)
        return savePlainText(out.path, pages, request.chosen, error, codePage);
    QString reason;
    return writePlainText(*out.device, pages, request.chosen, &reason, codePage)
        || deviceFailed(out, reason, error);
}

bool workbook(const ExportRequest &request, const ExportOutput &out, QString *error)
{
    if (out.device)
        return fileOnly(out, QStringLiteral("a workbook is"), error);
    WorkbookExport::Progress progress;
    if (request.progress)
        progress = [&request](int nextRow) { return request.progress(nextRow, 0); };
    return WorkbookExport::write(
        request.printFile, out.path, request.columnMarks, progress, error, request.render.markup.codePage);
}

bool webPage(const ExportRequest &request, const ExportOutput &out, QString *error)
{
    const MarkupContext &markup = request.render.markup;
    const HtmlColours colours
        = htmlColours(request.background, markup.doubleWidth, markup.bold, markup.condensed, markup.codePage);
    if (!request.shownFile.isEmpty())
        return editedWebPage(request, colours, out, error);
    if (!out.device)
        return expHTml(request.printFile, out.path, colours, error, request.progress);
    QFile in(request.printFile);
    QString reason;
    bool written = false;
    FileStamp stamp;
    if (in.open(QIODevice::ReadOnly)) {
        stamp = FileStamp::of(in.handle());
        written = expHTml(in, *out.device, colours, &reason, request.progress);
    }
    if (!written) {
        if (in.error() == QFile::NoError)
            return deviceFailed(out, reason, error);
        if (error)
            *error = QStringLiteral("%1: %2").arg(
                request.printFile, reason.isEmpty() ? in.errorString() : reason);
        return false;
    }
    if (stamp.changed(in.handle())) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(request.printFile, FileStamp::changedText());
        return false;
    }
    return true;
}

bool pdf(const ExportRequest &request, const ExportOutput &out, QString *error)
{
    PdfOptions options;
    options.pages = request.chosen;
    options.paper = request.paper;
    options.landscape = request.landscape;
    options.title = request.pdfInfo.title.isEmpty() ? QFileInfo(request.printFile).fileName() : request.pdfInfo.title;
    options.subject = request.pdfInfo.subject;
    options.keywords = request.pdfInfo.keywords;
    // The report's date is when it was printed, not when it is converted.
    options.created = QFileInfo(request.printFile).lastModified().toUTC();
    const PageSource &source = request.source;
    if (source.drawsSheets())
        options.forms = request.render.forms;
    options.render = request.render;
    if (request.progress)
        options.progress = [&request](int done, int total) { return request.progress(done, total); };
    options.note = request.note;
    QString reason;
    // The sheets drawn as printed, one PDF page each; pages with their
    // emphasis, a long one running on over the next PDF pages.
    if (source.drawsSheets()) {
        if (!out.device)
            return PrintedPdfExport::save(out.path, source.sheets(), options, error);
        return PrintedPdfExport::write(*out.device, source.sheets(), options, &reason)
            || deviceFailed(out, reason, error);
    }
    if (source.count() == 0)
        return noPages(request, error);
    if (!out.device)
        return PdfExport::save(out.path, source.table(), options, error);
    return PdfExport::write(*out.device, source.table(), options, &reason)
        || deviceFailed(out, reason, error);
}

bool pictures(const ExportRequest &request, const ExportOutput &out, QString *error)
{
    if (out.device)
        return fileOnly(out, QStringLiteral("pictures are"), error);
    if (!request.source.drawsSheets()) {
        if (error)
            *error = QCoreApplication::translate("Export", "%1: pictures show the sheets of the printed look")
                         .arg(QDir::toNativeSeparators(out.path));
        return false;
    }
    PngOptions options;
    options.pages = request.chosen;
    options.dpi = request.dpi;
    options.forms = request.render.forms;
    options.inputs = exportInputs(request);
    if (request.progress)
        options.progress = [&request](int done, int total) { return request.progress(done, total); };
    return PngExport::save(out.path, request.source.sheets(), options, error);
}

} // namespace Exporters
