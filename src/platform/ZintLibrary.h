#pragma once

#include <zint.h>

#include "platform/SharedLibrary.h"

// The functions of zint this program calls, found when the first barcode is
// drawn rather than at start.
struct ZintLibrary
{
    decltype(&::ZBarcode_Create) ZBarcode_Create = nullptr;
    decltype(&::ZBarcode_Delete) ZBarcode_Delete = nullptr;
    decltype(&::ZBarcode_Encode) ZBarcode_Encode = nullptr;
    decltype(&::ZBarcode_Buffer_Vector) ZBarcode_Buffer_Vector = nullptr;

    // The library, loaded on the first call; nullptr, with an error that
    // names libzint.so.2.11, when it is missing.
    static const ZintLibrary *get(QString *error);
    static QVector<SharedLibrary::Symbol> symbols(ZintLibrary &table);
};
