// The markup passes on the report view's edit box: the same looks as on a
// bare page document, the caret where the view wants it, and a new page that
// takes no format over from the last.
#include "MarkupLooks.h"
#include "WindowSupport.h"
#include "gui/report/EditMarkup.h"

#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

using namespace MarkupLooks;

class TestEditMarkup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::initWindows(); }

    void passes_data() { addPassesRows(); }

    // The passes leave the first character selected; with Vsual clear the
    // caret stays put.
    void passes()
    {
        QFETCH(QByteArray, page);
        QFETCH(MarkupOrder, order);
        QFETCH(QString, context);
        QFETCH(QString, expected);
        const MarkupContext markup = rowContext(context);
        QTextEdit edit;
        setPageText(&edit, QString::fromLatin1(page));
        edit.moveCursor(QTextCursor::End);
        const int end = edit.textCursor().position();
        applyMarkupPasses(&edit, markup, order);
        QCOMPARE(looks(edit.document(), markup), expected);
        const bool selects = markup.vsual && !page.isEmpty();
        QCOMPARE(edit.textCursor().selectionStart(), selects ? 0 : end);
        QCOMPARE(edit.textCursor().selectionEnd(), selects ? 1 : end);
    }

    void newPageStartsUnformatted()
    {
        // The passes leave the selection on the page's first character, often a
        // hidden sequence; the next page must not inherit its format.
        const MarkupContext context = testContext();
        QTextEdit edit;
        setPageText(&edit, QStringLiteral("\x0e\x1b\x45\x1bGt\x14\x1b\x46\x1bH\f")); // bbold t
        applyMarkupPasses(&edit, context, MarkupOrder::View);
        setPageText(&edit, QStringLiteral("next\f"));
        QCOMPARE(looks(edit.document(), context), QStringLiteral("....."));
        QTest::keyClicks(&edit, QStringLiteral("z"));
        QCOMPARE(edit.toPlainText().left(1), QStringLiteral("z"));
        QCOMPARE(looks(edit.document(), context), QStringLiteral("......"));
    }
};

QTEST_MAIN(TestEditMarkup)
#include "tst_editmarkup.moc"
