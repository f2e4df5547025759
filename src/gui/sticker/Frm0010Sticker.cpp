#include "gui/sticker/Frm0010Sticker.h"

#include "Version.h"
#include "gui/platform/CaptionFit.h"
#include "gui/platform/FirstPaint.h"
#include "gui/controls/Atext.h"
#include "gui/controls/JeweledButton.h"
#include "platform/NumericText.h"
#include "platform/Twips.h"
#include "gui/report/OpenReportView.h"
#include "gui/startup/FormStartup.h"
#include "gui/platform/KeyFilter.h"
#include "gui/platform/MessageBox.h"
#include "gui/sticker/StickerMorePanel.h"
#include "gui/sticker/StickerPreview.h"
#include "sticker/StickerFields.h"
#include "gui/sticker/WindowSheetPrinting.h"

#include <QLayout>
#include <QApplication>
#include <QScreen>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <cmath>

namespace {

double value(const QString &text)
{
    return NumericText::leadingNumber(text);
}

// A number as the form shows it: whole numbers without a decimal point.
QString decimalText(double v)
{
    if (std::floor(v) == v && std::fabs(v) < 1e15)
        return QString::number(static_cast<long long>(v));
    return QString::number(v, 'g', 15);
}

} // namespace

Frm0010Sticker::Frm0010Sticker(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Frm0010Sticker"));
    setWindowTitle(designCaption());
    buildControls();
    acceptFileDrops(this);
    // The settings panels are hidden until asked for: fitted then.
    fitCaptions(this, {Frame1, FrameMore});
    // The first look at an icon theme reads it whole: after the first picture.
    FirstPaint::then(this, this, [this] { themeButtonIcons(); });

    for (int i = 0; i < int(Atxt.size()); ++i) {
        connect(Atxt[size_t(i)], &Atext::Change, this, [this, i] { Atxt_Change(i); });
        connect(Atxt[size_t(i)], &Atext::KeyPress, this, [this, i](int &key) { Atxt_KeyPress(i, key); });
    }
    connect(TxNos, &QLineEdit::textChanged, this, &Frm0010Sticker::TxNos_Change);
    for (int i = 0; i < 2; ++i) {
        connect(JBshow[size_t(i)], &QPushButton::clicked, this, [this, i] { JBshow_Click(i); });
        connect(Op[size_t(i)], &QRadioButton::clicked, this, [this, i] { Op_Click(i); });
    }
    for (int i = 0; i < int(OPss.size()); ++i)
        connect(OPss[size_t(i)], &QRadioButton::clicked, this, [this, i] { selectSlot(i); });
    connect(Combo1, &QComboBox::activated, this, &Frm0010Sticker::Combo1_Click);
    connect(CmdSave, &QPushButton::clicked, this, &Frm0010Sticker::CmdSave_Click);
    connect(CmdExit, &QPushButton::clicked, this, &Frm0010Sticker::CmdExit_Click);
    connect(JeweledButton1, &QPushButton::clicked, this, &Frm0010Sticker::JeweledButton1_Click);
    connect(CmdPreview, &QPushButton::clicked, this, [this] {
        StickerInput in;
        if (readSheetInput(&in))
            previewWindowSheetPrintout(in, this);
    });

    Form_Load();
}

void Frm0010Sticker::Form_Load()
{
    CenterForm(this);
    Combo1->setCurrentIndex(0);
    Combo1_Click();
    Combo2->setCurrentIndex(0);
    selectSlot(1);
    setWindowTitle(QStringLiteral("%1 %2").arg(designCaption(), QStringLiteral(STICKER2_VERSION)));
    Frame1->hide();
    FrameMore->hide();
    setFormWidthTwips(frame4WidthTwips() + 150);
    LoadWindowSettings();
}

StickerInput Frm0010Sticker::readInput() const
{
    StickerInput in;
    for (size_t i = 0; i < Atxt.size(); ++i)
        in.lineTexts[i] = Atxt[i]->Text();
    in.TxSp = TxSp->text();
    in.stickersAcross = TxCol->text();
    in.TxRow = TxRow->text();
    in.TxBlank = TxBlank->text();
    in.lineWidth = TxMaxFLenth->text();
    in.pageCount = txtPage->text();
    in.maxField = m_maxField;
    in.condensed = m_printStyle == 1;
    in.windowMode = ChKwIN->isChecked();
    in.TxtFontNM = TxtFontNM->text();
    in.TxtFontSZ = TxtFontSZ->text();
    in.TxtMtop = TxtMtop->text();
    in.TxtMLeft = TxtMLeft->text();
    in.TxtHEight = TxtHEight->text();
    in.TxtWidth = TxtWidth->text();
    in.txtRowPrint = txtRowPrint->text();
    in.Combo2 = Combo2->currentText();
    in.ChkIn1 = ChkIn1->isChecked();
    in.ChkIn2 = ChkIn2->isChecked();
    FrameMore->read(in);
    return in;
}

void Frm0010Sticker::showInput(const StickerInput &in)
{
    // The loop position and the columns first, so the range sizes and the
    // grid's capacity worked out from the fields stand under the loaded
    // values; the row count last, so the stored one stays rather than the
    // one the sticker count works out.
    showComboText(Combo2, in.Combo2);
    TxSp->setText(in.TxSp);
    TxCol->setText(in.stickersAcross);
    TxBlank->setText(in.TxBlank);
    TxMaxFLenth->setText(in.lineWidth);
    for (size_t i = 0; i < Atxt.size(); ++i)
        Atxt[i]->setText(in.lineTexts[i]);
    // Both sizes again, even where a range text did not change, so neither
    // stays on the row of the loop position left behind.
    Atxt_Change(5);
    Atxt_Change(10);
    TxRow->setText(in.TxRow);
    txtPage->setText(in.pageCount);
    m_maxField = in.maxField;
    showComboText(Combo1, QString::number(in.maxField));
    m_printStyle = in.condensed ? 1 : 0;
    Op[size_t(m_printStyle)]->setChecked(true);
    ChKwIN->setChecked(in.windowMode);
    showWindowGeometry(in);
    txtRowPrint->setText(in.txtRowPrint);
    ChkIn1->setChecked(in.ChkIn1);
    ChkIn2->setChecked(in.ChkIn2);
    FrameMore->showInput(in);
}

void Frm0010Sticker::showWindowGeometry(const StickerInput &in)
{
    TxtFontNM->setText(in.TxtFontNM);
    TxtFontSZ->setText(in.TxtFontSZ);
    TxtMtop->setText(in.TxtMtop);
    TxtMLeft->setText(in.TxtMLeft);
    TxtHEight->setText(in.TxtHEight);
    TxtWidth->setText(in.TxtWidth);
}

void Frm0010Sticker::showComboText(QComboBox *combo, const QString &text)
{
    // A drop-down list shows only its own items; another value leaves it blank.
    combo->setCurrentIndex(combo->findText(text.trimmed()));
}

bool Frm0010Sticker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label1 && event->type() == QEvent::MouseButtonDblClick) {
        Label1_DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Frm0010Sticker::Label1_DblClick()
{
    JeweledButton1->setVisible(true);
}

void Frm0010Sticker::JeweledButton1_Click()
{
    showSettingsPanel(Frame1->isHidden());
}

void Frm0010Sticker::showSettingsPanel(bool show)
{
    if (!show) {
        Frame1->hide();
        FrameMore->hide();
        setFormWidthTwips(frame4WidthTwips() + 150);
        return;
    }
    if (!m_panelsFitted) {
        fitCaptions(Frame1);
        fitCaptions(FrameMore);
        m_panelsFitted = true;
    }
    Frame1->show();
    FrameMore->show();
    // Its boxes measure their contents when first shown: ask for its size after.
    FrameMore->layout()->invalidate();
    Frame5->setVisible(ChKwIN->isChecked());
    // The last panel as wide as its labels and boxes need in the font it
    // has (never narrower than its design width), and the form as wide as
    // the panels with the design's margin at the right.
    const int morePanel
        = qMax(Twips::toPixels(StickerMorePanel::widthTwips() - 60), FrameMore->sizeHint().width());
    const int rightMargin = Twips::toPixels(90);
    const int wanted = FrameMore->x() + morePanel + rightMargin;
    const QScreen *screen = this->screen();
    // The wider form fits the screen it is on (its frame included): on a
    // narrow screen the last panel gives up what it can spare, but never
    // so much that its labels or boxes are cut (a screen narrower than the
    // panels cuts the form itself).
    const int room = screen ? screen->availableGeometry().width() - (frameGeometry().width() - width()) : wanted;
    const int excess = qMax(0, wanted - room);
    FrameMore->resize(qMax(FrameMore->minimumSizeHint().width(), morePanel - excess), FrameMore->height());
    setFixedWidth(qMin(FrameMore->x() + FrameMore->width() + rightMargin,
        qMax(room, Twips::toPixels(frame4WidthTwips() + 150))));
    // The wider form stays on its screen: moved left (and up) as far as needed.
    if (screen) {
        const QRect room = screen->availableGeometry();
        // The new width stands in the minimum at once; the geometry may follow later.
        const QRect frame = frameGeometry();
        const int right = frame.left() + (frame.width() - width()) + minimumWidth() - 1;
        const int dx = qMin(0, room.right() - right);
        const int dy = qMin(0, room.bottom() - frame.bottom());
        if (dx != 0 || dy != 0)
            move(qMax(room.left(), x() + dx), qMax(room.top(), y() + dy));
    }
}

void Frm0010Sticker::setFormWidthTwips(int twips)
{
    setFixedWidth(Twips::toPixels(twips));
}

void Frm0010Sticker::Op_Click(int index)
{
    m_printStyle = index;
}

void Frm0010Sticker::Combo1_Click()
{
    // Lines per sticker, held as an unsigned 8-bit number.
    m_maxField = int(std::lround(value(Combo1->currentText()))) & 0xFF;
}

void Frm0010Sticker::Atxt_Change(int index)
{
    if (index != 5 && index != 6 && index != 10 && index != 11)
        return;
    double loop = value(Combo2->currentText());
    if (loop == 0)
        loop = 4;
    QLabel *firstSize = loop == 4 ? lb[18] : lb[16];
    QLabel *secondSize = loop == 4 ? lb[16] : lb[18];
    if (index == 5 || index == 6)
        firstSize->setText(decimalText(value(Atxt[6]->Text()) - value(Atxt[5]->Text()) + 1));
    else
        secondSize->setText(decimalText(value(Atxt[11]->Text()) - value(Atxt[10]->Text()) + 1));
    TxNos->setText(decimalText(value(lb[16]->text()) * value(lb[18]->text())));
}

void Frm0010Sticker::Atxt_KeyPress(int index, int &keyAscii)
{
    if (index == 5 || index == 6)
        keyAscii = IntegerKeyFilter(keyAscii);
}

void Frm0010Sticker::TxNos_Change()
{
    // Without columns there is no row count to work out: TxRow stays.
    const double columns = value(TxCol->text());
    if (columns == 0)
        return;
    TxRow->setText(decimalText(std::floor(value(TxNos->text()) / columns)));
    lb[2]->setText(decimalText(value(TxRow->text()) * columns));
}

bool Frm0010Sticker::readSheetInput(StickerInput *input)
{
    *input = readInput();
    QString error = FrameMore->problem();
    if (error.isEmpty() && StickerFields::loadData(*input, &error))
        return true;
    MessageBox::show(this, error, designCaption(), QMessageBox::Critical);
    return false;
}

void Frm0010Sticker::JBshow_Click(int index)
{
    StickerInput in;
    if (!readSheetInput(&in))
        return;
    if (!in.windowMode) {
        runCharacterSheet(in);
        return;
    }
    if (index == 1) {
        printWindowSheet(in, this);
    } else {
        // The view stands in the settings panel: open it to show the sheet.
        if (Frame1->isHidden())
            showSettingsPanel(true);
        // Values it cannot be drawn with leave the view empty: said why.
        const QString refused = previewWindowSheet(in, *Pic);
        if (!refused.isEmpty())
            MessageBox::show(this, refused, designCaption(), QMessageBox::Information);
    }
    txtPage->setText(in.pageCount);
}

void Frm0010Sticker::CmdExit_Click()
{
    // Every other window goes first (the report views count themselves
    // out), then this one; nothing is saved.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w == this || !w->isVisible())
            continue;
        w->close();
        w->hide();
    }
    close();
    hide();
    QCoreApplication::quit();
}
