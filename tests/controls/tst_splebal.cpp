#include "TestSupport.h"
#include "controls/SpLebal.h"
#include "platform/OleColor.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QImage picture(SpLebal &label)
{
    return label.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int countColor(const QImage &image, const QRect &area, const QColor &color)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixel(x, y) == color.rgb();
    }
    return n;
}

} // namespace

// The caption label: defaults of a new and of a loaded control, stored
// properties, edges, caption placement and the Click event.
class TestSpLebal : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void defaults_data()
    {
        QTest::addColumn<bool>("load");      // from a bag, or newly placed
        QTest::addColumn<QString>("stored"); // a caption stored under "caption"
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("style");
        QTest::newRow("new control: name, style 1") << false << QString() << "SpLebal1" << 1;
        QTest::newRow("empty bag: name, style 2") << true << QString() << "SpLebal1" << 2;
        QTest::newRow("key in other case") << true << "to"
                                           << "to" << 2;
    }

    void defaults()
    {
        QFETCH(bool, load);
        QFETCH(QString, stored);
        QFETCH(QString, caption);
        QFETCH(int, style);
        QWidget host;
        host.setFont(QFont("DejaVu Sans", 13));
        SpLebal label("SpLebal1", &host);
        if (load) {
            PropertyBag bag;
            if (!stored.isEmpty())
                bag.write("caption", stored);
            label.setCaptionStyle(7);
            label.setDown3D(false);
            label.setFont(QFont("DejaVu Serif", 20));
            label.readProperties(bag);
        }
        QCOMPARE(label.Caption(), caption);
        QCOMPARE(label.CaptionStyle(), style);
        QCOMPARE(label.View3D(), 0);
        QCOMPARE(label.HotKeyCaption(), QString());
        QVERIFY(label.Down3D());
        QCOMPARE(label.BackColor(), OleColor::ButtonFace);
        QCOMPARE(label.ForeColor(), OleColor::ButtonText);
        QCOMPARE(label.Font(), host.font());
    }

    // The "to" label between the page-range fields of the print panel.
    void storedRangeLabel()
    {
        QWidget panel;
        PropertyBag bag;
        bag.write("_ExtentX", 847);
        bag.write("_ExtentY", 503);
        bag.write("Caption", "to");
        QFont font("MS Sans Serif");
        font.setPointSizeF(8.25);
        bag.write("Font", font);
        bag.write("View3D", 2);
        SpLebal label("SpLebal1", &panel);
        label.readProperties(bag);
        QCOMPARE(label.Caption(), QString("to"));
        QCOMPARE(label.CaptionStyle(), 2);
        QCOMPARE(label.edgeColor(SpLebal::Edge::Top), OleColor::ButtonFace);
        QCOMPARE(label.Font().pointSizeF(), 8.25);
        QCOMPARE(label.size(), QSize(32, 19)); // at 96 DPI

        PropertyBag saved;
        label.writeProperties(saved);
        QCOMPARE(saved.keys(), QStringList({"_extentx", "_extenty", "Caption", "Font", "View3D"}));
        QCOMPARE(saved.read("_extentx").toInt(), 847);
        QCOMPARE(saved.read("_extenty").toInt(), 503);
    }

    // Every property set is written in the fixed order, each setter tells
    // the host, and a control loaded from the bag writes the same bag again.
    void persistenceRoundTrip()
    {
        SpLebal label("Lbl");
        label.resize(120, 40);
        QSignalSpy changed(&label, &SpLebal::PropertyChanged);
        label.setCaption("Pages");
        label.setHotKeyCaption("F4");
        label.setCaptionStyle(0);
        label.setDown3D(false);
        label.setBackColor(0x00112233);
        label.setFont(QFont("DejaVu Serif", 20));
        label.setForeColor(0x00445566);
        label.setView3D(1);
        PropertyBag bag;
        label.writeProperties(bag);
        const QStringList stored {
            "Caption", "HotKeyCaption", "CaptionStyle", "Down3D", "BackColor", "Font", "ForeColor", "View3D"};
        QCOMPARE(bag.keys(), QStringList({"_extentx", "_extenty"}) + stored);
        QStringList names;
        for (const QList<QVariant> &signal : changed)
            names << signal.first().toString();
        QCOMPARE(names, stored);

        SpLebal copy("Lbl");
        copy.readProperties(bag);
        QCOMPARE(copy.size(), label.size());
        PropertyBag again;
        copy.writeProperties(again);
        QCOMPARE(again.keys(), bag.keys());
        for (const QString &key : bag.keys())
            QVERIFY2(again.read(key) == bag.read(key), qPrintable(key));

        // Style 1 of a new control differs from the stored default 2, so it is written.
        PropertyBag freshBag;
        SpLebal("Lbl").writeProperties(freshBag);
        QCOMPARE(freshBag.keys(), QStringList({"_extentx", "_extenty", "CaptionStyle"}));
    }

    void edges_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<quint32>("topLeft");
        QTest::addColumn<quint32>("rightBottom");
        QTest::newRow("0 sunken") << 0 << OleColor::ButtonShadow << OleColor::Highlight3D;
        QTest::newRow("1 raised") << 1 << OleColor::Highlight3D << OleColor::ButtonShadow;
        QTest::newRow("2 flat") << 2 << OleColor::ButtonFace << OleColor::ButtonFace;
    }

    void edges()
    {
        QFETCH(int, view);
        QFETCH(quint32, topLeft);
        QFETCH(quint32, rightBottom);
        SpLebal label("L");
        label.resize(40, 20);
        label.setBackColor(0x00FFFFFF);
        label.setCaption(QString());
        label.setView3D(view);
        const QImage image = picture(label);
        const QRgb first = OleColor::toColor(topLeft).rgb(), second = OleColor::toColor(rightBottom).rgb();
        QCOMPARE(image.pixel(5, 0), first);
        QCOMPARE(image.pixel(0, 5), first);
        QCOMPARE(image.pixel(39, 5), second);
        QCOMPARE(image.pixel(5, 19), second);
        // The corners that top and left leave out belong to right and bottom.
        QCOMPARE(image.pixel(39, 0), second);
        QCOMPARE(image.pixel(0, 19), second);
        QCOMPARE(image.pixel(20, 10), QColor(Qt::white).rgb());

        // Any other value keeps the colours the edge already had.
        label.setView3D(5);
        QCOMPARE(picture(label), image);
    }

    void textFlags_data()
    {
        QTest::addColumn<uint>("drawTextFlags");
        QTest::addColumn<int>("qtFlags");
        const int m = Qt::TextShowMnemonic, line = Qt::TextSingleLine;
        QTest::newRow("0x24 line, middle, left") << 0x24u << int(Qt::AlignLeft | Qt::AlignVCenter | line | m);
        QTest::newRow("0x2A line, bottom, right")
            << 0x2Au << int(Qt::AlignRight | Qt::AlignBottom | line | m);
        QTest::newRow("0x411 wrapped, centre, measuring")
            << 0x411u << int(Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | m);
        QTest::newRow("middle without single line is top") << 0x4u << int(Qt::AlignLeft | Qt::AlignTop | m);
        QTest::newRow("0x820 no prefix") << 0x820u << int(Qt::AlignLeft | Qt::AlignTop | line);
    }

    void textFlags()
    {
        QFETCH(uint, drawTextFlags);
        QFETCH(int, qtFlags);
        QCOMPARE(SpLebal::qtTextFlags(drawTextFlags), qtFlags);
    }

    void textRect_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("size");
        QTest::newRow("style 0") << 0 << "to" << QSize(100, 40);
        QTest::newRow("style 5") << 5 << "to" << QSize(100, 40);
        QTest::newRow("style 2, one line") << 2 << "to" << QSize(100, 40);
        QTest::newRow("style 2, taller than the control")
            << 2 << "one two three four five six seven eight nine ten" << QSize(40, 20);
    }

    void textRect()
    {
        QFETCH(int, style);
        QFETCH(QString, caption);
        QFETCH(QSize, size);
        SpLebal label("L");
        label.resize(size);
        label.setCaption(caption);
        label.setCaptionStyle(style);
        const QRect r = label.textRect();
        QCOMPARE(r.left(), 8);
        QCOMPARE(r.right() + 1, size.width() - 8);
        // Style 2 centres the wrapped block, even when it overflows.
        const QRect block = label.fontMetrics().boundingRect(
            QRect(8, 0, size.width() - 16, size.height()), Qt::AlignHCenter | Qt::TextWordWrap, caption);
        const int top = style == 2 ? (size.height() - block.height()) / 2 : 8;
        QCOMPARE(r.top(), top);
        QCOMPARE(r.bottom() + 1, size.height() - top);
    }

    void drawing_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hotKey");
        QTest::addColumn<bool>("textDrawn");
        QTest::newRow("style 0") << 0 << "MMMM" << QString() << true;
        QTest::newRow("style 2") << 2 << "MMMM MMMM MMMM" << QString() << true;
        QTest::newRow("hot key only") << 0 << QString() << "F2" << true;
        QTest::newRow("style 3 draws nothing") << 3 << "MMMM"
                                               << "F2" << false;
    }

    void drawing()
    {
        QFETCH(int, style);
        QFETCH(QString, caption);
        QFETCH(QString, hotKey);
        QFETCH(bool, textDrawn);
        SpLebal label("L");
        label.setFont(QFont("DejaVu Sans", 14));
        label.resize(160, 50);
        label.setBackColor(0x00FFFFFF);
        label.setForeColor(0x00000000);
        label.setView3D(2);
        label.setCaption(caption);
        label.setHotKeyCaption(hotKey);
        label.setCaptionStyle(style);
        const QImage image = picture(label);
        const QColor black(Qt::black);
        QCOMPARE(countColor(image, label.textRect().intersected(label.rect()), black) > 0, textDrawn);
        // Nothing is drawn in the free margin at the left and right.
        QCOMPARE(countColor(image, QRect(1, 1, 7, 48), black), 0);
        QCOMPARE(countColor(image, QRect(152, 1, 7, 48), black), 0);

        // Down3D changes nothing on screen.
        label.setDown3D(!label.Down3D());
        QCOMPARE(picture(label), image);
    }

    void click()
    {
        SpLebal label("L");
        label.resize(50, 20);
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        QSignalSpy spy(&label, &SpLebal::Click);
        QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QCOMPARE(spy.count(), 0);
        QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QCOMPARE(spy.count(), 1);
        QTest::mouseClick(&label, Qt::RightButton, Qt::NoModifier, QPoint(40, 5));
        QCOMPARE(spy.count(), 2);
        QTest::mouseMove(&label, QPoint(20, 10));
        QCOMPARE(spy.count(), 2);
        // Released away from the control: no click.
        QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, QPoint(80, 10));
        QCOMPARE(spy.count(), 2);
    }
};

QTEST_MAIN(TestSpLebal)
#include "tst_splebal.moc"
