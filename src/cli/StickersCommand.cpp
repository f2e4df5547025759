// sticker2 stickers: a stored format's character-mode sheet without a window.

#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/StandardOutput.h"
#include "platform/OutputFile.h"
#include "sticker/CharSheetWriter.h"
#include "sticker/CsvTable.h"
#include "sticker/FormatStore.h"
#include "sticker/SheetGrid.h"
#include "sticker/StickerFields.h"

#include <QCommandLineParser>
#include <QFile>

namespace {

bool given(const QCommandLineParser &parser, const char *name)
{
    return parser.isSet(QString::fromLatin1(name));
}

QString valueOf(const QCommandLineParser &parser, const char *name)
{
    return parser.value(QString::fromLatin1(name));
}

// How the options go together (each value is checked by its option's row):
// -1 when they do, else the usage error's status.
int checkOptions(const QCommandLineParser &parser, const QString &synopsis)
{
    if (!given(parser, "slot"))
        return CliSupport::usage(synopsis, QStringLiteral("stickers needs --slot N"));
    if (given(parser, "output") == given(parser, "pdf"))
        return CliSupport::usage(synopsis, QStringLiteral("give either -o FILE or --pdf OUT.pdf"));
    if ((given(parser, "output") && valueOf(parser, "output").isEmpty()) || (given(parser, "pdf") && valueOf(parser, "pdf").isEmpty()))
        return CliSupport::usage(synopsis, QStringLiteral("-o and --pdf need a file name (-o - for standard output)"));
    if (given(parser, "pdf") && valueOf(parser, "pdf") == QLatin1String("-"))
        return CliSupport::usage(synopsis, QStringLiteral("--pdf needs a file: a PDF is not written to standard output"));
    if (!given(parser, "pdf") && (given(parser, "start") || given(parser, "barcode")))
        return CliSupport::usage(synopsis, QStringLiteral("--start and --barcode need --pdf"));
    if ((given(parser, "delimiter") || given(parser, "data-encoding")) && !given(parser, "data"))
        return CliSupport::usage(synopsis, QStringLiteral("--delimiter and --data-encoding need --data"));
    return -1;
}

// The slot as the sticker form loads it, each option given standing in for
// its stored value for this run only.
StickerInput readInput(const QCommandLineParser &parser)
{
    StickerInput input;
    FormatStore::loadSlot(valueOf(parser, "slot").trimmed().toInt(), input);
    FormatStore::LoadWindowSettings(input);
    if (given(parser, "pages"))
        input.pageCount = QString::number(valueOf(parser, "pages").trimmed().toInt());
    if (given(parser, "digits"))
        input.digits = valueOf(parser, "digits").trimmed().toInt();
    if (given(parser, "start"))
        input.startAt = valueOf(parser, "start").trimmed().toInt();
    if (given(parser, "barcode"))
        parseBarcodeKind(valueOf(parser, "barcode"), &input.barcode);
    if (given(parser, "data"))
        input.dataFile = valueOf(parser, "data");
    if (given(parser, "delimiter"))
        input.dataDelimiter = CsvTable::delimiterNamed(valueOf(parser, "delimiter"));
    if (given(parser, "data-encoding"))
        input.dataEncoding = valueOf(parser, "data-encoding");
    if (given(parser, "codepage"))
        input.sheetCodePage = *CodePage::fromName(valueOf(parser, "codepage"));
    return input;
}

// A sheet is never written where the stored formats are kept, there or
// not yet: it would break that slot, or all of them.
bool checkNotStored(const QString &out, QString *error)
{
    if (!FormatStore::isStoredPlace(out))
        return true;
    *error = QStringLiteral("%1: the stored formats are kept there; refusing to write there").arg(out);
    return false;
}

// The Windows-mode sheet drawn into a PDF.
int writePdf(const StickerInput &input, const QStringList &readFrom, const QString &slotName, const QString &out,
    CommandLine::WindowSheetDrawer drawSheet)
{
    QString error;
    if (!checkNotStored(out, &error) || !CliSupport::checkOutput(out, &error, readFrom))
        return CliSupport::fail(error);
    if (!drawSheet)
        return CliSupport::fail(QStringLiteral("%1: the Windows-mode sheet cannot be drawn here").arg(out));
    bool refused = false;
    if (!drawSheet(input, out, &error, &refused)) {
        // One line, naming what is at fault once: the slot (with its data
        // and options) for a sheet refused, else the file.
        error.replace(QLatin1Char('\n'), QLatin1Char(' '));
        const QString culprit = refused ? slotName : out;
        return CliSupport::fail(error.contains(culprit) ? error : QStringLiteral("%1: %2").arg(culprit, error));
    }
    return int(CommandLine::Status::Done);
}

// The fourth line is cut at its width, number and all, as the printer's
// sheet always was; when that cuts the running number, stickers carry the
// same number, which is said.
void noteCutNumbers(const StickerWorkingValues &values, const QString &slotName)
{
    if (values.Data || values.MaxField < 4)
        return;
    const QByteArray text = values.LineText[4].toLatin1();
    const long long first = SheetGrid::firstCutNumber(
        SheetGrid::trimSpaces(std::string_view(text.constData(), size_t(text.size()))).size(), values.W,
        values.Digits, (long long)values.StickerCols * values.StickerRows);
    if (first > 0)
        CliSupport::report(QStringLiteral("%1: note: line 4 holds %2 characters, so its running number is cut from "
                                          "sticker %3 on and stickers carry the same number (widen \"Max Field "
                                          "Lenth\" or use fewer digits)")
                               .arg(slotName)
                               .arg(values.W)
                               .arg(first));
}

// The character-mode sheet written as a print file, or to standard output.
int writeSheet(StickerInput &input, const QStringList &readFrom, const QString &slotName, const QString &out)
{
    const QString refusal = CharSheetWriter::validate(input);
    if (!refusal.isEmpty())
        return CliSupport::fail(QStringLiteral("%1: %2").arg(slotName, refusal));
    countPagesFromOne(input);
    const StickerWorkingValues values = computeWorkingValues(input);
    noteCutNumbers(values, slotName);
    QString error;
    if (out == QLatin1String("-")) {
        if (!CliSupport::checkStandardOutput(&error, readFrom))
            return CliSupport::fail(error);
        StandardOutput standardOutput;
        if (!standardOutput.openOutput()
            || !CharSheetWriter::write(values, input.condensed, &standardOutput, &error)
            || !standardOutput.finish())
            return CliSupport::fail(QStringLiteral("standard output: %1").arg(standardOutput.errorString()));
        return int(CommandLine::Status::Done);
    }
    if (!checkNotStored(out, &error) || !CliSupport::checkOutput(out, &error, readFrom))
        return CliSupport::fail(error);
    OutputFile file(out);
    const bool ok = file.open(QIODevice::WriteOnly) && CharSheetWriter::write(values, input.condensed, &file, &error)
        && file.commit();
    if (!ok)
        return CliSupport::fail(QStringLiteral("%1: %2").arg(out, file.errorString()));
    return int(CommandLine::Status::Done);
}

} // namespace

namespace CommandLine {

int runStickers(const QStringList &arguments, WindowSheetDrawer drawSheet)
{
    const Command &stickers = command(CommandId::Stickers);
    QCommandLineParser parser;
    int status = CliSupport::parse(parser, arguments, stickers, 0);
    if (status < 0)
        status = checkOptions(parser, stickers.usage());
    if (status >= 0)
        return status;
    const QString unreadable = FormatStore::unreadableFile(valueOf(parser, "slot").trimmed().toInt(), given(parser, "pdf"));
    if (!unreadable.isEmpty())
        return CliSupport::fail(unreadable);
    StickerInput input = readInput(parser);
    // With data (given, or stored with the slot) its rows make the sheets.
    if (!input.dataFile.isEmpty() && given(parser, "pages"))
        return CliSupport::usage(stickers.usage(),
            QStringLiteral("--pages does not go with data (%1): its rows decide the sheets").arg(input.dataFile));
    QString error;
    if (!StickerFields::loadData(input, &error))
        return CliSupport::fail(error);
    // What the run reads is never written over: the data, the slot's file,
    // Setting.txt and the settings file.
    const int slot = valueOf(parser, "slot").trimmed().toInt();
    const QStringList readFrom = QStringList{input.dataFile} + FormatStore::storedFiles(slot);
    const QString slotName = QStringLiteral("slot %1").arg(slot);
    if (given(parser, "pdf"))
        return writePdf(input, readFrom, slotName, valueOf(parser, "pdf"), drawSheet);
    return writeSheet(input, readFrom, slotName, valueOf(parser, "output"));
}

} // namespace CommandLine
