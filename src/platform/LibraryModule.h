#pragma once

#include <QString>
#include <QtGlobal>

// poppler (forms drawn under the printed look), qpdf (the finishing pass of
// every PDF) and GMime (mail) are loaded on first use, with all they pull in
// (nss, lcms, openjpeg, GLib ...): they live in a module of the program's
// own, sticker2-libraries.so (src/libraries/), in the same private folder as
// the windows' module. Each subsystem that needs one of them asks the module
// for its table of functions (form/FormLibraries.h, pdf/QpdfLibrary.h,
// delivery/MailLibrary.h): an entry named after it, giving a pointer to a
// table filled in the module and never changed.
namespace LibraryModule {

constexpr const char *FileName = "sticker2-libraries.so";

// The module is looked for beside the file that holds this code: the
// windows' module in the private folder when installed, the program's
// module or a test's executable in the build tree (the build links the
// module beside each of them).
QString filePath();

// Loads the module on the first call (whichever thread asks first; it stays
// loaded) and finds the entry `name`. Null, with an error that names the
// module's file and says why, when it is missing, cannot be loaded or lacks
// the entry; later calls give the same answer.
QFunctionPointer entry(const char *name, QString *error);

// The table an entry gives: `const Table *entry()`.
template <typename Table> const Table *table(const char *name, QString *error)
{
    using Entry = const Table *(*)();
    const QFunctionPointer found = entry(name, error);
    return found ? reinterpret_cast<Entry>(found)() : nullptr;
}

} // namespace LibraryModule
