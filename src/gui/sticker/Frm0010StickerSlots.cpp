// The sticker form's stored formats and its character-mode run.

#include "gui/platform/MessageBox.h"
#include "gui/report/OpenReportView.h"
#include "sticker/CharSheetWriter.h"
#include "sticker/FormatStore.h"
#include "gui/sticker/Frm0010Sticker.h"
#include "gui/report/FrmReport.h"
#include "gui/sticker/StickerMorePanel.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QProgressDialog>
#include <QRadioButton>

namespace {
// The number of the last temporary print file: one numbering for every
// sticker window of the process, so a run looks for a free name after the
// last one taken rather than from the start.
QString LastTempNumber;
} // namespace

void Frm0010Sticker::selectSlot(int slot)
{
    if (slot < 0 || slot >= FormatStore::SlotCount)
        return;
    for (QRadioButton *b : OPss) {
        QFont f = b->font();
        f.setBold(b == OPss[size_t(slot)]);
        b->setFont(f);
    }
    OPss[size_t(slot)]->setChecked(true);
    m_formatSlot = slot;
    StickerInput in = readInput();
    FormatStore::loadSlot(slot, in);
    showInput(in);
}

void Frm0010Sticker::LoadWindowSettings()
{
    StickerInput in = readInput();
    if (!FormatStore::LoadWindowSettings(in))
        return;
    showWindowGeometry(in);
}

void Frm0010Sticker::CmdSave_Click()
{
    QString error = FrameMore->problem();
    if (!error.isEmpty() || !FormatStore::save(m_formatSlot, readInput(), &error))
        MessageBox::critical(this, error, tr("Save"));
}

void Frm0010Sticker::runCharacterSheet(StickerInput &input)
{
    // A large sheet (gigabytes) takes a while: its progress shows, and
    // Cancel stops it with nothing left behind.
    constexpr int Steps = 1000;
    QProgressDialog progress(tr("Writing the sticker sheet ..."), tr("Cancel"), 0, Steps, this);
    progress.setObjectName(QStringLiteral("SheetProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setValue(0); // the time to show it counts from here
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const CharSheetWriter::Result result
        = CharSheetWriter::run(input, LastTempNumber, [&progress](qint64 written, qint64 largest) {
              if (largest <= 0) {
                  progress.setMaximum(0); // a sheet of data: no end known, the bar busy
                  progress.setValue(int(qMin<qint64>(written >> 20, INT_MAX))); // a new value a megabyte
              } else {
                  progress.setValue(int(qMin(written, largest) * Steps / largest));
              }
              return !progress.wasCanceled();
          });
    QGuiApplication::restoreOverrideCursor();
    progress.reset();
    txtPage->setText(result.pageCount);
    if (result.stopped)
        return;
    if (!result.ok) {
        MessageBox::show(this, result.error, designCaption(), QMessageBox::Critical);
        return;
    }
    // The sheet's letters are bytes of the printer's code page: the view
    // reads them in it.
    if (FrmReport *view = OpenReportView(result.fileName))
        view->setCodePage(input.sheetCodePage);
}
