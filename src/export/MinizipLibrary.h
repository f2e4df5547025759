#pragma once

#include <unzip.h>

#include "platform/SharedLibrary.h"

// The functions of minizip this program calls (to read a written workbook
// back), found on first use rather than at start.
struct MinizipLibrary
{
    decltype(&::unzOpen64) unzOpen64 = nullptr;
    decltype(&::unzClose) unzClose = nullptr;
    decltype(&::unzGoToFirstFile) unzGoToFirstFile = nullptr;
    decltype(&::unzGoToNextFile) unzGoToNextFile = nullptr;
    decltype(&::unzGetCurrentFileInfo64) unzGetCurrentFileInfo64 = nullptr;
    decltype(&::unzOpenCurrentFile) unzOpenCurrentFile = nullptr;
    decltype(&::unzReadCurrentFile) unzReadCurrentFile = nullptr;
    decltype(&::unzCloseCurrentFile) unzCloseCurrentFile = nullptr;

    // The library, loaded on the first call; nullptr, with an error that
    // names libminizip.so.1, when it is missing.
    static const MinizipLibrary *get(QString *error);
    static QVector<SharedLibrary::Symbol> symbols(MinizipLibrary &table);
};
