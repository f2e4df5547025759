#pragma once

#include "report/PageSource.h"
#include "report/ReportDocument.h"

#include <QByteArray>
#include <QVector>

// The pages of a report as its view shows them, for the exports: what the
// user sees is what is exported, as it is what is printed. While the page on
// screen is edited, its edited text takes the place of the page it was read
// from; otherwise they are the document's own pages, or its sheets in the
// printed look (drawn from the file as read: an edit is of the text view).
struct ShownPages
{
    PageSource source;    // the document's pages or sheets, or the chosen pages with the edit in place
    QVector<int> chosen;  // the chosen pages, counted in `source`
    bool edited = false;  // the page on screen is edited and among the chosen

    // The chosen pages as the view counts them. False with an error naming
    // a character the code page lacks.
    static bool of(const ReportDocument &document, const ShownText &onScreen, const PageSelection &choice,
        ShownPages *shown, QString *error);
    // The whole print file as shown: its bytes with the edited page in
    // place; `edited` false (and `bytes` empty) when nothing is edited.
    static bool wholeFile(const ReportDocument &document, const ShownText &onScreen, QByteArray *bytes,
        bool *edited, QString *error);

private:
    // The page on screen as edited, empty when it is as read or the
    // printed look shows the sheets.
    static bool editedPage(const ReportDocument &document, const ShownText &onScreen, QByteArray *bytes,
        QString *error);
};
