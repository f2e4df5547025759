// sticker2 convert: the export dialog's outputs without a window.

#include "cli/CliProgress.h"
#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "escp/SheetIndex.h"
#include "cli/ConvertBatch.h"
#include "cli/ConvertRules.h"
#include "cli/FormOptions.h"
#include "cli/StandardOutput.h"
#include "export/ExportFormat.h"
#include "export/PdfExport.h"
#include "report/PageChoice.h"
#include "export/PngExport.h"
#include "export/ReportExporter.h"
#include "platform/ByteText.h"
#include "platform/FileChecks.h"
#include "report/PageTable.h"
#include "report/ReportMarkup.h"
#include "report/ReportViewSettings.h"

#include <QCommandLineParser>
#include <QFile>

namespace {


// The formats and how a name chooses one come from the export dialog's table.
using Target = ExportFormat;

// "10,25,40": the columns marked in the view, as its status line counts
// them (from 0), in the order given.
bool marksOf(const QString &text, QVector<int> *marks)
{
    marks->append(0);
    for (const QString &piece : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int column = piece.trimmed().toInt(&ok);
        if (!ok || column < 0 || column > 32767)
            return false;
        marks->append(column);
    }
    return marks->size() > 1 && marks->size() <= 255;
}

// The request `convert` fills: the print file, the view's stored colours
// and code page.
ExportRequest storedRequest(const QString &in, const ReportViewSettings &settings)
{
    ExportRequest request;
    request.printFile = in;
    request.background = settings.reportBack;
    MarkupContext &context = request.render.markup;
    context.doubleWidth = settings.doubleWidth;
    context.bold = settings.bold;
    context.condensed = settings.condensed;
    context.codePage = settings.codePage;
    return request;
}

} // namespace

namespace CommandLine {

int runConvert(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Converts the print file IN as the export dialog does: a web page, plain text, rich text, a "
        "workbook, a PDF or pictures, chosen from OUT's name (\".html\", \".txt\", \".xls\"/\".xlsx\", "
        "\".pdf\", \".png\", \".rtf\") or by --to (any other ending needs it). OUT \"-\" writes a web page or plain text "
        "to standard output. A PDF and pictures show the sheets as the printer prints them; pictures are "
        "one file per sheet, OUT-001.png, OUT-002.png ..."));
    const QCommandLineOption to(QStringLiteral("to"),
        QStringLiteral("The format: html, txt, rtf, xlsx, pdf or png."), QStringLiteral("format"));
    const QCommandLineOption pages(QStringLiteral("pages"),
        QStringLiteral("The pages of plain text, rich text and the PDF, the sheets of the printed look: all "
                       "(default), N or A-B."),
        QStringLiteral("pages"),
        QStringLiteral("all"));
    const QCommandLineOption marks(QStringLiteral("marks"),
        QStringLiteral("The workbook's column marks, as the view's status line counts columns: 10,25,..."),
        QStringLiteral("columns"));
    const QCommandLineOption paper(QStringLiteral("paper"),
        QStringLiteral("The PDF's paper: a4 or letter (default: $PAPERSIZE, LC_PAPER, /etc/papersize)."), QStringLiteral("paper"));
    const QCommandLineOption landscape(QStringLiteral("landscape"), QStringLiteral("The PDF's pages landscape."));
    const QCommandLineOption look(QStringLiteral("look"),
        QStringLiteral("The PDF's look: printed (default: the sheets as the printer prints them) or emphasis "
                       "(the pages with the view's emphasis colours, fitted to the paper)."),
        QStringLiteral("look"), QStringLiteral("printed"));
    const QCommandLineOption dpi(QStringLiteral("dpi"),
        QStringLiteral("The pictures' resolution in dots per inch (default 150)."), QStringLiteral("N"));
    const QCommandLineOption formLength(QStringLiteral("form-length"),
        QStringLiteral("The printed look's form length for files that set none, in inches (default: the "
                       "setting, 11; 12 for European fanfold)."),
        QStringLiteral("inches"));
    const QCommandLineOption carriage(QStringLiteral("carriage"),
        QStringLiteral("The printed look's carriage: wide (13.6 in) or narrow (8 in); a longer line wraps "
                       "(default: the setting, wide)."),
        QStringLiteral("carriage"));
    const QCommandLineOption printer = CliSupport::printerModelOption();
    const QCommandLineOption codePage = CliSupport::codePageOption();
    parser.addOptions({ to, pages, marks, look, paper, landscape, dpi, formLength, carriage, printer, codePage });
    const FormOptions formOptions;
    formOptions.addTo(parser);
    const ConvertBatch::Options batchOptions;
    batchOptions.addTo(parser);
    const ConvertRules::Options rulesOptions;
    rulesOptions.addTo(parser);
    parser.addPositionalArgument(QStringLiteral("IN"), QStringLiteral("The print file."));
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("The file to write, or -."));
    const bool watching = arguments.contains(QStringLiteral("--watch"));
    const QString Synopsis
        = command(watching ? CommandId::Watch : CommandId::Convert).synopsis;
    const int parsed = CliSupport::parse(parser, arguments, Synopsis, -1);
    if (parsed >= 0)
        return parsed;

    ConvertBatch batch;
    const int batchStatus = batch.read(parser, batchOptions, to, Synopsis);
    if (batchStatus >= 0)
        return batchStatus;
    const bool many = batch.isSet();
    if (!many) {
        const int count = CliSupport::checkPositionals(parser, Synopsis, 2);
        if (count >= 0)
            return count;
    }

    QString error;
    const QString in = many ? QString() : parser.positionalArguments().at(1);
    const QString out = many ? QString() : parser.positionalArguments().at(2);
    const bool toStdout = out == QLatin1String("-");
    // Whatever the format, an output that is the input is refused first.
    if (!many && !toStdout && !CliSupport::checkOutput(out, &error, { in }))
        return CliSupport::fail(error);
    Target target = Target::RichText;
    if (parser.isSet(to)) {
        const std::optional<Target> named = exportFormatNamed(parser.value(to));
        if (!named)
            return CliSupport::usage(Synopsis, QStringLiteral("unknown format \"%1\"").arg(parser.value(to)));
        target = *named;
    } else if (toStdout) {
        return CliSupport::usage(Synopsis, QStringLiteral("writing to standard output needs --to html or --to txt"));
    } else {
        // A typo in the ending must not quietly give rich text: only a
        // format's own ending chooses it here (the export dialog keeps its
        // rule, rich text for any other name).
        target = out.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive) ? Target::WebPage
                                                                           : exportFormatForName(out);
        // (A folder or a device given as OUT is refused below as such.)
        if (target == Target::RichText && !out.endsWith(QLatin1String(".rtf"), Qt::CaseInsensitive)
            && FileChecks::outputProblem(out).isEmpty())
            return CliSupport::usage(Synopsis,
                QStringLiteral("the ending of \"%1\" names no format (.html, .htm, .txt, .rtf, .xls, .xlsx, .pdf, .png): "
                               "name one with --to")
                    .arg(out));
    }
    if (toStdout && !exportFormatInfo(target).standardOutput)
        return CliSupport::usage(Synopsis, QStringLiteral("only a web page or plain text goes to standard output"));
    if (exportFormatInfo(target).wholeFile && parser.value(pages).compare(QLatin1String("all"), Qt::CaseInsensitive) != 0)
        return CliSupport::usage(Synopsis, QStringLiteral("a web page and a workbook always hold the whole file"));
    PdfOptions pdf;
    pdf.paper = PdfExport::defaultPaper();
    if (parser.isSet(paper)) {
        const std::optional<PdfPaper> named = PdfExport::paperFromName(parser.value(paper));
        if (!named)
            return CliSupport::usage(Synopsis,
                QStringLiteral("unknown paper \"%1\" for --paper (a4 or letter)").arg(parser.value(paper)));
        pdf.paper = *named;
    }
    pdf.landscape = parser.isSet(landscape);
    const QString lookName = parser.value(look).toLower();
    if (lookName != QLatin1String("printed") && lookName != QLatin1String("emphasis"))
        return CliSupport::usage(Synopsis,
            QStringLiteral("unknown look \"%1\" for --look (printed or emphasis)").arg(parser.value(look)));
    // The sheets for the formats that draw the look: always for pictures, for a PDF unless --look emphasis.
    const ExportLook formatLook = exportFormatInfo(target).look;
    const bool printed = formatLook == ExportLook::Sheets
        || (formatLook == ExportLook::Shown && lookName == QLatin1String("printed"));
    if (parser.isSet(look) && target != Target::Pdf)
        return CliSupport::usage(Synopsis, QStringLiteral("--look chooses the look of a PDF only"));
    if (!printed && (parser.isSet(formLength) || parser.isSet(carriage) || parser.isSet(printer)))
        return CliSupport::usage(Synopsis, QStringLiteral("--form-length, --carriage and --printer set the printed look only"));
    if (parser.isSet(dpi) && target != Target::Png)
        return CliSupport::usage(Synopsis, QStringLiteral("--dpi sets the resolution of pictures only"));
    PngOptions png;
    if (parser.isSet(dpi)) {
        bool ok = false;
        png.dpi = parser.value(dpi).toInt(&ok);
        if (!ok || png.dpi < PngExport::MinimumDpi || png.dpi > PngExport::MaximumDpi)
            return CliSupport::usage(Synopsis,
                QStringLiteral("the resolution \"%1\" is not %2 to %3 dots per inch")
                    .arg(parser.value(dpi))
                    .arg(PngExport::MinimumDpi)
                    .arg(PngExport::MaximumDpi));
    }
    QVector<int> columnMarks;
    if (target == Target::Workbook) {
        if (!parser.isSet(marks))
            return CliSupport::usage(Synopsis, QStringLiteral("a workbook needs --marks"));
        if (!marksOf(parser.value(marks), &columnMarks))
            return CliSupport::usage(Synopsis,
                QStringLiteral("the marks \"%1\" are not columns 0 to 32767 separated by commas")
                    .arg(parser.value(marks)));
    }

    ReportViewSettings settings = ReportViewSettings::read();
    std::optional<CodePage::Choice> chosenCodePage;
    if (parser.isSet(codePage)) {
        chosenCodePage = CliSupport::codePageNamed(parser.value(codePage), &error);
        if (!chosenCodePage)
            return CliSupport::usage(Synopsis, error);
    }
    if (parser.isSet(formLength)) {
        bool ok = false;
        const double inches = parser.value(formLength).toDouble(&ok);
        // Written so that NaN fails too: it compares false with every bound.
        if (!ok || !(inches >= ReportViewSettings::ShortestForm && inches <= ReportViewSettings::LongestForm))
            return CliSupport::usage(Synopsis,
                QStringLiteral("the form length \"%1\" is not %2 to %3 inches")
                    .arg(parser.value(formLength))
                    .arg(ReportViewSettings::ShortestForm)
                    .arg(ReportViewSettings::LongestForm));
        settings.formLengthInches = inches;
    }
    if (parser.isSet(carriage)) {
        const QString name = parser.value(carriage).toLower();
        if (name != QLatin1String("wide") && name != QLatin1String("narrow"))
            return CliSupport::usage(Synopsis,
                QStringLiteral("unknown carriage \"%1\" for --carriage (wide or narrow)").arg(parser.value(carriage)));
        settings.wideCarriage = name == QLatin1String("wide");
    }
    if (parser.isSet(printer)) {
        const std::optional<PrinterModel> model = CliSupport::printerModelNamed(parser.value(printer), &error);
        if (!model)
            return CliSupport::usage(Synopsis, error);
        settings.printerModel = *model;
    }
    if (parser.isSet(rulesOptions.rules) && (target != Target::Pdf || toStdout))
        return CliSupport::usage(Synopsis, QStringLiteral("--rules makes a PDF file: --to pdf, and OUT not \"-\""));
    // The forms: the stored ones unless --form names others; each read and
    // checked here, so a bad one fails before any work.
    FormChoice formChoice = settings.forms;
    PdfDocumentInfo pdfInfo;
    const int formStatus
        = formOptions.read(parser, Synopsis, printed, target == Target::Pdf, &formChoice, &pdfInfo);
    if (formStatus >= 0)
        return formStatus;
    SheetForms forms;
    if (!SheetForms::load(formChoice, &forms, &error))
        return CliSupport::fail(error);
    if (many)
        return batch.watchFolder.isEmpty() ? runConvertBatch(batch) : runConvertWatch(batch);
    if (parser.isSet(rulesOptions.rules)) {
        if (!CliSupport::checkInput(in, &error) || !CliSupport::checkOutput(out, &error, { in }))
            return CliSupport::fail(error);
        return runConvertRules({ parser.value(rulesOptions.rules), parser.value(rulesOptions.origin),
            parser.value(rulesOptions.plan), in, out, chosenCodePage,
            ConvertRules::otherOptions(parser, rulesOptions) });
    }
    if (!CliSupport::checkInput(in, &error) || (!toStdout && !CliSupport::checkOutput(out, &error, { in })))
        return CliSupport::fail(error);
    if (chosenCodePage)
        settings.codePage = CliSupport::resolveCodePage(*chosenCodePage, in);

    StandardOutput standardOutput;
    if (toStdout && !standardOutput.openOutput())
        return CliSupport::fail(QStringLiteral("standard output: %1").arg(standardOutput.errorString()));
    ExportOutput output;
    if (toStdout) {
        output.device = &standardOutput;
        output.deviceName = QStringLiteral("standard output");
    } else {
        output.path = out;
    }
    ExportRequest request = storedRequest(in, settings);
    request.paper = pdf.paper;
    request.landscape = pdf.landscape;
    request.dpi = png.dpi;
    request.columnMarks = columnMarks;
    request.render.forms = forms;
    request.pdfInfo = pdfInfo;

    bool ok = true;
    if (exportFormatInfo(target).wholeFile) {
        // The web page and the workbook read the file whole, as they go.
        ok = exportReport(target, request, output, &error);
    } else {
        PageTable table;
        if (!table.load(in, &error))
            return CliSupport::fail(QStringLiteral("%1: %2").arg(in, error));
        CliProgress progress(in);
        // The printed look: the file interpreted as the printer prints it,
        // the chosen sheets drawn.
        SheetIndex document;
        if (printed) {
            document.build(QByteArrayView(table.bytes()), settings.printerSetup(),
                [&](qint64 done, qint64 total) { return progress.show(QStringLiteral("reading"), done, total); });
            request.source = PageSource::sheetsOf(
                table, [&document](int i) { return document.sheet(i); }, document.sheetCount());
        } else {
            request.source = PageSource::pagesOf(table);
        }
        if (!parsePageChoice(parser.value(pages), request.source.count(), &request.chosen, &error))
            return CliSupport::fail(QStringLiteral("%1: %2").arg(in, error));
        // Another program may cut the file short or write it anew meanwhile:
        // the output is kept only when it was made from one file (pictures
        // made so far are taken away again).
        bool changed = false;
        const QString stage = target == Target::Pdf || target == Target::Png ? QStringLiteral("drawing")
                                                                                : QStringLiteral("writing");
        request.progress = [&](qint64 done, qint64 total) {
            changed = changed || table.changed();
            return !changed && progress.show(stage, done, total);
        };
        const auto fromOneFile = [&](const ExportOutput &into, QString *reason) {
            const bool written = exportReport(target, request, into, reason);
            changed = changed || table.changed();
            return written && !changed;
        };
        if (toStdout || target == Target::Png) {
            ok = fromOneFile(output, &error);
        } else {
            const auto writer = [&](QIODevice &device, QString *reason) {
                return fromOneFile({ QString(), &device, QString() }, reason);
            };
            ok = ByteText::saveThrough(out, writer, &error);
        }
        if (changed)
            return CliSupport::fail(QStringLiteral("%1: changed while it was being read").arg(in));
    }
    if (ok && toStdout && !standardOutput.finish())
        return CliSupport::fail(QStringLiteral("standard output: %1").arg(standardOutput.errorString()));
    if (!ok)
        return CliSupport::fail(error.isEmpty() ? QStringLiteral("%1: cannot be written").arg(out) : error);
    return int(Status::Done);
}

} // namespace CommandLine
