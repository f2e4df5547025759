#include "platform/SharedLibrary.h"

#include <QLibrary>
#include <QVector>

namespace SharedLibrary {

QString fileName(const QString &name, const QString &version)
{
    return QStringLiteral("lib%1.so.%2").arg(name, version);
}

bool load(const QString &name, const QString &version, const QVector<Symbol> &symbols, QString *error)
{
    const QString file = fileName(name, version);
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
