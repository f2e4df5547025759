// A form under the printed look: a 100-sheet report to PDF with a letterhead
// PDF under every sheet, against the same PDF without it, in the same run.
// The target: the form adds under 20 %. BM_FormUnder100Sheets runs both in
// turn and tells the extra as extra_pct (wall clock) and extra_cpu_pct
// (processor time: on a busy machine the one to read).
// Run from the build folder: QT_QPA_PLATFORM=offscreen bench/bench_forms

#include "BenchSupport.h"
#include "escp/SheetIndex.h"
#include "report/PageChoice.h"
#include "export/PrintedPdfExport.h"
#include "form/SheetForms.h"
#include "report/PageTable.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <ctime>

namespace {

constexpr int Sheets = 100;

QTemporaryDir &workFolder()
{
    static QTemporaryDir dir;
    return dir;
}

// A letterhead: a logo picture, rules, boxes and lines of text.
QString letterhead()
{
    const QString path = workFolder().filePath(QStringLiteral("letterhead.pdf"));
    if (QFileInfo::exists(path))
        return path;
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(72);
    QPainter painter(&writer);
    QImage logo(300, 150, QImage::Format_RGB32);
    for (int y = 0; y < logo.height(); ++y)
        for (int x = 0; x < logo.width(); ++x)
            logo.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    painter.drawImage(QRectF(400, 30, 150, 75), logo);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    for (int line = 0; line < 40; ++line) {
        painter.drawLine(QPointF(40, 120 + line * 15), QPointF(555, 120 + line * 15));
        painter.drawText(QPointF(42, 118 + line * 15), QStringLiteral("Example Ltd. - line %1 of the form").arg(line));
    }
    painter.drawRect(QRectF(40, 750, 515, 60));
    return path;
}

struct Job
{
    QByteArray bytes;
    SheetIndex document;
    Job()
    {
        const QString path = workFolder().filePath(QStringLiteral("report.prn"));
        BenchSupport::writeReportFile(path, Sheets);
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        bytes = file.readAll();
        document.build(QByteArrayView(bytes), PrinterSetup());
    }
};

const Job &job()
{
    static const Job made;
    return made;
}

// The processor time the process has used, in milliseconds: on a busy
// machine the wall clock measures the other processes too.
double processorMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double writePdf(const SheetForms &forms, const QString &target, double *processor = nullptr)
{
    const Job &source = job();
    PdfOptions options;
    options.pages = pageIndexes(0, source.document.sheetCount() - 1, source.document.sheetCount());
    options.forms = forms;
    QString error;
    QElapsedTimer timer;
    const double processorBefore = processorMs();
    timer.start();
    if (!PrintedPdfExport::save(target, [&](int i) { return source.document.sheet(i); }, options, &error))
        qFatal("%s", qPrintable(error));
    if (processor)
        *processor += processorMs() - processorBefore;
    return double(timer.nsecsElapsed()) / 1e6;
}

SheetForms loadedForm()
{
    SheetForms forms;
    QString error;
    if (!SheetForms::load({letterhead(), letterhead(), {}}, &forms, &error))
        qFatal("%s", qPrintable(error));
    return forms;
}

void BM_PdfWithoutForm(benchmark::State &state)
{
    for (auto _ : state)
        writePdf(SheetForms(), workFolder().filePath(QStringLiteral("plain.pdf")));
    state.counters["sheets"] = job().document.sheetCount();
}
BENCHMARK(BM_PdfWithoutForm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_PdfWithForm(benchmark::State &state)
{
    const SheetForms forms = loadedForm();
    for (auto _ : state)
        writePdf(forms, workFolder().filePath(QStringLiteral("form.pdf")));
    state.counters["sheets"] = job().document.sheetCount();
}
BENCHMARK(BM_PdfWithForm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Both in turn, so that the machine's load falls on both alike.
void BM_FormUnder100Sheets(benchmark::State &state)
{
    const SheetForms forms = loadedForm();
    const QString plain = workFolder().filePath(QStringLiteral("plain.pdf"));
    const QString withForm = workFolder().filePath(QStringLiteral("form.pdf"));
    double without = 0, with = 0, withoutProcessor = 0, withProcessor = 0;
    for (auto _ : state) {
        without += writePdf(SheetForms(), plain, &withoutProcessor);
        with += writePdf(forms, withForm, &withProcessor);
    }
    const double runs = double(state.iterations());
    state.counters["without_ms"] = without / runs;
    state.counters["with_ms"] = with / runs;
    state.counters["extra_pct"] = 100.0 * (with - without) / without;
    // The same in processor time, which the machine's load hardly moves.
    state.counters["extra_cpu_pct"] = 100.0 * (withProcessor - withoutProcessor) / withoutProcessor;
    state.counters["form_kB"] = double(QFileInfo(letterhead()).size()) / 1024;
    state.counters["grown_kB"] = double(QFileInfo(withForm).size() - QFileInfo(plain).size()) / 1024;
}
BENCHMARK(BM_FormUnder100Sheets)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    return BenchSupport::runBenchmarks(argc, argv);
}
