#include "report/RecentFiles.h"

#include "platform/SettingsStore.h"

#include <QFileInfo>

namespace RecentFiles {
namespace {

const QString Section = QStringLiteral("RecentFiles");

QString keyOf(int i)
{
    return QStringLiteral("File%1").arg(i + 1);
}

bool store(const QStringList &files, QString *error)
{
    SettingsStore::Entries entries;
    for (int i = 0; i < Limit; ++i)
        entries.append({keyOf(i), i < files.size() ? std::optional<QString>(files.at(i)) : std::nullopt});
    QString reason;
    const bool ok = SettingsStore::write(SettingsAppName, Section, entries, nullptr, &reason);
    if (!ok && error)
        *error = reason;
    return ok;
}

} // namespace

QStringList read()
{
    QStringList files;
    const SettingsStore::Reader settings(SettingsAppName, Section);
    for (int i = 0; i < Limit; ++i) {
        const QString file = settings.read(keyOf(i), QString());
        if (!file.isEmpty() && !files.contains(file))
            files << file;
    }
    return files;
}

bool add(const QString &path, QString *error)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    QStringList files = read();
    files.removeAll(file);
    files.prepend(file);
    return store(files, error);
}

bool remove(const QString &path, QString *error)
{
    QStringList files = read();
    if (files.removeAll(QFileInfo(path).absoluteFilePath()) == 0)
        return true;
    return store(files, error);
}

} // namespace RecentFiles
