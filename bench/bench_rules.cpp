// The rules over a 100-sheet job against converting the same job to a PDF
// (the sheets as printed), in the same run: matching must stay under 5 % of
// the conversion. The rules are an office's few, the last of them the one
// that matches, so that every pattern searches the whole job.
// Run from the build folder: QT_QPA_PLATFORM=offscreen bench/bench_rules

#include "BenchSupport.h"
#include "escp/SheetIndex.h"
#include "report/PageChoice.h"
#include "export/PdfExport.h"
#include "export/PrintedPdfExport.h"
#include "rules/RuleMatcher.h"
#include "rules/RulePlan.h"
#include "rules/RuleSet.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Sheets = 100;

QTemporaryDir &workFolder()
{
    static QTemporaryDir dir;
    return dir;
}

// 100 invoice sheets of 66 lines, each ending in a form feed; the invoice
// number is on the last sheet.
const QString &jobPath()
{
    static QString path;
    if (path.isEmpty()) {
        QByteArray bytes = "\x1b@";
        for (int sheet = 0; sheet < Sheets; ++sheet) {
            bytes += "\x1b" "EACME GmbH\x1b" "F      Seite " + QByteArray::number(sheet + 1) + "\r\n";
            for (int line = 1; line < 65; ++line)
                bytes += "  " + QByteArray::number(10000 + line) + "  Schrauben M4x20 verzinkt   100 Stk     12,50     1.250,00\r\n";
            bytes += sheet == Sheets - 1 ? "  Rechnung Nr. REI20417   an: buchhaltung@kunde.example\r\n\f" : "\r\n\f";
        }
        path = workFolder().filePath(QStringLiteral("job.prn"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    return path;
}

const QByteArray Rules = "[Delivery notes]\nmatch = Lieferschein +Nr\\. +(?<note>LS\\d+)\n"
                         "[Orders]\nmatch = (?i)bestellung\\s+(?<order>\\d{6})\n"
                         "[Reminders]\nmatch = Mahnung.*(?<level>\\d)\\. Stufe\n"
                         "[Quotes]\ncodepage = cp850\nmatch = Angebot +(?<quote>AN-\\d+)\n"
                         "[Invoices]\nmatch = Rechnung +Nr\\. +(?<invoice>REI\\d+)(?s).*an: (?<to>\\S+@\\S+)\n"
                         "name = {date}_{invoice}.pdf\nmail-to = {to}\n";

double conversionMs = 0;

void BM_RulesReferencePdf(benchmark::State &state)
{
    const QString target = workFolder().filePath(QStringLiteral("job.pdf"));
    QFile file(jobPath());
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    QElapsedTimer timer;
    for (auto _ : state) {
        timer.start();
        SheetIndex document;
        document.build(QByteArrayView(bytes), PrinterSetup());
        PdfOptions options;
        options.pages = pageIndexes(0, document.sheetCount() - 1, document.sheetCount());
        QString error;
        if (!PrintedPdfExport::save(target, [&](int i) { return document.sheet(i); }, options, &error))
            state.SkipWithError(qPrintable(error));
        conversionMs = timer.nsecsElapsed() / 1e6;
        state.counters["sheets"] = document.sheetCount();
    }
}
BENCHMARK(BM_RulesReferencePdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_RulesMatch(benchmark::State &state)
{
    RuleSet rules;
    QList<RuleFault> faults;
    if (!RuleSet::parse(Rules, QStringLiteral("rules.conf"), &rules, &faults))
        state.SkipWithError("the rules have faults");
    QElapsedTimer timer;
    double matchMs = 0;
    for (auto _ : state) {
        timer.start();
        RuleJob job;
        QString error;
        job.load(jobPath(), &error);
        const RuleMatch match = matchRules(rules, job, {});
        const RulePlan plan = planFor(rules, match, job);
        benchmark::DoNotOptimize(plan.fileName);
        if (plan.fields.value(QStringLiteral("invoice")) != QLatin1String("REI20417"))
            state.SkipWithError("the invoice rule did not match");
        matchMs = timer.nsecsElapsed() / 1e6;
    }
    state.counters["percent_of_pdf"] = conversionMs > 0 ? 100.0 * matchMs / conversionMs : 0;
}
BENCHMARK(BM_RulesMatch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    return BenchSupport::runBenchmarks(argc, argv);
}
