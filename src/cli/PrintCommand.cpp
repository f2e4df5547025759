// sticker2 print: the print panel's character-mode job without a window.

#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "report/PageChoice.h"
#include "platform/AppPaths.h"
#include "platform/ByteText.h"
#include "platform/FileStamp.h"
#include "printing/CupsSpooler.h"
#include "printing/RawJobThread.h"
#include "printing/RawPrinting.h"
#include "escp/SheetIndex.h"
#include "report/PageTable.h"
#include "report/ReportViewSettings.h"
#include "report/SheetPages.h"

#include <QCommandLineParser>
#include <QDir>
#include <QTemporaryDir>

namespace {

const QString Synopsis = CommandLine::command(CommandLine::CommandId::Print).synopsis;

bool wholeNumber(const QString &text, int low, int high, int *value)
{
    bool ok = false;
    *value = text.trimmed().toInt(&ok);
    return ok && *value >= low && *value <= high;
}

} // namespace

namespace CommandLine {

int runPrint(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Sends the print file IN to a printer as raw bytes, as the report view's print panel does in "
        "character mode: the setup sequences, then the file's lines with CR LF, once per copy."));
    const QCommandLineOption printer({ QStringLiteral("d"), QStringLiteral("printer") },
        QStringLiteral("The CUPS queue (default: the default destination)."), QStringLiteral("queue"));
    const QCommandLineOption pages(QStringLiteral("pages"),
        QStringLiteral("all (default: the file as it is), N or A-B: those sheets of the printed look, as convert "
                       "and the view count them; the pages they were printed from go out, each with its form feed."),
        QStringLiteral("pages"), QStringLiteral("all"));
    const QCommandLineOption draft(QStringLiteral("draft"), QStringLiteral("Draft quality (the default)."));
    const QCommandLineOption noDraft(QStringLiteral("no-draft"), QStringLiteral("Letter quality."));
    const QCommandLineOption cpi(QStringLiteral("cpi"),
        QStringLiteral("Characters per inch: 10 (default), 12 or 17 (condensed)."), QStringLiteral("pitch"),
        QStringLiteral("10"));
    const QCommandLineOption paperHeight(QStringLiteral("paper-height"),
        QStringLiteral("The page length in inches, 0 to 255 (default 0)."), QStringLiteral("inches"),
        QStringLiteral("0"));
    const QCommandLineOption copies(QStringLiteral("copies"), QStringLiteral("Copies, 1 or more (default 1)."),
        QStringLiteral("count"), QStringLiteral("1"));
    const QCommandLineOption extraLine(QStringLiteral("extra-line"),
        QStringLiteral("One more line end after the first line."));
    // Taken for a command line shared with view and convert; the printer has
    // its own code page, so the bytes go out as they are whatever it names.
    const QCommandLineOption codePage = CliSupport::codePageOption();
    // -d/--printer names the queue here: the model that counts the sheets
    // has a name of its own.
    const QCommandLineOption model(QStringLiteral("printer-model"),
        QStringLiteral("The printer the file was written for, as the sheets are counted: auto (default: the "
                       "setting), 9-pin, 24-pin or escp2."),
        QStringLiteral("model"));
    parser.addOptions({ printer, pages, draft, noDraft, cpi, paperHeight, copies, extraLine, codePage, model });
    parser.addPositionalArgument(QStringLiteral("IN"), QStringLiteral("The print file."));
    const int parsed = CliSupport::parse(parser, arguments, Synopsis, 1);
    if (parsed >= 0)
        return parsed;

    if (parser.isSet(draft) && parser.isSet(noDraft))
        return CliSupport::usage(Synopsis, QStringLiteral("--draft and --no-draft together"));
    int pitch = 0;
    int copyCount = 0;
    if (!wholeNumber(parser.value(cpi), 10, 17, &pitch) || (pitch != 10 && pitch != 12 && pitch != 17))
        return CliSupport::usage(Synopsis, QStringLiteral("--cpi takes 10, 12 or 17"));
    if (!wholeNumber(parser.value(copies), 1, 1000000, &copyCount))
        return CliSupport::usage(Synopsis, QStringLiteral("--copies takes a whole number of 1 or more"));
    RawJobOptions options;
    QString error;
    if (parser.isSet(codePage) && !CliSupport::codePageNamed(parser.value(codePage), &error))
        return CliSupport::usage(Synopsis, error);
    if (!paperHeightOf(parser.value(paperHeight), &options.paperHeight, &error))
        return CliSupport::usage(Synopsis, error);
    PrinterSetup setup = ReportViewSettings::read().printerSetup();
    if (parser.isSet(model)) {
        const std::optional<PrinterModel> named = CliSupport::printerModelNamed(parser.value(model), &error);
        if (!named)
            return CliSupport::usage(Synopsis, error);
        setup.model = *named;
    }
    options.printerName = parser.value(printer);
    options.draft = !parser.isSet(noDraft);
    options.panel.ch12 = pitch == 12;
    options.panel.ch17 = pitch == 17;
    options.panel.copies = QString::number(copyCount);
    options.panel.extraLine = parser.isSet(extraLine);

    const QString in = parser.positionalArguments().at(1);
    if (!CliSupport::checkInput(in, &error))
        return CliSupport::fail(error);

    // A page choice goes out as the panel's range file: each page followed
    // by its form feed, under the panel's name for it.
    QString file = in;
    QTemporaryDir folder(QDir(AppPaths::privateTempFolder()).filePath(QStringLiteral("print-XXXXXX")));
    if (parser.value(pages).compare(QLatin1String("all"), Qt::CaseInsensitive) != 0) {
        PageTable table;
        QVector<int> sheets;
        if (!table.load(in, &error))
            return CliSupport::fail(QStringLiteral("%1: %2").arg(in, error));
        // The sheets of the printed look, counted as convert and the view
        // count them; the pages they were printed from go out.
        SheetIndex printed;
        printed.build(QByteArrayView(table.bytes()), setup);
        if (!parsePageChoice(parser.value(pages), printed.sheetCount(), &sheets, &error))
            return CliSupport::fail(QStringLiteral("%1: %2").arg(in, error));
        const QVector<int> chosen = pagesOfSheets(table, printed, sheets);
        if (!folder.isValid())
            return CliSupport::fail(QStringLiteral("no temporary folder: %1").arg(folder.errorString()));
        QByteArray bytes;
        for (int i : chosen)
            bytes += table.pageBytes(i) + '\f';
        if (table.changed()) // the pages would mix the old file and the new
            return CliSupport::fail(QStringLiteral("%1: %2").arg(in, FileStamp::changedText()));
        file = folder.filePath(QStringLiteral("RANGE.prn"));
        if (!ByteText::writeFile(file, bytes, &error))
            return CliSupport::fail(QStringLiteral("%1: %2").arg(file, error));
    }

    // A spooler that takes nothing for 30 s is given up on, as in the window.
    RawJobFailure failure;
    if (!RawJobThread::run(std::make_shared<CupsSpooler>(), file, options, &failure)) {
        if (failure.kind == RawJobFailure::UnknownPrinter && failure.printerName.isEmpty())
            return CliSupport::fail(QStringLiteral("%1: no printer given and no default destination").arg(in));
        if (failure.kind == RawJobFailure::UnknownPrinter)
            return CliSupport::fail(QStringLiteral("%1: no such printer \"%2\"").arg(in, failure.printerName));
        if (failure.kind == RawJobFailure::NoServer) {
            QString cause = failure.error.description; // "The print server X does not answer."
            cause[0] = cause[0].toLower();
            return CliSupport::fail(QStringLiteral("%1: %2").arg(in, cause.chopped(cause.endsWith(QLatin1Char('.')) ? 1 : 0)));
        }
        if (failure.kind == RawJobFailure::Changed)
            return CliSupport::fail(QStringLiteral("%1: %2").arg(in, FileStamp::changedText()));
        if (failure.kind == RawJobFailure::RunTime)
            return CliSupport::fail(QStringLiteral("%1: %2 (%3)").arg(in, failure.error.description, failure.error.source));
        return CliSupport::fail(QStringLiteral("%1: %2").arg(in, failure.message));
    }
    return int(Status::Done);
}

} // namespace CommandLine
