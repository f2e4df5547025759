#include "libraries/QpdfPasses.h"

#include "pdf/PdfTextRuns.h"
#include "pdf/SubsetNames.h"
#include "platform/BufferedOutput.h"

#include <QCryptographicHash>
#include <QFile>

// qpdf's Buffer.hh asks which of its old pointer types a user still needs: none.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Buffer.hh>
#include <qpdf/Pl_Function.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <map>
#include <set>
#include <memory>
#include <stdexcept>

namespace {

// zlib's level for the merged streams. They are a fifth of what Qt
// compressed, and text runs compress well at any level; 6 is zlib's own
// default.
constexpr int StreamCompression = 3;

// The widths of a Type 0 font with the Identity-H encoding, from its
// descendant font's /W and /DW; nothing for any other font.
std::optional<GlyphWidths> glyphWidths(QPDFObjectHandle font)
{
    if (!font.isDictionary() || !font.getKey("/Subtype").isNameAndEquals("/Type0")
        || !font.getKey("/Encoding").isNameAndEquals("/Identity-H"))
        return std::nullopt;
    QPDFObjectHandle descendants = font.getKey("/DescendantFonts");
    if (!descendants.isArray() || descendants.getArrayNItems() != 1)
        return std::nullopt;
    QPDFObjectHandle cidFont = descendants.getArrayItem(0);
    if (!cidFont.isDictionary())
        return std::nullopt;
    const double defaultWidth
        = cidFont.getKey("/DW").isNumber() ? cidFont.getKey("/DW").getNumericValue() : GlyphWidths().defaultWidth;
    QPDFObjectHandle list = cidFont.getKey("/W");
    if (list.isNull())
        return glyphWidthsOf(defaultWidth, {});
    if (!list.isArray())
        return std::nullopt;
    std::vector<WidthEntry> entries;
    for (QPDFObjectHandle item : list.aitems()) {
        WidthEntry entry;
        if (item.isNumber()) {
            entry.kind = WidthEntry::Number;
            entry.number = item.getNumericValue();
        } else if (item.isArray()) {
            entry.kind = WidthEntry::List;
            for (QPDFObjectHandle width : item.aitems()) {
                if (!width.isNumber()) {
                    entry.kind = WidthEntry::Other;
                    break;
                }
                entry.list.push_back(width.getNumericValue());
            }
        }
        entries.push_back(std::move(entry));
    }
    return glyphWidthsOf(defaultWidth, entries);
}

// Gives the content streams their merged text as the writer asks for
// them: the original stream's data is read, merged and compressed then,
// so no more than one page's content is held at a time.
class MergedRuns : public QPDFObjectHandle::StreamDataProvider
{
public:
    struct Source
    {
        QPDFObjectHandle original; // a copy that still reads the first pass's bytes
        std::shared_ptr<const PageFontWidths> fonts;
    };

    void add(QPDFObjGen stream, Source source) { m_sources.emplace(stream, std::move(source)); }
    bool has(QPDFObjGen stream) const { return m_sources.count(stream) > 0; }

    void provideStreamData(QPDFObjGen const &stream, Pipeline *pipeline) override
    {
        Source &source = m_sources.at(stream);
        std::string text;
        {
            const std::shared_ptr<Buffer> data = source.original.getStreamData(qpdf_dl_generalized);
            text = PdfTextRuns::merged(
                std::string_view(reinterpret_cast<const char *>(data->getBuffer()), data->getSize()),
                *source.fonts);
        }
        // qCompress puts the length ahead of the zlib stream.
        const QByteArray packed
            = qCompress(reinterpret_cast<const uchar *>(text.data()), qsizetype(text.size()), StreamCompression);
        if (packed.size() < 4)
            throw std::runtime_error("a content stream cannot be compressed");
        pipeline->write(reinterpret_cast<const unsigned char *>(packed.constData()) + 4, size_t(packed.size() - 4));
        pipeline->finish();
    }

private:
    std::map<QPDFObjGen, Source> m_sources;
};

// The page's fonts that can be merged, by resource name; the same fonts'
// table is shared by all the pages that have them.
std::shared_ptr<const PageFontWidths> pageFonts(QPDFObjectHandle page,
    std::map<std::string, std::shared_ptr<const PageFontWidths>> *known,
    std::map<QPDFObjGen, std::optional<GlyphWidths>> *fontWidths)
{
    QPDFObjectHandle resources = page.getKey("/Resources");
    QPDFObjectHandle fonts = resources.isDictionary() ? resources.getKey("/Font") : QPDFObjectHandle::newNull();
    if (!fonts.isDictionary())
        return nullptr;
    std::string key;
    for (const auto &entry : fonts.ditems())
        key += entry.first + ' ' + entry.second.getObjGen().unparse(' ') + ';';
    const auto found = known->find(key);
    if (found != known->end())
        return found->second;
    auto table = std::make_shared<PageFontWidths>();
    for (const auto &entry : fonts.ditems()) {
        const QPDFObjGen id = entry.second.getObjGen();
        std::optional<GlyphWidths> widths;
        if (id.isIndirect()) {
            auto cached = fontWidths->find(id);
            if (cached == fontWidths->end())
                cached = fontWidths->emplace(id, glyphWidths(entry.second)).first;
            widths = cached->second;
        } else {
            widths = glyphWidths(entry.second);
        }
        if (widths)
            table->emplace(entry.first, std::move(*widths));
    }
    std::shared_ptr<const PageFontWidths> shared = table->empty() ? nullptr : table;
    known->emplace(key, shared);
    return shared;
}

// Gives each embedded subset a tag made from its font program, so that the
// same subset has the same name in every run (and another subset in the
// same file another name).
void stableSubsetNames(QPDF &pdf)
{
    std::map<QPDFObjGen, std::string> renamed; // font descriptors done, with their new names
    std::set<std::string> taken;
    auto descriptorName = [&](QPDFObjectHandle descriptor) -> std::string {
        if (!descriptor.isDictionary() || !descriptor.getKey("/FontName").isName())
            return std::string();
        const auto done = renamed.find(descriptor.getObjGen());
        if (done != renamed.end())
            return done->second;
        const std::string base = SubsetNames::untagged(descriptor.getKey("/FontName").getName());
        std::string name;
        if (!base.empty()) {
            std::vector<std::shared_ptr<Buffer>> files;
            for (const char *key : {"/FontFile", "/FontFile2", "/FontFile3"}) {
                QPDFObjectHandle program = descriptor.getKey(key);
                if (program.isStream())
                    files.push_back(program.getRawStreamData());
            }
            std::vector<std::string_view> programs;
            for (const std::shared_ptr<Buffer> &data : files)
                programs.emplace_back(reinterpret_cast<const char *>(data->getBuffer()), data->getSize());
            name = SubsetNames::stableName(base, programs, &taken);
            descriptor.replaceKey("/FontName", QPDFObjectHandle::newName(name));
        }
        renamed.emplace(descriptor.getObjGen(), name);
        return name;
    };
    auto rename = [&](QPDFObjectHandle font, QPDFObjectHandle descriptor) {
        const std::string name = descriptorName(descriptor);
        if (!name.empty() && font.getKey("/BaseFont").isName() && !SubsetNames::untagged(font.getKey("/BaseFont").getName()).empty())
            font.replaceKey("/BaseFont", QPDFObjectHandle::newName(name));
    };
    for (QPDFPageObjectHelper &page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        QPDFObjectHandle resources = page.getObjectHandle().getKey("/Resources");
        QPDFObjectHandle fonts = resources.isDictionary() ? resources.getKey("/Font") : QPDFObjectHandle::newNull();
        if (!fonts.isDictionary())
            continue;
        for (auto &entry : fonts.ditems()) {
            QPDFObjectHandle font = entry.second;
            if (!font.isDictionary())
                continue;
            rename(font, font.getKey("/FontDescriptor"));
            QPDFObjectHandle descendants = font.getKey("/DescendantFonts");
            if (descendants.isArray()) {
                for (QPDFObjectHandle descendant : descendants.aitems()) {
                    if (descendant.isDictionary()) {
                        QPDFObjectHandle descriptor = descendant.getKey("/FontDescriptor");
                        rename(descendant, descriptor);
                        const std::string name = descriptorName(descriptor);
                        if (!name.empty() && !SubsetNames::untagged(font.getKey("/BaseFont").isName() ? font.getKey("/BaseFont").getName() : std::string()).empty())
                            font.replaceKey("/BaseFont", QPDFObjectHandle::newName(name));
                    }
                }
            }
        }
    }
}

} // namespace

namespace QpdfPasses {

void process(QPDF &pdf, QFile &file)
{
    pdf.setSuppressWarnings(true);
    if (!file.isOpen() && !file.open(QIODevice::ReadOnly))
        throw std::runtime_error(file.errorString().toStdString());
    const qint64 size = file.size();
    const uchar *data = size > 0 ? file.map(0, size) : nullptr;
    const std::string name = QFile::encodeName(file.fileName()).toStdString();
    if (data)
        pdf.processMemoryFile(name.c_str(), reinterpret_cast<const char *>(data), size_t(size));
    else
        pdf.processFile(name.c_str());
}

void prepare(QPDF &pdf)
{
    stableSubsetNames(pdf);
    mergeTextRuns(pdf);
}

void mergeTextRuns(QPDF &pdf)
{
    auto provider = std::make_shared<MergedRuns>();
    std::map<std::string, std::shared_ptr<const PageFontWidths>> known;
    std::map<QPDFObjGen, std::optional<GlyphWidths>> fontWidths;
    for (QPDFPageObjectHelper &page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        const std::shared_ptr<const PageFontWidths> fonts = pageFonts(page.getObjectHandle(), &known, &fontWidths);
        if (!fonts)
            continue;
        QPDFObjectHandle contents = page.getObjectHandle().getKey("/Contents");
        std::vector<QPDFObjectHandle> streams;
        if (contents.isStream())
            streams.push_back(contents);
        else if (contents.isArray())
            streams = contents.getArrayAsVector();
        // A text object could run on from one stream into the next: only
        // a page of one stream, as Qt writes them, is merged.
        if (streams.size() != 1 || !streams.front().isStream())
            continue;
        QPDFObjectHandle stream = streams.front();
        if (provider->has(stream.getObjGen()))
            continue;
        provider->add(stream.getObjGen(), {stream.copyStream(), fonts});
        stream.replaceStreamData(provider, QPDFObjectHandle::newName("/FlateDecode"), QPDFObjectHandle::newNull());
    }
}

void setInfo(QPDF &pdf, const PdfDocumentInfo &info)
{
    QPDFObjectHandle trailer = pdf.getTrailer();
    QPDFObjectHandle dictionary = trailer.getKey("/Info");
    if (!dictionary.isDictionary()) {
        dictionary = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        trailer.replaceKey("/Info", dictionary);
    }
    const std::pair<const char *, const QString *> entries[]
        = {{"/Title", &info.title}, {"/Subject", &info.subject}, {"/Keywords", &info.keywords}};
    for (const auto &entry : entries) {
        if (!entry.second->isEmpty())
            dictionary.replaceKey(entry.first, QPDFObjectHandle::newUnicodeString(entry.second->toStdString()));
    }
    if (info.created.isValid()) {
        const QString date = info.created.toUTC().toString(QStringLiteral("'D:'yyyyMMddHHmmss'Z'"));
        dictionary.replaceKey("/CreationDate", QPDFObjectHandle::newString(date.toStdString()));
    } else {
        dictionary.removeKey("/CreationDate");
    }
    dictionary.removeKey("/ModDate");
}

bool write(QPDF &pdf, QIODevice &out, QString *error)
{
    // qpdf writes a token at a time: gathered into large writes rather
    // than a call through the device each.
    QString deviceError;
    BufferedOutput buffered(out);
    try {
        Pl_Function pipe("output", nullptr, [&](unsigned char const *data, size_t length) {
            if (buffered.write(reinterpret_cast<const char *>(data), qint64(length)) != qint64(length)) {
                deviceError = buffered.errorString();
                throw std::runtime_error("the output failed");
            }
        });
        QPDFWriter writer(pdf);
        writer.setOutputPipeline(&pipe);
        // What is compressed already goes out as it is: no stream of the
        // first pass or of the forms is decoded and made again.
        writer.setDecodeLevel(qpdf_dl_none);
        writer.setDeterministicID(true);
        // A line end before each endstream, as Qt writes it and PDF/A asks.
        writer.setNewlineBeforeEndstream(true);
        writer.write();
        if (!buffered.flushBuffer()) {
            deviceError = buffered.errorString();
            throw std::runtime_error("the output failed");
        }
        return true;
    } catch (const std::exception &failure) {
        if (error)
            *error = deviceError.isEmpty() ? QString::fromStdString(failure.what()) : deviceError;
        return false;
    }
}

bool finish(const QString &qtPdf, const PdfDocumentInfo &info, QIODevice &out, QString *error)
{
    try {
        QPDF pdf;
        QFile file(qtPdf);
        process(pdf, file);
        prepare(pdf);
        setInfo(pdf, info);
        return write(pdf, out, error);
    } catch (const std::exception &failure) {
        if (error)
            *error = QString::fromStdString(failure.what());
        return false;
    }
}

} // namespace QpdfPasses
