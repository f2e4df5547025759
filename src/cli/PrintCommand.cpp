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

namespace CommandLine {

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
    const int pitch = parser.value(QStringLiteral("cpi")).toInt();
    RawJobOptions options;
    QString error;
    paperHeightOf(parser.value(QStringLiteral("paper-height")), &options.paperHeight, &error);
    PrinterSetup setup = ReportViewSettings::read().printerSetup();
    if (parser.isSet(QStringLiteral("printer-model")))
        setup.model = *PrinterModels::fromName(parser.value(QStringLiteral("printer-model")));
    options.printerName = parser.value(QStringLiteral("printer"));
    options.draft = !parser.isSet(QStringLiteral("no-draft"));
    options.panel.ch12 = pitch == 12;
    options.panel.ch17 = pitch == 17;
    options.panel.copies = QString::number(parser.value(QStringLiteral("copies")).trimmed().toInt());
    options.panel.extraLine = parser.isSet(QStringLiteral("extra-line"));

    const QString in = parser.positionalArguments().at(1);
    if (!CliSupport::checkInput(in, &error))
        return CliSupport::fail(error);

    // A page choice goes out as the panel's range file: each page followed
    // by its form feed, under the panel's name for it.
    QString file = in;
    QTemporaryDir folder(QDir(AppPaths::privateTempFolder()).filePath(QStringLiteral("print-XXXXXX")));
    if (parser.value(QStringLiteral("pages")).compare(QLatin1String("all"), Qt::CaseInsensitive) != 0) {
        PageTable table;
        QVector<int> sheets;
        if (!table.load(in, &error))
            return CliSupport::fail(QStringLiteral("%1: %2").arg(in, error));
        // The sheets of the printed look, counted as convert and the view
        // count them; the pages they were printed from go out.
        SheetIndex printed;
        printed.build(QByteArrayView(table.bytes()), setup);
        if (!parsePageChoice(parser.value(QStringLiteral("pages")), printed.sheetCount(), &sheets, &error))
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
