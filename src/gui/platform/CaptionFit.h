#pragma once

class QWidget;

// Captions that show whole: the forms place their controls by fixed twip
// sizes made for another font, and some captions turn bold when chosen.

// Widens every check box, option box and label under `root` that is
// narrower than its caption needs (boxes in bold, the weight a chosen one
// takes), so it fits in every state.
void fitCaptions(QWidget *root);

// Widens one control to what its caption needs in its present font.
void fitCaption(QWidget *control);
