#include "gui/report/PageCutBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>

namespace {

constexpr int Steps = 1000;

} // namespace

PageCutBar::PageCutBar(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("PageCutBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 2, 2);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("PageCutBarText"));
    m_text->setForegroundRole(QPalette::ToolTipText);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("PageCutBarProgress"));
    m_progress->setRange(0, Steps);
    auto *cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("PageCutBarCancel"));
    cancel->setAccessibleName(tr("Stop opening the file"));
    row->addWidget(m_text, 1);
    row->addWidget(m_progress);
    row->addWidget(cancel);
    connect(cancel, &QPushButton::clicked, this, &PageCutBar::cancelled);
    hide();
}

void PageCutBar::showProgress(qint64 done, qint64 total, int pages)
{
    if (total <= 0 || done >= total) {
        hide();
        return;
    }
    m_text->setText(tr("Reading the pages: %1 so far ...").arg(QLocale().toString(pages)));
    m_progress->setValue(int(done * Steps / total));
    if (isHidden()) {
        adjustSize();
        show();
        raise();
    }
}
