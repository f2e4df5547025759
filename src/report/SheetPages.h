#pragma once

#include <QVector>

class PageTable;
class SheetIndex;

// The form-feed pages whose bytes the chosen sheets of the printed look were
// printed from, in order: what a raw print of those sheets sends, so a sheet
// number reaches the same sheet in the view, in convert and in print. All
// sheets give all pages.
QVector<int> pagesOfSheets(const PageTable &pages, const SheetIndex &printed, const QVector<int> &sheets);
