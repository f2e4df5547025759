#include "printing/CupsLibrary.h"

#include "LoadedLibraries.h"

const CupsLibrary *CupsLibrary::get(QString *error)
{
    return SharedLibrary::loadedTable<CupsLibrary>(QStringLiteral(STICKER2_LIBCUPS), error);
}

QVector<SharedLibrary::Symbol> CupsLibrary::symbols(CupsLibrary &t)
{
    return {
        SharedLibrary::symbol("cupsCancelJob2", t.cupsCancelJob2),
        SharedLibrary::symbol("cupsCreateJob", t.cupsCreateJob),
        SharedLibrary::symbol("cupsDoFileRequest", t.cupsDoFileRequest),
        SharedLibrary::symbol("cupsDoRequest", t.cupsDoRequest),
        SharedLibrary::symbol("cupsEncryption", t.cupsEncryption),
        SharedLibrary::symbol("cupsFinishDocument", t.cupsFinishDocument),
        SharedLibrary::symbol("cupsFreeDests", t.cupsFreeDests),
        SharedLibrary::symbol("cupsGetDests2", t.cupsGetDests2),
        SharedLibrary::symbol("cupsGetNamedDest", t.cupsGetNamedDest),
        SharedLibrary::symbol("cupsLastError", t.cupsLastError),
        SharedLibrary::symbol("cupsLastErrorString", t.cupsLastErrorString),
        SharedLibrary::symbol("cupsServer", t.cupsServer),
        SharedLibrary::symbol("cupsStartDocument", t.cupsStartDocument),
        SharedLibrary::symbol("cupsUser", t.cupsUser),
        SharedLibrary::symbol("cupsWriteRequestData", t.cupsWriteRequestData),
        SharedLibrary::symbol("httpAssembleURIf", t.httpAssembleURIf),
        SharedLibrary::symbol("httpClose", t.httpClose),
        SharedLibrary::symbol("httpConnect2", t.httpConnect2),
        SharedLibrary::symbol("httpSetTimeout", t.httpSetTimeout),
        SharedLibrary::symbol("ippAddBoolean", t.ippAddBoolean),
        SharedLibrary::symbol("ippAddInteger", t.ippAddInteger),
        SharedLibrary::symbol("ippAddString", t.ippAddString),
        SharedLibrary::symbol("ippAddStrings", t.ippAddStrings),
        SharedLibrary::symbol("ippDelete", t.ippDelete),
        SharedLibrary::symbol("ippFindAttribute", t.ippFindAttribute),
        SharedLibrary::symbol("ippGetCount", t.ippGetCount),
        SharedLibrary::symbol("ippGetString", t.ippGetString),
        SharedLibrary::symbol("ippNewRequest", t.ippNewRequest),
        SharedLibrary::symbol("ippPort", t.ippPort),
    };
}
