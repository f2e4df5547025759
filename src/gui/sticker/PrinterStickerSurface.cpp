#include "gui/sticker/PrinterStickerSurface.h"

#include "gui/printing/DesktopPrinting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

PrinterStickerSurface::PrinterStickerSurface(std::unique_ptr<QPrinter> printer)
    : m_owned(std::move(printer))
    , m_printer(m_owned.get())
{
    m_printer->setDocName(tr("Stickers"));
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageOrientation(QPageLayout::Portrait);
}

PrinterStickerSurface::PrinterStickerSurface(QPrinter &printer)
    : m_printer(&printer)
{ }

PrinterStickerSurface::~PrinterStickerSurface()
{
    if (m_sheets && m_sheets->isActive())
        m_sheets->end();
}

void PrinterStickerSurface::paintOn(QPainter &painter, const QList<StickerText> &items)
{
    paintStickerTexts(painter, items, m_printer->logicalDpiX() / 1440.0, m_printer->logicalDpiY() / 1440.0);
}

void PrinterStickerSurface::setPdfOutputFile(const QString &fileName)
{
    m_pdfFile = fileName;
    m_printer->setOutputFormat(QPrinter::PdfFormat);
}

bool PrinterStickerSurface::drawText(const StickerText &item)
{
    m_pending.append(item);
    return true;
}

QString PrinterStickerSurface::nextPdfFile() const
{
    if (m_documents == 0)
        return m_pdfFile;
    const QFileInfo info(m_pdfFile);
    const QString suffix = info.suffix().isEmpty() ? QString() : QStringLiteral(".") + info.suffix();
    const QString name
        = QStringLiteral("%1-%2%3").arg(info.completeBaseName()).arg(m_documents + 1).arg(suffix);
    return info.dir().filePath(name);
}

bool PrinterStickerSurface::EndDoc()
{
    if (m_pending.isEmpty())
        return true;
    const QList<StickerText> items = std::move(m_pending);
    m_pending.clear();

    if (!m_owned) {
        // The next sheet of the open job.
        if (!m_sheets) {
            m_sheets = std::make_unique<QPainter>();
            if (!m_sheets->begin(m_printer)) {
                setErrorText(tr("The printer \"%1\" did not accept the print job.")
                                 .arg(m_printer->printerName()));
                return false;
            }
        } else if (!m_printer->newPage()) {
            setErrorText(tr("The print job could not be completed."));
            return false;
        }
        paintOn(*m_sheets, items);
        ++m_documents;
        return true;
    }

    QString file;
    if (!m_pdfFile.isEmpty()) {
        file = nextPdfFile();
        m_printer->setOutputFileName(file);
    }
    QPainter painter;
    if (!painter.begin(m_printer)) {
        setErrorText(file.isEmpty()
                         ? tr("The printer \"%1\" did not accept the print job.")
                               .arg(m_printer->printerName())
                         : tr("The file \"%1\" could not be written.").arg(file));
        return false;
    }
    paintOn(painter, items);
    painter.end();
    if (m_printer->printerState() == QPrinter::Error) {
        if (!file.isEmpty())
            QFile::remove(file);
        setErrorText(tr("The print job could not be completed."));
        return false;
    }
    // A queue that takes no jobs: the rest of the sheet is not tried.
    const QString refused = DesktopPrinting::jobRefusal(*m_printer);
    if (!refused.isEmpty()) {
        setErrorText(refused);
        return false;
    }
    ++m_documents;
    if (!file.isEmpty())
        m_written.append(file);
    return true;
}

void PrinterStickerSurface::AbandonDoc()
{
    m_pending.clear();
}

bool PrinterStickerSurface::setOrientation(int orientation)
{
    if (!StickerSurface::setOrientation(orientation))
        return false;
    return m_printer->setPageOrientation(orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
}

bool PrinterStickerSurface::setPaperSize(int paperSize)
{
    QPageSize::PageSizeId id;
    return pageSizeOf(paperSize, &id) && m_printer->setPageSize(QPageSize(id));
}
