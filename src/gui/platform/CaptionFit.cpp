#include "gui/platform/CaptionFit.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QRadioButton>

#include <algorithm>

namespace {

// Check and option boxes turn bold when chosen: their room is measured bold.
// A box is as wide as its indicator, the spacing and its caption, so the
// bold caption's extra width is added to its size: measured from the two
// weights' metrics, rather than by setting a bold font on the box and back
// (two font changes, each polishing the box and asking its layout again, on
// every box of a form before its first picture).
int neededWidth(QWidget *control)
{
    const int width = control->sizeHint().width();
    const auto *box = qobject_cast<QAbstractButton *>(control);
    if (!qobject_cast<QCheckBox *>(control) && !qobject_cast<QRadioButton *>(control))
        return width;
    QFont bold = control->font();
    bold.setBold(true);
    const int plain = QFontMetrics(control->font()).size(Qt::TextShowMnemonic, box->text()).width();
    const int wider = QFontMetrics(bold).size(Qt::TextShowMnemonic, box->text()).width();
    return width + qMax(0, wider - plain);
}

void widenTo(QWidget *control, int needed)
{
    // A minimum, so that a layout the control stands in keeps the room too.
    control->setMinimumWidth(qMax(control->minimumWidth(), needed));
    if (control->width() < needed)
        control->resize(needed, control->height());
}

// Watches one form for a new font.
class FontFollower : public QObject
{
public:
    FontFollower(QWidget *root, std::function<void()> placeControls)
        : QObject(root)
        , m_root(root)
        , m_placeControls(std::move(placeControls))
    {
        root->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_root && event->type() == QEvent::FontChange && !m_pending) {
            // The children take the font after their parent: measure once
            // they all have it.
            m_pending = true;
            QMetaObject::invokeMethod(
                this, [this] { refit(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void refit()
    {
        m_pending = false;
        fitCaptions(m_root);
        if (m_placeControls)
            m_placeControls();
    }

    QWidget *m_root;
    std::function<void()> m_placeControls;
    bool m_pending = false;
};

} // namespace

void followFontChanges(QWidget *root, std::function<void()> placeControls)
{
    new FontFollower(root, std::move(placeControls));
}

void fitCaption(QWidget *control)
{
    widenTo(control, control->sizeHint().width());
}

void fitCaptions(QWidget *root)
{
    fitCaptions(root, {});
}

void fitCaptions(QWidget *root, const QList<const QWidget *> &later)
{
    for (QWidget *control : root->findChildren<QWidget *>()) {
        const auto holds = [control](const QWidget *panel) { return panel->isAncestorOf(control); };
        if (std::any_of(later.begin(), later.end(), holds))
            continue;
        const auto *label = qobject_cast<QLabel *>(control);
        const bool caption = qobject_cast<QCheckBox *>(control) || qobject_cast<QRadioButton *>(control)
            || (label && !label->text().isEmpty() && !label->wordWrap());
        if (!caption || control->minimumWidth() == control->maximumWidth())
            continue;
        control->ensurePolished();
        widenTo(control, neededWidth(control));
    }
}
