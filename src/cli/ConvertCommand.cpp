// sticker2 convert: the export dialog's outputs without a window.

#include "cli/CliProgress.h"
#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "escp/ForeignLanguage.h"
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
// them (from 0), in the order given; as the view holds them, between a
// leading and a closing 0.
// At most 254 marks: a workbook row holds 255 pieces.
constexpr int MostMarks = 254;

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
    marks->append(0);
    return marks->size() > 2;
}

bool given(const QCommandLineParser &parser, const char *name)
{
    return parser.isSet(QString::fromLatin1(name));
}

QString valueOf(const QCommandLineParser &parser, const char *name)
{
    return parser.value(QString::fromLatin1(name));
}

// What the command line asks for, read and checked before any work.
struct Conversion
{
    QString synopsis;
    QString in;
    QString out;
    bool toStdout = false;
    Target target = Target::RichText;
    bool printed = false; // the printed look's sheets, not the emphasis look's pages
    QString pages;
    ReportViewSettings settings = ReportViewSettings::read(); // the view's, with the options' changes
    std::optional<CodePage::Choice> codePage;
    ExportRequest request; // all but the pages and the print file's own settings
    ConvertBatch batch;
};

// The format: --to, or the output's ending. -1, or a usage error's status.
int chooseTarget(const QCommandLineParser &parser, Conversion &job)
{
    if (given(parser, "to")) {
        job.target = *exportFormatNamed(valueOf(parser, "to")); // checked by its row
    } else if (job.toStdout) {
        return CliSupport::usage(job.synopsis, QStringLiteral("writing to standard output needs --to html or --to txt"));
    } else {
        // A typo in the ending must not quietly give rich text: only a
        // format's own ending chooses it here (the export dialog keeps its
        // rule, rich text for any other name).
        job.target = exportFormatForOutput(job.out);
        // (A folder or a device given as OUT is refused later as such.)
        // An upper-case .TXT is rich text in the export dialog, as it always
        // was there: here it is asked, not guessed.
        if (job.target == Target::RichText && job.out.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
            return CliSupport::usage(job.synopsis,
                QStringLiteral("the ending of \"%1\" is not .txt in lower case, which the export dialog writes as "
                               "rich text: name the format with --to txt or --to rtf")
                    .arg(job.out));
        if (job.target == Target::RichText && !job.out.endsWith(QLatin1String(".rtf"), Qt::CaseInsensitive)
            && FileChecks::outputProblem(job.out).isEmpty())
            return CliSupport::usage(job.synopsis,
                QStringLiteral("the ending of \"%1\" names no format (.html, .htm, .txt, .rtf, .xls, .xlsx, .pdf, "
                               ".png): name one with --to")
                    .arg(job.out));
    }
    if (job.toStdout && !exportFormatInfo(job.target).standardOutput)
        return CliSupport::usage(job.synopsis, QStringLiteral("only a web page or plain text goes to standard output"));
    return -1;
}

// The options that belong to some formats and looks only. -1 when they fit
// the format, or a usage error's status.
int checkFit(const QCommandLineParser &parser, Conversion &job)
{
    const bool pdf = job.target == Target::Pdf;
    if (exportFormatInfo(job.target).wholeFile && job.pages.compare(QLatin1String("all"), Qt::CaseInsensitive) != 0)
        return CliSupport::usage(job.synopsis, QStringLiteral("a web page and a workbook always hold the whole file"));
    const bool printedLook = valueOf(parser, "look").compare(QLatin1String("printed"), Qt::CaseInsensitive) == 0;
    // The sheets for the formats that draw the look: always for pictures, for a PDF unless --look emphasis.
    const ExportLook formatLook = exportFormatInfo(job.target).look;
    job.printed = formatLook == ExportLook::Sheets || (formatLook == ExportLook::Shown && printedLook);
    if (given(parser, "look") && !pdf)
        return CliSupport::usage(job.synopsis, QStringLiteral("--look chooses the look of a PDF only"));
    if (!job.printed && (given(parser, "form-length") || given(parser, "carriage") || given(parser, "printer")))
        return CliSupport::usage(
            job.synopsis, QStringLiteral("--form-length, --carriage and --printer set the printed look only"));
    if ((given(parser, "paper") || given(parser, "landscape")) && !pdf)
        return CliSupport::usage(job.synopsis, QStringLiteral("--paper and --landscape choose a PDF's paper only"));
    if (given(parser, "dpi") && job.target != Target::Png)
        return CliSupport::usage(job.synopsis, QStringLiteral("--dpi sets the resolution of pictures only"));
    if (job.target == Target::Workbook && !given(parser, "marks"))
        return CliSupport::usage(job.synopsis, QStringLiteral("a workbook needs --marks"));
    if (job.target != Target::Workbook && given(parser, "marks"))
        return CliSupport::usage(job.synopsis, QStringLiteral("--marks cuts the lines of a workbook only"));
    if (given(parser, "rules") && (!pdf || job.toStdout))
        return CliSupport::usage(job.synopsis, job.batch.watchFolder.isEmpty()
                ? QStringLiteral("--rules makes a PDF file: --to pdf, and OUT not \"-\"")
                : QStringLiteral("--rules makes PDF files: --convert pdf"));
    return -1;
}

// The options' values into the request and the settings (each value was
// checked by its option's row). -1, or a usage error's status.
int readValues(const QCommandLineParser &parser, Conversion &job)
{
    ExportRequest &request = job.request;
    request.paper = given(parser, "paper") ? *PdfExport::paperFromName(valueOf(parser, "paper")) : PdfExport::defaultPaper();
    request.landscape = given(parser, "landscape");
    if (given(parser, "dpi"))
        request.dpi = valueOf(parser, "dpi").trimmed().toInt();
    if (job.target == Target::Workbook && !marksOf(valueOf(parser, "marks"), &request.columnMarks))
        return CliSupport::usage(job.synopsis,
            QStringLiteral("the marks \"%1\" are not columns 0 to 32767 separated by commas").arg(valueOf(parser, "marks")));
    if (request.columnMarks.size() - 2 > MostMarks)
        return CliSupport::usage(job.synopsis,
            QStringLiteral("%1 marks are more than the %2 a workbook takes").arg(request.columnMarks.size() - 2).arg(MostMarks));
    if (given(parser, "codepage"))
        job.codePage = CodePage::choiceFromName(valueOf(parser, "codepage"));
    for (const QString &key : ReportViewSettings::printerOptionKeys()) {
        if (parser.isSet(key) && !job.settings.setPrinterOption(key, parser.value(key)))
            return CliSupport::usage(job.synopsis, QStringLiteral("--%1 does not take \"%2\"").arg(key, parser.value(key)));
    }
    // The forms: the stored ones unless --form names others.
    FormChoice formChoice = job.settings.forms;
    const int formStatus = FormOptions::read(
        parser, job.synopsis, job.printed, job.target == Target::Pdf, &formChoice, &request.pdfInfo);
    if (formStatus >= 0)
        return formStatus;
    job.settings.forms = formChoice;
    return -1;
}

// The view's stored colours and code page.
void takeStoredLook(const ReportViewSettings &settings, ExportRequest &request)
{
    request.background = settings.reportBack;
    MarkupContext &context = request.render.markup;
    context.doubleWidth = settings.doubleWidth;
    context.bold = settings.bold;
    context.condensed = settings.condensed;
    context.codePage = settings.codePage;
}

// The chosen pages (or sheets) of one file written to `output`. False with
// the error; the output is kept only when it was made from one file.
bool writePages(Conversion &job, const ExportOutput &output, QString *error)
{
    ExportRequest &request = job.request;
    // Plain text reads the file in large blocks, the other outputs through the
    // map. The printed look's sheets are found by its own reading of the
    // file, so the file is not cut at form feeds first.
    // Only the plain text of every page may be the file's own bytes (when
    // every line end is a CR LF): only then does the cut note the line ends.
    const bool inBlocks = job.target == Target::PlainText && !job.printed;
    const bool everyPage = job.pages.trimmed().compare(QLatin1String("all"), Qt::CaseInsensitive) == 0;
    PageTable table;
    const bool loaded = job.printed ? table.open(job.in, error, PageTable::MapOnDemand)
                                    : table.load(job.in, error, inBlocks ? PageTable::MapOnDemand : PageTable::MapWhole,
                                        inBlocks && everyPage ? PageTable::NoteLineEnds : PageTable::IgnoreLineEnds);
    if (!loaded) {
        *error = QStringLiteral("%1: %2").arg(job.in, *error);
        return false;
    }
    CliProgress progress(job.in);
    // The printed look: the file interpreted as the printer prints it, the
    // chosen sheets drawn.
    SheetIndex document;
    if (job.printed) {
        document.build(QByteArrayView(table.bytes()), job.settings.printerSetup(),
            [&](qint64 done, qint64 total) { return progress.show(QStringLiteral("reading"), done, total); }, 0,
            table.mappedFile());
        request.source = PageSource::sheetsOf(
            table, [&document](int i) { return document.sheet(i); }, document.sheetCount());
    } else {
        request.source = PageSource::pagesOf(table);
    }
    if (!parsePageChoice(job.pages, request.source.count(), &request.chosen, error)) {
        *error = QStringLiteral("%1: %2").arg(job.in, *error);
        return false;
    }
    // Another program may cut the file short or write it anew meanwhile
    // (pictures made so far are taken away again).
    bool changed = false;
    const QString stage = job.target == Target::Pdf || job.target == Target::Png ? QStringLiteral("drawing")
                                                                                   : QStringLiteral("writing");
    request.progress = [&](qint64 done, qint64 total) {
        changed = changed || table.changed();
        return !changed && progress.show(stage, done, total);
    };
    const auto fromOneFile = [&](const ExportOutput &into, QString *reason) {
        const bool written = exportReport(job.target, request, into, reason);
        changed = changed || table.changed();
        return written && !changed;
    };
    bool ok = false;
    if (job.toStdout || job.target == Target::Png) {
        ok = fromOneFile(output, error);
    } else {
        const auto writer = [&](QIODevice &device, QString *reason) {
            return fromOneFile({ QString(), &device, QString() }, reason);
        };
        ok = ByteText::saveThrough(job.out, writer, error);
    }
    if (changed)
        *error = QStringLiteral("%1: changed while it was being read").arg(job.in);
    return ok && !changed;
}

// Converts one file as the job says.
int convertFile(Conversion &job)
{
    if (job.codePage)
        job.settings.codePage = job.codePage->resolveFile(job.in);
    takeStoredLook(job.settings, job.request);
    job.request.printFile = job.in;
    StandardOutput standardOutput;
    if (job.toStdout && !standardOutput.openOutput())
        return CliSupport::fail(QStringLiteral("standard output: %1").arg(standardOutput.errorString()));
    ExportOutput output;
    if (job.toStdout) {
        output.device = &standardOutput;
        output.deviceName = QStringLiteral("standard output");
    } else {
        output.path = job.out;
    }
    QString error;
    QStringList notes; // said once the output is written
    job.request.note = [&notes](const QString &note) { notes << note; };
    // The web page and the workbook read the file whole, as they go.
    const bool ok = exportFormatInfo(job.target).wholeFile ? exportReport(job.target, job.request, output, &error)
                                                           : writePages(job, output, &error);
    if (ok && job.toStdout && !standardOutput.finish())
        return CliSupport::fail(QStringLiteral("standard output: %1").arg(standardOutput.errorString()));
    if (!ok)
        return CliSupport::fail(error.isEmpty() ? QStringLiteral("%1: cannot be written").arg(job.out) : error);
    for (const QString &note : std::as_const(notes))
        CliSupport::report(QStringLiteral("%1: note: %2").arg(job.in, note));
    return int(CommandLine::Status::Done);
}

// Reads and checks the command line into the job: -1 to go on, else the
// status to exit with (a usage error or a failure printed).
int readConversion(const QStringList &arguments, QCommandLineParser &parser, Conversion &job)
{
    const bool watching = arguments.contains(QStringLiteral("--watch"));
    const CommandLine::Command &convert = CommandLine::command(CommandLine::CommandId::Convert);
    job.synopsis = CommandLine::command(watching ? CommandLine::CommandId::Watch : CommandLine::CommandId::Convert).usage();
    parser.addPositionalArgument(QStringLiteral("IN"), QStringLiteral("The print file."));
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("The file to write, or -."));
    int status = CliSupport::parse(parser, arguments, job.synopsis, convert.options, -1,
        QString::fromUtf8(convert.description));
    if (status < 0)
        status = job.batch.read(parser, job.synopsis);
    if (status < 0 && !job.batch.isSet())
        status = CliSupport::checkPositionals(parser, job.synopsis, 2);
    if (status >= 0)
        return status;
    job.in = job.batch.isSet() ? QString() : parser.positionalArguments().at(1);
    job.out = job.batch.isSet() ? QString() : parser.positionalArguments().at(2);
    job.toStdout = job.out == QLatin1String("-");
    job.pages = valueOf(parser, "pages");
    // Whatever the format, an output that is the input is refused first.
    QString error;
    if (!job.batch.isSet() && !job.toStdout && !CliSupport::checkOutput(job.out, &error, { job.in }))
        return CliSupport::fail(error);
    status = chooseTarget(parser, job);
    if (status < 0)
        status = checkFit(parser, job);
    if (status < 0)
        status = readValues(parser, job);
    if (status >= 0)
        return status;
    // Each form read and checked here, so a bad one fails before any work.
    if (!SheetForms::load(job.settings.forms, &job.request.render.forms, &error)) {
        // Named by no option, a stored form is said to be one, and how to do without it.
        if (!given(parser, "form"))
            error += QStringLiteral(" (a form stored with the report view's forms; --form , converts without forms)");
        return CliSupport::fail(error);
    }
    // A form is an input too.
    QStringList forms;
    for (const FormPage *form : job.request.render.forms.distinct())
        forms.append(form->filePath());
    if (!job.batch.isSet() && !job.toStdout && !CliSupport::checkOutput(job.out, &error, forms))
        return CliSupport::fail(error);
    return -1;
}

} // namespace

namespace CommandLine {

int runConvert(const QStringList &arguments)
{
    QCommandLineParser parser;
    Conversion job;
    const int status = readConversion(arguments, parser, job);
    if (status >= 0)
        return status;
    if (job.batch.isSet())
        return job.batch.watchFolder.isEmpty() ? runConvertBatch(job.batch) : runConvertWatch(job.batch);
    QString error;
    if (given(parser, "rules")) {
        if (!CliSupport::checkInput(job.in, &error) || !CliSupport::checkOutput(job.out, &error, { job.in }))
            return CliSupport::fail(error);
        return runConvertRules({ valueOf(parser, "rules"), valueOf(parser, "rules-origin"),
            valueOf(parser, "rules-plan"), job.in, job.out, job.codePage, ConvertRules::otherOptions(parser) });
    }
    if (!CliSupport::checkInput(job.in, &error) || (!job.toStdout && !CliSupport::checkOutput(job.out, &error, { job.in })))
        return CliSupport::fail(error);
    QStringList inputs {job.in};
    for (const FormPage *form : job.request.render.forms.distinct())
        inputs.append(form->filePath());
    if (job.toStdout && !CliSupport::checkStandardOutput(&error, inputs))
        return CliSupport::fail(error);
    // A job in another printer language (a client set up with the wrong
    // driver) is still converted: an office may want to see its bytes.
    // Said, so that its sheets of binary characters are not taken for a
    // fault of the conversion.
    const QString language = ForeignLanguage::ofFile(job.in);
    if (!language.isEmpty())
        CliSupport::report(QStringLiteral("%1: note: %2").arg(job.in, ForeignLanguage::note(language)));
    return convertFile(job);
}

} // namespace CommandLine
