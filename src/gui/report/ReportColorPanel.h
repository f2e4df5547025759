#pragma once

#include "report/ReportViewSettings.h"

#include <QFrame>

class JeweledButton;
class QCheckBox;
class QLabel;
class QLineEdit;

// The colour-settings panel of a report view: seven swatches TXt(0)..TXt(6)
// with a sample label Lb(i) beside each, and the bold and "-1 Line" boxes.
// A double-click on a swatch asks for a colour and stores the colours.
class ReportColorPanel : public QFrame
{
    Q_OBJECT

public:
    enum Swatch {
        Dubble = 0,
        Bold = 1,
        Normal = 2,
        Condence = 3,
        ReportBack = 4,
        SearchString = 5,
        Highlight = 6
    };
    static constexpr int SwatchCount = 7;

    explicit ReportColorPanel(QWidget *parent = nullptr);

    // Shows the stored settings and colours the "Dubble", "Bold" and
    // "Condence" samples.
    void showSettings(const ReportViewSettings &settings);
    QColor swatchColor(int index) const;
    void setSwatchColor(int index, const QColor &color);
    bool searchBold() const;
    bool highlightBold() const;
    bool minusOneLine() const;

    QLineEdit *TXt[SwatchCount] = {};
    QLabel *Lb[SwatchCount] = {};
    QCheckBox *ChSearch = nullptr;
    QCheckBox *ChHighlighte = nullptr;
    QCheckBox *ChL = nullptr;
    JeweledButton *Command3 = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void chooseColor(int index);
    void colorSample(int index);
    ReportViewSettings currentSettings() const;

    QColor m_colors[SwatchCount];
};
