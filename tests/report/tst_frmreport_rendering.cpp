// What the report view shows: zoom, search, highlight, the context menu,
// edit and the continuous view.
#include "ReportViewFixture.h"
#include "controls/JeweledButton.h"
#include "platform/MessageBox.h"
#include "printing/PrintPanel.h"
#include "report/ReportColorPanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTextBlock>

using namespace ReportViewFixture;

namespace {

// The point size a character of the view is drawn in.
double pointSizeAt(QTextEdit *edit, int position)
{
    QTextCursor c(edit->document());
    c.setPosition(position + 1);
    const QTextCharFormat f = c.charFormat();
    return f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize()
                                                     : edit->document()->defaultFont().pointSizeF();
}

QTextCharFormat formatAt(QTextEdit *edit, int position)
{
    QTextCursor c(edit->document());
    c.setPosition(position + 1);
    return c.charFormat();
}

bool markedAt(QTextEdit *edit, int position, const QColor &color)
{
    return formatAt(edit, position).foreground().color() == color;
}

} // namespace

class TestFrmReportRendering : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void cleanup()
    {
        closeAll();
        MessageBox::clearShown();
    }

    void view_noWrapReportFontReadOnly();
    void zoom_normalText();
    void zoom_regionText_data();
    void zoom_regionText();
    void search_marksEveryMatchIgnoringCase();
    void search_boldFollowsChSearch();
    void search_escapeStops();
    void highlight_selection();
    void contextMenu_pasteOnlyInEditMode();
    void edit_unlocksAndPressesClearOrTickVsual();
    void continuousView_wholeFileThenPagesAgain();
};

void TestFrmReportRendering::view_noWrapReportFontReadOnly()
{
    FrmReport *view = open(printFile(QStringLiteral("wide.prn"), QByteArray(300, 'x') + "\r\n\f"));
    QTextEdit *rt1 = view->rt1();
    QCOMPARE(rt1->lineWrapMode(), QTextEdit::NoWrap);
    QCOMPARE(rt1->document()->defaultFont().pointSizeF(), 11.25);
    QVERIFY(
        QStringList({"Courier New", "Liberation Mono"}).contains(rt1->document()->defaultFont().family()));
    QVERIFY(rt1->isReadOnly());
    QVERIFY(rt1->horizontalScrollBar()->maximum() > 0); // scrolls sideways
    QVERIFY(view->rt3()->isHidden());
    QVERIFY(view->rtBox()->isHidden());
}

void TestFrmReportRendering::zoom_normalText()
{
    FrmReport *view = open(printFile(QStringLiteral("zoom.prn"), pagedBytes(3)));
    QTest::mouseClick(control(view, "CmdNxt"), Qt::LeftButton);
    auto *zoom = control<JeweledButton>(view, "Command2");
    QCOMPARE(zoom->text(), QStringLiteral("Zoom"));

    QTest::mouseClick(zoom, Qt::LeftButton);
    QCOMPARE(zoom->text(), QStringLiteral("Zoom Out"));
    QVERIFY(view->zoomedIn());
    QCOMPARE(pointSizeAt(view->rt1(), 0), 15.0);
    QCOMPARE(control<QLabel>(view, "LbPageNo")->text(), QStringLiteral("Page 2/3"));
    QVERIFY(viewText(view).startsWith(QStringLiteral("Page 2\n")));

    // Ctrl+click in the view zooms out again: 12 points, not the start size.
    QTest::mouseClick(view->rt1()->viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(20, 10));
    QCOMPARE(zoom->text(), QStringLiteral("Zoom"));
    QVERIFY(!view->zoomedIn());
    QCOMPARE(pointSizeAt(view->rt1(), 0), 12.0);

    // The size stays across another page and a reload.
    QTest::mouseClick(control(view, "CmdLast"), Qt::LeftButton);
    QCOMPARE(pointSizeAt(view->rt1(), 0), 12.0);
    QTest::mouseClick(zoom, Qt::LeftButton);
    QVERIFY(view->LoadReport(view->reportFile()));
    QCOMPARE(pointSizeAt(view->rt1(), 0), 15.0);
    QCOMPARE(zoom->text(), QStringLiteral("Zoom Out"));
}

void TestFrmReportRendering::zoom_regionText_data()
{
    QTest::addColumn<QByteArray>("open");
    QTest::addColumn<QByteArray>("close");
    QTest::addColumn<double>("normal");
    QTest::addColumn<double>("zoomed");
    QTest::newRow("cond") << QByteArray("\x0f") << QByteArray("\x12") << 7.0 << 9.25;
    QTest::newRow("bbold") << QByteArray("\x0e\x1b\x45\x1b\x47") << QByteArray("\x14\x1b\x46\x1b\x48") << 20.0
                           << 29.0;
}

void TestFrmReportRendering::zoom_regionText()
{
    QFETCH(QByteArray, open);
    QFETCH(QByteArray, close);
    QFETCH(double, normal);
    QFETCH(double, zoomed);

    const QByteArray page = "plain " + open + "REGION" + close + " plain\r\n\f";
    FrmReport *view = ReportViewFixture::open(printFile(QStringLiteral("region.prn"), page));
    const int region = int(QByteArray("plain ").size() + open.size());
    QCOMPARE(pointSizeAt(view->rt1(), region), normal);
    auto *zoom = control<JeweledButton>(view, "Command2");
    QTest::mouseClick(zoom, Qt::LeftButton);
    QCOMPARE(pointSizeAt(view->rt1(), region), zoomed);
    QCOMPARE(pointSizeAt(view->rt1(), 0), 15.0);
    QTest::mouseClick(zoom, Qt::LeftButton);
    QCOMPARE(pointSizeAt(view->rt1(), region), normal);

    // With "Vsual" clear the zoom changes the normal size only.
    control<QCheckBox>(view, "Check1")->setChecked(false);
    QTest::mouseClick(zoom, Qt::LeftButton);
    QCOMPARE(pointSizeAt(view->rt1(), 0), 15.0);
    QCOMPARE(pointSizeAt(view->rt1(), region), 15.0);
}

void TestFrmReportRendering::search_marksEveryMatchIgnoringCase()
{
    // "aa" at the very start, three A in a row (two overlapping matches),
    // capitals, and a lone "a" that is no match.
    FrmReport *view = open(printFile(QStringLiteral("search.prn"), "aa xAAAx\r\nbAa a\r\n\f"));
    const QColor orange = view->swatchColor(ReportColorPanel::SearchString);
    QCOMPARE(orange, QColor(0xFF, 0x80, 0));
    auto *box = control<QLineEdit>(view, "Text4");
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("aa"));
    QTest::keyClick(box, Qt::Key_Return);

    const QString text = viewText(view);
    QString marks;
    for (int i = 0; i < text.size(); ++i)
        marks += markedAt(view->rt1(), i, orange) ? QLatin1Char('#') : QLatin1Char('.');
    QCOMPARE(marks, QStringLiteral("##..###...##...."));
    QVERIFY(formatAt(view->rt1(), 0).fontWeight() == QFont::Bold);

    // A new page display drops the marks.
    QTest::mouseClick(control(view, "CmdFst"), Qt::LeftButton);
    QVERIFY(!markedAt(view->rt1(), 0, orange));
}

void TestFrmReportRendering::search_boldFollowsChSearch()
{
    FrmReport *view = open(printFile(QStringLiteral("search.prn"), "find me\r\n\f"));
    control<QCheckBox>(view, "ChSearch")->setChecked(false);
    auto *box = control<QLineEdit>(view, "Text4");
    QTest::keyClicks(box, QStringLiteral("ME"));
    QTest::keyClick(box, Qt::Key_Enter);
    QVERIFY(markedAt(view->rt1(), 5, view->swatchColor(ReportColorPanel::SearchString)));
    QVERIFY(formatAt(view->rt1(), 5).fontWeight() != QFont::Bold);
}

void TestFrmReportRendering::search_escapeStops()
{
    QByteArray page;
    for (int i = 0; i < 3000; ++i)
        page += "ab ab ab ab ab ab ab ab\r\n";
    page += "\f";
    FrmReport *view = open(printFile(QStringLiteral("long.prn"), page));
    const QColor orange = view->swatchColor(ReportColorPanel::SearchString);
    auto *box = control<QLineEdit>(view, "Text4");
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("ab"));
    // Escape comes in after the third match is marked.
    int marked = 0;
    connect(view->rt1()->document(), &QTextDocument::contentsChange, box, [box, &marked] {
        if (++marked == 3)
            QTest::keyClick(box, Qt::Key_Escape);
    });
    QTest::keyClick(box, Qt::Key_Return);

    const int last = viewText(view).lastIndexOf(QStringLiteral("ab"));
    QVERIFY(markedAt(view->rt1(), 0, orange)); // found so far: kept
    QVERIFY(!markedAt(view->rt1(), last, orange));
}

void TestFrmReportRendering::highlight_selection()
{
    FrmReport *view = open(printFile(QStringLiteral("hl.prn"), "highlight this\r\n\f"));
    QTextCursor c(view->rt1()->document());
    c.setPosition(10);
    c.setPosition(14, QTextCursor::KeepAnchor);
    view->rt1()->setTextCursor(c);
    auto *ht = view->findChild<QAction *>(QStringLiteral("ht"));
    QVERIFY(ht);
    ht->trigger();
    QCOMPARE(formatAt(view->rt1(), 11).foreground().color(), QColor(0xFF, 0, 0));
    QVERIFY(formatAt(view->rt1(), 11).fontWeight() != QFont::Bold);
    QVERIFY(!formatAt(view->rt1(), 3).foreground().color().isValid()
        || formatAt(view->rt1(), 3).foreground().color() != QColor(0xFF, 0, 0));

    control<QCheckBox>(view, "ChHighlighte")->setChecked(true);
    ht->trigger();
    QVERIFY(formatAt(view->rt1(), 11).fontWeight() == QFont::Bold);
}

void TestFrmReportRendering::contextMenu_pasteOnlyInEditMode()
{
    FrmReport *view = open(printFile(QStringLiteral("menu.prn"), "copy me\r\n\f"));
    auto *menu = view->findChild<QMenu *>(QStringLiteral("AQ"));
    auto *paste = view->findChild<QAction *>(QStringLiteral("pppp"));
    QVERIFY(menu && paste);
    QStringList captions;
    for (QAction *a : menu->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(captions, QStringList({"Copy", "Paste", "-", "Highlight Text"}));

    QTest::mouseClick(view->rt1()->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(!paste->isEnabled());
    menu->hide();

    QTest::mouseClick(control(view, "Check2"), Qt::LeftButton);
    QTest::mouseClick(view->rt1()->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(paste->isEnabled());
    menu->hide();
}

void TestFrmReportRendering::edit_unlocksAndPressesClearOrTickVsual()
{
    FrmReport *view = open(printFile(QStringLiteral("edit.prn"), pagedBytes(2)));
    auto *vsual = control<QCheckBox>(view, "Check1");
    auto *edit = control<QCheckBox>(view, "Check2");
    QVERIFY(vsual->isChecked());

    QTest::mouseClick(edit, Qt::LeftButton);
    QVERIFY(edit->isChecked());
    QVERIFY(!view->rt1()->isReadOnly());
    QVERIFY(!vsual->isChecked());
    QVERIFY(control<QRadioButton>(view, "Op(1)")->isChecked());

    QTest::mousePress(edit, Qt::RightButton, Qt::ShiftModifier);
    QTest::mouseRelease(edit, Qt::RightButton, Qt::ShiftModifier);
    QVERIFY(vsual->isChecked());
    QVERIFY(edit->isChecked()); // a right press does not toggle Edit
    QTest::mousePress(edit, Qt::RightButton);
    QTest::mouseRelease(edit, Qt::RightButton);
    QVERIFY(!vsual->isChecked());

    QTest::mouseClick(edit, Qt::LeftButton);
    QVERIFY(!edit->isChecked());
    QVERIFY(view->rt1()->isReadOnly());
}

void TestFrmReportRendering::continuousView_wholeFileThenPagesAgain()
{
    const QByteArray file = "first\npage\n\fsecond\n\x0fpage\x12\n\fthird\n\ftail";
    FrmReport *view = open(printFile(QStringLiteral("cont.prn"), file));
    QTest::mouseClick(control(view, "CmdNxt"), Qt::LeftButton);

    QList<int> cursors;
    connect(view->rt1(), &QTextEdit::textChanged, view, [&cursors] {
        const QCursor *c = QGuiApplication::overrideCursor();
        cursors << (c ? int(c->shape()) : -1);
    });
    auto *cont = control<QCheckBox>(view, "Check3");
    QTest::mouseClick(cont, Qt::LeftButton);
    QVERIFY(cont->isChecked());
    QCOMPARE(viewText(view), QString::fromLatin1(file));
    QVERIFY(!cursors.isEmpty());
    QCOMPARE(cursors.first(), int(Qt::WaitCursor));
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(control<QLabel>(view, "LbPageNo")->text(), QStringLiteral("Page 2/3"));
    QCOMPARE(view->currentPage(), 1);

    // Next replaces the whole file with the next page.
    QTest::mouseClick(control(view, "CmdNxt"), Qt::LeftButton);
    QCOMPARE(viewText(view), QStringLiteral("third\n\f"));

    // Clearing the box reloads the file at page 1, counting the view once.
    const int count = OpenViewCount;
    QTest::mouseClick(cont, Qt::LeftButton);
    QCOMPARE(viewText(view), QStringLiteral("first\npage\n\f"));
    QCOMPARE(control<QLabel>(view, "LbPageNo")->text(), QStringLiteral("Page 1/3"));
    QCOMPARE(int(OpenViewCount), count);
}

QTEST_MAIN(TestFrmReportRendering)
#include "tst_frmreport_rendering.moc"
