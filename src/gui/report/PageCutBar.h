#pragma once

#include "gui/report/QuietBar.h"

class QLabel;
class QProgressBar;

// The quiet bar of a report view whose large file is still being cut into
// pages: how far the cut is, with Cancel (which gives up the opening). The
// pages already cut can be read meanwhile.
class PageCutBar : public QuietBar
{
    Q_OBJECT

public:
    explicit PageCutBar(QWidget *parent = nullptr);

    // `done` of `total` bytes are cut, into `pages` pages so far; the bar
    // hides once the whole file is cut.
    void showProgress(qint64 done, qint64 total, int pages);

signals:
    void cancelled();

private:
    QProgressBar *m_progress;
};
