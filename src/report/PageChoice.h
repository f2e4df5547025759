#pragma once

#include <QString>
#include <QVector>

// The page indexes first to last (0-based), kept to the pages that exist
// (0 to pageCount - 1), so a range typed beyond the report never reads
// outside the page table. Empty when nothing of the range exists.
QVector<int> pageIndexes(int first, int last, int pageCount);

// A page choice as the command line takes it: "all", one page "N", or a range
// "A-B" (1-based), kept to the pages as the print panel keeps a range: an end
// before the start becomes the start, an end past the last page becomes the
// last page. False with a message when the text is none of these or no page
// of it exists.
bool parsePageChoice(const QString &text, int pageCount, QVector<int> *pages, QString *error);

// Whether the text is a page choice at all ("all", N or A-B), whatever the
// report's pages: the command line checks it before it reads a file.
bool isPageChoiceText(const QString &text);
