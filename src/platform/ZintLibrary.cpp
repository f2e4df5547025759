#include "platform/ZintLibrary.h"

#include "LoadedLibraries.h"

const ZintLibrary *ZintLibrary::get(QString *error)
{
    return SharedLibrary::loadedTable<ZintLibrary>(QStringLiteral(STICKER2_LIBZINT), error);
}

QVector<SharedLibrary::Symbol> ZintLibrary::symbols(ZintLibrary &t)
{
    return {
        SharedLibrary::symbol("ZBarcode_Create", t.ZBarcode_Create),
        SharedLibrary::symbol("ZBarcode_Delete", t.ZBarcode_Delete),
        SharedLibrary::symbol("ZBarcode_Encode", t.ZBarcode_Encode),
        SharedLibrary::symbol("ZBarcode_Buffer_Vector", t.ZBarcode_Buffer_Vector),
    };
}
