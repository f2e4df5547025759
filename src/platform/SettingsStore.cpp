#include "platform/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>
#include <QSettings>
#include <QStandardPaths>

const QString SettingsAppName = QStringLiteral("Sticker2");

namespace {

QString configFile(const QString &app)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
        + app + QStringLiteral(".ini");
}

// A settings file that is there but no regular file (a FIFO, a device,
// a folder) is neither read nor written: reading a FIFO would wait for ever
// for a writer. The settings are then their defaults.
bool usable(const QString &file)
{
    const QFileInfo info(file);
    return !info.exists() || info.isFile();
}

// The spelling of `key` among the stored `keys`, or `key` itself.
QString storedKey(const QStringList &keys, const QString &key)
{
    for (const QString &k : keys) {
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return k;
    }
    return key;
}

// The same in the open group.
QString storedKey(const QSettings &settings, const QString &key)
{
    return storedKey(settings.childKeys(), key);
}

void apply(QSettings &settings, const QString &key, const std::optional<QString> &value)
{
    if (value)
        settings.setValue(key, *value);
    else
        settings.remove(key);
}

} // namespace

QString SettingsStore::fileName(const QString &app)
{
    return configFile(app);
}

QString SettingsStore::read(const QString &app, const QString &section, const QString &key,
                            const QString &defaultValue)
{
    return Reader(app, section).read(key, defaultValue);
}

SettingsStore::Reader::Reader(const QString &app, const QString &section)
{
    const QString file = configFile(app);
    if (!usable(file))
        return;
    m_settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
    m_settings->beginGroup(section);
    m_keys = m_settings->childKeys();
}

SettingsStore::Reader::~Reader() = default;

QString SettingsStore::Reader::read(const QString &key, const QString &defaultValue) const
{
    if (!m_settings)
        return defaultValue;
    return m_settings->value(storedKey(m_keys, key), defaultValue).toString();
}

bool SettingsStore::save(const QString &app, const QString &section, const QString &key,
                         const QString &value, QString *error)
{
    return write(app, section, {{key, value}}, nullptr, error);
}

bool SettingsStore::write(const QString &app, const QString &section, const Entries &entries,
                          Entries *previous, QString *error)
{
    const auto fail = [&] {
        if (error)
            *error = QObject::tr("The settings file %1 cannot be saved.")
                         .arg(QDir::toNativeSeparators(configFile(app)));
        return false;
    };
    if (!usable(configFile(app)))
        return fail();
    QSettings settings(configFile(app), QSettings::IniFormat);
    if (!settings.isWritable())
        return fail();
    settings.beginGroup(section);
    Entries old;
    for (const auto &[key, value] : entries) {
        const QString k = storedKey(settings, key);
        old.append({k, settings.contains(k) ? std::optional(settings.value(k).toString()) : std::nullopt});
        apply(settings, k, value);
    }
    settings.sync();
    if (settings.status() != QSettings::AccessError) {
        if (previous)
            *previous = old;
        return true;
    }
    // The changes stay pending in the program's copy of the file, and the
    // next save that succeeds would write them: take them back.
    for (auto it = old.crbegin(); it != old.crend(); ++it)
        apply(settings, it->first, it->second);
    return fail();
}
