#include "sticker/PdfStickerSurface.h"

#include "pdf/PdfFinishing.h"
#include "platform/OutputFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

PdfStickerSurface::PdfStickerSurface(const QString &fileName)
    : m_fileName(fileName)
{ }

bool PdfStickerSurface::drawText(const StickerText &item)
{
    m_open.append(item);
    return true;
}

bool PdfStickerSurface::EndDoc()
{
    if (!m_open.isEmpty())
        m_pages.append(std::move(m_open));
    m_open.clear();
    return true;
}

void PdfStickerSurface::AbandonDoc()
{
    m_open.clear();
    m_pages.clear();
}

bool PdfStickerSurface::setPaperSize(int paperSize)
{
    QPageSize::PageSizeId id;
    if (!pageSizeOf(paperSize, &id))
        return false;
    m_pageSize = QPageSize(id);
    return true;
}

bool PdfStickerSurface::finish(QString *error)
{
    EndDoc();
    const QString shown = QDir::toNativeSeparators(m_fileName);
    auto failed = [&](const QString &reason) {
        if (error)
            *error = QCoreApplication::translate("Sticker", "The PDF file %1 cannot be written: %2")
                         .arg(shown, reason);
        return false;
    };
    const QFileInfo info(m_fileName);
    if (info.exists() && !info.isFile())
        return failed(QCoreApplication::translate("Sticker", "it is not a regular file."));

    OutputFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    // Qt draws the sheets; the finishing pass merges their text runs and
    // writes the same bytes for the same stickers (no date: a sheet has no
    // print file to take one from).
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
        const double perTwip = writer.resolution() / 1440.0;
        for (int i = 0; i < m_pages.size(); ++i) {
            if (i > 0)
                writer.newPage();
            paintStickerTexts(painter, m_pages.at(i), perTwip, perTwip);
        }
        painter.end();
        return true;
    };
    const auto finishSheets = [&](const QString &firstPdf, QString *reason) {
        return PdfFinishing::finish(firstPdf, PdfDocumentInfo(), file, reason);
    };
    QString reason;
    if (!PdfFinishing::throughTemporaryFile(drawSheets, finishSheets, &reason))
        return failed(file.error() != QFileDevice::NoError ? file.errorString() : reason);
    if (file.error() != QFileDevice::NoError || !file.commit())
        return failed(file.errorString());
    return true;
}
