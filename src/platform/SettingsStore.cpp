#include "platform/SettingsStore.h"

#include <QSettings>
#include <QStandardPaths>

namespace {

QString configFile(const QString &app)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
        + app + QStringLiteral(".ini");
}

// The spelling of `key` already stored in the open group, or `key` itself.
QString storedKey(const QSettings &settings, const QString &key)
{
    const QStringList keys = settings.childKeys();
    for (const QString &k : keys) {
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return k;
    }
    return key;
}

} // namespace

QString SettingsStore::fileName(const QString &app)
{
    return configFile(app);
}

QString SettingsStore::read(const QString &app, const QString &section, const QString &key,
                            const QString &defaultValue)
{
    QSettings settings(configFile(app), QSettings::IniFormat);
    settings.beginGroup(section);
    const QString k = storedKey(settings, key);
    if (!settings.contains(k))
        return defaultValue;
    return settings.value(k).toString();
}

void SettingsStore::save(const QString &app, const QString &section, const QString &key,
                         const QString &value)
{
    QSettings settings(configFile(app), QSettings::IniFormat);
    settings.beginGroup(section);
    settings.setValue(storedKey(settings, key), value);
    settings.endGroup();
    settings.sync();
}
