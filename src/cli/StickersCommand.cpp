// sticker2 stickers: a stored format's character-mode sheet without a window.

#include "cli/CliSupport.h"
#include "platform/NumericText.h"
#include "sticker/CharSheetWriter.h"
#include "sticker/FormatStore.h"

#include <QCommandLineParser>
#include <QFile>
#include <QSaveFile>

namespace {

const QString Synopsis = QStringLiteral("sticker2 stickers --slot N -o FILE|- [--pages N]");

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
    parser.addOptions({ slot, output, pages });
    const int parsed = CliSupport::parse(parser, arguments, Synopsis, 0);
    if (parsed >= 0)
        return parsed;

    bool ok = false;
    const int slotNumber = parser.value(slot).toInt(&ok);
    if (!parser.isSet(slot) || !ok || slotNumber < 0 || slotNumber >= FormatStore::SlotCount)
        return CliSupport::usage(Synopsis, QStringLiteral("--slot takes a slot from 0 to 7"));
    if (!parser.isSet(output))
        return CliSupport::usage(Synopsis, QStringLiteral("-o FILE is required"));
    StickerInput input;
    FormatStore::loadSlot(slotNumber, input);
    FormatStore::LoadWindowSettings(input);
    if (parser.isSet(pages)) {
        const int count = parser.value(pages).toInt(&ok);
        if (!ok || count < 1)
            return CliSupport::usage(Synopsis, QStringLiteral("--pages takes a whole number of 1 or more"));
        input.txtPage = QString::number(count);
    }
    const QString slotName = QStringLiteral("slot %1").arg(slotNumber);
    const QString refusal = CharSheetWriter::validate(input);
    if (!refusal.isEmpty())
        return CliSupport::fail(QStringLiteral("%1: %2").arg(slotName, refusal));
    if (NumericText::leadingNumber(input.txtPage) == 0)
        input.txtPage = QStringLiteral("1");
    const StickerWorkingValues values = computeWorkingValues(input);

    const QString out = parser.value(output);
    QString error;
    if (out == QLatin1String("-")) {
        QFile standardOutput;
        if (!CliSupport::openStandardOutput(&standardOutput)
            || !CharSheetWriter::write(values, input.condensed, &standardOutput, &error))
            return CliSupport::fail(QStringLiteral("standard output: %1").arg(standardOutput.errorString()));
        return int(Status::Done);
    }
    if (!CliSupport::checkOutput(out, &error))
        return CliSupport::fail(error);
    // Unbuffered, so that a short write is seen by the write itself.
    QSaveFile file(out);
    ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        && CharSheetWriter::write(values, input.condensed, &file, &error) && file.commit();
    if (!ok)
        return CliSupport::fail(QStringLiteral("%1: %2").arg(out, file.errorString()));
    return int(Status::Done);
}

} // namespace CommandLine
