#include "BenchSupport.h"
#include "sticker/RecordingStickerSurface.h"
#include "gui/sticker/StickerPreview.h"
#include "gui/sticker/WindowSheetPrinting.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

// Drawing a large Windows-mode sheet: the run itself, and a repaint of the
// on-screen view holding every page of it.

namespace {

StickerInput bigSheet(int pages)
{
    StickerInput in;
    in.lineTexts = {QStringLiteral("ACME STORES"), QStringLiteral("Main Road"), QStringLiteral("Pune"),
               QStringLiteral("Box"),         QStringLiteral("Lot"),       QStringLiteral("601"),
               QStringLiteral("612"),         QString(),                   QStringLiteral("Six"),
               QStringLiteral("Seven"),       QStringLiteral("1"),         QStringLiteral("10")};
    in.stickersAcross = QStringLiteral("6");
    in.TxRow = QStringLiteral("20");
    in.maxField = 7;
    in.lineWidth = QStringLiteral("16");
    in.TxtFontNM = QStringLiteral("DejaVu Sans");
    in.TxtFontSZ = QStringLiteral("8");
    in.TxtHEight = QStringLiteral("1900");
    in.TxtWidth = QStringLiteral("110");
    in.TxBlank = QStringLiteral("800");
    in.txtRowPrint = QStringLiteral("20");
    in.pageCount = QString::number(pages);
    return in;
}

void BM_DrawOnRecorder(benchmark::State &state)
{
    StickerInput in = bigSheet(int(state.range(0)));
    for (auto _ : state) {
        RecordingStickerSurface s;
        previewWindowSheet(in, s);
        benchmark::DoNotOptimize(s.items().size());
    }
    state.SetItemsProcessed(state.iterations() * 6 * 20 * 7 * state.range(0));
}
BENCHMARK(BM_DrawOnRecorder)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_PaintPic(benchmark::State &state)
{
    StickerInput in = bigSheet(int(state.range(0)));
    StickerPreview pic;
    pic.resize(600, 850);
    previewWindowSheet(in, pic);
    QImage image(pic.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        pic.render(&image);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * pic.items().size());
}
BENCHMARK(BM_PaintPic)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return BenchSupport::runBenchmarks(argc, argv);
}
