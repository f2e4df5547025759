#include "platform/SharedLibrary.h"

#include <QLibrary>
#include <QVector>

namespace SharedLibrary {

bool load(const QString &file, const QVector<Symbol> &symbols, QString *error)
{
    // By its full file name: given a name and a version, QLibrary falls back
    // to the unversioned development link, which may be another version.
    QLibrary library(file);
    if (!library.load()) {
        if (error)
            *error = QStringLiteral("%1 cannot be loaded (%2); install the package that holds it")
                         .arg(file, library.errorString());
        return false;
    }
    QVector<QFunctionPointer> found;
    found.reserve(symbols.size());
    for (const Symbol &symbol : symbols) {
        const QFunctionPointer function = library.resolve(symbol.name);
        if (!function) {
            if (error)
                *error = QStringLiteral("%1 has no %2: it is not the version this program needs")
                             .arg(file, QString::fromLatin1(symbol.name));
            return false;
        }
        found.append(function);
    }
    // Never unloaded: the functions found stay valid.
    int i = 0;
    for (const Symbol &symbol : symbols)
        *symbol.slot = found.at(i++);
    return true;
}

} // namespace SharedLibrary
