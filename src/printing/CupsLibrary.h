#pragma once

#include <cups/cups.h>

#include "platform/SharedLibrary.h"

// The functions of libcups this program calls, found when printing or the
// printer list is first used rather than at start, so that a start that
// never prints does not load CUPS and the libraries it pulls in.
struct CupsLibrary
{
    decltype(&::cupsCancelJob2) cupsCancelJob2 = nullptr;
    decltype(&::cupsCreateJob) cupsCreateJob = nullptr;
    decltype(&::cupsDoFileRequest) cupsDoFileRequest = nullptr;
    decltype(&::cupsDoRequest) cupsDoRequest = nullptr;
    decltype(&::cupsEncryption) cupsEncryption = nullptr;
    decltype(&::cupsFinishDocument) cupsFinishDocument = nullptr;
    decltype(&::cupsFreeDests) cupsFreeDests = nullptr;
    decltype(&::cupsGetDests2) cupsGetDests2 = nullptr;
    decltype(&::cupsGetNamedDest) cupsGetNamedDest = nullptr;
    decltype(&::cupsLastError) cupsLastError = nullptr;
    decltype(&::cupsLastErrorString) cupsLastErrorString = nullptr;
    decltype(&::cupsServer) cupsServer = nullptr;
    decltype(&::cupsStartDocument) cupsStartDocument = nullptr;
    decltype(&::cupsUser) cupsUser = nullptr;
    decltype(&::cupsWriteRequestData) cupsWriteRequestData = nullptr;
    decltype(&::httpAssembleURIf) httpAssembleURIf = nullptr;
    decltype(&::httpClose) httpClose = nullptr;
    decltype(&::httpConnect2) httpConnect2 = nullptr;
    decltype(&::httpSetTimeout) httpSetTimeout = nullptr;
    decltype(&::ippAddBoolean) ippAddBoolean = nullptr;
    decltype(&::ippAddInteger) ippAddInteger = nullptr;
    decltype(&::ippAddString) ippAddString = nullptr;
    decltype(&::ippAddStrings) ippAddStrings = nullptr;
    decltype(&::ippDelete) ippDelete = nullptr;
    decltype(&::ippFindAttribute) ippFindAttribute = nullptr;
    decltype(&::ippGetCount) ippGetCount = nullptr;
    decltype(&::ippGetString) ippGetString = nullptr;
    decltype(&::ippNewRequest) ippNewRequest = nullptr;
    decltype(&::ippPort) ippPort = nullptr;

    // The library, loaded on the first call; nullptr, with an error that
    // names libcups.so.2, when it is missing.
    static const CupsLibrary *get(QString *error);
    static QVector<SharedLibrary::Symbol> symbols(CupsLibrary &table);
};
