#include "escp/EscpBarcode.h"

#include "platform/ZintLibrary.h"

#include <QPainter>

#include <cmath>
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

} // namespace

namespace EscpBarcode {

Bars draw(int kind, QByteArrayView data, int module, int adjust, int length, int dotsPerInchY, bool checkDigit,
    int mostWidth, bool pixels, QString *error)
{
    const int symbology = symbologyOf(kind);
    if (symbology == 0 || data.isEmpty() || module <= 0 || module > 16 || length <= 0 || length > 4096) {
        if (error)
            *error = QStringLiteral("not a bar code the printer draws");
        return {};
    }
    const ZintLibrary *zint = ZintLibrary::get(error);
    if (!zint)
        return {};
    const auto remove = [zint](zint_symbol *s) { zint->ZBarcode_Delete(s); };
    std::unique_ptr<zint_symbol, decltype(remove)> symbol(zint->ZBarcode_Create(), remove);
    if (!symbol)
        return {};
    zint_symbol *s = symbol.get();
    s->symbology = symbology;
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
        return {};
    }
    // The narrowest bar is one module: everything is counted in it.
    const zint_vector *v = s->vector;
    double narrow = 0, top = 1e9, bottom = -1e9, left = 1e9, shortest = 1e9;
    for (const zint_vector_rect *r = v->rectangles; r; r = r->next) {
        if (r->width > 0 && (narrow == 0 || r->width < narrow))
            narrow = r->width;
        top = std::min(top, double(r->y));
        bottom = std::max(bottom, double(r->y + r->height));
        left = std::min(left, double(r->x));
        shortest = std::min(shortest, double(r->y + r->height));
    }
    if (narrow <= 0 || bottom <= top)
        return {};
    const int modules = int(std::lround(v->width / narrow));
    Bars bars;
    // POSTNET's bars are 0.125 in and 0.050 in whatever the command says.
    bars.height = kind == 7 ? int(std::lround(0.125 * dotsPerInchY)) : length;
    if (modules <= 0 || qint64(modules) * module * 2 > qMin(mostWidth, 131072)) {
        if (error)
            *error = QStringLiteral("the bar code is wider than the carriage has room for");
        return {};
    }
    bars.width = modules * module * 2;
    bars.readable = QString::fromUtf8(reinterpret_cast<const char *>(s->text));
    bars.firstBar = int(std::lround(left / narrow)) * module * 2;
    bars.dataBottom = int(std::lround((shortest - top) * double(bars.height) / (bottom - top)));
    if (!pixels)
        return bars;
    QImage image(bars.width, bars.height, QImage::Format_Mono);
    if (image.isNull())
        return {};
    image.setColor(0, qRgba(255, 255, 255, 0));
    image.setColor(1, qRgb(0, 0, 0));
    image.fill(0);
    const double across = 2.0 * module / narrow; // half dots
    const double down = double(bars.height) / (bottom - top);
    // Each bar is set in one row, then its bytes are laid into the rows it spans.
    QByteArray row(image.bytesPerLine(), '\0');
    for (const zint_vector_rect *r = v->rectangles; r; r = r->next) {
        const int x0 = qMax(0, int(std::lround(r->x * across)));
        const int x1 = qMin(bars.width, qMax(x0 + 1, int(std::lround((r->x + r->width) * across)) - adjust));
        const int y0 = qMax(0, int(std::lround((r->y - top) * down)));
        const int y1 = qMin(bars.height, int(std::lround((r->y + r->height - top) * down)));
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
    bars.image = std::move(image);
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
