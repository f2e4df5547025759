#include "pdf/PdfRewriter.h"

#include "pdf/PdfFinishing.h"
#include "pdf/PdfSyntax.h"
#include "pdf/PdfTextRuns.h"
#include "pdf/SubsetNames.h"
#include "platform/BufferedOutput.h"

#include <QCryptographicHash>
#include <QIODevice>
#include <QTimeZone>

#include <zlib.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>

namespace {

// zlib's level for the merged streams: text runs compress well at any
// level, and 3 takes half of the default's time.
constexpr int StreamCompression = 3;

// Each page's objects lie a few kilobytes apart in the first pass, and the
// kernel maps a fault's neighbours with it: the bytes read go back every
// so many objects.
constexpr size_t ReleaseEvery = 512;

// Thrown when the PDF is not as Qt writes one.
struct NotQtsShape : std::runtime_error
{
    NotQtsShape() : std::runtime_error("the PDF is not laid out as Qt writes one") {}
};

// Thrown when the output fails.
struct OutputFailed : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

void require(bool condition)
{
    if (!condition)
        throw NotQtsShape();
}

struct Object
{
    PdfValue value;
    std::string_view data; // a stream's bytes as written; empty for other objects
    bool stream = false;
};

// Inflates a Flate stream into `out`.
void inflateInto(std::string_view data, std::string *out)
{
    z_stream z {};
    require(inflateInit(&z) == Z_OK);
    out->resize(std::max<size_t>(data.size() * 8, 4096));
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
    z.avail_in = uInt(data.size());
    size_t done = 0;
    int status = Z_OK;
    while (status == Z_OK) {
        if (done == out->size())
            out->resize(out->size() * 2);
        z.next_out = reinterpret_cast<Bytef *>(out->data() + done);
        z.avail_out = uInt(std::min<size_t>(out->size() - done, 1u << 30));
        const uInt before = z.avail_out;
        status = inflate(&z, Z_NO_FLUSH);
        done += before - z.avail_out;
        if (status == Z_BUF_ERROR && z.avail_out > 0)
            break;
        if (status == Z_BUF_ERROR)
            status = Z_OK;
    }
    inflateEnd(&z);
    require(status == Z_STREAM_END);
    out->resize(done);
}

void deflateInto(const std::string &text, std::string *out)
{
    uLongf size = compressBound(uLong(text.size()));
    out->resize(size);
    if (compress2(reinterpret_cast<Bytef *>(out->data()), &size, reinterpret_cast<const Bytef *>(text.data()),
            uLong(text.size()), StreamCompression)
        != Z_OK)
        throw std::runtime_error("a content stream cannot be compressed");
    out->resize(size);
}

std::string unicodeString(const QString &text)
{
    std::string out = "<FEFF";
    for (const QChar c : text) {
        char hex[5];
        snprintf(hex, sizeof hex, "%04X", unsigned(c.unicode()));
        out += hex;
    }
    return out + ">";
}

class Rewriter
{
public:
    explicit Rewriter(std::string_view pdf) : m_pdf(pdf) { readTable(); }

    // Reads what the output needs before any of it is written.
    void prepare(const PdfDocumentInfo &info, const std::function<void()> &readDone);
    void write(QIODevice &device, const std::function<void()> &readDone);

private:
    void readTable();
    Object object(int number) const;
    PdfValue resolved(const PdfValue &value) const
    {
        return value.kind == PdfValue::Reference ? object(value.number).value : value;
    }
    void walk(const std::function<void()> &readDone);
    void visitPage(const PdfValue &page);
    void visitDescriptor(const Object &descriptor);
    std::optional<GlyphWidths> glyphWidths(int font);
    void renameFonts(PdfValue *value) const;
    PdfValue infoDictionary(const PdfDocumentInfo &info) const;

    std::string_view m_pdf;
    std::vector<size_t> m_offsets; // by the first pass's number; 0: none
    PdfValue m_trailer;
    std::vector<int> m_order; // the first pass's numbers in the order written
    std::vector<int> m_renumbered; // by the first pass's number; 0: not written
    std::map<int, std::shared_ptr<const PageFontWidths>> m_contentFonts; // content streams to merge
    std::map<std::string, std::shared_ptr<const PageFontWidths>> m_pageFonts;
    std::map<int, std::optional<GlyphWidths>> m_fontWidths;
    PdfValue m_info;
    std::map<std::string, std::string> m_subsetNames; // Qt's name, the stable one
    std::set<std::string> m_takenNames;
};

void Rewriter::readTable()
{
    const size_t startxref = m_pdf.rfind("startxref");
    require(startxref != std::string_view::npos);
    size_t at = startxref + 9;
    long long tableAt = 0;
    require(PdfSyntax::read(m_pdf, &at).integer(&tableAt) && tableAt > 0 && size_t(tableAt) < startxref);
    at = size_t(tableAt);
    require(m_pdf.substr(at, 4) == "xref");
    at += 4;
    long long first = 0, count = 0;
    require(PdfSyntax::read(m_pdf, &at).integer(&first) && first == 0);
    require(PdfSyntax::read(m_pdf, &at).integer(&count) && count > 0 && count < (1 << 24));
    PdfSyntax::skipSpace(m_pdf, &at);
    m_offsets.assign(size_t(count), 0);
    for (long long i = 0; i < count; ++i, at += 20) {
        const std::string_view entry = m_pdf.substr(at, 20);
        require(entry.size() == 20 && (entry[17] == 'n' || entry[17] == 'f'));
        if (entry[17] == 'n') {
            const size_t offset = std::stoull(std::string(entry.substr(0, 10)));
            require(offset > 0 && offset < size_t(tableAt));
            m_offsets[size_t(i)] = offset;
        }
    }
    PdfSyntax::skipSpace(m_pdf, &at);
    require(m_pdf.substr(at, 7) == "trailer");
    at += 7;
    m_trailer = PdfSyntax::read(m_pdf, &at);
    require(m_trailer.kind == PdfValue::Dictionary && m_trailer.find("/Root")
        && m_trailer.find("/Root")->kind == PdfValue::Reference && !m_trailer.find("/Encrypt"));
}

Object Rewriter::object(int number) const
{
    require(number > 0 && size_t(number) < m_offsets.size() && m_offsets[size_t(number)] > 0);
    size_t at = m_offsets[size_t(number)];
    long long read = 0;
    require(PdfSyntax::read(m_pdf, &at).integer(&read) && read == number);
    PdfSyntax::read(m_pdf, &at); // the generation
    require(PdfSyntax::read(m_pdf, &at).text == "obj");
    Object result;
    result.value = PdfSyntax::read(m_pdf, &at);
    PdfSyntax::skipSpace(m_pdf, &at);
    if (m_pdf.substr(at, 6) != "stream")
        return result;
    at += 6;
    if (m_pdf.substr(at, 2) == "\r\n")
        at += 2;
    else if (m_pdf.substr(at, 1) == "\n")
        at += 1;
    else
        require(false);
    const PdfValue *lengthEntry = result.value.find("/Length");
    require(lengthEntry != nullptr);
    long long length = -1;
    const PdfValue lengthValue = lengthEntry->kind == PdfValue::Reference ? object(lengthEntry->number).value : *lengthEntry;
    require(lengthValue.integer(&length) && length >= 0 && at + size_t(length) <= m_pdf.size());
    result.stream = true;
    result.data = m_pdf.substr(at, size_t(length));
    size_t end = at + size_t(length);
    PdfSyntax::skipSpace(m_pdf, &end);
    require(m_pdf.substr(end, 9) == "endstream");
    return result;
}

// Numbers the objects in the order they are reached from the catalog and
// the information, a breadth at a time; notes the pages' fonts and the
// subsets' names on the way.
void Rewriter::walk(const std::function<void()> &readDone)
{
    m_renumbered.assign(m_offsets.size(), 0);
    std::deque<int> waiting;
    auto reach = [&](const PdfValue &reference) {
        require(reference.number > 0 && size_t(reference.number) < m_offsets.size());
        if (m_renumbered[size_t(reference.number)] == 0) {
            m_order.push_back(reference.number);
            m_renumbered[size_t(reference.number)] = int(m_order.size());
            waiting.push_back(reference.number);
        }
    };
    reach(*m_trailer.find("/Root"));
    if (const PdfValue *info = m_trailer.find("/Info"); info && info->kind == PdfValue::Reference)
        reach(*info);
    size_t visited = 0;
    while (!waiting.empty()) {
        const int number = waiting.front();
        waiting.pop_front();
        if (readDone && ++visited % ReleaseEvery == 0)
            readDone();
        Object current = object(number);
        if (current.stream) {
            // A stream's length goes out as a number.
            auto &entries = current.value.entries;
            entries.erase(std::remove_if(entries.begin(), entries.end(),
                              [](const auto &entry) { return entry.first == "/Length"; }),
                entries.end());
        }
        if (current.value.kind == PdfValue::Dictionary) {
            const PdfValue *type = current.value.find("/Type");
            if (type && type->isName("/Page"))
                visitPage(current.value);
            else if (type && type->isName("/FontDescriptor"))
                visitDescriptor(current);
        }
        current.value.references(reach);
    }
}

void Rewriter::visitPage(const PdfValue &page)
{
    const PdfValue *contents = page.find("/Contents");
    const PdfValue *resources = page.find("/Resources");
    // A text object could run on from one stream into the next: only a
    // page of one stream, as Qt writes them, is merged.
    if (!contents || contents->kind != PdfValue::Reference || !resources)
        return;
    const PdfValue resourceDictionary = resolved(*resources);
    const PdfValue *fontEntry = resourceDictionary.find("/Font");
    if (!fontEntry)
        return;
    const PdfValue fonts = resolved(*fontEntry);
    std::string key;
    for (const auto &entry : fonts.entries) {
        require(entry.second.kind == PdfValue::Reference);
        key += entry.first + ' ' + std::to_string(entry.second.number) + ';';
    }
    auto known = m_pageFonts.find(key);
    if (known == m_pageFonts.end()) {
        auto table = std::make_shared<PageFontWidths>();
        for (const auto &entry : fonts.entries) {
            if (std::optional<GlyphWidths> widths = glyphWidths(entry.second.number))
                table->emplace(entry.first, std::move(*widths));
        }
        known = m_pageFonts.emplace(key, table->empty() ? nullptr : table).first;
    }
    const Object stream = object(contents->number);
    const PdfValue *filter = stream.value.find("/Filter");
    if (known->second && stream.stream && filter && filter->isName("/FlateDecode") && !stream.value.find("/DecodeParms"))
        m_contentFonts.emplace(contents->number, known->second);
}

// The widths of a Type 0 font with the Identity-H encoding, from its
// descendant font's /W and /DW; nothing for any other font.
std::optional<GlyphWidths> Rewriter::glyphWidths(int fontNumber)
{
    const auto cached = m_fontWidths.find(fontNumber);
    if (cached != m_fontWidths.end())
        return cached->second;
    std::optional<GlyphWidths> result;
    const PdfValue font = object(fontNumber).value;
    const PdfValue *subtype = font.find("/Subtype");
    const PdfValue *encoding = font.find("/Encoding");
    const PdfValue *descendants = font.find("/DescendantFonts");
    if (subtype && subtype->isName("/Type0") && encoding && encoding->isName("/Identity-H") && descendants) {
        const PdfValue list = resolved(*descendants);
        if (list.kind == PdfValue::Array && list.items.size() == 1) {
            const PdfValue cidFont = resolved(list.items.front());
            double defaultWidth = GlyphWidths().defaultWidth;
            bool readable = cidFont.kind == PdfValue::Dictionary;
            long long whole = 0;
            if (const PdfValue *dw = cidFont.find("/DW"); dw && readable)
                readable = dw->integer(&whole) && (defaultWidth = double(whole), true);
            const PdfValue *w = cidFont.find("/W");
            const PdfValue array = w ? resolved(*w) : PdfValue();
            if (w && array.kind != PdfValue::Array)
                readable = false;
            // Qt writes whole numbers: a code, a width, or a list of widths.
            std::vector<WidthEntry> entries;
            for (const PdfValue &item : array.items) {
                WidthEntry entry;
                if (item.integer(&whole)) {
                    entry.kind = WidthEntry::Number;
                    entry.number = double(whole);
                } else if (item.kind == PdfValue::Array) {
                    entry.kind = WidthEntry::List;
                    for (const PdfValue &each : item.items) {
                        if (!each.integer(&whole)) {
                            entry.kind = WidthEntry::Other;
                            break;
                        }
                        entry.list.push_back(double(whole));
                    }
                }
                entries.push_back(std::move(entry));
            }
            if (readable)
                result = glyphWidthsOf(defaultWidth, entries);
        }
    }
    m_fontWidths.emplace(fontNumber, result);
    return result;
}

// Gives the subset a tag made from its font program, so that the same
// subset has the same name in every run and another subset another name.
void Rewriter::visitDescriptor(const Object &descriptor)
{
    const PdfValue *fontName = descriptor.value.find("/FontName");
    if (!fontName || fontName->kind != PdfValue::Name || m_subsetNames.count(fontName->text))
        return;
    const std::string base = SubsetNames::untagged(fontName->text);
    if (base.empty())
        return;
    std::vector<Object> files;
    for (const char *key : {"/FontFile", "/FontFile2", "/FontFile3"}) {
        const PdfValue *program = descriptor.value.find(key);
        if (program && program->kind == PdfValue::Reference)
            files.push_back(object(program->number));
    }
    std::vector<std::string_view> programs;
    for (const Object &file : files)
        programs.emplace_back(file.data);
    const std::string name = SubsetNames::stableName(base, programs, &m_takenNames);
    m_subsetNames.emplace(fontName->text, name);
}

void Rewriter::renameFonts(PdfValue *value) const
{
    for (const char *key : {"/FontName", "/BaseFont"}) {
        PdfValue *name = value->find(key);
        if (name && name->kind == PdfValue::Name) {
            const auto renamed = m_subsetNames.find(name->text);
            if (renamed != m_subsetNames.end())
                name->text = renamed->second;
        }
    }
}

PdfValue Rewriter::infoDictionary(const PdfDocumentInfo &info) const
{
    const PdfValue *reference = m_trailer.find("/Info");
    PdfValue dictionary = reference && reference->kind == PdfValue::Reference ? object(reference->number).value : PdfValue();
    require(dictionary.kind == PdfValue::Dictionary);
    auto set = [&](const char *key, std::string text, PdfValue::Kind kind) {
        PdfValue value;
        value.kind = kind;
        value.text = std::move(text);
        if (PdfValue *existing = dictionary.find(key))
            *existing = std::move(value);
        else
            dictionary.entries.emplace_back(key, std::move(value));
    };
    auto remove = [&](const char *key) {
        auto &entries = dictionary.entries;
        entries.erase(std::remove_if(entries.begin(), entries.end(), [&](const auto &e) { return e.first == key; }),
            entries.end());
    };
    const std::pair<const char *, const QString *> fields[]
        = {{"/Title", &info.title}, {"/Subject", &info.subject}, {"/Keywords", &info.keywords}};
    for (const auto &field : fields) {
        if (!field.second->isEmpty())
            set(field.first, unicodeString(*field.second), PdfValue::String);
    }
    const QDateTime created = PdfFinishing::creationDate(info.created);
    if (created.isValid())
        set("/CreationDate", created.toUTC().toString(QStringLiteral("'(D:'yyyyMMddHHmmss'Z)'")).toStdString(),
            PdfValue::String);
    else
        remove("/CreationDate");
    remove("/ModDate");
    return dictionary;
}

// Counts and hashes what goes out; throws when the device fails.
class Output
{
public:
    explicit Output(QIODevice &device) : m_buffered(device) {}
    void write(std::string_view bytes)
    {
        if (m_buffered.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
            throw OutputFailed(m_buffered.errorString().toStdString());
        m_digest.addData(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
        m_written += bytes.size();
    }
    void finish()
    {
        if (!m_buffered.flushBuffer())
            throw OutputFailed(m_buffered.errorString().toStdString());
    }
    size_t written() const { return m_written; }
    QByteArray digest() const { return m_digest.result(); }

private:
    BufferedOutput m_buffered;
    QCryptographicHash m_digest {QCryptographicHash::Md5};
    size_t m_written = 0;
};

void Rewriter::prepare(const PdfDocumentInfo &info, const std::function<void()> &readDone)
{
    walk(readDone);
    m_info = infoDictionary(info);
}

void Rewriter::write(QIODevice &device, const std::function<void()> &readDone)
{
    const PdfValue *infoReference = m_trailer.find("/Info");
    const int infoNumber = infoReference && infoReference->kind == PdfValue::Reference ? infoReference->number : 0;
    const auto renumber = [this](int number) {
        require(number > 0 && size_t(number) < m_renumbered.size() && m_renumbered[size_t(number)] > 0);
        return m_renumbered[size_t(number)];
    };

    Output out(device);
    const size_t firstLine = m_pdf.find('\n');
    require(m_pdf.substr(0, 5) == "%PDF-" && firstLine < 16);
    out.write(m_pdf.substr(0, firstLine + 1));
    out.write("%\xbf\xf7\xa2\xfe\n");
    std::vector<size_t> offsets;
    offsets.reserve(m_order.size());
    std::string text, inflated, packed;
    for (const int number : m_order) {
        offsets.push_back(out.written());
        if (readDone && offsets.size() % ReleaseEvery == 0)
            readDone();
        Object current = object(number);
        if (number == infoNumber)
            current.value = m_info;
        text = std::to_string(offsets.size()) + " 0 obj\n";
        std::string_view data = current.data;
        if (current.stream) {
            const auto fonts = m_contentFonts.find(number);
            if (fonts != m_contentFonts.end()) {
                inflateInto(current.data, &inflated);
                const std::string merged = PdfTextRuns::merged(inflated, *fonts->second);
                // A large page's stream is held twice at most, not three times.
                std::string().swap(inflated);
                deflateInto(merged, &packed);
                data = packed;
            }
            PdfValue *length = current.value.find("/Length");
            length->kind = PdfValue::Token;
            length->text = std::to_string(data.size());
        }
        if (current.value.kind == PdfValue::Dictionary)
            renameFonts(&current.value);
        PdfSyntax::write(current.value, renumber, &text);
        if (current.stream) {
            text += "\nstream\n";
            out.write(text);
            out.write(data);
            out.write("\nendstream\nendobj\n");
        } else {
            text += "\nendobj\n";
            out.write(text);
        }
    }
    const size_t tableAt = out.written();
    text = "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
    char entry[21];
    for (const size_t offset : offsets) {
        snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        text += entry;
    }
    out.write(text);
    const QByteArray id = out.digest().toHex();
    text = "trailer\n<< /Size " + std::to_string(offsets.size() + 1) + " /Root "
        + std::to_string(renumber(m_trailer.find("/Root")->number)) + " 0 R";
    if (infoNumber)
        text += " /Info " + std::to_string(renumber(infoNumber)) + " 0 R";
    text += " /ID [<" + id.toStdString() + "><" + id.toStdString() + ">] >>\nstartxref\n"
        + std::to_string(tableAt) + "\n%%EOF\n";
    out.write(text);
    out.finish();
}

} // namespace

namespace PdfRewriter {

Outcome write(std::string_view pdf, const PdfDocumentInfo &info, QIODevice &out, QString *error,
    const std::function<void()> &readDone)
{
    // The whole PDF is read for its shape before the first byte goes out.
    std::unique_ptr<Rewriter> rewriter;
    try {
        rewriter = std::make_unique<Rewriter>(pdf);
        rewriter->prepare(info, readDone);
    } catch (const std::exception &) {
        return Outcome::NotQtsShape;
    }
    try {
        rewriter->write(out, readDone);
        return Outcome::Written;
    } catch (const std::exception &failure) {
        if (error)
            *error = QString::fromStdString(failure.what());
        return Outcome::Failed;
    }
}

} // namespace PdfRewriter
