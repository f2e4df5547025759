// sticker2 stickers: a stored format's character-mode sheet without a window.

#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/StandardOutput.h"
#include "platform/OutputFile.h"
#include "platform/NumericText.h"
#include "sticker/CharSheetWriter.h"
#include "sticker/CsvTable.h"
#include "sticker/FormatStore.h"
#include "sticker/StickerFields.h"
#include "sticker/WindowSheetPdf.h"

#include <QCommandLineParser>
#include <QFile>

namespace {

const QString Synopsis = CommandLine::command(CommandLine::CommandId::Stickers).synopsis;


} // namespace

namespace CommandLine {

int runStickers(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes the character-mode sticker sheet of a stored format slot, loaded as the sticker form "
        "loads it, as a print file."));
    const QCommandLineOption slot(QStringLiteral("slot"), QStringLiteral("The format slot, 0 to 7."),
        QStringLiteral("N"));
    const QCommandLineOption output({ QStringLiteral("o"), QStringLiteral("output") },
        QStringLiteral("The print file to write, or - for standard output."), QStringLiteral("FILE"));
    const QCommandLineOption pages(QStringLiteral("pages"),
        QStringLiteral("Pages of stickers (default: the slot's own)."), QStringLiteral("N"));
    const QCommandLineOption digits(QStringLiteral("digits"),
        QStringLiteral("Running numbers padded with zeros to D digits (0 to 20)."), QStringLiteral("D"));
    const QCommandLineOption data(QStringLiteral("data"),
        QStringLiteral("A CSV file: one sticker per row, {Column} in a line takes its value."),
        QStringLiteral("FILE.csv"));
    const QCommandLineOption pdf(QStringLiteral("pdf"),
        QStringLiteral("Draws the Windows-mode sheet into this PDF instead of writing a print file."),
        QStringLiteral("OUT.pdf"));
    const QCommandLineOption start(QStringLiteral("start"),
        QStringLiteral("With --pdf: the first free sticker of a part-used sheet (from 1)."), QStringLiteral("K"));
    const QCommandLineOption barcode(QStringLiteral("barcode"),
        QStringLiteral("With --pdf: the numbered line as code128, code39, ean13, qr or none."),
        QStringLiteral("KIND"));
    const QCommandLineOption codePage(QStringLiteral("codepage"),
        QStringLiteral("The printer's code page the sheet is written in (default: the slot's, cp1252 unless "
                       "chosen): %1.")
            .arg(CodePage::names()),
        QStringLiteral("name"));
    const QCommandLineOption delimiter(QStringLiteral("delimiter"),
        QStringLiteral("With --data: comma, semicolon or tab (default: the one the header line uses)."),
        QStringLiteral("NAME"));
    const QCommandLineOption dataEncoding(QStringLiteral("data-encoding"),
        QStringLiteral("With --data: the file's encoding, such as %1 (default: UTF-8, else Windows-1252; "
                       "a byte-order mark decides).")
            .arg(CsvTable::encodingNames().join(QStringLiteral(", "))),
        QStringLiteral("NAME"));
    parser.addOptions({ slot, output, pages, digits, data, pdf, start, barcode, codePage, delimiter, dataEncoding });
    const int parsed = CliSupport::parse(parser, arguments, Synopsis, 0);
    if (parsed >= 0)
        return parsed;

    bool ok = false;
    const int slotNumber = parser.value(slot).toInt(&ok);
    if (!parser.isSet(slot) || !ok || slotNumber < 0 || slotNumber >= FormatStore::SlotCount)
        return CliSupport::usage(Synopsis, QStringLiteral("--slot takes a slot from 0 to 7"));
    if (parser.isSet(output) == parser.isSet(pdf))
        return CliSupport::usage(Synopsis, QStringLiteral("give either -o FILE or --pdf OUT.pdf"));
    if (!parser.isSet(pdf) && (parser.isSet(start) || parser.isSet(barcode)))
        return CliSupport::usage(Synopsis, QStringLiteral("--start and --barcode need --pdf"));
    StickerInput input;
    FormatStore::loadSlot(slotNumber, input);
    FormatStore::LoadWindowSettings(input);
    if (parser.isSet(pages)) {
        const int count = parser.value(pages).toInt(&ok);
        if (!ok || count < 1)
            return CliSupport::usage(Synopsis, QStringLiteral("--pages takes a whole number of 1 or more"));
        input.pageCount = QString::number(count);
    }
    // Each option stands in for the slot's stored value for this run only.
    if (parser.isSet(digits)) {
        const int d = parser.value(digits).toInt(&ok);
        if (!ok || d < 0 || d > StickerInput::MaxDigits)
            return CliSupport::usage(Synopsis, QStringLiteral("--digits takes a number from 0 to 20"));
        input.digits = d;
    }
    if (parser.isSet(start)) {
        const int k = parser.value(start).toInt(&ok);
        if (!ok || k < 1)
            return CliSupport::usage(Synopsis, QStringLiteral("--start takes a whole number of 1 or more"));
        input.startAt = k;
    }
    if (parser.isSet(barcode) && !parseBarcodeKind(parser.value(barcode), &input.barcode))
        return CliSupport::usage(Synopsis, QStringLiteral("--barcode takes code128, code39, ean13, qr or none"));
    if (parser.isSet(data))
        input.dataFile = parser.value(data);
    if ((parser.isSet(delimiter) || parser.isSet(dataEncoding)) && !parser.isSet(data))
        return CliSupport::usage(Synopsis, QStringLiteral("--delimiter and --data-encoding need --data"));
    if (parser.isSet(delimiter)) {
        input.dataDelimiter = CsvTable::delimiterNamed(parser.value(delimiter));
        if (input.dataDelimiter.isNull())
            return CliSupport::usage(Synopsis, QStringLiteral("--delimiter takes comma, semicolon or tab"));
    }
    if (parser.isSet(dataEncoding)) {
        input.dataEncoding = parser.value(dataEncoding);
        if (!CsvTable::isKnownEncoding(input.dataEncoding))
            return CliSupport::usage(Synopsis,
                QStringLiteral("unknown encoding \"%1\" for --data-encoding (such as %2)")
                    .arg(input.dataEncoding, CsvTable::encodingNames().join(QStringLiteral(", "))));
    }
    QString error;
    if (parser.isSet(codePage)) {
        const std::optional<CodePage::Choice> choice = CliSupport::codePageNamed(parser.value(codePage), &error);
        if (!choice)
            return CliSupport::usage(Synopsis, error);
        if (choice->automatic)
            return CliSupport::usage(Synopsis,
                QStringLiteral("a sheet is written in the printer's code page: name one of %1").arg(CodePage::names()));
        input.sheetCodePage = choice->id;
    }
    if (!StickerFields::loadData(input, &error))
        return CliSupport::fail(error);
    if (parser.isSet(pdf)) {
        const QString out = parser.value(pdf);
        if (!CliSupport::checkOutput(out, &error, { parser.value(data) }))
            return CliSupport::fail(error);
        if (!writeWindowSheetPdf(input, out, &error))
            return CliSupport::fail(QStringLiteral("%1: %2").arg(out, QString(error).replace(QLatin1Char('\n'), QLatin1Char(' '))));
        return int(Status::Done);
    }
    const QString slotName = QStringLiteral("slot %1").arg(slotNumber);
    const QString refusal = CharSheetWriter::validate(input);
    if (!refusal.isEmpty())
        return CliSupport::fail(QStringLiteral("%1: %2").arg(slotName, refusal));
    if (NumericText::leadingNumber(input.pageCount) == 0)
        input.pageCount = QStringLiteral("1");
    const StickerWorkingValues values = computeWorkingValues(input);

    const QString out = parser.value(output);
    if (out == QLatin1String("-")) {
        StandardOutput standardOutput;
        if (!standardOutput.openOutput()
            || !CharSheetWriter::write(values, input.condensed, &standardOutput, &error)
            || !standardOutput.finish())
            return CliSupport::fail(QStringLiteral("standard output: %1").arg(standardOutput.errorString()));
        return int(Status::Done);
    }
    if (!CliSupport::checkOutput(out, &error, { parser.value(data) }))
        return CliSupport::fail(error);
    OutputFile file(out);
    ok = file.open(QIODevice::WriteOnly) && CharSheetWriter::write(values, input.condensed, &file, &error)
        && file.commit();
    if (!ok)
        return CliSupport::fail(QStringLiteral("%1: %2").arg(out, file.errorString()));
    return int(Status::Done);
}

} // namespace CommandLine
