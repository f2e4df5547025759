// sticker2 convert: the export dialog's outputs without a window.

#include "cli/CliSupport.h"
#include "cli/ConvertBatch.h"
#include "export/ExportFormat.h"
#include "export/HtmlExport.h"
#include "export/PdfExport.h"
#include "export/PageChoice.h"
#include "export/PlainTextExport.h"
#include "export/RichTextExport.h"
#include "export/WorkbookExport.h"
#include "platform/OleColor.h"
#include "report/PageTable.h"
#include "report/ReportMarkup.h"
#include "report/ReportViewSettings.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

namespace {

const QString ConvertSynopsis = QStringLiteral(
    "sticker2 convert [--to html|txt|rtf|xlsx|pdf] [--pages all|N|A-B] [--marks C1,C2,...] "
    "[--paper a4|letter] [--landscape] [--codepage NAME] IN OUT|- | --to FORMAT --out-dir DIR [-j N] FILE...");
const QString WatchSynopsis = QStringLiteral(
    "sticker2 watch FOLDER --convert FORMAT --out DIR [--keep|--move] [-j N] [convert's OPTIONS]");

enum class Target { WebPage, PlainText, RichText, Workbook, Pdf };

bool isWorkbookName(const QString &name)
{
    return name.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive)
        || name.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
}

// The format as the export dialog chooses it from the name.
Target targetForName(const QString &name)
{
    if (isWorkbookName(name))
        return Target::Workbook;
    if (PdfExport::isPdfName(name))
        return Target::Pdf;
    switch (exportFormatForName(name)) {
    case ExportFormat::WebPage:
        return Target::WebPage;
    case ExportFormat::PlainText:
        return Target::PlainText;
    case ExportFormat::RichText:
        break;
    }
    return Target::RichText;
}

bool targetNamed(const QString &name, Target *target)
{
    static const QList<QPair<QString, Target>> names = { { QStringLiteral("html"), Target::WebPage },
        { QStringLiteral("txt"), Target::PlainText }, { QStringLiteral("rtf"), Target::RichText },
        { QStringLiteral("xlsx"), Target::Workbook }, { QStringLiteral("pdf"), Target::Pdf } };
    for (const auto &n : names) {
        if (n.first.compare(name, Qt::CaseInsensitive) == 0) {
            *target = n.second;
            return true;
        }
    }
    return false;
}

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

HtmlColours storedColours(const ReportViewSettings &settings)
{
    HtmlColours colours;
    colours.background = OleColor::fromColor(settings.reportBack);
    colours.dubble = OleColor::fromColor(settings.dubble);
    colours.bold = OleColor::fromColor(settings.bold);
    colours.condence = OleColor::fromColor(settings.condence);
    colours.codePage = settings.codePage;
    return colours;
}

MarkupContext storedMarkup(const ReportViewSettings &settings)
{
    MarkupContext context;
    context.dubble = settings.dubble;
    context.bold = settings.bold;
    context.condence = settings.condence;
    context.codePage = settings.codePage;
    return context;
}

} // namespace

namespace CommandLine {

int runConvert(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Converts the print file IN as the export dialog does: a web page, plain text, rich text, a "
        "workbook or a PDF, chosen from OUT's name (\".html\", \".txt\", \".xls\"/\".xlsx\", \".pdf\", "
        "anything else rich text) or by --to. OUT \"-\" writes a web page or plain text to standard output."));
    const QCommandLineOption to(QStringLiteral("to"), QStringLiteral("The format: html, txt, rtf, xlsx or pdf."),
        QStringLiteral("format"));
    const QCommandLineOption pages(QStringLiteral("pages"),
        QStringLiteral("The pages of plain text, rich text and PDF: all (default), N or A-B."), QStringLiteral("pages"),
        QStringLiteral("all"));
    const QCommandLineOption marks(QStringLiteral("marks"),
        QStringLiteral("The workbook's column marks, as the view's status line counts columns: 10,25,..."),
        QStringLiteral("columns"));
    const QCommandLineOption paper(QStringLiteral("paper"),
        QStringLiteral("The PDF's paper: a4 or letter (default: the locale's)."), QStringLiteral("paper"));
    const QCommandLineOption landscape(QStringLiteral("landscape"), QStringLiteral("The PDF's pages landscape."));
    const QCommandLineOption codePage = CliSupport::codePageOption();
    parser.addOptions({ to, pages, marks, paper, landscape, codePage });
    const ConvertBatch::Options batchOptions;
    batchOptions.addTo(parser);
    parser.addPositionalArgument(QStringLiteral("IN"), QStringLiteral("The print file."));
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("The file to write, or -."));
    const bool watching = arguments.contains(QStringLiteral("--watch"));
    const QString &Synopsis = watching ? WatchSynopsis : ConvertSynopsis;
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

    const QString in = many ? QString() : parser.positionalArguments().at(1);
    const QString out = many ? QString() : parser.positionalArguments().at(2);
    const bool toStdout = out == QLatin1String("-");
    Target target = Target::RichText;
    if (parser.isSet(to)) {
        if (!targetNamed(parser.value(to), &target))
            return CliSupport::usage(Synopsis, QStringLiteral("unknown format \"%1\"").arg(parser.value(to)));
    } else if (toStdout) {
        return CliSupport::usage(Synopsis, QStringLiteral("writing to standard output needs --to html or --to txt"));
    } else {
        target = targetForName(out);
    }
    if (toStdout && target != Target::WebPage && target != Target::PlainText)
        return CliSupport::usage(Synopsis, QStringLiteral("only a web page or plain text goes to standard output"));
    const bool wholeFile = target == Target::WebPage || target == Target::Workbook;
    if (wholeFile && parser.value(pages).compare(QLatin1String("all"), Qt::CaseInsensitive) != 0)
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
    QVector<int> columnMarks;
    if (target == Target::Workbook) {
        if (!parser.isSet(marks))
            return CliSupport::usage(Synopsis, QStringLiteral("a workbook needs --marks"));
        if (!marksOf(parser.value(marks), &columnMarks))
            return CliSupport::usage(Synopsis,
                QStringLiteral("the marks \"%1\" are not columns 0 to 32767 separated by commas")
                    .arg(parser.value(marks)));
    }

    QString error;
    ReportViewSettings settings = ReportViewSettings::read();
    if (parser.isSet(codePage)) {
        const std::optional<CodePage::Id> id = CliSupport::codePageNamed(parser.value(codePage), &error);
        if (!id)
            return CliSupport::usage(Synopsis, error);
        settings.codePage = *id;
    }
    if (many)
        return batch.watchFolder.isEmpty() ? runConvertBatch(batch) : runConvertWatch(batch);
    if (!CliSupport::checkInput(in, &error) || (!toStdout && !CliSupport::checkOutput(out, &error)))
        return CliSupport::fail(error);

    bool ok = true;
    QFile standardOutput;
    if (toStdout && !CliSupport::openStandardOutput(&standardOutput))
        return CliSupport::fail(QStringLiteral("standard output: %1").arg(standardOutput.errorString()));

    if (target == Target::WebPage) {
        if (toStdout) {
            QFile file(in);
            ok = file.open(QIODevice::ReadOnly);
            if (!ok)
                error = QStringLiteral("%1: %2").arg(in, file.errorString());
            else
                ok = expHTml(file, standardOutput, storedColours(settings), &error);
        } else {
            ok = expHTml(in, out, storedColours(settings), &error);
        }
    } else if (target == Target::Workbook) {
        ok = WorkbookExport::write(
            in, out, columnMarks, WorkbookExport::Progress(), &error, settings.codePage);
    } else {
        PageTable table;
        QVector<int> chosen;
        if (!table.load(in, &error))
            return CliSupport::fail(QStringLiteral("%1: %2").arg(in, error));
        if (!parsePageChoice(parser.value(pages), table.PageCount(), &chosen, &error))
            return CliSupport::fail(QStringLiteral("%1: %2").arg(in, error));
        if (target == Target::Pdf) {
            pdf.pages = chosen;
            pdf.title = QFileInfo(in).fileName();
            pdf.render.markup = storedMarkup(settings);
            ok = PdfExport::save(out, table, pdf, &error);
        } else if (target == Target::PlainText) {
            ok = toStdout ? writePlainText(standardOutput, table, chosen, &error, settings.codePage)
                          : savePlainText(out, table, chosen, &error, settings.codePage);
        } else {
            ok = saveRichText(out, table, chosen, storedMarkup(settings), &error);
        }
    }
    if (!ok)
        return CliSupport::fail(error.isEmpty() ? QStringLiteral("%1: cannot be written").arg(out) : error);
    return int(Status::Done);
}

} // namespace CommandLine
