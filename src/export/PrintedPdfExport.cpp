#include "export/PrintedPdfExport.h"

#include "platform/BufferedOutput.h"
#include "platform/ByteText.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QObject>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSet>

namespace {

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// What of a form laid under a sheet (at `scale`, moved by the forms'
// offset) lies off the paper, both in points: said for each edge it passes
// by more than a millimetre, the farthest first; else nothing.
QString overhang(const FormPage &form, QPointF offset, double scale, QSizeF paper, const QString &paperName)
{
    std::pair<double, const char *> edges[] = {
        {-offset.x() * scale, "left"},
        {-offset.y() * scale, "top"},
        {(offset.x() + form.sizePoints().width()) * scale - paper.width(), "right"},
        {(offset.y() + form.sizePoints().height()) * scale - paper.height(), "bottom"},
    };
    std::stable_sort(std::begin(edges), std::end(edges), [](const auto &a, const auto &b) { return a.first > b.first; });
    constexpr double Millimetre = 72.0 / 25.4;
    const auto mm = [](double points) { return QString::number(qRound(points * 25.4 / 72.0)); };
    QStringList past;
    for (const auto &[points, edge] : edges) {
        if (points > Millimetre)
            past << QStringLiteral("%1 mm past the %2 edge").arg(mm(points), QLatin1String(edge));
    }
    if (past.isEmpty())
        return QString();
    const QString last = past.takeLast();
    return QStringLiteral("the form %1 reaches %2 of the page (%3, %4 x %5 mm): that part of it is not in the PDF")
        .arg(QDir::toNativeSeparators(form.filePath()),
            past.isEmpty() ? last : past.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last, paperName,
            mm(paper.width()), mm(paper.height()));
}

} // namespace

namespace PrintedPdfExport {

namespace {

bool writeSheets(QIODevice &out, const SheetSource &sheets, const PdfOptions &options,
    QVector<PdfSheetPlace> *places, QString *error);

} // namespace

bool write(QIODevice &out, const SheetSource &sheets, const PdfOptions &options, QString *error)
{
    const PdfDocumentInfo info = PdfExport::documentInfo(options);
    // Qt draws the job; qpdf lays the forms under it as they are, merges
    // its text runs and writes the same bytes for the same job.
    const auto firstPass = [&](QIODevice &pdf, QVector<PdfSheetPlace> *places, QString *reason) {
        return writeSheets(pdf, sheets, options, places, reason);
    };
    return PdfUnderlay::writeThrough(out, firstPass, options.forms, info, error);
}

namespace {

bool writeSheets(QIODevice &out, const SheetSource &sheets, const PdfOptions &options,
    QVector<PdfSheetPlace> *places, QString *error)
{
    if (options.pages.isEmpty())
        return fail(error, QObject::tr("No page is chosen."));
    if (!out.isOpen() || !out.isWritable())
        return fail(error, QObject::tr("The output is not open for writing."));

    BufferedOutput buffered(out);
    QPdfWriter writer(&buffered);
    writer.setCreator(QStringLiteral("Sticker2"));
    writer.setTitle(options.title);
    const QPageSize size(options.paper == PdfPaper::Letter ? QPageSize::Letter : QPageSize::A4);
    writer.setPageLayout(QPageLayout(size,
        options.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(), QPageLayout::Inch));
    const double pixelsPerInch = writer.resolution();
    const QSizeF paper(writer.width(), writer.height()); // device pixels
    QPainter painter;
    if (!painter.begin(&writer))
        return fail(error, QObject::tr("The PDF writer cannot start."));
    PrintedRenderer renderer;
    const double unit = pixelsPerInch / Printed::UnitsPerInch;
    int written = 0;
    QSet<const FormPage *> toldForms;
    for (int i : options.pages) {
        if (written > 0 && !writer.newPage()) {
            painter.end();
            return fail(error, QObject::tr("The PDF writer refused a new page."));
        }
        Printed::Sheet sheet = sheets(i);
        sheet.index = i; // sheet i of the job, whatever the source said
        if (sheet.overBudget) {
            painter.end();
            return fail(error, Printed::overBudgetText(i + 1, sheet.textOverBudget) + QLatin1Char('.'));
        }
        const double scale = PrintedRenderer::fitScale(sheet, unit, paper);
        renderer.draw(painter, sheet, QPointF(0, 0), unit * scale);
        // Looked at on every sheet (each has its own scale), said once a form.
        const FormPage *form = options.forms.forSheet(sheet.index);
        if (form && options.note && !toldForms.contains(form)) {
            const QString said = overhang(*form, options.forms.offsetPoints(), scale,
                paper * (72.0 / pixelsPerInch), options.paper == PdfPaper::Letter ? QStringLiteral("Letter") : QStringLiteral("A4"));
            if (!said.isEmpty()) {
                toldForms.insert(form);
                options.note(said);
            }
        }
        if (places)
            places->append({sheet.index, scale});
        if (PdfExport::deviceFailed(out, error)) {
            painter.end();
            return false;
        }
        ++written;
        if (options.progress && !options.progress(written, int(options.pages.size()))) {
            painter.end();
            return fail(error, QObject::tr("The PDF was cancelled."));
        }
    }
    painter.end();
    if (!buffered.flushBuffer() && !PdfExport::deviceFailed(out, error))
        return fail(error, buffered.errorString());
    return !PdfExport::deviceFailed(out, error);
}

} // namespace

bool save(const QString &path, const SheetSource &sheets, const PdfOptions &options, QString *error)
{
    // (A target that is no file to write over is refused by the saving.)
    return ByteText::saveThrough(
        path, [&](QIODevice &out, QString *reason) { return write(out, sheets, options, reason); }, error);
}

} // namespace PrintedPdfExport
