#include "report/ShownPages.h"

#include <utility>

bool ShownPages::editedPage(const ReportDocument &document, const ShownText &onScreen, QByteArray *bytes,
    QString *error)
{
    bytes->clear();
    if (document.pageSource().drawsSheets())
        return true;
    QByteArray shown;
    if (!document.shownPageBytes(onScreen, false, &shown, error))
        return false;
    const PageTable &pages = document.pages();
    const bool asRead = document.continuous() ? shown == pages.bytes()
                                              : shown == pages.pageBytes(document.currentPage()) + '\f';
    if (!asRead)
        *bytes = shown;
    return true;
}

bool ShownPages::of(const ReportDocument &document, const ShownText &onScreen, const PageSelection &choice,
    ShownPages *shown, QString *error)
{
    shown->source = document.pageSource();
    shown->chosen = document.chosenShown(choice);
    shown->edited = false;
    QByteArray edit;
    if (!editedPage(document, onScreen, &edit, error))
        return false;
    if (edit.isEmpty())
        return true;
    QByteArray bytes = edit; // the whole file is on screen, edited: its pages are cut anew
    if (!document.continuous()) {
        const int current = document.currentPage();
        if (!shown->chosen.contains(current))
            return true;
        bytes.clear();
        for (int i : std::as_const(shown->chosen))
            bytes += i == current ? edit : document.pages().pageBytes(i) + '\f';
    }
    PageTable pages;
    pages.setBytes(bytes);
    shown->source = PageSource::pagesOf(pages);
    shown->chosen.clear();
    for (int i = 0; i < pages.PageCount(); ++i)
        shown->chosen.append(i);
    shown->edited = true;
    return true;
}

bool ShownPages::wholeFile(const ReportDocument &document, const ShownText &onScreen, QByteArray *bytes,
    bool *edited, QString *error)
{
    bytes->clear();
    *edited = false;
    QByteArray edit;
    if (!editedPage(document, onScreen, &edit, error))
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
