#include "report/ShownPages.h"

#include <utility>

bool ShownPages::editedPage(const ReportDocument &document, QByteArray *bytes, QString *error)
{
    bytes->clear();
    QByteArray shown;
    if (!document.shownPageBytes(false, &shown, error))
        return false;
    const PageTable &pages = document.pages();
    const bool asRead = document.continuous() ? shown == pages.bytes()
                                              : shown == pages.pageBytes(document.currentPage()) + '\f';
    if (!asRead)
        *bytes = shown;
    return true;
}

bool ShownPages::of(const ReportDocument &document, const PageSelection &choice, ShownPages *shown, QString *error)
{
    shown->pages = document.pages();
    shown->chosen = document.chosenPages(choice);
    shown->edited = false;
    if (document.showsSheets())
        return true; // the sheets are drawn from the file as read
    QByteArray edit;
    if (!editedPage(document, &edit, error))
        return false;
    if (edit.isEmpty())
        return true;
    if (document.continuous()) {
        // The whole file is on screen, edited: its pages are cut anew.
        shown->pages.setBytes(edit);
        shown->chosen.clear();
        for (int i = 0; i < shown->pages.PageCount(); ++i)
            shown->chosen.append(i);
        shown->edited = true;
        return true;
    }
    const int current = document.currentPage();
    if (!shown->chosen.contains(current))
        return true;
    QByteArray bytes;
    for (int i : std::as_const(shown->chosen))
        bytes += i == current ? edit : document.pages().pageBytes(i) + '\f';
    shown->pages.setBytes(bytes);
    shown->chosen.clear();
    for (int i = 0; i < shown->pages.PageCount(); ++i)
        shown->chosen.append(i);
    shown->edited = true;
    return true;
}

bool ShownPages::wholeFile(const ReportDocument &document, QByteArray *bytes, bool *edited, QString *error)
{
    bytes->clear();
    *edited = false;
    if (document.showsSheets())
        return true;
    QByteArray edit;
    if (!editedPage(document, &edit, error))
        return false;
    if (edit.isEmpty())
        return true;
    *edited = true;
    if (document.continuous()) {
        *bytes = edit;
        return true;
    }
    // The page and its form feed replaced where they lie in the file.
    const PageTable &pages = document.pages();
    const QByteArrayView page = pages.pageView(document.currentPage());
    const qsizetype start = page.data() - pages.bytes().constData();
    const qsizetype end = qMin(pages.bytes().size(), start + page.size() + 1);
    *bytes = pages.bytes().left(start) + edit + pages.bytes().mid(end);
    return true;
}
