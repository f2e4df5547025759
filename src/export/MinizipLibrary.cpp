#include "export/MinizipLibrary.h"

#include "LoadedLibraries.h"

const MinizipLibrary *MinizipLibrary::get(QString *error)
{
    return SharedLibrary::loadedTable<MinizipLibrary>(QStringLiteral(STICKER2_LIBMINIZIP), error);
}

QVector<SharedLibrary::Symbol> MinizipLibrary::symbols(MinizipLibrary &t)
{
    return {
        SharedLibrary::symbol("unzOpen64", t.unzOpen64),
        SharedLibrary::symbol("unzClose", t.unzClose),
        SharedLibrary::symbol("unzGoToFirstFile", t.unzGoToFirstFile),
        SharedLibrary::symbol("unzGoToNextFile", t.unzGoToNextFile),
        SharedLibrary::symbol("unzGetCurrentFileInfo64", t.unzGetCurrentFileInfo64),
        SharedLibrary::symbol("unzOpenCurrentFile", t.unzOpenCurrentFile),
        SharedLibrary::symbol("unzReadCurrentFile", t.unzReadCurrentFile),
        SharedLibrary::symbol("unzCloseCurrentFile", t.unzCloseCurrentFile),
    };
}
