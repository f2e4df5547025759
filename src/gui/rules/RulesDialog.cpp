#include "gui/rules/RulesDialog.h"

#include "gui/platform/Dialogs.h"
#include "rules/RulePreview.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

RulesDialog::RulesDialog(const QString &printFile, CodePage::Id codePage, QWidget *parent)
    : QDialog(parent)
    , m_printFile(printFile)
    , m_codePage(codePage)
{
    setObjectName(QStringLiteral("RulesDialog"));
    setWindowTitle(tr("Rules - %1").arg(QFileInfo(printFile).fileName()));
    m_heading = new QLabel(this);
    m_heading->setWordWrap(true);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("rulesText"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *other = buttons->addButton(tr("Rules &File..."), QDialogButtonBox::ActionRole);
    other->setObjectName(QStringLiteral("rulesFileButton"));
    QPushButton *again = buttons->addButton(tr("&Read Again"), QDialogButtonBox::ActionRole);
    again->setObjectName(QStringLiteral("readAgainButton"));
    connect(other, &QPushButton::clicked, this, &RulesDialog::chooseRules);
    connect(again, &QPushButton::clicked, this, [this] {
        if (!m_rulesFile.isEmpty())
            showRules(m_rulesFile);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_text, 1);
    layout->addWidget(buttons);
    resize(720, 420);
}

bool RulesDialog::chooseRules()
{
    const QString chosen = Dialogs::openFileName(this, tr("Rules File"),
        tr("Rules files (*.conf *.ini)|*.conf *.ini|All files (*)|*"),
        m_rulesFile.isEmpty() ? QStringLiteral("/etc/sticker2/rules.conf") : m_rulesFile);
    if (chosen.isEmpty())
        return false;
    showRules(chosen);
    return true;
}

void RulesDialog::showRules(const QString &rulesFile)
{
    m_rulesFile = rulesFile;
    m_heading->setText(tr("What %1 would do with %2 (nothing is done):")
                           .arg(QDir::toNativeSeparators(rulesFile), QDir::toNativeSeparators(m_printFile)));
    m_text->setPlainText(previewRules(rulesFile, m_printFile, CodePage::Choice { false, m_codePage }).join(QLatin1Char('\n')));
}

QString RulesDialog::shownText() const
{
    return m_text->toPlainText();
}
