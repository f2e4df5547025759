// One print file through everything that reads it in the printed look: the
// sheet index, every sheet laid out and drawn on pixels at a low resolution
// (low ones stress the renderer's rounding), the first also at a common one,
// shifted into a band, and as shapes at 1200 dpi (as into a PDF). The first
// byte picks the printer set-up and the resolutions. Files longer than
// MostBytes are passed over, so that every run stays quick (fuzz_escp reads
// longer ones without drawing).
//
// The shapes go to a device that keeps nothing: the renderer makes every
// path, rectangle and glyph run it would give a PDF, and no time goes to
// storing them (a QPicture spent most of each run on its own stream).
// Last, the sheets are laid out one after the other from the start, which
// must cut them where the index did.
#include "FuzzApplication.h"
#include "escp/EscpInterpreter.h"
#include "escp/SheetIndex.h"
#include "render/PrintedRenderer.h"
#include "render/SheetText.h"

#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

#include <climits>
#include <cstdio>
#include <cstdlib>


namespace {

// Made once and never destroyed: libFuzzer leaves by exit(), after which
// Qt's own clean-up would run in no defined order.
PrintedRenderer *g_renderer = nullptr;

constexpr size_t MostBytes = 4096;

// The pixels every drawing goes into, made once: a fresh image each run
// would spend most of the run on the memory's first touch.
constexpr int MostPixelsAcross = 1000, MostPixelsDown = 1000;
uchar *g_pixels = nullptr;

// Tells the renderer it draws into a PDF and drops what it is given.
class DroppingEngine : public QPaintEngine
{
public:
    DroppingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawImage(const QRectF &, const QImage &, const QRectF &, Qt::ImageConversionFlags) override {}
    void drawPath(const QPainterPath &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint *, int, PolygonDrawMode) override {}
    void drawRects(const QRectF *, int) override {}
    void drawLines(const QLineF *, int) override {}
    void drawTextItem(const QPointF &, const QTextItem &) override {}
    Type type() const override { return QPaintEngine::Pdf; }
};

// A sheet of 22 x 22 inches at 1200 dpi, as a PDF writer's device reports it.
class DroppingDevice : public QPaintDevice
{
public:
    QPaintEngine *paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
        case PdmHeight:
            return 22 * 1200;
        case PdmWidthMM:
        case PdmHeightMM:
            return 22 * 254 / 10;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 1200;
        case PdmNumColors:
            return INT_MAX;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    mutable DroppingEngine m_engine;
};
DroppingDevice *g_shapes = nullptr;

void drawSheet(PrintedRenderer &renderer, const Printed::Sheet &sheet, int dpi, bool inBands)
{
    const double scale = double(dpi) / Printed::UnitsPerInch;
    const int width = qBound(1, int(sheet.width * scale) + 1, MostPixelsAcross);
    const int height = qBound(1, int(sheet.height * scale) + 1, MostPixelsDown);
    QImage image(g_pixels, width, height, width * 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.draw(painter, sheet, QPointF(0, 0), scale);
    // The same sheet shifted by a fraction of a pixel and clipped to a band.
    if (inBands)
        renderer.draw(painter, sheet, QPointF(0.37, -height / 3.0), scale, QRectF(0, 0, width, height / 2.0));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    (void)argc;
    startFuzzApplication(argv);
    g_renderer = new PrintedRenderer;
    g_pixels = new uchar[size_t(MostPixelsAcross) * MostPixelsDown * 4];
    g_shapes = new DroppingDevice;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1 || size > MostBytes)
        return 0;
    const uchar choice = data[0];
    const QByteArrayView bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    PrinterSetup setup;
    static const double Forms[] = {11.0, 12.0, 1.0 / 6, 22.0};
    setup.formLengthInches = Forms[choice & 3];
    setup.carriageInches = (choice & 4) ? 8.0 : 13.6;
    static const PrinterModel Models[] = {PrinterModel::Auto, PrinterModel::NinePin, PrinterModel::TwentyFourPin,
        PrinterModel::EscP2};
    setup.model = Models[(choice >> 3) & 3];
    SheetIndex document;
    document.build(bytes, setup);
    PrintedRenderer &renderer = *g_renderer;
    const int sheets = qMin(document.sheetCount(), 64);
    QVector<qsizetype> firstBytes;
    for (int i = 0; i < sheets; ++i) {
        const Printed::Sheet sheet = document.sheet(i);
        firstBytes.append(sheet.firstByte);
        PrintedRenderer::usedSize(sheet);
        drawSheet(renderer, sheet, 10 + ((choice >> 5) & 3), false); // 10 to 13 dpi
        if (i == 0) {
            drawSheet(renderer, sheet, (choice & 0x80) ? 72 : 30, true);
            // A vector device (as a PDF or a printer): the dots as shapes.
            QPainter painter(g_shapes);
            renderer.draw(painter, sheet, QPointF(0, 0), 1200.0 / Printed::UnitsPerInch);
            // Read as the view reads it: its text, a search for a piece of
            // it, and a selection of the whole sheet.
            const QString text = SheetText::text(sheet);
            SheetText::find(sheet, text.simplified().left(3));
            SheetText::textIn(sheet, QRectF(0, 0, sheet.width, sheet.height));
        }
    }
    // The index only counts sheets, with shortcuts of its own; laying the
    // sheets out one after the other must cut them at the same bytes.
    setup.model = document.model();
    EscpInterpreter walk(bytes, setup, PrinterState::initial(setup), 0);
    Printed::Sheet laidOut;
    for (int i = 1; i < sheets && walk.runSheet(&laidOut); ++i) {
        if (walk.position() != firstBytes[i]) {
            std::fprintf(stderr, "sheet %d: the index begins it at byte %lld, laying out at %lld\n", i,
                static_cast<long long>(firstBytes[i]), static_cast<long long>(walk.position()));
            std::abort();
        }
        laidOut = Printed::Sheet();
    }
    return 0;
}
