#include "platform/LibraryModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace {

struct Loaded
{
    void *handle = nullptr;
    QString error;
};

const Loaded &loaded()
{
    static const Loaded module = [] {
        Loaded result;
        const QString file = LibraryModule::filePath();
        if (!QFileInfo(file).isFile()) {
            result.error = QStringLiteral("%1: the program's library module is missing (reinstall sticker2)")
                               .arg(QDir::toNativeSeparators(file));
            return result;
        }
        // Never unloaded: the tables it gives stay valid. Its own symbols stay
        // inside it.
        result.handle = dlopen(QFile::encodeName(file).constData(), RTLD_LAZY | RTLD_LOCAL);
        if (!result.handle)
            result.error = QStringLiteral("%1 cannot be loaded (%2); reinstall sticker2")
                               .arg(QDir::toNativeSeparators(file), QString::fromLocal8Bit(dlerror()));
        return result;
    }();
    return module;
}

} // namespace

namespace LibraryModule {

QString filePath()
{
    Dl_info info {};
    QString holder;
    if (dladdr(reinterpret_cast<void *>(&LibraryModule::filePath), &info) && info.dli_fname)
        holder = QFile::decodeName(info.dli_fname);
    // An executable is named as it was started: /proc knows its file.
    if (!QFileInfo(holder).isAbsolute())
        holder = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return QDir(QFileInfo(holder).absolutePath()).filePath(QLatin1String(FileName));
}

QFunctionPointer entry(const char *name, QString *error)
{
    const Loaded &module = loaded();
    if (!module.handle) {
        if (error)
            *error = module.error;
        return nullptr;
    }
    const auto found = reinterpret_cast<QFunctionPointer>(dlsym(module.handle, name));
    if (!found && error)
        *error = QStringLiteral("%1 is not this program's library module (it has no %2); reinstall sticker2")
                     .arg(QDir::toNativeSeparators(filePath()), QString::fromLatin1(name));
    return found;
}

} // namespace LibraryModule
