#pragma once

#include "escp/PrintedSheet.h"

#include <QVector>

#include <functional>

class PageTable;
class SheetIndex;

// The form-feed pages whose bytes the chosen sheets of the printed look were
// printed from, in order: what a raw print of those sheets sends, so a sheet
// number reaches the same sheet in the view, in convert and in print. All
// sheets give all pages.
QVector<int> pagesOfSheets(const PageTable &pages, const SheetIndex &printed, const QVector<int> &sheets);
// The same over sheets made on demand, `sheetCount` of them.
QVector<int> pagesOfSheets(const PageTable &pages, const std::function<Printed::Sheet(int)> &sheet, int sheetCount,
    const QVector<int> &sheets);
