#include "gui/report/PrintedLookBar.h"

#include "report/PrintedLookOffer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

PrintedLookBar::PrintedLookBar(QWidget *parent)
    : QuietBar(QStringLiteral("PrintedLookBar"), parent)
{
    QHBoxLayout *row = this->row();
    m_switch = new QPushButton(tr("Show it as printed"), this);
    m_switch->setObjectName(QStringLiteral("PrintedLookSwitch"));
    m_switch->setAccessibleName(tr("Show the file as printed"));
    auto *close = new QToolButton(this);
    close->setObjectName(QStringLiteral("PrintedLookBarClose"));
    close->setText(QStringLiteral("\u00d7"));
    close->setToolTip(tr("Keep the emphasis look"));
    close->setAccessibleName(tr("Keep the emphasis look"));
    close->setAutoRaise(true);
    row->addWidget(m_switch);
    row->addWidget(close);
    connect(close, &QToolButton::clicked, this, [this] { answer(false); });
    connect(m_switch, &QPushButton::clicked, this, [this] { answer(true); });
    hide();
}

bool PrintedLookBar::showsPrinted(const QString &fileName, QByteArrayView bytes)
{
    return PrintedLookOffer::answer(PrintedLookOffer::kindOf(fileName)).value_or(false)
        && PrintedLookOffer::need(bytes) != PrintedLookOffer::Need::None;
}

void PrintedLookBar::offerFor(const QString &fileName, QByteArrayView bytes, bool printedShown)
{
    hide();
    m_kind = PrintedLookOffer::kindOf(fileName);
    if (printedShown || PrintedLookOffer::answer(m_kind))
        return;
    const PrintedLookOffer::Need need = PrintedLookOffer::need(bytes);
    if (need == PrintedLookOffer::Need::None)
        return;
    const QString what = need == PrintedLookOffer::Need::Pictures ? tr("pictures") : tr("text set at positions");
    const QString kind = m_kind.isEmpty() ? tr("files without a suffix") : tr(".%1 files").arg(m_kind);
    m_text->setText(tr("This file holds %1 that only the printed look shows (your answer is kept for %2).")
                        .arg(what, kind));
    adjustSize();
    show();
    raise();
}

void PrintedLookBar::answer(bool printed)
{
    m_unsaved.tell(parentWidget(), PrintedLookOffer::saveAnswer(m_kind, printed));
    hide();
    if (printed)
        emit printedChosen();
}
