#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <memory>

// One form as it was read: a page of a PDF file, or a PNG or JPEG image at
// its own resolution (72 dots per inch when the file states none). Read and
// checked once, and kept as it was read (the file may change or go); drawn at whatever resolution a device asks for, a PDF page
// by poppler (the library Debian's PDF tools share, so a form looks the
// same on screen as in pdftoppm), so its lines and text stay sharp on
// screen and on paper.
class FormPage
{
public:
    enum class Kind { Pdf, Image };

    ~FormPage();
    FormPage(const FormPage &) = delete;
    FormPage &operator=(const FormPage &) = delete;

    // Reads the form at `path`: a PDF's first page, or page N when the name
    // ends in "#page=N" and no file of that whole name exists. Null, with
    // an error that names the file and says why, when it is missing, not a
    // regular file, not a PDF, PNG or JPEG file, cannot be read, is locked by
    // a password or has no such page.
    static std::shared_ptr<const FormPage> load(const QString &path, QString *error);

    Kind kind() const { return m_kind; }
    // The file, without a page suffix.
    const QString &filePath() const { return m_filePath; }
    // The file's bytes as they were read, which every output draws from.
    const QByteArray &bytes() const { return m_bytes; }
    // 0-based page of a PDF.
    int pageIndex() const { return m_pageIndex; }
    // The form's size in points (1/72 in).
    QSizeF sizePoints() const { return m_sizePoints; }
    // An image form's pixels (null for a PDF).
    const QImage &image() const { return m_image; }

    // The form drawn over white into an image of that size in pixels, or
    // only the part `part` of that image (in its pixels; empty: all of it);
    // null when it cannot be drawn (no memory). Callers on several threads
    // may share one form: drawing takes turns.
    QImage render(const QSize &pixels, const QRect &part = QRect()) const;

private:
    FormPage();
    struct Pdf;
    Kind m_kind = Kind::Image;
    QString m_filePath;
    QByteArray m_bytes;
    int m_pageIndex = 0;
    QSizeF m_sizePoints;
    QImage m_image;
    std::unique_ptr<Pdf> m_pdf;
};
