#pragma once

#include <QFrame>

class JeweledButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;

// The print-options panel of a report view: printer, mode, pitch, pages,
// copies and paper height. It lives inside its view, hidden until the view's
// print button shows it.
class PrintPanel : public QFrame
{
    Q_OBJECT

public:
    explicit PrintPanel(QWidget *parent = nullptr);

    // Fills the printer list with the installed printers and shows the
    // current printer (the system default until a print chooses another) in
    // CboPrinters and LaDefult.
    void LoadPrinters();
    // The paper-height box's text ("0" at every load of the view).
    void setPaperHeightText(const QString &text);
    // The range end box reads the highest page number from its tool tip.
    void setPageCount(int pageCount);
    // Page options: Op(0) "All Pages", Op(1) "Current Page", Op(2) "Page Range".
    void selectPageOption(int index);
    int pageOption() const;
    // Selects the Windows mode when the stored "Winp" says so.
    void readStoredMode();
    bool windowsMode() const;

    QComboBox *CboPrinters = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *LaDefult = nullptr;
    QRadioButton *OptCharMode = nullptr;
    QRadioButton *OptWinMode = nullptr;
    QCheckBox *Chwinprint = nullptr;
    QCheckBox *Check4 = nullptr;
    QCheckBox *ChDraft = nullptr;
    QCheckBox *Ch10 = nullptr;
    QCheckBox *Ch17 = nullptr;
    QCheckBox *Ch12 = nullptr;
    QGroupBox *FrmWin = nullptr;
    QRadioButton *OpPL[2] = {};
    QRadioButton *Op[3] = {};
    QLineEdit *Tst = nullptr;
    QLineEdit *Tend = nullptr;
    QLineEdit *Text3 = nullptr;
    QScrollBar *VScroll1 = nullptr;
    QComboBox *ComPaperHeight = nullptr;
    JeweledButton *CmdOk = nullptr;
    JeweledButton *CmdCancel = nullptr;

private:
    QButtonGroup *m_modeGroup = nullptr;
    QButtonGroup *m_pageGroup = nullptr;
    QButtonGroup *m_orientationGroup = nullptr;
};
