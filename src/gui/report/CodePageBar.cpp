#include "gui/report/CodePageBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

CodePageBar::CodePageBar(QWidget *parent)
    : QuietBar(QStringLiteral("CodePageBar"), parent)
{
    QHBoxLayout *row = this->row();
    m_switch = new QPushButton(this);
    m_switch->setObjectName(QStringLiteral("CodePageSwitch"));
    m_switch->setAccessibleName(tr("Read the file in the code page offered"));
    auto *close = new QToolButton(this);
    close->setObjectName(QStringLiteral("CodePageBarClose"));
    close->setText(QStringLiteral("\u00d7"));
    close->setToolTip(tr("Keep the code page"));
    close->setAutoRaise(true);
    row->addWidget(m_switch);
    row->addWidget(close);
    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    connect(m_switch, &QPushButton::clicked, this, [this] {
        hide();
        emit switchChosen(m_offered);
    });
    hide();
}

void CodePageBar::offer(CodePage::Id codePage)
{
    m_offered = codePage;
    m_text->setText(tr("This file looks written in %1.").arg(CodePage::label(codePage)));
    m_switch->setText(tr("Read it in %1").arg(CodePage::name(codePage).toUpper()));
    adjustSize();
    show();
    raise();
}
