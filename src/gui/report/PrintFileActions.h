#pragma once

#include <QString>

class QAction;
class QMenu;
class QWidget;

// Opening print files from a window: "Open Print File..." (Ctrl+O) and the
// "Recent Files" menu, each file in a report view of its own.
namespace PrintFileActions {

// The open dialog's types: print files first, then every file, in the
// user's language.
QString filter();

// The Import dialog's types: text files, print files, every file, the kind
// of the file imported last first; and that kind remembered from a name.
// The kind is stored as a word no language changes ("text", "print",
// "all"); an entry's English text, as a setting may hold it, still chooses
// its kind.
QString importFilter();
bool rememberImportFilter(const QString &chosenName); // false: the settings file cannot be written

// Adds both to `window` (its context menu shows them when it lists the
// window's actions) with their keys: Ctrl+O, and Alt+R for the recent files.
void addTo(QWidget *window);
// The same, and both at the end of the window's own context menu.
void addTo(QWidget *window, QMenu *menu);

// Asks for a print file and opens it; nothing when the dialog is cancelled.
void openWithDialog(QWidget *parent);
// Opens `path` in a new report view and puts it first among the recent
// files. False when no view opened (the user was told why).
bool open(const QString &path);

} // namespace PrintFileActions
