#include "gui/report/QuietBar.h"

#include <QHBoxLayout>
#include <QLabel>

QuietBar::QuietBar(const QString &name, QWidget *parent)
    : QFrame(parent)
    , m_text(new QLabel(this))
    , m_row(new QHBoxLayout(this))
{
    setObjectName(name);
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    m_row->setContentsMargins(6, 2, 2, 2);
    m_text->setObjectName(name + QStringLiteral("Text"));
    m_text->setForegroundRole(QPalette::ToolTipText);
    m_row->addWidget(m_text, 1);
}
