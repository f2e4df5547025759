#pragma once

#include "codepage/CodePage.h"

#include <QString>
#include <QVector>

class PageTable;
class QIODevice;

// The chosen pages as plain text: each page's bytes followed by one form
// feed, every line end (CR LF, a lone CR or a lone LF) written as CR LF and
// every other byte unchanged. Every index must be a page of the table. In a
// code page other than Latin-1 the same text is written decoded, in UTF-8.
bool writePlainText(QIODevice &out, const PageTable &table, const QVector<int> &pages, QString *error,
    CodePage::Id codePage = CodePage::Id::Latin1);

// The same into a file, written whole or not at all; the error names the file.
bool savePlainText(const QString &path, const PageTable &table, const QVector<int> &pages, QString *error,
    CodePage::Id codePage = CodePage::Id::Latin1);
