#include "form/FormPage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMutex>
#include <QObject>
#include <QPainter>
#include <QRegularExpression>

#include <poppler-qt6.h>

#include <mutex>

namespace {

enum class FileType { Pdf, Png, Jpeg, Other };

// What the file's first bytes say it is. A PDF may have some bytes before
// its header; readers look at the first kilobyte.
FileType sniff(const QByteArray &head)
{
    if (head.left(1024).contains("%PDF-"))
        return FileType::Pdf;
    if (head.startsWith("\x89PNG\r\n\x1a\n"))
        return FileType::Png;
    if (head.startsWith("\xff\xd8\xff"))
        return FileType::Jpeg;
    return FileType::Other;
}

quint32 bigEndian32(const QByteArray &bytes, qsizetype at)
{
    return (quint32(quint8(bytes[at])) << 24) | (quint32(quint8(bytes[at + 1])) << 16)
        | (quint32(quint8(bytes[at + 2])) << 8) | quint32(quint8(bytes[at + 3]));
}

quint16 bigEndian16(const QByteArray &bytes, qsizetype at)
{
    return quint16((quint8(bytes[at]) << 8) | quint8(bytes[at + 1]));
}

// The dots per inch a PNG (its pHYs chunk in metres) or a JPEG (its JFIF
// header in inches or centimetres) states; nothing when it states none.
QSizeF statedResolution(const QByteArray &bytes, FileType type)
{
    if (type == FileType::Png) {
        for (qsizetype at = 8; at + 8 <= bytes.size();) {
            const quint32 length = bigEndian32(bytes, at);
            const QByteArray name = bytes.mid(at + 4, 4);
            if (name == "IDAT" || name == "IEND" || at + 12 + qint64(length) > bytes.size())
                break;
            if (name == "pHYs" && length >= 9 && bytes[at + 16] == 1) { // unit: the metre
                const double x = bigEndian32(bytes, at + 8) * 0.0254;
                const double y = bigEndian32(bytes, at + 12) * 0.0254;
                return x > 0 && y > 0 ? QSizeF(x, y) : QSizeF();
            }
            at += 12 + qint64(length);
        }
    } else if (type == FileType::Jpeg && bytes.size() >= 20 && bytes.mid(6, 5) == QByteArray("JFIF\0", 5)) {
        const int unit = quint8(bytes[13]);
        const double x = bigEndian16(bytes, 14), y = bigEndian16(bytes, 16);
        if (x > 0 && y > 0 && (unit == 1 || unit == 2))
            return unit == 1 ? QSizeF(x, y) : QSizeF(x * 2.54, y * 2.54);
    }
    return QSizeF();
}

constexpr double UnstatedDpi = 72.0;

bool fail(QString *error, const QString &path, const QString &cause)
{
    if (error)
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), cause);
    return false;
}

// Poppler tells its complaints about a damaged file to the debug output;
// the cause reaches the user in the error instead.
void quietPoppler()
{
    static std::once_flag once;
    std::call_once(once, [] { Poppler::setDebugErrorFunction([](const QString &, const QVariant &) {}, {}); });
}

// The file a form's name names, and the page when it ends in "#page=N"
// and no file of that whole name exists.
struct FormName
{
    QString filePath;
    int pageNumber = 0;     // 1-based when named
    bool pageNamed = false; // "#page=N" was taken off the name
};

FormName formNameOf(const QString &path)
{
    FormName name{path};
    static const QRegularExpression PageSuffix(QStringLiteral("^(.+)#page=([0-9]{1,6})$"));
    const QRegularExpressionMatch suffix = PageSuffix.match(path);
    if (suffix.hasMatch() && !QFileInfo::exists(path)) {
        name.filePath = suffix.captured(1);
        name.pageNumber = suffix.captured(2).toInt();
        name.pageNamed = true;
    }
    return name;
}

// Opens the form's file and reads its head: the type its first bytes say,
// FileType::Other with the error when it is missing, not a regular file,
// unreadable, of no type a form can be, or an image asked for a page.
FileType openForm(const FormName &name, QFile &file, QByteArray *head, QString *error)
{
    const QFileInfo info(name.filePath);
    if (!info.exists()) {
        fail(error, name.filePath, QObject::tr("the form does not exist"));
        return FileType::Other;
    }
    if (!info.isFile()) {
        fail(error, name.filePath, QObject::tr("the form is not a regular file"));
        return FileType::Other;
    }
    file.setFileName(name.filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error, name.filePath, QObject::tr("the form cannot be read: %1").arg(file.errorString()));
        return FileType::Other;
    }
    *head = file.read(64 * 1024);
    const FileType type = sniff(*head);
    if (type == FileType::Other) {
        fail(error, name.filePath, QObject::tr("the form is not a PDF, PNG or JPEG file"));
        return FileType::Other;
    }
    if (type != FileType::Pdf && name.pageNumber > 0) {
        fail(error, name.filePath, QObject::tr("an image form has no pages to choose from"));
        return FileType::Other;
    }
    return type;
}

// A PDF form's page, read and checked, and its document.
struct PdfPage
{
    std::unique_ptr<Poppler::Document> document;
    std::unique_ptr<Poppler::Page> page;
    int index = 0; // 0-based
};

// The PDF's first page, or the page its name named; false with the error
// when the PDF cannot be read, is locked or has no such page.
bool readPdfPage(const FormName &name, PdfPage *pdf, QString *error)
{
    quietPoppler();
    pdf->document = Poppler::Document::load(name.filePath);
    Poppler::Document *document = pdf->document.get();
    if (!document)
        return fail(error, name.filePath, QObject::tr("the form cannot be read as a PDF"));
    if (document->isLocked())
        return fail(error, name.filePath, QObject::tr("the form is locked by a password"));
    const int pages = document->numPages();
    if (pages <= 0)
        return fail(error, name.filePath, QObject::tr("the form has no page"));
    const int pageNumber = name.pageNumber;
    if (pageNumber > pages || pageNumber < 0 || (name.pageNamed && pageNumber == 0))
        return fail(error, name.filePath,
            QObject::tr("the form has no page %1 (it has %2)").arg(pageNumber).arg(pages));
    pdf->index = qMax(0, pageNumber - 1);
    pdf->page = document->page(pdf->index);
    if (!pdf->page)
        return fail(error, name.filePath, QObject::tr("the form's page %1 cannot be read").arg(pdf->index + 1));
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    document->setPaperColor(Qt::white);
    return true;
}

// An image form's pixels, and its size in points at the resolution the
// file states (72 dots per inch when it states none).
bool readImage(const FormName &name, QFile &file, FileType type, const QByteArray &head, QImage *image,
    QSizeF *sizePoints, QString *error)
{
    file.seek(0);
    QImageReader reader(&file, type == FileType::Png ? "png" : "jpeg");
    reader.setAutoTransform(true);
    if (!reader.read(image))
        return fail(error, name.filePath,
            QObject::tr("the form cannot be read as an image: %1").arg(reader.errorString()));
    QSizeF dpi = statedResolution(head, type);
    if (dpi.isEmpty())
        dpi = QSizeF(UnstatedDpi, UnstatedDpi);
    // A turned JPEG (its Exif orientation) turns its resolution too.
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        dpi.transpose();
    *sizePoints = QSizeF(image->width() * 72.0 / dpi.width(), image->height() * 72.0 / dpi.height());
    return true;
}

} // namespace

struct FormPage::Pdf
{
    std::unique_ptr<Poppler::Document> document;
    std::unique_ptr<Poppler::Page> page;
    QMutex drawing;
};

FormPage::FormPage() = default;
FormPage::~FormPage() = default;

std::shared_ptr<const FormPage> FormPage::load(const QString &path, QString *error)
{
    const FormName name = formNameOf(path);
    QFile file;
    QByteArray head;
    const FileType type = openForm(name, file, &head, error);
    if (type == FileType::Other)
        return nullptr;

    std::shared_ptr<FormPage> form(new FormPage);
    form->m_filePath = name.filePath;
    if (type == FileType::Pdf) {
        PdfPage pdf;
        if (!readPdfPage(name, &pdf, error))
            return nullptr;
        form->m_kind = Kind::Pdf;
        form->m_pdf = std::make_unique<Pdf>();
        form->m_pageIndex = pdf.index;
        form->m_sizePoints = pdf.page->pageSizeF();
        form->m_pdf->document = std::move(pdf.document);
        form->m_pdf->page = std::move(pdf.page);
    } else if (!readImage(name, file, type, head, &form->m_image, &form->m_sizePoints, error)) {
        return nullptr;
    }
    if (!(form->m_sizePoints.width() > 0 && form->m_sizePoints.height() > 0)) {
        fail(error, name.filePath, QObject::tr("the form's page has no size"));
        return nullptr;
    }
    return form;
}

QImage FormPage::render(const QSize &pixels) const
{
    if (pixels.isEmpty())
        return QImage();
    if (m_kind == Kind::Image) {
        if (m_image.size() == pixels)
            return m_image;
        return m_image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    QMutexLocker lock(&m_pdf->drawing);
    const double xres = pixels.width() * 72.0 / m_sizePoints.width();
    const double yres = pixels.height() * 72.0 / m_sizePoints.height();
    QImage drawn = m_pdf->page->renderToImage(xres, yres, 0, 0, pixels.width(), pixels.height());
    return drawn;
}
