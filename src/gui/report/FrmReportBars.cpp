// The report view's bars laid out from the font's metrics. Each control has
// the place and size the form was drawn with (in twips); at the form's font
// it stands there. A larger desktop font or a longer caption (another
// language) makes a control as large as it needs, and the controls beside
// it move along. In the top bar: the colour label, Vsual, Zoom and Import
// from the left, the page label, the search box and its label from the
// right edge, the preview label centred between them; the bar is as tall as
// its tallest control. In the bottom bar: the page buttons, the go-to box
// and the export buttons from the left. The window is never narrower than
// the bars need.
#include "gui/controls/JeweledButton.h"
#include "gui/controls/SpLebal.h"
#include "gui/report/FrmReport.h"
#include "platform/Twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace {

struct Designed
{
    QWidget *control;
    double width;  // twips
    double height; // twips
};

// What the control needs in its present font: a text box its least size, a
// caption its whole width (a box's in bold: fitCaptions keeps it as the
// minimum width); never less than the form was drawn with.
QSize neededSize(const Designed &d)
{
    QSize hint = qobject_cast<QLineEdit *>(d.control) ? d.control->minimumSizeHint() : d.control->sizeHint();
    if (auto *caption = qobject_cast<SpLebal *>(d.control)) {
        // Its caption and the free margin it keeps round it.
        const QRect inside = caption->textRect();
        hint = QSize(
            caption->fontMetrics().horizontalAdvance(caption->Caption()) + caption->width() - inside.width(),
            caption->fontMetrics().height() + caption->height() - inside.height());
    }
    return hint.expandedTo(d.control->minimumSize())
        .expandedTo(QSize(Twips::toPixels(d.width), Twips::toPixels(d.height)));
}

} // namespace

int FrmReport::layoutTopBar(int *neededWidth)
{
    const int gap = Twips::toPixels(50);
    // From the left: each at its drawn place, or after the one before it.
    const struct
    {
        Designed designed;
        double left;
    } fromLeft[] = {
        {{Label4, 1300, 300}, 120},
        {{Check1, 900, 360}, 1500},
        {{Command2, 1100, 360}, 2450},
        {{CmdImport, 1000, 360}, 3600},
    };
    // From the right edge: each the drawn space left of the one after it.
    const struct
    {
        Designed designed;
        double space;
    } fromRight[] = {
        {{LbPageNo, 1500, 360}, 200},
        {{Text4, 2000, 360}, 200},
        {{Label7, 1300, 360}, 100},
    };
    const Designed preview {lb1, 1300, 360};

    // As tall as the tallest control, with the drawn margin above and under it.
    int tallest = neededSize(preview).height();
    for (const auto &c : fromLeft)
        tallest = qMax(tallest, neededSize(c.designed).height());
    for (const auto &c : fromRight)
        tallest = qMax(tallest, neededSize(c.designed).height());
    const int barHeight = qMax(Twips::toPixels(500), tallest + 2 * Twips::toPixels(70));
    const auto put = [barHeight](QWidget *w, int x, QSize size) {
        w->setGeometry(x, (barHeight - size.height() + 1) / 2, size.width(), size.height());
    };

    int leftEnd = 0;
    for (const auto &c : fromLeft) {
        const QSize size = neededSize(c.designed);
        const int x = qMax(Twips::toPixels(c.left), leftEnd > 0 ? leftEnd + gap : 0);
        put(c.designed.control, x, size);
        leftEnd = x + size.width();
    }
    int rightStart = width();
    for (const auto &c : fromRight) {
        const QSize size = neededSize(c.designed);
        rightStart -= Twips::toPixels(c.space) + size.width();
        put(c.designed.control, rightStart, size);
    }
    // Centred in the window, or as near it as the controls beside it allow.
    const QSize previewSize = neededSize(preview);
    const int lowest = leftEnd + gap;
    const int highest = rightStart - gap - previewSize.width();
    put(lb1, qMax(lowest, qMin((width() - previewSize.width()) / 2, highest)), previewSize);

    // Narrower than this, the controls would run into each other.
    *neededWidth = lowest + previewSize.width() + gap + (width() - rightStart);
    return barHeight;
}

int FrmReport::layoutBottomRow()
{
    // Each at its drawn place and height, or after the one before it.
    const struct
    {
        Designed designed;
        double left;
        double top;
    } row[] = {
        {{CmdFst, 1000, 400}, 60, 150},
        {{CmdBck, 1000, 400}, 1100, 150},
        {{CmdNxt, 1000, 400}, 2140, 150},
        {{CmdLast, 1000, 400}, 3180, 150},
        {{SpLebal3, 950, 480}, 4280, 110},
        {{Text2, 800, 360}, 5280, 170},
        {{JeweledButton1, 1100, 400}, 6180, 150},
        {{CmdExelExp, 1100, 400}, 7330, 150},
    };
    const int gap = Twips::toPixels(40);
    int end = 0;
    for (const auto &c : row) {
        const QSize size = neededSize(c.designed);
        const int x = qMax(Twips::toPixels(c.left), end > 0 ? end + gap : 0);
        c.designed.control->setGeometry(x, Twips::toPixels(c.top), size.width(), size.height());
        end = x + size.width();
    }
    return end;
}

int FrmReport::sizeBottomRight()
{
    // Continuous over Edit, Print and Exit beside each other: each as large
    // as it needs, the bar as tall as the tallest stack with the drawn
    // margins.
    const Designed group[] = {{Check3, 1000, 300}, {Check2, 1000, 300}, {CmdPrint, 1000, 400}, {JeExit, 1000, 400}};
    for (const Designed &d : group)
        d.control->resize(neededSize(d));
    const int boxes = Twips::toPixels(40 + 30 + 80) + Check3->height() + Check2->height();
    const int buttons = Twips::toPixels(150 + 200) + qMax(CmdPrint->height(), JeExit->height());
    return qMax(Twips::toPixels(BottomBarTwips), qMax(boxes, buttons));
}
