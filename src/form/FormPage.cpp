#include "form/FormPage.h"

#include "form/FormLibraries.h"
#include "form/FormName.h"
#include "platform/FileChecks.h"
#include "platform/LibraryMessagesHeldBack.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMutex>
#include <QObject>
#include <QPainter>

#include <cmath>

namespace {

constexpr int FormImageMegabytes = 512;

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
constexpr qint64 MostFormBytes = qint64(256) << 20;

bool fail(QString *error, const QString &path, const QString &cause)
{
    if (error)
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), cause);
    return false;
}

// Opens the form's file and reads its head: the type its first bytes say,
// FileType::Other with the error when it is missing, not a regular file,
// unreadable, of no type a form can be, or an image asked for a page.
FileType openForm(const FormName &name, QFile &file, QByteArray *head, QString *error)
{
    const QFileInfo info(name.filePath);
    if (!name.badPage.isNull()) {
        fail(error, name.filePath, QObject::tr("\"#page=%1\" names no page (#page=N, from 1)").arg(name.badPage));
        return FileType::Other;
    }
    if (!info.exists()) {
        fail(error, name.filePath, QObject::tr("the form does not exist"));
        return FileType::Other;
    }
    if (!FileChecks::inputProblem(name.filePath).isEmpty()) { // said in the user's language
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

// An image form's pixels, and its size in points at the resolution the
// file states (72 dots per inch when it states none).
bool readImage(const FormName &name, const QByteArray &bytes, FileType type, const QByteArray &head, QImage *image,
    QSizeF *sizePoints, QString *error)
{
    QBuffer file;
    file.setData(bytes);
    file.open(QIODevice::ReadOnly);
    // Qt reads no image larger than its allocation limit (128 MB in Qt 6.4):
    // a letterhead scanned at 600 dpi on A4 or Letter needs more. Forms
    // may take enough for 600 dpi on the widest carriage and longest form
    // (13.6 x 22 in). The limit only ever rises, so readers on other
    // threads see the same.
    if (QImageReader::allocationLimit() < FormImageMegabytes)
        QImageReader::setAllocationLimit(FormImageMegabytes);
    QImageReader reader(&file, type == FileType::Png ? "png" : "jpeg");
    reader.setAutoTransform(true);
    QSize stated;
    bool read;
    {
        // libpng's own "libpng error: ...", from reading the header too.
        const LibraryMessagesHeldBack quiet;
        stated = reader.size();
        read = reader.read(image);
    }
    if (!read) {
        // Past the limit: say so, and what to do.
        if (stated.isValid()
            && qint64(stated.width()) * stated.height() * 4 > qint64(QImageReader::allocationLimit()) << 20)
            return fail(error, name.filePath,
                QObject::tr("the form is an image too large to be read (%1 x %2 pixels, more than %3 million; "
                            "scan it at a lower resolution, 300 or 600 dpi)")
                    .arg(stated.width())
                    .arg(stated.height())
                    .arg((qint64(QImageReader::allocationLimit()) << 20) / 4 / 1000000));
        return fail(error, name.filePath,
            QObject::tr("the form cannot be read as an image: %1").arg(reader.errorString()));
    }
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

// A PDF form's page, held by poppler in the library module.
struct FormPage::Pdf
{
    const FormLibraries *libraries = nullptr;
    FormLibraries::PdfPage *page = nullptr;
    QMutex drawing;

    ~Pdf()
    {
        if (page)
            libraries->closePdf(page);
    }
};

FormPage::FormPage() = default;
FormPage::~FormPage() = default;

std::shared_ptr<const FormPage> FormPage::load(const QString &path, QString *error)
{
    const FormName name = FormName::of(path);
    QFile file;
    QByteArray head;
    const FileType type = openForm(name, file, &head, error);
    if (type == FileType::Other)
        return nullptr;

    std::shared_ptr<FormPage> form(new FormPage);
    form->m_filePath = name.filePath;
    // The whole file is read now and kept: every output draws the form as
    // it was chosen, also when its file is changed or removed meanwhile.
    if (file.size() > MostFormBytes) {
        fail(error, name.filePath,
            QObject::tr("the form is larger than %1 MB, more than a form may be").arg(MostFormBytes >> 20));
        return nullptr;
    }
    if (!file.seek(0)) {
        fail(error, name.filePath, QObject::tr("the form cannot be read: %1").arg(file.errorString()));
        return nullptr;
    }
    form->m_bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || form->m_bytes.size() != file.size()) {
        const QString cause = file.error() != QFileDevice::NoError ? file.errorString()
                                                                   : QObject::tr("it changed while it was read");
        fail(error, name.filePath, QObject::tr("the form cannot be read: %1").arg(cause));
        return nullptr;
    }
    if (type == FileType::Pdf) {
        form->m_kind = Kind::Pdf;
        form->m_pdf = std::make_unique<Pdf>();
        form->m_pdf->libraries = FormLibraries::get(error);
        if (!form->m_pdf->libraries)
            return nullptr;
        form->m_pdf->page = form->m_pdf->libraries->openPdf(form->m_bytes, name.filePath, name.pageNumber,
            name.pageNamed, &form->m_sizePoints, error);
        if (!form->m_pdf->page)
            return nullptr;
        form->m_pageIndex = qMax(0, name.pageNumber - 1);
    } else if (!readImage(name, form->m_bytes, type, head, &form->m_image, &form->m_sizePoints, error)) {
        return nullptr;
    }
    if (!(form->m_sizePoints.width() > 0 && form->m_sizePoints.height() > 0)) {
        fail(error, name.filePath, QObject::tr("the form's page has no size"));
        return nullptr;
    }
    return form;
}

QImage FormPage::render(const QSize &pixels, const QRect &part) const
{
    if (pixels.isEmpty())
        return QImage();
    const QRect area = part.isEmpty() ? QRect(QPoint(0, 0), pixels) : part.intersected(QRect(QPoint(0, 0), pixels));
    if (area.isEmpty())
        return QImage();
    if (m_kind == Kind::Image) {
        if (m_image.size() == pixels)
            return area.size() == pixels ? m_image : m_image.copy(area);
        if (area.size() == pixels)
            return m_image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        // The image's own pixels under the part, a pixel more on each side
        // for the smoothing, scaled and cut to the part.
        const double sx = double(m_image.width()) / pixels.width();
        const double sy = double(m_image.height()) / pixels.height();
        const QRect source = QRect(QPoint(int(std::floor(area.left() * sx)) - 1, int(std::floor(area.top() * sy)) - 1),
            QPoint(int(std::ceil((area.right() + 1) * sx)), int(std::ceil((area.bottom() + 1) * sy))))
                                 .intersected(m_image.rect());
        const QImage cut = m_image.copy(source);
        if (cut.isNull())
            return QImage();
        const QSize scaled(qMax(1, qRound(source.width() / sx)), qMax(1, qRound(source.height() / sy)));
        const QImage image = cut.scaled(scaled, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QPoint at(area.left() - qRound(source.left() / sx), area.top() - qRound(source.top() / sy));
        return image.copy(QRect(at, area.size()));
    }
    QMutexLocker lock(&m_pdf->drawing);
    return m_pdf->libraries->renderPdf(m_pdf->page, pixels, area);
}
