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
    : QuietBar(QStringLiteral("PageCutBar"), parent)
{
    QHBoxLayout *row = this->row();
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("PageCutBarProgress"));
    m_progress->setRange(0, Steps);
    auto *cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("PageCutBarCancel"));
    cancel->setAccessibleName(tr("Stop opening the file"));
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
