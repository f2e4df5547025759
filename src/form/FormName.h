#pragma once

#include <QString>

// A form as it is named: a file, and a page of it when the name ends in
// "#page=N" and no file of that whole name exists (a file may be called so).
struct FormName
{
    QString filePath;
    int pageNumber = 0;     // 1-based when named
    bool pageNamed = false; // "#page=N" was taken off the name
    QString badPage;        // "#page=" followed by no page number (the text after it), on a file that exists

    static FormName of(const QString &path);
};
