#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

// The program's texts in the user's language. English is the language the
// texts are written in: it needs no translation file.
namespace Translations {

// The name of the program's translation files: sticker2_de.qm, sticker2_cs.qm.
inline constexpr char BaseName[] = "sticker2";

// Where the translation files are looked for, in this order: the installed
// folder (share/sticker2/translations beside the program's bin folder), then
// the build tree's (the program and the tests run from the build folder).
QStringList folders(const QString &programFolder);

// The language whose translation file is taken for the user's languages, in
// the order the user prefers them ("de-DE", "cs", as QLocale::uiLanguages
// gives them): the first with a file in one of `folders`, a language of its
// own tried before its base ("de_AT", then "de"). English before any other
// ends the search: the texts stay as written. Empty: English.
QString languageFor(const QStringList &uiLanguages, const QStringList &folders);

// The translation file of `language` in `folders` (the first folder that has
// it); empty when none has.
QString fileFor(const QString &language, const QStringList &folders);

// Loads the program's translation for the user's languages (QLocale::system:
// LANGUAGE, LC_ALL, LC_MESSAGES, LANG) and Qt's own for the same language, so
// standard dialogs and buttons match, and installs both on `app` (which owns
// them). Returns the language taken; empty for English, when nothing is
// installed.
QString install(QCoreApplication *app);

} // namespace Translations
