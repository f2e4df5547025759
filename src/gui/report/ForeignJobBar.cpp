#include "gui/report/ForeignJobBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

ForeignJobBar::ForeignJobBar(QWidget *parent)
    : QuietBar(QStringLiteral("ForeignJobBar"), parent)
{
    auto *close = new QToolButton(this);
    close->setObjectName(QStringLiteral("ForeignJobBarClose"));
    close->setText(QStringLiteral("\u00d7"));
    close->setToolTip(tr("Close this note"));
    close->setAccessibleName(tr("Close this note"));
    close->setAutoRaise(true);
    row()->addWidget(close);
    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    hide();
}

void ForeignJobBar::showFor(const QString &language)
{
    if (language.isEmpty()) {
        hide();
        return;
    }
    m_text->setText(tr("This file is a job in another printer language (%1), not an ESC/P print file: it is shown "
                       "as ESC/P all the same.")
                        .arg(language));
    adjustSize();
    show();
    raise();
}
