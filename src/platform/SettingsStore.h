#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <utility>

class QSettings;

// The name the program's settings are stored under: "Sticker2".
extern const QString SettingsAppName;

// The per-user settings store: application, section, key, text value.
// Backed by an INI file in the per-user configuration folder (XDG), so
// XDG_CONFIG_HOME moves it. Keys are matched without regard to case, so
// "cond" and "Cond" name one setting; keys may contain spaces ("1 Space").
class SettingsStore
{
public:
    static QString read(const QString &app, const QString &section, const QString &key,
                        const QString &defaultValue);

    // Many keys of one section, read through one opening of the file (each
    // read() above opens it anew).
    class Reader
    {
    public:
        Reader(const QString &app, const QString &section);
        ~Reader();
        Reader(const Reader &) = delete;
        Reader &operator=(const Reader &) = delete;
        QString read(const QString &key, const QString &defaultValue) const;

    private:
        std::unique_ptr<QSettings> m_settings;
        QStringList m_keys; // the section's keys as stored
    };

    // One key; false, with the cause naming the file, when the file cannot
    // be written (nothing changes then).
    static bool save(const QString &app, const QString &section, const QString &key,
                     const QString &value, QString *error = nullptr);

    // Keys of one section with their values; no value: the key is absent.
    using Entries = QList<std::pair<QString, std::optional<QString>>>;

    // Writes the entries of one section together (a key without a value is
    // removed). When the file cannot be written, nothing changes, also for
    // later saves in this program, and the error names the file. On success
    // `previous` receives what the keys held before, to write back.
    static bool write(const QString &app, const QString &section, const Entries &entries,
                      Entries *previous, QString *error);

    // The file behind an application's settings (for tests and diagnostics).
    static QString fileName(const QString &app);
};
