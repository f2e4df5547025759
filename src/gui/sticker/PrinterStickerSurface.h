#pragma once

#include "sticker/StickerSurface.h"

#include <QStringList>
#include <memory>

class QPrinter;

// The printer as a sticker surface. The texts of a document are kept until
// EndDoc, which then prints them as one job through QPrinter, A4 portrait
// unless told otherwise; so a failure part-way leaves no half-printed job,
// and AbandonDoc simply drops the texts.
class PrinterStickerSurface : public StickerSurface
{
public:
    // An empty name means the system's default printer.
    explicit PrinterStickerSurface(const QString &printerName);
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

    std::unique_ptr<QPrinter> m_printer;
    QList<StickerText> m_pending;
    QString m_pdfFile;
    QStringList m_written;
    int m_documents = 0;
};
