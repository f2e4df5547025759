#pragma once

#include "sticker/StickerSurface.h"

#include <QPageSize>

// A sticker surface that writes one PDF file: every document the sheet
// ends (EndDoc) is one page, A4 portrait unless told otherwise, drawn by the
// same renderer as the printer, with twip positions from the paper's top
// left corner. Nothing is written until finish(), which writes the file
// whole or not at all; AbandonDoc drops the whole file.
class PdfStickerSurface : public StickerSurface
{
public:
    explicit PdfStickerSurface(const QString &fileName);

    bool EndDoc() override;
    void AbandonDoc() override;
    bool setPaperSize(int paperSize) override;

    // Pages ended so far.
    int pageCount() const { return int(m_pages.size()); }

    // Ends the open page and writes the file. False with an error text that
    // names the file and the cause; the file is then left as it was. A
    // special file (a device, a FIFO) is refused.
    bool finish(QString *error);

protected:
    bool drawText(const StickerText &item) override;

private:
    QString m_fileName;
    QList<QList<StickerText>> m_pages;
    QList<StickerText> m_open;
    QPageSize m_pageSize {QPageSize::A4};
};
