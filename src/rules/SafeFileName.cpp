#include "rules/SafeFileName.h"

#include "platform/ControlCharacters.h"
#include "platform/FileChecks.h"
#include "platform/PlainFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The longest leading part of `text` whose UTF-8 form fits in `bytes`.
QString cutToBytes(const QString &text, int bytes)
{
    QString kept;
    int used = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size();
        const QString character = text.mid(i, pair ? 2 : 1);
        const int size = int(character.toUtf8().size());
        if (used + size > bytes)
            break;
        kept += character;
        used += size;
        if (pair)
            ++i;
    }
    return kept;
}

int utf8Size(const QString &text)
{
    return int(text.toUtf8().size());
}

// "a.pdf" -> { "a", ".pdf" }; an extension is short and has no spaces.
QPair<QString, QString> splitExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0 || name.size() - dot > 10 || name.indexOf(QLatin1Char(' '), dot) >= 0)
        return { name, QString() };
    return { name.left(dot), name.mid(dot) };
}

QString fitted(const QString &stem, const QString &extension)
{
    return cutToBytes(stem, SafeFileName::MaximumBytes - utf8Size(extension)) + extension;
}

} // namespace

namespace SafeFileName {

QString made(const QString &name)
{
    QString safe;
    safe.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        const bool control = ControlCharacters::is(c) || c.category() == QChar::Other_Format || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
        const bool lone = (c.isHighSurrogate() && !(i + 1 < name.size() && name.at(i + 1).isLowSurrogate()))
            || (c.isLowSurrogate() && !(i > 0 && name.at(i - 1).isHighSurrogate()));
        // What Windows refuses in a name goes too: the folders are often
        // shared with Windows desktops, where "Re: Mai?" shows mangled or
        // cannot be written at all.
        static const QString refused = QStringLiteral("/\\:*?\"<>|");
        safe += (refused.contains(c) || control || lone) ? QLatin1Char('_') : c;
    }
    // A name of nothing but dots and blanks before its ending (a title of
    // "." or "..", or none, before ".pdf") keeps the ending behind a "_":
    // taking the leading dots away would take the ending's dot too.
    const QString whole = safe.trimmed();
    const bool shortEnding = whole.size() <= 5 && whole.lastIndexOf(QLatin1Char('.')) == 0;
    const auto [before, ending] = shortEnding ? QPair<QString, QString>(QString(), whole) : splitExtension(whole);
    const bool onlyEnding = !ending.isEmpty() && ending.size() > 1
        && std::all_of(before.begin(), before.end(), [](QChar c) { return c == QLatin1Char('.') || c.isSpace(); });
    qsizetype lead = 0;
    while (lead < safe.size() && (safe.at(lead) == QLatin1Char('.') || safe.at(lead).isSpace()))
        ++lead;
    safe = onlyEnding ? QLatin1Char('_') + ending : safe.mid(lead).trimmed();
    const auto [stem, extension] = splitExtension(safe);
    safe = utf8Size(safe) <= MaximumBytes ? safe : fitted(stem, extension);
    if (safe == QLatin1String(".") || safe == QLatin1String("..") || safe.startsWith(QLatin1Char('.')))
        return QString();
    return safe;
}

QString numbered(const QString &safeName, int number)
{
    if (number <= 1)
        return safeName;
    const auto [stem, extension] = splitExtension(safeName);
    return fitted(stem, QStringLiteral("-%1").arg(number) + extension);
}

bool placeCopy(const QString &source, const QString &folder, const QString &safeName, QString *finalPath,
    QString *error)
{
    if (safeName.isEmpty() || safeName != made(safeName)) {
        *error = QStringLiteral("\"%1\" is not a safe file name").arg(safeName);
        return false;
    }
    if (!FileChecks::makeFolder(folder, error))
        return false;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(source, in.errorString());
        return false;
    }
    QTemporaryFile copy(QDir(folder).filePath(QStringLiteral(".sticker2-XXXXXX.part")));
    if (!copy.open()) {
        *error = QStringLiteral("%1: cannot write there (%2)").arg(folder, copy.errorString());
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray block = in.read(1 << 20);
        if (block.isEmpty() && in.error() != QFileDevice::NoError) {
            *error = QStringLiteral("%1: %2").arg(source, in.errorString());
            return false;
        }
        // Written on the descriptor: a write that stops short (a disk that
        // fills) is tried again and so says why, where QFile reports the
        // short write without a cause ("Unknown error").
        if (!writeAll(copy.handle(), block.constData(), size_t(block.size()))) {
            *error = QStringLiteral("%1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
    }
    if (::fsync(copy.handle()) != 0) {
        *error = QStringLiteral("%1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    copy.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    const QByteArray from = QFile::encodeName(copy.fileName());
    // The copy gets its name by a link, which never replaces a file and
    // does not follow a link planted at the name; then the hidden name goes.
    for (int number = 1; number < 10000; ++number) {
        const QString target = QDir(folder).filePath(numbered(safeName, number));
        if (::link(from.constData(), QFile::encodeName(target).constData()) == 0) {
            *finalPath = target;
            return true;
        }
        if (errno == EEXIST)
            continue;
        // A file system without links: rename without replacing.
        if ((errno == EPERM || errno == EOPNOTSUPP)
            && ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, QFile::encodeName(target).constData(),
                   RENAME_NOREPLACE) == 0) {
            copy.setAutoRemove(false);
            *finalPath = target;
            return true;
        }
        if (errno == EEXIST)
            continue;
        *error = QStringLiteral("%1: %2").arg(target, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    *error = QStringLiteral("%1: no free name for %2").arg(folder, safeName);
    return false;
}

} // namespace SafeFileName
