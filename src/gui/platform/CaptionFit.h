#pragma once

#include <QList>

#include <functional>

class QWidget;

// Captions that show whole: the forms place their controls by fixed twip
// sizes made for another font, and some captions turn bold when chosen.

// Widens every check box, option box and label under `root` that is
// narrower than its caption needs (boxes in bold, the weight a chosen one
// takes), so it fits in every state.
void fitCaptions(QWidget *root);
// The same but for the controls under the panels `later`, hidden ones a
// form fits when it first shows them (fitting is text layout, some of a
// form's start).
void fitCaptions(QWidget *root, const QList<const QWidget *> &later);

// Widens one control to what its caption needs in its present font.
void fitCaption(QWidget *control);

// Fits the captions under `root` again whenever its font changes (the
// desktop's font, or one set on a window it stands in), once its children
// have taken the new font, and then calls `placeControls` (if given), where
// a form that places its controls by hand lays them out anew. A layout with
// a fixed size constraint then sizes `root` to its controls by itself.
void followFontChanges(QWidget *root, std::function<void()> placeControls = {});
