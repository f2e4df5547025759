#pragma once

#include <QString>
#include <QtGlobal>

#include <QVector>

// The libraries that only some commands need (CUPS, zint, libxlsxwriter)
// are loaded on first use rather than at start: each one loaded at start
// costs every start of the program, with all the libraries it pulls in.
namespace SharedLibrary {

struct Symbol
{
    const char *name;
    QFunctionPointer *slot;
};

// One entry of a library's table: the function `name` into `slot`, a
// pointer of the function's own type.
template <typename Function> Symbol symbol(const char *name, Function *&slot)
{
    return {name, reinterpret_cast<QFunctionPointer *>(&slot)};
}

// Loads the library of that file name ("libcups.so.2": its SONAME, which
// the build reads from the -dev package's link, see LoadedLibraries.h) and
// finds each symbol. The library stays loaded for the rest of the
// process. False, with an error that names the library and says why, when it
// is missing or lacks a symbol; the slots are then left as they were.
bool load(const QString &file, const QVector<Symbol> &symbols, QString *error);

// The table of a library's functions, loaded on the first call, by
// whichever thread asks first, and never changed after; later calls give the
// same table, or nullptr and the same error. Table::symbols(table) lists its
// entries.
template <typename Table>
const Table *loadedTable(const QString &file, QString *error)
{
    struct Loaded
    {
        Table table;
        QString error;
        bool ok = false;
    };
    static const Loaded loaded = [&] {
        Loaded result;
        result.ok = load(file, Table::symbols(result.table), &result.error);
        return result;
    }();
    if (!loaded.ok && error)
        *error = loaded.error;
    return loaded.ok ? &loaded.table : nullptr;
}

} // namespace SharedLibrary
