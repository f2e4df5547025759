#pragma once

#include "escp/PrintedSheet.h"
#include "report/PageTable.h"

#include <QByteArray>
#include <QVector>

#include <functional>

// Sheet i of a printed document, made on demand.
using SheetSource = std::function<Printed::Sheet(int index)>;

// The pages of a document in one look, counted as its view counts them:
// the print file's form-feed pages (the emphasis look) or the sheets the
// printer prints from them (the printed look). Printing, its preview, the
// exports and convert loop over count() and hand page i on to the drawing;
// which look the pages are in is settled once, where the source is made,
// and only the drawing (DocumentPrinter::print, the exporters' writer)
// looks at it. A copy is cheap: the bytes are shared, the sheets are made
// on demand by whoever made the source (valid while it is).
class PageSource
{
public:
    PageSource() = default; // no pages
    // The pages of the table, as the emphasis look shows them.
    static PageSource pagesOf(const PageTable &table);
    // One page of its own bytes (the page on screen as edited, a
    // selection), printed as one page whatever it holds.
    static PageSource onePage(const QByteArray &bytes);
    // The printed look: `count` sheets made from the table's bytes.
    static PageSource sheetsOf(const PageTable &table, const SheetSource &sheets, int count);

    int count() const;
    // Page i is a sheet of the printed look: drawn as the printer prints it.
    bool drawsSheets() const { return bool(m_sheets); }
    // The print-file bytes page i shows, 0 <= i < count(): the page without
    // its form feed, or the bytes a sheet was made from.
    QByteArray bytes(int i) const;
    // Sheet i while drawsSheets(); an empty sheet otherwise.
    Printed::Sheet sheet(int i) const;
    // Page i draws nothing: an empty page of the emphasis look (a sheet is
    // always a sheet of paper).
    bool blank(int i) const { return !drawsSheets() && bytes(i).isEmpty(); }
    // Page i alone, counted as page 0.
    PageSource only(int i) const;

    // The table the pages or sheets are read from (text exports read it);
    // empty for onePage().
    const PageTable &table() const { return m_table; }
    const SheetSource &sheets() const { return m_sheets; }
    // The pages of the print file that the chosen pages of this source show,
    // in order: themselves, or the pages the chosen sheets were printed from.
    QVector<int> filePages(const QVector<int> &chosen) const;

private:
    PageTable m_table;
    SheetSource m_sheets;
    int m_sheetCount = 0;
    int m_first = 0; // the first page or sheet of the table shown as page 0
    int m_count = 0; // -1: to the table's end (none made: no pages)
    bool m_single = false; // one page of its own bytes, form feeds and all, not cut
    QByteArray m_singleBytes;
};
