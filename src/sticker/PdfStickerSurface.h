#pragma once

#include "sticker/StickerSurface.h"

#include <QPageSize>

#include <functional>

class QPainter;
class QPdfWriter;

// A sticker surface that writes one PDF file: every document the sheet
// ends (EndDoc) is one page, A4 portrait unless told otherwise, drawn by the
// same renderer as the printer, with twip positions from the paper's top
// left corner. Each page is drawn when it ends, so a run of a million
// stickers holds one page at a time; the file is written whole or not at
// all, and a run of more pages than it may have is refused.
class PdfStickerSurface : public StickerSurface
{
public:
    // As many pages as a PDF export of a report may have.
    static constexpr int MostPages = 1000000;

    explicit PdfStickerSurface(const QString &fileName, int mostPages = MostPages);

    bool EndDoc() override;
    void AbandonDoc() override;
    bool setPaperSize(int paperSize) override;

    // What a run of more pages than `mostPages` is told.
    static QString tooManyPages(int mostPages);

    // Pages ended so far.
    int pageCount() const { return m_pageCount; }

    // Runs `draw` on this surface and writes what it drew as the file: the
    // open page ends with it. False with an error text that names the file
    // and the cause (the drawing's own failure as it told it); the file is
    // then left as it was. A special file (a device, a FIFO) is refused.
    bool write(const std::function<bool(QString *reason)> &draw, QString *error);

protected:
    bool drawText(const StickerText &item) override;

private:
    bool paintOpenPage();

    QString m_fileName;
    QList<StickerText> m_open;
    QPageSize m_pageSize {QPageSize::A4};
    QPdfWriter *m_writer = nullptr; // while write() draws
    QPainter *m_painter = nullptr;
    int m_pageCount = 0;
    int m_mostPages;
};
