#include "libraries/QpdfUnderlay.h"

#include "form/SheetForms.h"
#include "libraries/QpdfPasses.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QObject>

// qpdf asks which of its old pointer types a user still needs: none.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <map>
#include <stdexcept>

namespace {

std::string number(double value)
{
    return QString::number(value, 'f', 4).toStdString();
}

// A JPEG's colour components, from its frame header; 0 when it has none
// this reader knows (a progressive or arithmetic frame is as good as a
// baseline one: the PDF reader decodes it).
int jpegComponents(const QByteArray &bytes)
{
    for (qsizetype at = 2; at + 4 <= bytes.size();) {
        if (quint8(bytes[at]) != 0xFF)
            return 0;
        const int marker = quint8(bytes[at + 1]);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const int length = (quint8(bytes[at + 2]) << 8) | quint8(bytes[at + 3]);
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame)
            return at + 9 < bytes.size() ? quint8(bytes[at + 9]) : 0;
        if (marker == 0xDA || length < 2)
            return 0;
        at += 2 + length;
    }
    return 0;
}

// A new image of 8 bits a component, the size of `image`, without its data.
QPDFObjectHandle newImage(QPDF &pdf, const QImage &image)
{
    QPDFObjectHandle stream = QPDFObjectHandle::newStream(&pdf);
    QPDFObjectHandle dict = stream.getDict();
    dict.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
    dict.replaceKey("/Subtype", QPDFObjectHandle::newName("/Image"));
    dict.replaceKey("/Width", QPDFObjectHandle::newInteger(image.width()));
    dict.replaceKey("/Height", QPDFObjectHandle::newInteger(image.height()));
    dict.replaceKey("/BitsPerComponent", QPDFObjectHandle::newInteger(8));
    return stream;
}

QPDFObjectHandle imageStream(QPDF &pdf, const QImage &image, bool alpha)
{
    QPDFObjectHandle stream = newImage(pdf, image);
    QPDFObjectHandle dict = stream.getDict();
    std::string data;
    if (alpha || image.isGrayscale()) {
        const QImage gray = alpha ? image.convertToFormat(QImage::Format_Alpha8) : image.convertToFormat(QImage::Format_Grayscale8);
        dict.replaceKey("/ColorSpace", QPDFObjectHandle::newName("/DeviceGray"));
        data.reserve(size_t(gray.width()) * size_t(gray.height()));
        for (int y = 0; y < gray.height(); ++y)
            data.append(reinterpret_cast<const char *>(gray.constScanLine(y)), size_t(gray.width()));
    } else {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
        dict.replaceKey("/ColorSpace", QPDFObjectHandle::newName("/DeviceRGB"));
        data.reserve(size_t(rgb.width()) * size_t(rgb.height()) * 3);
        for (int y = 0; y < rgb.height(); ++y)
            data.append(reinterpret_cast<const char *>(rgb.constScanLine(y)), size_t(rgb.width()) * 3);
    }
    // QPDFWriter compresses it losslessly (Flate).
    stream.replaceStreamData(data, QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());
    return stream;
}

// An image form as a PDF image: a JPEG of grey or RGB as its own bytes, any
// other picture losslessly, its transparency as a soft mask.
QPDFObjectHandle imageObject(QPDF &pdf, const FormPage &form)
{
    const QImage &image = form.image();
    const QByteArray &bytes = form.bytes();
    const bool jpeg = bytes.startsWith("\xff\xd8\xff");
    const int components = jpeg ? jpegComponents(bytes) : 0;
    // A JPEG turned by its Exif orientation is drawn as turned: decoded.
    QImage unturned;
    const bool asStored = jpeg && (components == 1 || components == 3) && unturned.loadFromData(bytes, "jpeg")
        && unturned.size() == image.size();
    if (asStored) {
        QPDFObjectHandle stream = newImage(pdf, image);
        QPDFObjectHandle dict = stream.getDict();
        dict.replaceKey("/ColorSpace", QPDFObjectHandle::newName(components == 1 ? "/DeviceGray" : "/DeviceRGB"));
        stream.replaceStreamData(bytes.toStdString(), QPDFObjectHandle::newName("/DCTDecode"),
            QPDFObjectHandle::newNull());
        return stream; // a new stream is an indirect object already
    }
    QPDFObjectHandle stream = imageStream(pdf, image, false);
    if (image.hasAlphaChannel())
        stream.getDict().replaceKey("/SMask", imageStream(pdf, image, true));
    return stream;
}

// The dictionary `key` of `holder`, made (empty) when it has none.
QPDFObjectHandle dictionaryIn(QPDFObjectHandle holder, const char *key)
{
    QPDFObjectHandle dictionary = holder.getKey(key);
    if (!dictionary.isDictionary()) {
        dictionary = QPDFObjectHandle::newDictionary();
        holder.replaceKey(key, dictionary);
    }
    return dictionary;
}

// Each form once, as an object of `pdf` the pages share: an image form as
// an image, a PDF form's page as a form XObject copied from its file. The
// forms' own files (`sources`) stay open until the PDF is written;
// `reading` names the form being read, for the message when one fails.
void loadForms(QPDF &pdf, const SheetForms &forms, std::vector<std::unique_ptr<QPDF>> *sources,
    std::map<const FormPage *, QPDFObjectHandle> *objects, const FormPage **reading)
{
    for (const FormPage *form : forms.distinct()) {
        *reading = form;
        if (form->kind() == FormPage::Kind::Image) {
            (*objects)[form] = imageObject(pdf, *form);
            continue;
        }
        auto source = std::make_unique<QPDF>();
        source->setSuppressWarnings(true);
        // From the bytes read when the form was chosen (they live as long
        // as the form, beyond the writing).
        source->processMemoryFile(QFile::encodeName(form->filePath()).constData(), form->bytes().constData(),
            size_t(form->bytes().size()));
        std::vector<QPDFPageObjectHelper> formPages = QPDFPageDocumentHelper(*source).getAllPages();
        if (size_t(form->pageIndex()) >= formPages.size())
            throw std::runtime_error(QObject::tr("the form has no page %1").arg(form->pageIndex() + 1).toStdString());
        (*objects)[form] = pdf.copyForeignObject(formPages[size_t(form->pageIndex())].getFormXObjectForPage());
        sources->push_back(std::move(source));
    }
    *reading = nullptr;
}

} // namespace

namespace QpdfUnderlay {

bool write(const QString &jobPdf, const QVector<PdfSheetPlace> &places, const SheetForms &forms,
    const PdfDocumentInfo &info, QIODevice &out, QString *error)
{
    const FormPage *reading = nullptr; // the form being read, named when it fails
    try {
        QPDF pdf;
        QFile job(jobPdf);
        QpdfPasses::process(pdf, job);
        QpdfPasses::prepare(pdf);
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
        if (!forms.isEmpty() && pages.size() != size_t(places.size()))
            throw std::runtime_error("the PDF written has not one page per sheet");

        // Each form once, as an object the pages share. The forms' own
        // files stay open until the PDF is written.
        std::vector<std::unique_ptr<QPDF>> sources;
        std::map<const FormPage *, QPDFObjectHandle> objects;
        loadForms(pdf, forms, &sources, &objects, &reading);

        std::map<const FormPage *, std::string> names;
        for (const auto &object : objects)
            names[object.first] = "/Sticker2Form" + std::to_string(names.size() + 1);
        const QPointF offset = forms.offsetPoints();
        // The few bytes that draw a form are the same on every page of one
        // size: one stream that all those pages share.
        std::map<std::string, QPDFObjectHandle> placings;
        for (size_t k = 0; !forms.isEmpty() && k < pages.size(); ++k) {
            const FormPage *form = forms.forSheet(places[qsizetype(k)].sheetIndex);
            if (!form)
                continue;
            QPDFPageObjectHelper &page = pages[k];
            QPDFObjectHandle resources = dictionaryIn(page.getObjectHandle(), "/Resources");
            QPDFObjectHandle xobjects = dictionaryIn(resources, "/XObject");
            const QPDFObjectHandle &object = objects[form];
            std::string name = names[form];
            if (xobjects.hasKey(name) && !(xobjects.getKey(name).getObjGen() == object.getObjGen())) {
                int suffix = 1;
                name = resources.getUniqueResourceName(name + "_", suffix);
            }
            xobjects.replaceKey(name, object);

            // The sheet's top left corner is the page's; points down from it.
            const QPDFObjectHandle::Rectangle box = page.getMediaBox().getArrayAsRectangle();
            const double scale = places[qsizetype(k)].scale;
            const QSizeF size = form->sizePoints() * scale;
            const double left = box.llx + offset.x() * scale;
            const double top = box.ury - offset.y() * scale;
            const QPDFObjectHandle::Rectangle place(left, top - size.height(), left + size.width(), top);
            std::string content;
            if (form->kind() == FormPage::Kind::Pdf) {
                content = page.placeFormXObject(object, name, place, true, true, true);
            } else {
                content = "q " + number(size.width()) + " 0 0 " + number(size.height()) + " " + number(place.llx)
                    + " " + number(place.lly) + " cm " + name + " Do Q";
            }
            const std::string drawing = "q\n" + content + "\nQ\n";
            auto placing = placings.find(drawing);
            if (placing == placings.end())
                placing = placings.emplace(drawing, QPDFObjectHandle::newStream(&pdf, drawing)).first;
            page.addPageContents(placing->second, true);
        }
        QpdfPasses::setInfo(pdf, info);
        return QpdfPasses::write(pdf, out, error);
    } catch (const std::exception &failure) {
        if (error) {
            const QString cause = QString::fromStdString(failure.what());
            *error = reading ? QStringLiteral("%1: the form cannot be read as a PDF: %2")
                                   .arg(QDir::toNativeSeparators(reading->filePath()), cause)
                             : cause;
        }
        return false;
    }
}

} // namespace QpdfUnderlay
