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

    // Keys typed into Text1 with a host handler that may change the code.
    void typing_data()
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
        QTest::newRow("host drops backspace (8)") << "ab\b" << 8 << 1 << "ab" << QList<int> {97, 98, 8};
    }

    void typing()
    {
        QFETCH(QString, keys);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, text);
        QFETCH(QList<int>, seen);
        Atext box;
        QList<int> codes;
        auto host = [&](int &keyAscii) {
            codes << keyAscii;
            if (keyAscii == from)
                keyAscii = to;
        };
        connect(&box, &Atext::KeyPress, this, host, Qt::DirectConnection);
        for (const QChar c : keys) {
            if (c == QLatin1Char('\b'))
                QTest::keyClick(box.Text1(), Qt::Key_Backspace);
            else
                QTest::keyClick(box.Text1(), c.toLatin1());
        }
        QCOMPARE(codes, seen);
        QCOMPARE(box.Text(), text);
    }

    void keyDownAndUp()
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

    // The control is as tall as its edit box, which is 30 twips narrower.
    void layout_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("hight"); // TextboxHight set after the resize (0: left alone)
        QTest::newRow("taller than the box") << QSize(262, 200) << 0;
        QTest::newRow("shorter than the box") << QSize(52, 5) << 0;
        QTest::newRow("zero height") << QSize(120, 0) << 0;
        QTest::newRow("as wide as the margin") << QSize(2, 40) << 0;
        QTest::newRow("TextboxHight 400 applies at once") << QSize(200, 19) << 400;
    }

    void layout()
    {
        QFETCH(QSize, size);
        QFETCH(int, hight);
        QWidget form;
        auto *box = new Atext(&form);
        form.show();
        box->resize(size);
        if (hight)
            box->setTextboxHight(hight);
        const int boxHeight = Twips::toPixels(hight ? hight : 285);
        QCOMPARE(box->Text1()->geometry(),
            QRect(0, 0, Twips::toPixels(Twips::fromPixels(size.width()) - 30), boxHeight));
        QCOMPARE(box->height(), boxHeight);
        QCOMPARE(box->List1()->y(), boxHeight);
        QCOMPARE(box->List1()->width(), box->Text1()->width());
    }

    void flat3D_data()
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

    void flat3D()
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

    void colours()
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

    void focusLossRestoresLoadedColour()
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
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        QCOMPARE(box->BackColor(), 0x00C0FFC0u);
        QCOMPARE(box->Text1()->palette().color(QPalette::Base), QColor(0xC0, 0xFF, 0xC0));
    }

    // Every property set is written in the fixed order, each setter tells
    // the host, and a control loaded from the bag writes the same bag again.
    void persistenceRoundTrip()
    {
        QWidget form;
        Atext box(&form);
        PropertyBag empty;
        box.WriteProperties(empty); // a new control writes nothing
        QCOMPARE(empty.keys(), QStringList());
        QCOMPARE(box.TextboxHight(), 285);
        QCOMPARE(box.BackColor(), 0x80000005u);
        QCOMPARE(box.restoreBackColor(), 0x80000005u);
        QSignalSpy changed(&box, &Atext::PropertyChanged);
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
        QStringList names;
        for (const QList<QVariant> &signal : changed)
            names << signal.first().toString();
        changed.clear();
        QVERIFY(!box.setFlat3D(999));
        QCOMPARE(changed.count(), 0);
        PropertyBag bag;
        box.WriteProperties(bag);
        QCOMPARE(bag.keys(),
            QStringList({"Text", "Font", "ForeColor", "lickey", "SaveKey", "Enabled", "TextboxHight",
                "BackColor", "SelectBackColor", "MaxLength", "Database", "datafeild", "SelLength", "SelStart",
                "SelText", "SelCount", "FontSize", "Flat3D", "Locked", "ListOUTPUT", "ListSQL"}));
        QCOMPARE(bag.read("SelText").toString(), QString("ell"));
        // Each setter told the host the name it is stored under.
        QStringList stored = bag.keys();
        stored.removeOne("SelText");
        stored.sort();
        names.sort();
        QCOMPARE(names, stored);

        Atext loaded(&form);
        QSignalSpy loadedChanged(&loaded, &Atext::PropertyChanged);
        loaded.ReadProperties(bag);
        QCOMPARE(loadedChanged.count(), 0);
        QVERIFY(!loaded.isEnabled() && loaded.Locked());
        QCOMPARE(loaded.restoreBackColor(), 0x00445566u);
        PropertyBag again;
        loaded.WriteProperties(again);
        QCOMPARE(again.keys(), bag.keys());
        for (const QString &key : bag.keys())
            QVERIFY2(again.read(key) == bag.read(key), qPrintable(key));
    }

    // What the sticker form keeps for Atxt(5), keys in lower case as stored.
    void stickerFormBag()
    {
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
        QVERIFY(!bag.contains("TextboxHight") && !bag.contains("FontSize"));
        QVERIFY(bag.contains("Text"));
    }

    void loadingKeepsTextAndSelection()
    {
        QWidget form;
        PropertyBag bag;
        bag.write("Text", QString("abcdef"));
        bag.write("SelLength", 2);
        bag.write("SelStart", 1);
        bag.write("SelText", QString("bc"));
        Atext box(&form);
        box.ReadProperties(bag);
        QCOMPARE(box.Text(), QString("abcdef"));
        QCOMPARE(box.SelText(), QString("bc"));

        // A stale stored selection beyond the text is cut, the text untouched.
        bag.write("SelStart", 10);
        bag.write("SelText", QString("zz"));
        box.ReadProperties(bag);
        QCOMPARE(box.Text(), QString("abcdef"));
        QCOMPARE(box.SelLength(), 0);
    }

    void listStaysHiddenAndEmpty()
    {
        QWidget form;
        auto *box = new Atext(&form);
        form.show();
        box->Mclick();
        QVERIFY(box->List1()->isHidden());
        QCOMPARE(box->List1()->count(), 0);
        QCOMPARE(box->ListText(), QVariant(QString()));
        QCOMPARE(box->findChild<QLineEdit *>("Text1"), box->Text1());
        QCOMPARE(box->findChild<QListWidget *>("List1"), box->List1());
    }
};

QTEST_MAIN(TestAtext)
#include "tst_atext.moc"
