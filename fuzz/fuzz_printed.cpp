// One print file through everything that reads it in the printed look: the
// sheet index, every sheet laid out and drawn on pixels at a low resolution
// (low ones stress the renderer's rounding), the first also at a common one
// and as shapes (as into a PDF). The first byte picks the printer set-up and
// the resolutions. Files longer than MostBytes are passed over, so that
// every run stays quick (fuzz_escp reads longer ones without drawing).
#include "escp/SheetIndex.h"
#include "render/PrintedRenderer.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPicture>


namespace {

// Made once and never destroyed: libFuzzer leaves by exit(), after which
// Qt's own clean-up would run in no defined order.
PrintedRenderer *g_renderer = nullptr;

constexpr size_t MostBytes = 4096;

// The pixels every drawing goes into, made once: a fresh image each run
// would spend most of the run on the memory's first touch.
constexpr int MostPixelsAcross = 1000, MostPixelsDown = 1000;
uchar *g_pixels = nullptr;

void drawSheet(PrintedRenderer &renderer, const Printed::Sheet &sheet, int dpi)
{
    const double scale = double(dpi) / Printed::UnitsPerInch;
    const int width = qBound(1, int(sheet.width * scale) + 1, MostPixelsAcross);
    const int height = qBound(1, int(sheet.height * scale) + 1, MostPixelsDown);
    QImage image(g_pixels, width, height, width * 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.draw(painter, sheet, QPointF(0, 0), scale);
    // The same sheet shifted by a fraction of a pixel and clipped to a band.
    renderer.draw(painter, sheet, QPointF(0.37, -height / 3.0), scale, QRectF(0, 0, width, height / 2.0));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int count = 1;
    static char *arguments[] = {(*argv)[0], nullptr};
    (void)argc;
    new QGuiApplication(count, arguments);
    g_renderer = new PrintedRenderer;
    g_pixels = new uchar[size_t(MostPixelsAcross) * MostPixelsDown * 4];
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
    for (int i = 0; i < sheets; ++i) {
        const Printed::Sheet sheet = document.sheet(i);
        PrintedRenderer::usedSize(sheet);
        drawSheet(renderer, sheet, 10 + ((choice >> 5) & 3)); // 10 to 13 dpi
        if (i == 0) {
            drawSheet(renderer, sheet, (choice & 0x80) ? 72 : 30);
            // A vector device (as a PDF or a printer): the dots as shapes.
            QPicture shapes;
            QPainter painter(&shapes);
            renderer.draw(painter, sheet, QPointF(0, 0), 1200.0 / Printed::UnitsPerInch);
        }
    }
    return 0;
}
