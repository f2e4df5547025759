#pragma once

#include <QString>

// The per-user settings store: application, section, key, text value.
// Backed by an INI file in the per-user configuration folder (XDG), so
// XDG_CONFIG_HOME moves it. Keys are matched without regard to case, so
// "cond" and "Cond" name one setting; keys may contain spaces ("1 Space").
class SettingsStore
{
public:
    static QString read(const QString &app, const QString &section, const QString &key,
                        const QString &defaultValue);
    static void save(const QString &app, const QString &section, const QString &key,
                     const QString &value);

    // The file behind an application's settings (for tests and diagnostics).
    static QString fileName(const QString &app);
};
