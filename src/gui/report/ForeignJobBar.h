#pragma once

#include "gui/report/QuietBar.h"

// A quiet bar over the foot of a report view's page, as the code page's: it
// says that the file is a job in another printer language (PostScript, PCL,
// a page printer's raster), sent by a client set up with the wrong driver,
// and that it is shown as ESC/P all the same. It asks nothing; closing it
// leaves the view as it is.
class ForeignJobBar : public QuietBar
{
    Q_OBJECT

public:
    explicit ForeignJobBar(QWidget *parent = nullptr);

    // Shows the bar for a file in `language`; hides it when that is empty.
    void showFor(const QString &language);
};
