// The two controls as the forms use them: the text box with list (Atext) on
// the sticker form, with the form's key filter on KeyPress; the caption label
// (SpLebal) of the print panel ("to", loaded from its stored properties) and
// of the report view ("GOTO", flat).
#include "TestSupport.h"
#include "controls/Atext.h"
#include "controls/SpLebal.h"
#include "platform/OleColor.h"

#include <QLineEdit>
#include <QTest>

class TestControls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    // Keys typed into Text1 with a host handler that may change the code.
    void atextTyping_data()
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

    void atextTyping()
    {
        QFETCH(QString, keys);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, text);
        QFETCH(QList<int>, seen);
        Atext box;
        QList<int> codes;
        connect(&box, &Atext::KeyPress, this, [&](int &keyAscii) {
            codes << keyAscii;
            if (keyAscii == from)
                keyAscii = to;
        });
        for (const QChar c : keys) {
            if (c == '\b')
                QTest::keyClick(box.Text1(), Qt::Key_Backspace);
            else
                QTest::keyClick(box.Text1(), c.toLatin1());
        }
        QCOMPARE(codes, seen);
        QCOMPARE(box.Text(), text);
    }

    // The "to" label between the page-range fields, with keys in another
    // case; what the bag does not hold comes back to the defaults.
    void spLebalStoredRangeLabel()
    {
        QWidget panel;
        panel.setFont(QFont("DejaVu Sans", 13));
        PropertyBag bag;
        bag.write("_ExtentX", 847);
        bag.write("_ExtentY", 503);
        bag.write("caption", "to");
        QFont font("MS Sans Serif");
        font.setPointSizeF(8.25);
        bag.write("Font", font);
        bag.write("View3D", 2);
        SpLebal label("SpLebal1", &panel);
        label.setCaptionStyle(7);
        label.readProperties(bag);
        QCOMPARE(label.Caption(), QString("to"));
        QCOMPARE(label.CaptionStyle(), 2);
        QCOMPARE(label.edgeColor(SpLebal::Edge::Top), OleColor::ButtonFace);
        QCOMPARE(label.Font().pointSizeF(), 8.25);
        QCOMPARE(label.size(), QSize(32, 19)); // at 96 DPI
        label.readProperties(PropertyBag());
        QCOMPARE(label.Caption(), QString("SpLebal1"));
        QCOMPARE(label.Font(), panel.font());
    }

    // The caption is drawn inside its rectangle and never in the margins;
    // a flat edge takes the face colour.
    void spLebalDrawing_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("caption");
        QTest::newRow("style 1, one line") << 1 << "GOTO";
        QTest::newRow("style 2, wrapped") << 2 << "MMMM MMMM MMMM";
    }

    void spLebalDrawing()
    {
        QFETCH(int, style);
        QFETCH(QString, caption);
        SpLebal label("L");
        label.setFont(QFont("DejaVu Sans", 14));
        label.resize(160, 50);
        label.setBackColor(0x00FFFFFF);
        label.setForeColor(0x00000000);
        label.setView3D(2);
        label.setCaption(caption);
        label.setCaptionStyle(style);
        const QImage image = label.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto black = [&image](const QRect &area) {
            int n = 0;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x)
                    n += image.pixel(x, y) == qRgb(0, 0, 0);
            }
            return n;
        };
        QVERIFY(black(label.textRect().intersected(label.rect())) > 0);
        QCOMPARE(black(QRect(1, 1, 7, 48)) + black(QRect(152, 1, 7, 48)), 0);
        const QRgb face = OleColor::toColor(OleColor::ButtonFace).rgb();
        QCOMPARE(QList<QRgb>({image.pixel(5, 0), image.pixel(0, 5), image.pixel(159, 5), image.pixel(5, 49)}),
            QList<QRgb>(4, face));
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
