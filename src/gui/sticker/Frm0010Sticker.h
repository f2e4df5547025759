#pragma once

#include "sticker/StickerInput.h"

#include <QWidget>

#include <array>

class Atext;
class JeweledButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class StickerMorePanel;
class StickerPreview;

// The main form: the sticker lines and two number ranges typed by the user,
// the eight format slots, the grid and Windows-mode settings, and the print
// buttons that write a character-mode sheet (opened in a report view) or
// draw the sheet on the printer or on the view "Pic". The controls hold the
// form's state; the handlers read them when they run.
class Frm0010Sticker : public QWidget
{
    Q_OBJECT

public:
    explicit Frm0010Sticker(QWidget *parent = nullptr);

    static QString designCaption() { return tr("Velmora Software - Utility"); }
    // Widths of the left panel and of the settings panel, in twips.
    static int frame4WidthTwips();
    static int frame1WidthTwips();

    // The selected format slot (0 to 7) and print style (0 normal, 1 condensed).
    int formatSlot() const { return m_formatSlot; }
    int maxField() const { return m_maxField; }

    // Everything a sheet or a save reads from the form, and the reverse.
    StickerInput readInput() const;
    // The form's input with its data file read, as every route takes the
    // sheet (SHOW, Print, Preview and the command line alike); false after
    // telling the user when the data file cannot be used.
    bool readSheetInput(StickerInput *input);
    void showInput(const StickerInput &input);

    // Selecting slot k: bold caption, then its stored values (settings store,
    // then its format file).
    void selectSlot(int slot);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildLinePanel();
    void buildLineFields();
    void buildCountRow();
    void buildModeRow();
    void buildFormatSlots();
    void buildButtons();
    void themeButtonIcons();
    void buildSettingsPanel();
    void buildSheetSettings();
    void buildWindowsGeometry();
    // Names for screen readers and the Tab order (Frm0010StickerAccess.cpp).
    void makeAccessible();
    void Form_Load();
    void LoadWindowSettings();
    // The character-mode run: the print file, then a report view on it.
    void runCharacterSheet(StickerInput &input);

    // Handlers.
    void JBshow_Click(int index);
    void CmdSave_Click();
    void CmdExit_Click();
    void JeweledButton1_Click();
    void Label1_DblClick();
    void Op_Click(int index);
    void Combo1_Click();
    void Atxt_Change(int index);
    void Atxt_KeyPress(int index, int &keyAscii);
    void TxNos_Change();

    void showSettingsPanel(bool show);
    void setFormWidthTwips(int twips);
    // The six Windows-mode geometry fields shared by every slot.
    void showWindowGeometry(const StickerInput &input);
    void showComboText(QComboBox *combo, const QString &text);

    QLabel *Label1 = nullptr;
    QGroupBox *Frame4 = nullptr;
    QGroupBox *Frame3 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame5 = nullptr;
    std::array<Atext *, 12> Atxt {};
    std::array<QLabel *, 20> lb {};
    std::array<QRadioButton *, 8> OPss {};
    std::array<QRadioButton *, 2> Op {};
    std::array<JeweledButton *, 2> JBshow {};
    JeweledButton *CmdSave = nullptr;
    JeweledButton *CmdExit = nullptr;
    JeweledButton *JeweledButton1 = nullptr;
    JeweledButton *CmdPreview = nullptr;
    QCheckBox *ChkIn1 = nullptr;
    QCheckBox *ChkIn2 = nullptr;
    QCheckBox *ChKwIN = nullptr;
    QLineEdit *TxNos = nullptr;
    QLineEdit *txtPage = nullptr;
    QLineEdit *TxSp = nullptr;
    QLineEdit *TxCol = nullptr;
    QLineEdit *TxRow = nullptr;
    QLineEdit *TxBlank = nullptr;
    QLineEdit *TxMaxFLenth = nullptr;
    QLineEdit *txtRowPrint = nullptr;
    QComboBox *Combo1 = nullptr;
    QComboBox *Combo2 = nullptr;
    QLineEdit *TxtFontNM = nullptr;
    QLineEdit *TxtFontSZ = nullptr;
    QLineEdit *TxtMtop = nullptr;
    QLineEdit *TxtMLeft = nullptr;
    QLineEdit *TxtHEight = nullptr;
    QLineEdit *TxtWidth = nullptr;
    StickerPreview *Pic = nullptr;
    StickerMorePanel *FrameMore = nullptr;

    int m_formatSlot = 1;
    bool m_panelsFitted = false; // the settings panels' captions, at their first showing
    int m_printStyle = 0;
    int m_maxField = 1;
};
