#include "export/XlsxWriterLibrary.h"

#include "LoadedLibraries.h"

const XlsxWriterLibrary *XlsxWriterLibrary::get(QString *error)
{
    return SharedLibrary::loadedTable<XlsxWriterLibrary>(QStringLiteral(STICKER2_LIBXLSXWRITER), error);
}

QVector<SharedLibrary::Symbol> XlsxWriterLibrary::symbols(XlsxWriterLibrary &t)
{
    return {
        SharedLibrary::symbol("workbook_new_opt", t.workbook_new_opt),
        SharedLibrary::symbol("workbook_add_worksheet", t.workbook_add_worksheet),
        SharedLibrary::symbol("workbook_set_properties", t.workbook_set_properties),
        SharedLibrary::symbol("workbook_close", t.workbook_close),
        SharedLibrary::symbol("worksheet_write_string", t.worksheet_write_string),
        SharedLibrary::symbol("worksheet_write_number", t.worksheet_write_number),
        SharedLibrary::symbol("lxw_strerror", t.lxw_strerror),
    };
}
