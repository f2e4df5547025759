#include "sticker/PdfStickerSurface.h"

#include "pdf/PdfFinishing.h"
#include "platform/OutputFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

PdfStickerSurface::PdfStickerSurface(const QString &fileName, int mostPages)
    : m_fileName(fileName)
    , m_mostPages(mostPages)
{ }

bool PdfStickerSurface::drawText(const StickerText &item)
{
    m_open.append(item);
    return true;
}

bool PdfStickerSurface::EndDoc()
{
    if (m_open.isEmpty())
        return true;
    return paintOpenPage();
}

void PdfStickerSurface::AbandonDoc()
{
    m_open.clear();
}

bool PdfStickerSurface::setPaperSize(int paperSize)
{
    QPageSize::PageSizeId id;
    if (!pageSizeOf(paperSize, &id))
        return false;
    m_pageSize = QPageSize(id);
    return true;
}

QString PdfStickerSurface::tooManyPages(int mostPages)
{
    return QCoreApplication::translate("Sticker", "The stickers take more than %1 pages, more than a PDF may have.")
        .arg(mostPages);
}

bool PdfStickerSurface::paintOpenPage()
{
    if (!m_painter) { // drawn outside write(): nothing to draw on
        m_open.clear();
        return true;
    }
    if (m_pageCount >= m_mostPages) {
        setErrorText(tooManyPages(m_mostPages));
        return false;
    }
    const QPageLayout layout(
        m_pageSize, Orientation() == 2 ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
    if (m_pageCount > 0) {
        m_writer->setPageLayout(layout);
        m_writer->newPage();
    }
    const double perTwip = m_writer->resolution() / 1440.0;
    paintStickerTexts(*m_painter, m_open, perTwip, perTwip);
    m_open.clear();
    ++m_pageCount;
    return true;
}

bool PdfStickerSurface::write(const std::function<bool(QString *reason)> &draw, QString *error)
{
    const QString shown = QDir::toNativeSeparators(m_fileName);
    auto failed = [&](const QString &reason) {
        if (error)
            *error = QCoreApplication::translate("Sticker", "The PDF file %1 cannot be written: %2")
                         .arg(shown, reason);
        return false;
    };
    // (A target that is no file to write over is refused at open.)
    OutputFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    // Qt draws the sheets as they end; the finishing pass merges their text
    // runs and writes the same bytes for the same stickers (no date: a sheet
    // has no print file to take one from).
    bool drawn = true;
    QString drawing;
    const auto drawSheets = [&](QIODevice &pdf, QString *reason) {
        QPdfWriter writer(&pdf);
        writer.setCreator(QStringLiteral("Sticker2"));
        writer.setTitle(QStringLiteral("Stickers"));
        writer.setResolution(1440);
        writer.setPageLayout(QPageLayout(m_pageSize,
            Orientation() == 2 ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&writer)) {
            *reason = QCoreApplication::translate("Sticker", "the PDF could not be started.");
            return false;
        }
        m_writer = &writer;
        m_painter = &painter;
        m_pageCount = 0;
        drawn = draw(&drawing) && EndDoc();
        if (!drawn && drawing.isEmpty())
            drawing = errorText();
        m_painter = nullptr;
        m_writer = nullptr;
        painter.end();
        if (!drawn)
            *reason = drawing;
        return drawn;
    };
    const auto finishSheets = [&](const QString &firstPdf, QString *reason) {
        return PdfFinishing::finish(firstPdf, PdfDocumentInfo(), file, reason);
    };
    QString reason;
    if (!PdfFinishing::throughTemporaryFile(drawSheets, finishSheets, &reason)) {
        if (!drawn) { // the drawing's own failure, as it told it
            if (error)
                *error = drawing;
            return false;
        }
        return failed(file.error() != QFileDevice::NoError ? file.errorString() : reason);
    }
    if (file.error() != QFileDevice::NoError || !file.commit())
        return failed(file.errorString());
    return true;
}
