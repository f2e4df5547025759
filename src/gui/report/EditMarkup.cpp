#include "gui/report/EditMarkup.h"

#include "report/PageText.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

void selectFirstCharacter(QTextEdit *edit)
{
    QTextCursor cursor(edit->document());
    cursor.setPosition(0);
    if (edit->document()->characterCount() > 1)
        cursor.setPosition(1, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
}

} // namespace

void ReportSetting(QTextEdit *Richtex, const QString &Search, const QString &Search1, const QString &seting,
    const MarkupContext &context)
{
    if (!Richtex || !context.vsual)
        return;
    ReportSetting(Richtex->document(), Search, Search1, seting, context);
    selectFirstCharacter(Richtex);
}

void applyMarkupPasses(QTextEdit *edit, const MarkupContext &context, MarkupOrder order)
{
    if (!edit)
        return;
    const bool updates = edit->updatesEnabled();
    edit->setUpdatesEnabled(false);
    applyMarkupPasses(edit->document(), context, order);
    if (context.vsual)
        selectFirstCharacter(edit);
    edit->setUpdatesEnabled(updates);
}

void setPageText(QTextEdit *edit, const QString &text)
{
    if (!edit)
        return;
    // QTextEdit::setPlainText would give the whole new text the format at the
    // caret, which after the markup passes is a hidden 1-point sequence.
    PageText::setText(edit->document(), text);
    QTextCursor start(edit->document());
    start.setCharFormat(QTextCharFormat());
    edit->setTextCursor(start);
    edit->setCurrentCharFormat(QTextCharFormat());
}
