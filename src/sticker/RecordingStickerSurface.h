#pragma once

#include "sticker/StickerSurface.h"

#include <QStringList>

// A surface that only remembers what is done to it: every printed text with
// its position, font and document, the documents ended, the clears. Used to
// check a sheet's layout without a printer or a window.
class RecordingStickerSurface : public StickerSurface
{
public:
    struct Item : StickerText
    {
        int document = 0; // 1 for the first document of the surface
    };

    bool EndDoc() override;
    void AbandonDoc() override;
    void Cls() override;
    bool setOrientation(int orientation) override;
    bool setPaperSize(int paperSize) override;

    const QList<Item> &items() const { return m_items; }
    // One entry per call, in order: "Cls", "EndDoc", "AbandonDoc",
    // "Orientation <n>", "PaperSize <n>", "Print" for each text and
    // "Barcode" for each barcode.
    const QStringList &calls() const { return m_calls; }
    // Number of texts in every document handed on, in order.
    const QList<int> &endedDocuments() const { return m_ended; }
    bool documentOpen() const { return m_open; }
    int paperSize() const { return m_paperSize; }

    // Makes the n-th Print or PrintBarcode (1-based) fail with the given error text.
    void failAtPrint(int n, const QString &error);

protected:
    bool drawText(const StickerText &item) override;

private:
    QList<Item> m_items;
    QStringList m_calls;
    QList<int> m_ended;
    bool m_open = false;
    int m_documents = 0;
    int m_inDocument = 0;
    int m_prints = 0;
    int m_paperSize = 0;
    int m_failAt = 0;
    QString m_failError;
};
