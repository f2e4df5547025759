#pragma once

#include <xlsxwriter.h>

#include "platform/SharedLibrary.h"

// The functions of libxlsxwriter this program calls, found when the first
// workbook is written rather than at start.
struct XlsxWriterLibrary
{
    decltype(&::workbook_new_opt) workbook_new_opt = nullptr;
    decltype(&::workbook_add_worksheet) workbook_add_worksheet = nullptr;
    decltype(&::workbook_set_properties) workbook_set_properties = nullptr;
    decltype(&::workbook_close) workbook_close = nullptr;
    decltype(&::worksheet_write_string) worksheet_write_string = nullptr;
    decltype(&::worksheet_write_number) worksheet_write_number = nullptr;
    decltype(&::lxw_strerror) lxw_strerror = nullptr;

    // The library, loaded on the first call; nullptr, with an error that
    // names libxlsxwriter.so.4, when it is missing.
    static const XlsxWriterLibrary *get(QString *error);
    static QVector<SharedLibrary::Symbol> symbols(XlsxWriterLibrary &table);
};
