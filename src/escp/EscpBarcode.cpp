#include "escp/EscpBarcode.h"

#include "platform/ZintLibrary.h"

#include <QPainter>

#include <cmath>
#include <functional>
#include <memory>

namespace {

int symbologyOf(int kind)
{
    switch (kind) {
    case 0:
    case 1: return BARCODE_EANX;
    case 2: return BARCODE_C25INTER;
    case 3: return BARCODE_UPCA;
    case 4: return BARCODE_UPCE;
    case 5: return BARCODE_CODE39;
    case 6: return BARCODE_CODE128;
    case 7: return BARCODE_POSTNET;
    default: return 0;
    }
}

// Where zint put the bars, in its own units. The narrowest bar is one
// module: everything is counted in it.
struct Extent
{
    double narrow = 0, top = 1e9, bottom = -1e9, left = 1e9, shortest = 1e9;
};

Extent extentOf(const zint_vector *v)
{
    Extent e;
    for (const zint_vector_rect *r = v->rectangles; r; r = r->next) {
        if (r->width > 0 && (e.narrow == 0 || r->width < e.narrow))
            e.narrow = r->width;
        e.top = std::min(e.top, double(r->y));
        e.bottom = std::max(e.bottom, double(r->y + r->height));
        e.left = std::min(e.left, double(r->x));
        e.shortest = std::min(e.shortest, double(r->y + r->height));
    }
    return e;
}

using Symbol = std::unique_ptr<zint_symbol, std::function<void(zint_symbol *)>>;

// The symbol encoded and laid out as rectangles by zint; null with the
// error set when zint refuses the data.
Symbol encode(const ZintLibrary *zint, int kind, QByteArrayView data, bool checkDigit, QString *error)
{
    Symbol symbol(zint->ZBarcode_Create(), [zint](zint_symbol *s) { zint->ZBarcode_Delete(s); });
    if (!symbol)
        return symbol;
    zint_symbol *s = symbol.get();
    s->symbology = symbologyOf(kind);
    s->show_hrt = 0;
    s->output_options = 0;
    if ((kind == 2 || kind == 5) && checkDigit)
        s->option_2 = 1;
    int rc = zint->ZBarcode_Encode(s, reinterpret_cast<const unsigned char *>(data.data()), int(data.size()));
    if (rc < ZINT_ERROR)
        rc = zint->ZBarcode_Buffer_Vector(s, 0);
    if (rc >= ZINT_ERROR || !s->vector || s->vector->width <= 0) {
        if (error)
            *error = QString::fromUtf8(s->errtxt);
        symbol.reset();
    }
    return symbol;
}

// The bars on a one-bit image of bars.width half dots by bars.height dots;
// `adjust` half dots are taken off each bar's right edge.
QImage paintBars(const zint_vector *v, const Extent &e, const EscpBarcode::Bars &bars, int module, int adjust)
{
    QImage image(bars.width, bars.height, QImage::Format_Mono);
    if (image.isNull())
        return image;
    image.setColor(0, qRgba(255, 255, 255, 0));
    image.setColor(1, qRgb(0, 0, 0));
    image.fill(0);
    const double across = 2.0 * module / e.narrow; // half dots
    const double down = double(bars.height) / (e.bottom - e.top);
    // Each bar is set in one row, then its bytes are laid into the rows it spans.
    QByteArray row(image.bytesPerLine(), '\0');
    for (const zint_vector_rect *r = v->rectangles; r; r = r->next) {
        const int x0 = qMax(0, int(std::lround(r->x * across)));
        const int x1 = qMin(bars.width, qMax(x0 + 1, int(std::lround((r->x + r->width) * across)) - adjust));
        const int y0 = qMax(0, int(std::lround((r->y - e.top) * down)));
        const int y1 = qMin(bars.height, int(std::lround((r->y + r->height - e.top) * down)));
        if (x1 <= x0 || y1 <= y0)
            continue;
        row.fill('\0');
        for (int x = x0; x < x1; ++x)
            row[x >> 3] = char(uchar(row[x >> 3]) | (0x80 >> (x & 7)));
        for (int y = y0; y < y1; ++y) {
            uchar *line = image.scanLine(y);
            for (int k = x0 >> 3; k <= (x1 - 1) >> 3; ++k)
                line[k] |= uchar(row[k]);
        }
    }
    return image;
}

} // namespace

namespace EscpBarcode {

Bars draw(int kind, QByteArrayView data, int module, int adjust, int length, int dotsPerInchY, bool checkDigit,
    int mostWidth, bool pixels, QString *error)
{
    if (symbologyOf(kind) == 0 || data.isEmpty() || module <= 0 || module > 16 || length <= 0 || length > 4096) {
        if (error)
            *error = QStringLiteral("not a bar code the printer draws");
        return {};
    }
    const ZintLibrary *zint = ZintLibrary::get(error);
    if (!zint)
        return {};
    const Symbol symbol = encode(zint, kind, data, checkDigit, error);
    if (!symbol)
        return {};
    const zint_vector *v = symbol->vector;
    const Extent e = extentOf(v);
    if (e.narrow <= 0 || e.bottom <= e.top)
        return {};
    const int modules = int(std::lround(v->width / e.narrow));
    Bars bars;
    // POSTNET's bars are 0.125 in and 0.050 in whatever the command says.
    bars.height = kind == 7 ? int(std::lround(0.125 * dotsPerInchY)) : length;
    if (modules <= 0 || qint64(modules) * module * 2 > qMin(mostWidth, 131072)) {
        if (error)
            *error = QStringLiteral("the bar code is wider than the carriage has room for");
        return {};
    }
    bars.width = modules * module * 2;
    bars.readable = QString::fromUtf8(reinterpret_cast<const char *>(symbol->text));
    bars.firstBar = int(std::lround(e.left / e.narrow)) * module * 2;
    bars.dataBottom = int(std::lround((e.shortest - e.top) * double(bars.height) / (e.bottom - e.top)));
    if (!pixels)
        return bars;
    bars.image = paintBars(v, e, bars, module, adjust);
    if (bars.image.isNull())
        return {};
    return bars;
}

QVector<ReadableGroup> readableGroups(int kind, const Bars &bars, int module)
{
    // Each group: the first digit's index, how many, and the module (from
    // the first bar, negative: left of it) where its digits begin.
    struct Group
    {
        int first, count, at;
    };
    QVector<Group> layout;
    const qsizetype length = bars.readable.size();
    if (kind == 0 && length == 13) // EAN-13: the flag digit, then six under each half
        layout = {{0, 1, -8}, {1, 6, 3}, {7, 6, 50}};
    else if (kind == 1 && length == 8) // EAN-8: four under each half
        layout = {{0, 4, 3}, {4, 4, 36}};
    else if (kind == 3 && length == 12) // UPC-A: number system, five and five, check digit
        layout = {{0, 1, -8}, {1, 5, 10}, {6, 5, 50}, {11, 1, 96}};
    else if (kind == 4 && length == 8) // UPC-E: number system, six, check digit
        layout = {{0, 1, -8}, {1, 6, 3}, {7, 1, 52}};
    if (layout.isEmpty())
        return {{bars.readable, 0, bars.width}};
    const int moduleWidth = 2 * module; // half dots
    QVector<ReadableGroup> groups;
    for (const Group &g : layout) {
        ReadableGroup group;
        group.text = bars.readable.mid(g.first, g.count);
        group.x = qBound(0, bars.firstBar + g.at * moduleWidth, bars.width);
        group.width = qMin(g.count * 7 * moduleWidth, bars.width - group.x);
        if (group.width > 0)
            groups.append(group);
    }
    return groups;
}

} // namespace EscpBarcode
