#pragma once

#include "sticker/StickerInput.h"

#include <QGroupBox>

class QComboBox;
class QLineEdit;
class QToolButton;

// The sticker form's "More" panel, beside the settings panel: numbers padded
// with zeros, the first free sticker of a part-used sheet, the numbered line
// drawn as a barcode, the code page of the character-mode sheet, and a CSV
// file whose rows fill the stickers (with its delimiter and encoding when they
// are not found from the file). Left at
// their defaults, every sheet is as it was.
class StickerMorePanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit StickerMorePanel(QWidget *parent = nullptr);

    // Width of the panel in twips.
    static int widthTwips() { return 3300; }

    // What is wrong with a box's text, for a message; empty when nothing
    // is. (The boxes let a number beyond their range be typed, as a step
    // to a smaller one.)
    QString problem() const;
    // The panel's values into `input`, and the reverse.
    void read(StickerInput &input) const;
    void showInput(const StickerInput &input);

private:
    void chooseDataFile();

    QLineEdit *m_digits;
    QLineEdit *m_startAt;
    QComboBox *m_barcode;
    QComboBox *m_codePage;
    QLineEdit *m_dataFile;
    QToolButton *m_browse;
    QComboBox *m_delimiter;
    QComboBox *m_encoding;
};
