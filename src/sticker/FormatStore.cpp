#include "sticker/FormatStore.h"

#include "platform/AppPaths.h"
#include "platform/ByteText.h"
#include "platform/FileChecks.h"
#include "platform/NumericText.h"
#include "platform/OutputFile.h"
#include "sticker/CsvTable.h"
#include "platform/SettingsStore.h"
#include "sticker/FormatFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QFile>
#include <cerrno>
#include <cmath>
#include <sys/stat.h>
#include <unistd.h>

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
    {" Col", &StickerInput::stickersAcross, "6"},
    {" Row", &StickerInput::TxRow, "12"},
    {" Blankline", &StickerInput::TxBlank, "3"},
    {" MaxFL", &StickerInput::lineWidth, "4"},
};

bool validSlot(int slot)
{
    return slot >= 0 && slot < FormatStore::SlotCount;
}


bool readLines(const QString &path, QStringList *lines)
{
    QByteArray bytes;
    if (!QFileInfo(path).isFile() || !ByteText::readFile(path, &bytes, nullptr))
        return false;
    *lines = FormatFile::fileLines(bytes);
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

QStringList FormatStore::storedFiles(int slot)
{
    return {slotFilePath(slot), settingFilePath(), SettingsStore::fileName(SettingsAppName)};
}

bool FormatStore::isStoredPlace(const QString &path)
{
    const QFileInfo out(path);
    const QString folder = QFileInfo(out.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return false;
    const QString formats = QFileInfo(AppPaths::formatFolder()).canonicalFilePath();
    static const QRegularExpression storedName(
        QStringLiteral("^(\\d+|setting)\\.txt$"), QRegularExpression::CaseInsensitiveOption);
    if (folder == formats && storedName.match(out.fileName()).hasMatch())
        return true;
    const QFileInfo settings(SettingsStore::fileName(SettingsAppName));
    return folder == QFileInfo(settings.absolutePath()).canonicalFilePath() && out.fileName() == settings.fileName();
}

QString FormatStore::unreadableFile(int slot, bool windowSheet)
{
    // A folder that may not be entered hides its files as missing ones.
    const QByteArray formats = QFile::encodeName(AppPaths::formatFolder());
    struct stat st;
    if (::stat(formats.constData(), &st) != 0 && errno != ENOENT)
        return QStringLiteral("%1: %2").arg(AppPaths::formatFolder(), qt_error_string(errno));
    if (::stat(formats.constData(), &st) == 0 && S_ISDIR(st.st_mode) && ::access(formats.constData(), R_OK | X_OK) != 0)
        return QStringLiteral("%1: %2").arg(AppPaths::formatFolder(), qt_error_string(errno));
    const QFileInfo folder(AppPaths::formatFolder());
    if (folder.exists() && !folder.isDir())
        return QStringLiteral("%1: not a folder").arg(folder.filePath());
    for (const QString &path : storedFiles(slot)) {
        const QFileInfo info(path);
        if (path.isEmpty() || !info.exists() || (!windowSheet && path == settingFilePath()))
            continue;
        if (const QString kind = FileChecks::inputProblem(path); !kind.isEmpty())
            return QStringLiteral("%1: %2").arg(path, kind);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("%1: %2").arg(path, file.errorString());
    }
    return QString();
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
    const SettingsStore::Reader settings(SettingsAppName, Section);
    const auto read = [&settings](int slot, const QString &suffix, const QString &defaultValue) {
        return settings.read(FormatStore::settingsKey(slot, suffix), defaultValue);
    };
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
        input.lineTexts[size_t(i)] = read(slot, QStringLiteral(" %1").arg(i + 1), QStringLiteral(" "));

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
    input.sheetCodePage = CodePage::fromName(read(slot, QStringLiteral(" CodePage"), QStringLiteral("cp1252")))
                              .value_or(CodePage::Id::Windows1252);
    input.dataDelimiter = CsvTable::delimiterNamed(read(slot, QStringLiteral(" DataDelimiter"), QString()));
    input.dataEncoding = read(slot, QStringLiteral(" DataEncoding"), QString());
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
    auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    if (!validSlot(slot))
        return fail(QCoreApplication::translate("Sticker", "There is no format slot %1.").arg(slot));

    SettingsStore::Entries keys;
    auto key = [&](const QString &suffix, const QString &value) {
        keys.append({settingsKey(slot, suffix), value});
    };
    for (const GridKey &gridKey : gridKeys)
        key(QString::fromLatin1(gridKey.suffix), input.*gridKey.field);
    key(QStringLiteral(" PrintStyle"), input.condensed ? QStringLiteral("1") : QStringLiteral("0"));
    for (int i = 0; i < 8; ++i)
        key(QStringLiteral(" %1").arg(i + 1), input.lineTexts[size_t(i)]);
    key(QStringLiteral(" Digits"), QString::number(input.digits));
    key(QStringLiteral(" StartAt"), QString::number(input.startAt));
    key(QStringLiteral(" Barcode"), barcodeKindName(input.barcode));
    key(QStringLiteral(" DataFile"), input.dataFile);
    key(QStringLiteral(" CodePage"), CodePage::name(input.sheetCodePage));
    key(QStringLiteral(" DataDelimiter"),
        input.dataDelimiter == QLatin1Char(';')       ? QStringLiteral("semicolon")
            : input.dataDelimiter == QLatin1Char('\t') ? QStringLiteral("tab")
            : input.dataDelimiter == QLatin1Char(',')   ? QStringLiteral("comma")
                                                        : QString());
    key(QStringLiteral(" DataEncoding"), input.dataEncoding);

    // The slot lives in the settings store and in two files; either all of
    // it is saved or nothing. The files are written in full before the keys
    // change, and put in place only when the keys are saved.
    QDir().mkpath(AppPaths::formatFolder());
    const QString paths[2] = {settingFilePath(), slotFilePath(slot)};
    // Both files' bytes first: a text they cannot hold stops the save before
    // anything is stored.
    QByteArray bytes[2];
    if (!FormatFile::settingFileBytes(input, &bytes[0], error) || !FormatFile::slotFileBytes(input, &bytes[1], error))
        return false;
    auto fileError = [](const QString &path, const QString &reason) {
        return QCoreApplication::translate("Sticker", "The format file %1 cannot be saved.\n%2")
            .arg(QDir::toNativeSeparators(path), reason);
    };
    OutputFile files[2] = {OutputFile(paths[0]), OutputFile(paths[1])};
    for (int i = 0; i < 2; ++i) {
        if (!files[i].open(QIODevice::WriteOnly) || files[i].write(bytes[i]) != bytes[i].size())
            return fail(fileError(paths[i], files[i].errorString()));
    }
    QByteArray oldSetting;
    const bool hadSetting = ByteText::readFile(paths[0], &oldSetting, nullptr);
    SettingsStore::Entries oldKeys;
    QString message;
    if (!SettingsStore::write(SettingsAppName, Section, keys, &oldKeys, &message))
        return fail(message);
    for (int i = 0; i < 2; ++i) {
        if (files[i].commit())
            continue;
        // Put back what is already saved: the keys, and the settings file
        // when it was the slot file that failed.
        message = fileError(paths[i], files[i].errorString());
        SettingsStore::write(SettingsAppName, Section, oldKeys, nullptr, nullptr);
        if (i == 1 && hadSetting)
            ByteText::writeFile(paths[0], oldSetting, nullptr);
        else if (i == 1)
            QFile::remove(paths[0]);
        return fail(message);
    }
    return true;
}
