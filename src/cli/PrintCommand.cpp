// sticker2 print: the print panel's character-mode job without a window.

#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/StopSignals.h"
#include "report/PageChoice.h"
#include "platform/AppPaths.h"
#include "platform/ByteText.h"
#include "platform/FileStamp.h"
#include "printing/CupsSpooler.h"
#include "printing/PrinterList.h"
#include "printing/RawJobThread.h"
#include "printing/RawPrinting.h"
#include "escp/SheetIndex.h"
#include "report/PageTable.h"
#include "report/ReportViewSettings.h"
#include "report/SheetPages.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>

namespace CommandLine {

namespace {

// The print options of the command line as a raw job's; the printer model
// the pages are counted with into `setup`.
void readPrintOptions(const QCommandLineParser &parser, RawJobOptions *options, PrinterSetup *setup)
{
    const int pitch = parser.value(QStringLiteral("cpi")).toInt();
    QString error;
    paperHeightOf(parser.value(QStringLiteral("paper-height")), &options->paperHeight, &error);
    ReportViewSettings settings = ReportViewSettings::read();
    if (parser.isSet(QStringLiteral("printer-model"))) // (--printer names the queue)
        settings.setPrinterOption(QStringLiteral("printer"), parser.value(QStringLiteral("printer-model")));
    *setup = settings.printerSetup();
    options->printerName = parser.value(QStringLiteral("printer"));
    options->draft = !parser.isSet(QStringLiteral("no-draft"));
    options->panel.ch12 = pitch == 12;
    options->panel.ch17 = pitch == 17;
    options->panel.copies = QString::number(parser.value(QStringLiteral("copies")).trimmed().toInt());
    options->panel.extraLine = parser.isSet(QStringLiteral("extra-line"));
}

// A page choice goes out as the panel's range file: each page followed by
// its form feed, under the panel's name for it, in `folder`. -1 with the
// file to print in `file`, else the status to exit with (a failure printed).
int writeChosenPages(const QString &in, const QString &pages, const PrinterSetup &setup,
    const QTemporaryDir &folder, QString *file)
{
    PageTable table;
    QVector<int> sheets;
    QString error;
    if (!table.load(in, &error))
        return CliSupport::fail(QStringLiteral("%1: %2").arg(in, error));
    // The sheets of the printed look, counted as convert and the view
    // count them; the pages they were printed from go out.
    SheetIndex printed;
    printed.build(QByteArrayView(table.bytes()), setup);
    if (!parsePageChoice(pages, printed.sheetCount(), &sheets, &error))
        return CliSupport::fail(QStringLiteral("%1: %2").arg(in, error));
    const QVector<int> chosen = pagesOfSheets(table, printed, sheets);
    if (!folder.isValid())
        return CliSupport::fail(QStringLiteral("no temporary folder: %1").arg(folder.errorString()));
    QByteArray bytes;
    for (int i : chosen)
        bytes += table.pageBytes(i) + '\f';
    if (table.changed()) // the pages would mix the old file and the new
        return CliSupport::fail(QStringLiteral("%1: %2").arg(in, FileStamp::changedText()));
    *file = folder.filePath(QStringLiteral("RANGE.prn"));
    if (!ByteText::writeFile(*file, bytes, &error))
        return CliSupport::fail(QStringLiteral("%1: %2").arg(*file, error));
    return -1;
}

// The one line a job that did not go out ends with, naming the print file.
QString failureLine(const QString &in, const RawJobFailure &failure)
{
    if (failure.kind == RawJobFailure::UnknownPrinter && failure.printerName.isEmpty()) {
        // The environment's choice comes before the server's default, as lp takes it.
        for (const char *variable : {"LPDEST", "PRINTER"}) {
            const QString named = qEnvironmentVariable(variable);
            if (!named.isEmpty())
                return QStringLiteral("%1: no printer given, and %2 names \"%3\", which is no queue")
                    .arg(in, QLatin1String(variable), named);
        }
        return QStringLiteral("%1: no printer given and no default destination").arg(in);
    }
    if (failure.kind == RawJobFailure::UnknownPrinter)
        return QStringLiteral("%1: no such printer \"%2\"").arg(in, failure.printerName);
    if (failure.kind == RawJobFailure::NoServer) // "The print server X does not answer."
        return QStringLiteral("%1: %2").arg(in, CliSupport::asClause(failure.error.description));
    if (failure.kind == RawJobFailure::Changed)
        return QStringLiteral("%1: %2").arg(in, FileStamp::changedText());
    if (failure.kind == RawJobFailure::RunTime)
        return QStringLiteral("%1: %2 (%3)").arg(in, failure.error.description, failure.error.source);
    return QStringLiteral("%1: %2").arg(in, failure.message);
}

QString signalName(int signal)
{
    switch (signal) {
    case SIGINT: return QStringLiteral("SIGINT");
    case SIGHUP: return QStringLiteral("SIGHUP");
    default: return QStringLiteral("SIGTERM");
    }
}

} // namespace

int runPrint(const QStringList &arguments)
{
    const Command &print = command(CommandId::Print);
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("IN"), QStringLiteral("The print file."));
    const int parsed = CliSupport::parse(parser, arguments, print, 1);
    if (parsed >= 0)
        return parsed;

    // Each value is checked by its option's row; what is left is how they go together.
    if (parser.isSet(QStringLiteral("draft")) && parser.isSet(QStringLiteral("no-draft")))
        return CliSupport::usage(print.usage(), QStringLiteral("--draft and --no-draft together"));
    RawJobOptions options;
    PrinterSetup setup;
    readPrintOptions(parser, &options, &setup);

    const QString in = parser.positionalArguments().at(1);
    QString error;
    if (!CliSupport::checkInput(in, &error))
        return CliSupport::fail(error);

    // A print stopped (Ctrl+C, SIGTERM, the session's end) cancels the job
    // it began in the spooler; else the server keeps it waiting for the
    // rest for many minutes.
    StopSignals stopSignals;
    int stopSignal = 0;
    QString file = in;
    // (Made by mkdtemp: the shared temporary folder serves where the
    // private one cannot be made.)
    const QString privateFolder = AppPaths::privateTempFolder();
    QTemporaryDir folder(QDir(privateFolder.isEmpty() ? QDir::tempPath() : privateFolder)
                             .filePath(QStringLiteral("print-XXXXXX")));
    const QString pages = parser.value(QStringLiteral("pages"));
    if (pages.compare(QLatin1String("all"), Qt::CaseInsensitive) != 0) {
        const int status = writeChosenPages(in, pages, setup, folder, &file);
        if (status >= 0)
            return status;
        options.documentName = QFileInfo(in).fileName(); // the queue shows the file, not its pages' file
    }

    // A print server that takes the connection and then never answers is
    // told as such at once, not after 30 s as a printer that takes nothing.
    const PrinterList server = PrinterList::fetch();
    if (server.timedOut)
        return CliSupport::fail(QStringLiteral("%1: %2").arg(in, CliSupport::asClause(server.error)));
    // A spooler that takes nothing for 30 s is given up on, as in the window.
    RawJobFailure failure;
    const auto stopRequested = [&] { return stopSignal != 0 || (stopSignal = stopSignals.received()) != 0; };
    const auto spooler = std::make_shared<CupsSpooler>();
    if (!RawJobThread::run(spooler, file, options, &failure, stopRequested)) {
        if (stopSignal != 0)
            return CliSupport::fail(
                QStringLiteral("%1: stopped by %2; nothing of it prints").arg(in, signalName(stopSignal)));
        return CliSupport::fail(failureLine(in, failure));
    }
    // A stop that came as the last bytes went (the job had printed whole,
    // and the signal then ended the program without a word): the job is
    // taken back if it has not printed yet.
    if (stopRequested()) {
        if (spooler->cancelFinishedJob())
            return CliSupport::fail(
                QStringLiteral("%1: stopped by %2; nothing of it prints").arg(in, signalName(stopSignal)));
        CliSupport::report(QStringLiteral("%1: stopped by %2 when the job had gone to the printer whole; it prints")
                               .arg(in, signalName(stopSignal)));
    }
    return int(Status::Done);
}

} // namespace CommandLine
