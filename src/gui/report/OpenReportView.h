#pragma once

#include "codepage/CodePageGuess.h"

#include <QStringList>

#include <optional>

class FrmReport;
class QWidget;

// The report views open now (at most six): each view counts itself in when
// it is shown and out when it closes.
extern quint8 OpenViewCount;

// Opens a new report view on the print file `file`, modeless. Refuses with a
// message when six views are open already. Returns the view, or nullptr when
// it was refused or its file could not be read (the caller need not keep it).
FrmReport *OpenReportView(const QString &file);

// Opens a report view on each file in turn, as Import loads a file, with the
// six-view rule; a file that cannot be read gives its message and the others
// still open. A code page given reads the files in it rather than in the
// stored one. Views of a watched folder reload by themselves when their
// file is written anew. Returns how many views opened.
int openReportViews(
    const QStringList &files, std::optional<CodePage::Choice> codePage = std::nullopt, bool watched = false);

// Lets a window take print files dropped on it (and on its text boxes): each
// dropped local file opens in a report view of its own.
void acceptFileDrops(QWidget *window);
