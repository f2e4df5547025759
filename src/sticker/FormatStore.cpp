#include "sticker/FormatStore.h"

#include "platform/AppPaths.h"
#include "platform/ByteText.h"
#include "platform/NumericText.h"
#include "platform/SettingsStore.h"
#include "startup/MainModule.h"
#include "sticker/FormatFile.h"

#include <QDir>
#include <QFile>
#include <cmath>

namespace {

const QString Section = QStringLiteral("Sticker");

struct GridKey
{
    const char *suffix;
    QString StickerInput::*field;
    const char *defaultValue;
};

const GridKey gridKeys[] = {
    {" Space", &StickerInput::TxSp, "3"},
    {" Col", &StickerInput::TxCol, "6"},
    {" Row", &StickerInput::TxRow, "12"},
    {" Blankline", &StickerInput::TxBlank, "3"},
    {" MaxFL", &StickerInput::TxMaxFLenth, "4"},
};

bool validSlot(int slot)
{
    return slot >= 0 && slot < FormatStore::SlotCount;
}

QString read(int slot, const QString &suffix, const QString &defaultValue)
{
    return SettingsStore::read(
        SettingsAppName, Section, FormatStore::settingsKey(slot, suffix), defaultValue);
}

void save(int slot, const QString &suffix, const QString &value)
{
    SettingsStore::save(SettingsAppName, Section, FormatStore::settingsKey(slot, suffix), value);
}

bool readLines(const QString &path, QStringList *lines)
{
    QByteArray bytes;
    if (!QFileInfo(path).isFile() || !ByteText::readFile(path, &bytes, nullptr))
        return false;
    *lines = ByteText::splitLines(bytes);
    return true;
}

} // namespace

QString FormatStore::slotCaption(int slot)
{
    static const char *captions[SlotCount] = {"6", "1", "2", "3", "4", "5", "7", "8"};
    return validSlot(slot) ? QString::fromLatin1(captions[slot]) : QString();
}

QString FormatStore::settingsKey(int slot, const QString &suffix)
{
    return QString::number(slot) + suffix;
}

QString FormatStore::slotFilePath(int slot)
{
    return AppPaths::findNoCase(AppPaths::formatFolder(), QStringLiteral("%1.txt").arg(slot));
}

QString FormatStore::settingFilePath()
{
    return AppPaths::findNoCase(AppPaths::formatFolder(), QStringLiteral("Setting.txt"));
}

void FormatStore::loadSlot(int slot, StickerInput &input)
{
    loadSlotSettings(slot, input);
    // A missing file reads as one without lines, so nothing of the slot
    // left before shows in this one.
    if (validSlot(slot) && !LoadFormat(slot, input))
        FormatFile::applySlotFile(QStringList(), input);
}

void FormatStore::loadSlotSettings(int slot, StickerInput &input)
{
    if (!validSlot(slot))
        return;
    for (const GridKey &key : gridKeys)
        input.*key.field = read(slot, QString::fromLatin1(key.suffix), QString::fromLatin1(key.defaultValue));
    // A style other than 0 or 1 names no option: the selected style stays.
    const double style = std::nearbyint(
        NumericText::leadingNumber(read(slot, QStringLiteral(" PrintStyle"), QStringLiteral("0"))));
    if (style == 0 || style == 1)
        input.condensed = style == 1;
    // An unsigned 8-bit count: a value out of range is ignored.
    const double maxField = std::nearbyint(
        NumericText::leadingNumber(read(slot, QStringLiteral(" Maxf"), QStringLiteral("1"))));
    if (maxField >= 0 && maxField <= 255)
        input.maxField = int(maxField);
    for (int i = 0; i < 8; ++i)
        input.Atxt[size_t(i)] = read(slot, QStringLiteral(" %1").arg(i + 1), QStringLiteral(" "));

    // The settings beyond the format file; a value out of range keeps the default.
    const double digits = std::nearbyint(
        NumericText::leadingNumber(read(slot, QStringLiteral(" Digits"), QStringLiteral("0"))));
    input.digits = digits >= 0 && digits <= StickerInput::MaxDigits ? int(digits) : 0;
    const double start = std::nearbyint(
        NumericText::leadingNumber(read(slot, QStringLiteral(" StartAt"), QStringLiteral("1"))));
    input.startAt = start >= 1 && start <= 65535 ? int(start) : 1;
    input.barcode = BarcodeKind::None;
    parseBarcodeKind(read(slot, QStringLiteral(" Barcode"), QStringLiteral("none")), &input.barcode);
    input.dataFile = read(slot, QStringLiteral(" DataFile"), QString());
}

bool FormatStore::LoadFormat(int slot, StickerInput &input)
{
    QStringList lines;
    if (!validSlot(slot) || !readLines(slotFilePath(slot), &lines))
        return false;
    FormatFile::applySlotFile(lines, input);
    return true;
}

bool FormatStore::LoadWindowSettings(StickerInput &input)
{
    QStringList lines;
    if (!readLines(settingFilePath(), &lines))
        return false;
    FormatFile::applySettingFile(lines, input);
    return true;
}

bool FormatStore::save(int slot, const StickerInput &input, QString *error)
{
    if (!validSlot(slot)) {
        if (error)
            *error = QStringLiteral("There is no format slot %1.").arg(slot);
        return false;
    }
    for (const GridKey &key : gridKeys)
        ::save(slot, QString::fromLatin1(key.suffix), input.*key.field);
    ::save(slot, QStringLiteral(" PrintStyle"), input.condensed ? QStringLiteral("1") : QStringLiteral("0"));
    for (int i = 0; i < 8; ++i)
        ::save(slot, QStringLiteral(" %1").arg(i + 1), input.Atxt[size_t(i)]);
    ::save(slot, QStringLiteral(" Digits"), QString::number(input.digits));
    ::save(slot, QStringLiteral(" StartAt"), QString::number(input.startAt));
    ::save(slot, QStringLiteral(" Barcode"), barcodeKindName(input.barcode));
    ::save(slot, QStringLiteral(" DataFile"), input.dataFile);

    QString message;
    QDir().mkpath(AppPaths::formatFolder());
    const struct
    {
        QString path;
        QByteArray bytes;
    } files[] = {
        {settingFilePath(), FormatFile::settingFileBytes(input)},
        {slotFilePath(slot), FormatFile::slotFileBytes(input)},
    };
    // Both files are tried; the first failure is told.
    for (const auto &file : files) {
        QString reason;
        if (!ByteText::writeFile(file.path, file.bytes, &reason) && message.isEmpty())
            message = QStringLiteral("The format file %1 cannot be saved.\n%2")
                          .arg(QDir::toNativeSeparators(file.path), reason);
    }
    if (error)
        *error = message;
    return message.isEmpty();
}
