#pragma once

#include "sticker/StickerSurface.h"

#include <QCoreApplication>
#include <QStringList>
#include <memory>

class QPainter;
class QPrinter;

// The printer as a sticker surface. The texts of a document are kept until
// EndDoc, which then prints them as one job through QPrinter, A4 portrait
// unless told otherwise; so a failure part-way leaves no half-printed job,
// and AbandonDoc simply drops the texts.
class PrinterStickerSurface : public StickerSurface
{
    Q_DECLARE_TR_FUNCTIONS(PrinterStickerSurface)

public:
    // Prints on `printer` (made off the window's thread: PrinterOpening), A4
    // portrait unless told otherwise.
    explicit PrinterStickerSurface(std::unique_ptr<QPrinter> printer);
    // Draws every document as the next sheet of one job on a printer it
    // does not own and that is set up already (a print preview's); the job
    // ends with the surface.
    explicit PrinterStickerSurface(QPrinter &printer);
    ~PrinterStickerSurface() override;

    // Writes every document as a PDF file instead of printing it: the first
    // to fileName, the next ones to fileName with "-2", "-3" ... before the
    // suffix.
    void setPdfOutputFile(const QString &fileName);
    // The PDF files written so far, in order.
    const QStringList &writtenFiles() const { return m_written; }
    int documentsPrinted() const { return m_documents; }

    bool EndDoc() override;
    void AbandonDoc() override;
    bool setOrientation(int orientation) override;
    bool setPaperSize(int paperSize) override;

protected:
    bool drawText(const StickerText &item) override;

private:
    QString nextPdfFile() const;

    void paintOn(QPainter &painter, const QList<StickerText> &items);

    std::unique_ptr<QPrinter> m_owned;
    QPrinter *m_printer = nullptr;
    std::unique_ptr<QPainter> m_sheets; // the open job of a printer not owned
    QList<StickerText> m_pending;
    QString m_pdfFile;
    QStringList m_written;
    int m_documents = 0;
};
