#include "libraries/PopplerForm.h"

#include <QDir>
#include <QObject>

#include <poppler-qt6.h>

#include <memory>
#include <mutex>

struct FormLibraries::PdfPage
{
    std::unique_ptr<Poppler::Document> document;
    std::unique_ptr<Poppler::Page> page;
};

namespace {

std::nullptr_t fail(QString *error, const QString &path, const QString &cause)
{
    if (error)
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), cause);
    return nullptr;
}

// Poppler tells its complaints about a damaged file to the debug output;
// the cause reaches the user in the error instead.
void quietPoppler()
{
    static std::once_flag once;
    std::call_once(once, [] { Poppler::setDebugErrorFunction([](const QString &, const QVariant &) {}, {}); });
}

} // namespace

namespace PopplerForm {

FormLibraries::PdfPage *open(const QByteArray &bytes, const QString &filePath, int pageNumber, bool pageNamed,
    QSizeF *sizePoints, QString *error)
{
    quietPoppler();
    auto form = std::make_unique<FormLibraries::PdfPage>();
    form->document = Poppler::Document::loadFromData(bytes);
    Poppler::Document *document = form->document.get();
    if (!document)
        return fail(error, filePath, QObject::tr("the form cannot be read as a PDF"));
    if (document->isLocked())
        return fail(error, filePath, QObject::tr("the form is locked by a password"));
    const int pages = document->numPages();
    if (pages <= 0)
        return fail(error, filePath, QObject::tr("the form has no page"));
    if (pageNumber > pages || pageNumber < 0 || (pageNamed && pageNumber == 0))
        return fail(error, filePath, QObject::tr("the form has no page %1 (it has %2)").arg(pageNumber).arg(pages));
    const int pageIndex = qMax(0, pageNumber - 1);
    form->page = document->page(pageIndex);
    if (!form->page)
        return fail(error, filePath, QObject::tr("the form's page %1 cannot be read").arg(pageIndex + 1));
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    document->setPaperColor(Qt::white);
    *sizePoints = form->page->pageSizeF();
    return form.release();
}

QImage render(FormLibraries::PdfPage *form, const QSize &pixels, const QRect &part)
{
    const QSizeF size = form->page->pageSizeF();
    const double xres = pixels.width() * 72.0 / size.width();
    const double yres = pixels.height() * 72.0 / size.height();
    return form->page->renderToImage(xres, yres, part.x(), part.y(), part.width(), part.height());
}

void close(FormLibraries::PdfPage *form)
{
    delete form;
}

} // namespace PopplerForm
