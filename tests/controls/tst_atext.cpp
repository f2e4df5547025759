#include "TestSupport.h"
#include "controls/Atext.h"
#include "controls/PropertyBag.h"
#include "platform/Twips.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

class TestAtext : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void typing_data();
    void typing();
    void keyDownAndUp();
    void layoutSnapsToEditBox_data();
    void layoutSnapsToEditBox();
    void textboxHightAtOnce();
    void flat3D_data();
    void flat3D();
    void colours();
    void focusLossRestoresLoadedColour();
    void defaultsWriteNothing();
    void persistenceRoundTrip();
    void stickerFormBag();
    void loadingKeepsTextAndSelection();
    void propertyChangedOnlyFromSetters();
    void listStaysHiddenAndEmpty();
};

// Keys typed into Text1 with a host handler that may change the code.
void TestAtext::typing_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("from"); // the host replaces this code (0: none) ...
    QTest::addColumn<int>("to");   // ... by this one
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("seen");

    QTest::newRow("letters pass") << "ab" << 0 << 0 << "ab" << QList<int> {97, 98};
    QTest::newRow("apostrophe refused, host sees 1") << "a'b" << 0 << 0 << "ab" << QList<int> {97, 1, 98};
    QTest::newRow("host turning 1 back into 39 types it") << "'" << 1 << 39 << "'" << QList<int> {1};
    QTest::newRow("host turning x into 39 types it")
        << "axb" << 120 << 39 << "a'b" << QList<int> {97, 120, 98};
    QTest::newRow("host drops with 1") << "a5b" << 53 << 1 << "ab" << QList<int> {97, 53, 98};
    QTest::newRow("host drops with 0") << "a5b" << 53 << 0 << "ab" << QList<int> {97, 53, 98};
    QTest::newRow("host replaces a letter") << "abc" << 98 << 66 << "aBc" << QList<int> {97, 98, 99};
    QTest::newRow("backspace is 8") << "ab\b" << 0 << 0 << "a" << QList<int> {97, 98, 8};
    QTest::newRow("host drops backspace") << "ab\b" << 8 << 1 << "ab" << QList<int> {97, 98, 8};
}

void TestAtext::typing()
{
    QFETCH(QString, keys);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, text);
    QFETCH(QList<int>, seen);
    Atext box;
    QList<int> codes;
    connect(
        &box, &Atext::KeyPress, this,
        [&](int &keyAscii) {
            codes << keyAscii;
            if (keyAscii == from)
                keyAscii = to;
        },
        Qt::DirectConnection);
    for (const QChar c : keys) {
        if (c == QLatin1Char('\b'))
            QTest::keyClick(box.Text1(), Qt::Key_Backspace);
        else
            QTest::keyClick(box.Text1(), c.toLatin1());
    }
    QCOMPARE(codes, seen);
    QCOMPARE(box.Text(), text);
}

void TestAtext::keyDownAndUp()
{
    Atext box;
    QList<QPair<int, int>> down, up;
    // The modifier keys raise their own events; only the others are kept.
    auto record = [](QList<QPair<int, int>> &list) {
        return [&list](int &code, int &shift) {
            if (code < 16 || code > 18)
                list << qMakePair(code, shift);
        };
    };
    connect(&box, &Atext::KeyDown, this, record(down), Qt::DirectConnection);
    connect(&box, &Atext::KeyUp, this, record(up), Qt::DirectConnection);
    QSignalSpy changes(&box, &Atext::Change);
    QTest::keyClick(box.Text1(), Qt::Key_A, Qt::ShiftModifier);
    QTest::keyClick(box.Text1(), Qt::Key_Left);
    QTest::keyClick(box.Text1(), Qt::Key_Delete);
    QTest::keyClick(box.Text1(), Qt::Key_F2, Qt::ControlModifier);
    const QList<QPair<int, int>> expected {{65, 1}, {37, 0}, {46, 0}, {113, 2}};
    QCOMPARE(down, expected);
    QCOMPARE(up, expected);
    QCOMPARE(box.Text(), QString());
    QCOMPARE(changes.count(), 2); // "A" typed, then deleted
}

void TestAtext::layoutSnapsToEditBox_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("taller than the box") << 262 << 200;
    QTest::newRow("shorter than the box") << 52 << 5;
    QTest::newRow("zero height") << 120 << 0;
    QTest::newRow("as wide as the margin") << 2 << 40;
}

void TestAtext::layoutSnapsToEditBox()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QWidget form;
    auto *box = new Atext(&form);
    form.show();
    box->resize(width, height);
    QCOMPARE(box->height(), box->Text1()->height());
    QCOMPARE(box->Text1()->height(), Twips::toPixels(285));
    QCOMPARE(box->Text1()->width(), Twips::toPixels(Twips::fromPixels(width) - 30));
    QCOMPARE(box->Text1()->pos(), QPoint(0, 0));
    QCOMPARE(box->List1()->y(), box->Text1()->height());
    QCOMPARE(box->List1()->width(), box->Text1()->width());
}

void TestAtext::textboxHightAtOnce()
{
    QWidget form;
    auto *box = new Atext(&form);
    box->resize(200, 19);
    form.show();
    box->setTextboxHight(400);
    QCOMPARE(box->TextboxHight(), 400);
    QCOMPARE(box->Text1()->height(), Twips::toPixels(400));
    QCOMPARE(box->height(), Twips::toPixels(400));
    QCOMPARE(box->List1()->y(), Twips::toPixels(400));
}

void TestAtext::flat3D_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("sunken");
    QTest::newRow("1 is 3-D") << 1 << true << 1 << true;
    QTest::newRow("2 is flat") << 2 << true << 2 << false;
    QTest::newRow("255 kept") << 255 << true << 255 << false;
    QTest::newRow("256 overflows") << 256 << false << 1 << true;
    QTest::newRow("-1 overflows") << -1 << false << 1 << true;
}

void TestAtext::flat3D()
{
    QFETCH(int, value);
    QFETCH(bool, accepted);
    QFETCH(int, stored);
    QFETCH(bool, sunken);
    Atext box;
    QVERIFY(!box.appears3D());
    QVERIFY(box.setFlat3D(1));
    QCOMPARE(box.setFlat3D(value), accepted);
    QCOMPARE(box.Flat3D(), stored);
    QCOMPARE(box.appears3D(), sunken);
}

void TestAtext::colours()
{
    // The colours show in the edit box in either look.
    for (int look : {0, 1}) {
        QWidget form;
        auto *box = new Atext(&form);
        box->resize(120, 30);
        box->setFlat3D(look);
        box->setBackColor(0x0000FFFFu); // yellow
        box->setForeColor(0x00FF0000u); // blue
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QImage image = box->Text1()->grab().toImage();
        QCOMPARE(image.pixelColor(image.width() / 2, image.height() / 2), QColor(Qt::yellow));
        QCOMPARE(box->Text1()->palette().color(QPalette::Text), QColor(Qt::blue));
    }
}

void TestAtext::focusLossRestoresLoadedColour()
{
    QWidget form;
    auto *box = new Atext(&form);
    auto *other = new QLineEdit(&form);
    other->move(0, 100);
    PropertyBag bag;
    bag.write("BackColor", 0x00C0FFC0u, 0x80000005u);
    box->ReadProperties(bag);
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));

    box->Text1()->setFocus();
    QTRY_VERIFY(box->Text1()->hasFocus());
    box->setBackColor(0x000000FFu); // the host paints it red while editing
    QCOMPARE(box->BackColor(), 0x000000FFu);
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QCOMPARE(box->BackColor(), 0x00C0FFC0u);
    QCOMPARE(box->Text1()->palette().color(QPalette::Base), QColor(0xC0, 0xFF, 0xC0));
    QCOMPARE(box->restoreBackColor(), 0x00C0FFC0u);
}

void TestAtext::defaultsWriteNothing()
{
    QWidget form;
    Atext box(&form);
    PropertyBag bag;
    box.WriteProperties(bag);
    QCOMPARE(bag.keys(), QStringList());
    QCOMPARE(box.TextboxHight(), 285);
    QCOMPARE(box.FontSize(), 8.0f);
    QCOMPARE(box.ForeColor(), 0x80000008u);
    QCOMPARE(box.BackColor(), 0x80000005u);
    QCOMPARE(box.SelectBackColor(), 267292039u);
    QCOMPARE(box.lickey(), QString("0"));
    QCOMPARE(box.SaveKey(), QString("0"));
    QCOMPARE(box.ListOUTPUT(), QString("0"));
    QCOMPARE(box.restoreBackColor(), 0x80000005u);
}

void TestAtext::persistenceRoundTrip()
{
    QWidget form;
    Atext box(&form);
    box.setText("hello");
    QFont font("DejaVu Serif");
    font.setBold(true);
    box.setFont(font);
    box.setForeColor(0x00112233u);
    box.setLickey("k");
    box.setSaveKey("s");
    box.setEnabled(false);
    box.setTextboxHight(360);
    box.setBackColor(0x00445566u);
    box.setSelectBackColor(0x00778899u);
    box.setMaxLength(20);
    box.setDatabase("db");
    box.setDatafeild("field");
    box.setSelStart(1);
    box.setSelLength(3);
    box.setSelCount(4);
    box.setFontSize(10.5f);
    box.setFlat3D(1);
    box.setLocked(true);
    box.setListOUTPUT("out");
    box.setListSQL("select");

    PropertyBag bag;
    box.WriteProperties(bag);
    QCOMPARE(bag.keys(),
        QStringList({"Text", "Font", "ForeColor", "lickey", "SaveKey", "Enabled", "TextboxHight", "BackColor",
            "SelectBackColor", "MaxLength", "Database", "datafeild", "SelLength", "SelStart", "SelText",
            "SelCount", "FontSize", "Flat3D", "Locked", "ListOUTPUT", "ListSQL"}));
    QCOMPARE(bag.read("SelText", QString()).toString(), QString("ell"));

    Atext loaded(&form);
    loaded.ReadProperties(bag);
    QCOMPARE(loaded.Text(), QString("hello"));
    QCOMPARE(loaded.Font().family(), font.family());
    QVERIFY(loaded.Font().bold());
    QCOMPARE(loaded.ForeColor(), 0x00112233u);
    QCOMPARE(loaded.lickey(), QString("k"));
    QCOMPARE(loaded.SaveKey(), QString("s"));
    QVERIFY(!loaded.isEnabled());
    QCOMPARE(loaded.TextboxHight(), 360);
    QCOMPARE(loaded.BackColor(), 0x00445566u);
    QCOMPARE(loaded.restoreBackColor(), 0x00445566u);
    QCOMPARE(loaded.SelectBackColor(), 0x00778899u);
    QCOMPARE(loaded.MaxLength(), 20);
    QCOMPARE(loaded.Database(), QString("db"));
    QCOMPARE(loaded.datafeild(), QString("field"));
    QCOMPARE(loaded.SelStart(), 1);
    QCOMPARE(loaded.SelLength(), 3);
    QCOMPARE(loaded.SelCount(), 4);
    QCOMPARE(loaded.FontSize(), 10.5f);
    QCOMPARE(loaded.Flat3D(), 1);
    QVERIFY(loaded.Locked());
    QCOMPARE(loaded.ListOUTPUT(), QString("out"));
    QCOMPARE(loaded.ListSQL(), QString("select"));

    PropertyBag again;
    loaded.WriteProperties(again);
    QCOMPARE(again.keys(), bag.keys());
}

void TestAtext::stickerFormBag()
{
    // What the sticker form keeps for Atxt(5), keys in lower case as stored.
    QWidget form;
    PropertyBag bag;
    QFont font("MS Sans Serif");
    font.setPointSizeF(8.25);
    bag.write("font", font, QFont());
    bag.write("textboxhight", 300.0f, 285.0f);
    bag.write("fontsize", 8.25f, 8.0f);
    bag.write("TEXT", QString("601"), QString());
    bag.write("flat3d", 300, 0); // out of range: ignored
    Atext box(&form);
    box.ReadProperties(bag);
    QCOMPARE(box.Text(), QString("601"));
    QCOMPARE(box.TextboxHight(), 300);
    QCOMPARE(box.FontSize(), 8.25f);
    QCOMPARE(box.Flat3D(), 0);

    // Back at the defaults, the values are dropped from the bag.
    box.setTextboxHight(285);
    box.setFontSize(8);
    box.WriteProperties(bag);
    QVERIFY(!bag.contains("TextboxHight"));
    QVERIFY(!bag.contains("FontSize"));
    QVERIFY(bag.contains("Text"));
}

void TestAtext::loadingKeepsTextAndSelection()
{
    QWidget form;
    PropertyBag bag;
    bag.write("Text", QString("abcdef"), QString());
    bag.write("SelLength", 2, 0);
    bag.write("SelStart", 1, 0);
    bag.write("SelText", QString("bc"), QString());
    Atext box(&form);
    box.ReadProperties(bag);
    QCOMPARE(box.Text(), QString("abcdef"));
    QCOMPARE(box.SelText(), QString("bc"));

    // A stale stored selection beyond the text is cut, the text untouched.
    bag.write("SelStart", 10, 0);
    bag.write("SelText", QString("zz"), QString());
    box.ReadProperties(bag);
    QCOMPARE(box.Text(), QString("abcdef"));
    QCOMPARE(box.SelLength(), 0);
}

void TestAtext::propertyChangedOnlyFromSetters()
{
    Atext box;
    QSignalSpy spy(&box, &Atext::PropertyChanged);
    box.ReadProperties(PropertyBag());
    QCOMPARE(spy.count(), 0);
    box.setLickey("x");
    box.setEnabled(false);
    QVERIFY(!box.setFlat3D(999));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toString(), QString("lickey"));
    QCOMPARE(spy.at(1).at(0).toString(), QString("Enabled"));
}

void TestAtext::listStaysHiddenAndEmpty()
{
    QWidget form;
    auto *box = new Atext(&form);
    form.show();
    QVERIFY(box->List1()->isHidden());
    box->Mclick();
    QVERIFY(box->List1()->isHidden());
    QCOMPARE(box->List1()->count(), 0);
    QCOMPARE(box->ListText(), QVariant(QString()));
    QCOMPARE(box->findChild<QLineEdit *>("Text1"), box->Text1());
    QCOMPARE(box->findChild<QListWidget *>("List1"), box->List1());
}

QTEST_MAIN(TestAtext)
#include "tst_atext.moc"
