// The report view's code page guessed from the file's bytes.
#include "codepage/CodePageGuess.h"
#include "gui/report/CodePageBar.h"
#include "gui/report/FrmReport.h"

#include <QTextEdit>

void FrmReport::detectCodePage()
{
    m_codePageBar->hide();
    const std::optional<CodePage::Id> guessed = CodePage::guess(m_doc.pages().bytes());
    setCodePage(guessed.value_or(codePage()));
}

void FrmReport::offerDetectedCodePage()
{
    m_codePageBar->hide();
    if (m_fixedCodePage || codePage() != CodePage::Id::Latin1)
        return;
    const std::optional<CodePage::Id> guessed = CodePage::guess(m_doc.pages().bytes());
    if (guessed && CodePage::isDos(*guessed)) {
        m_codePageBar->offer(*guessed);
        placeCodePageBar();
    }
}

void FrmReport::placeCodePageBar()
{
    if (!m_codePageBar || m_codePageBar->isHidden())
        return;
    // Along the foot of the page, inside its frame.
    const QRect page = Rt1->geometry();
    const int height = m_codePageBar->sizeHint().height();
    m_codePageBar->setGeometry(page.left() + 2, page.bottom() - height - 1, page.width() - 4, height);
    m_codePageBar->raise();
}
