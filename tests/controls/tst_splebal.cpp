#include "TestSupport.h"
#include "controls/SpLebal.h"
#include "platform/OleColor.h"

#include <QSignalSpy>
#include <QTest>

// The caption label: defaults of a new and of a loaded control, stored
// properties, edges, caption placement and the Click event.
class TestSpLebal : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void newControlDefaults();
    void loadedControlDefaults_data();
    void loadedControlDefaults();
    void storedRangeLabel();
    void persistenceRoundTrip();
    void propertyChanges_data();
    void propertyChanges();
    void edges_data();
    void edges();
    void textFlags_data();
    void textFlags();
    void textRect_data();
    void textRect();
    void drawing_data();
    void drawing();
    void click();

private:
    static QImage picture(SpLebal &label);
    static int countColor(const QImage &image, const QRect &area, const QColor &color);
};

QImage TestSpLebal::picture(SpLebal &label)
{
    return label.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int TestSpLebal::countColor(const QImage &image, const QRect &area, const QColor &color)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixel(x, y) == color.rgb();
    }
    return n;
}

void TestSpLebal::newControlDefaults()
{
    QWidget host;
    QFont hostFont("DejaVu Sans", 13);
    host.setFont(hostFont);
    SpLebal label("SpLebal7", &host);
    QCOMPARE(label.objectName(), QString("SpLebal7"));
    QCOMPARE(label.Caption(), QString("SpLebal7"));
    QCOMPARE(label.CaptionStyle(), 1);
    QCOMPARE(label.HotKeyCaption(), QString());
    QCOMPARE(label.Down3D(), true);
    QCOMPARE(label.View3D(), 0);
    QCOMPARE(label.BackColor(), OleColor::ButtonFace);
    QCOMPARE(label.ForeColor(), OleColor::ButtonText);
    QCOMPARE(label.Font(), host.font());
    QCOMPARE(label.edgeColor(SpLebal::Edge::Top), OleColor::ButtonShadow); // sunken
}

void TestSpLebal::loadedControlDefaults_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("view");
    QTest::newRow("empty bag: name, style 2") << QString() << QVariant() << "SpLebal1" << 2 << 0;
    QTest::newRow("key in other case") << "caption" << QVariant("to") << "to" << 2 << 0;
    QTest::newRow("style stored") << "CAPTIONSTYLE" << QVariant(0) << "SpLebal1" << 0 << 0;
    QTest::newRow("view stored") << "View3D" << QVariant(1) << "SpLebal1" << 2 << 1;
}

void TestSpLebal::loadedControlDefaults()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QString, caption);
    QFETCH(int, style);
    QFETCH(int, view);
    PropertyBag bag;
    if (!key.isEmpty())
        bag.write(key, value);
    SpLebal label("SpLebal1");
    label.setCaptionStyle(7);
    label.setDown3D(false);
    label.readProperties(bag);
    QCOMPARE(label.Caption(), caption);
    QCOMPARE(label.CaptionStyle(), style);
    QCOMPARE(label.View3D(), view);
    QCOMPARE(label.Down3D(), true);
    QCOMPARE(label.BackColor(), OleColor::ButtonFace);
    QCOMPARE(label.ForeColor(), OleColor::ButtonText);
}

void TestSpLebal::storedRangeLabel()
{
    // The "to" label between the page-range fields of the print panel.
    QWidget panel;
    PropertyBag bag;
    bag.write("_ExtentX", 847);
    bag.write("_ExtentY", 503);
    bag.write("Caption", "to");
    QFont font("MS Sans Serif");
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Normal);
    bag.write("Font", font);
    bag.write("View3D", 2);
    SpLebal label("SpLebal1", &panel);
    label.readProperties(bag);
    QCOMPARE(label.Caption(), QString("to"));
    QCOMPARE(label.CaptionStyle(), 2);
    QCOMPARE(label.edgeColor(SpLebal::Edge::Top), OleColor::ButtonFace);
    QCOMPARE(label.edgeColor(SpLebal::Edge::Right), OleColor::ButtonFace);
    QCOMPARE(label.Font().family(), QString("MS Sans Serif"));
    QCOMPARE(label.Font().pointSizeF(), 8.25);
    QCOMPARE(label.size(), QSize(32, 19)); // at 96 DPI

    PropertyBag saved;
    label.writeProperties(saved);
    QCOMPARE(saved.keys(), QStringList({"_extentx", "_extenty", "Caption", "Font", "View3D"}));
    QCOMPARE(saved.read("_extentx").toInt(), 847);
    QCOMPARE(saved.read("_extenty").toInt(), 503);
}

void TestSpLebal::persistenceRoundTrip()
{
    SpLebal label("Lbl");
    label.resize(120, 40);
    label.setCaption("Pages");
    label.setHotKeyCaption("F4");
    label.setCaptionStyle(0);
    label.setDown3D(false);
    label.setBackColor(0x00112233);
    label.setForeColor(0x00445566);
    label.setView3D(1);
    PropertyBag bag;
    label.writeProperties(bag);
    QCOMPARE(bag.keys(),
        QStringList({"_extentx", "_extenty", "Caption", "HotKeyCaption", "CaptionStyle", "Down3D",
            "BackColor", "ForeColor", "View3D"}));

    SpLebal copy("Lbl");
    copy.readProperties(bag);
    QCOMPARE(copy.size(), label.size());
    QCOMPARE(copy.Caption(), QString("Pages"));
    QCOMPARE(copy.HotKeyCaption(), QString("F4"));
    QCOMPARE(copy.CaptionStyle(), 0);
    QCOMPARE(copy.Down3D(), false);
    QCOMPARE(copy.BackColor(), quint32(0x00112233));
    QCOMPARE(copy.ForeColor(), quint32(0x00445566));
    QCOMPARE(copy.View3D(), 1);

    // Style 1 of a new control differs from the stored default 2, so it is written.
    SpLebal fresh("Lbl");
    PropertyBag freshBag;
    fresh.writeProperties(freshBag);
    QCOMPARE(freshBag.keys(), QStringList({"_extentx", "_extenty", "CaptionStyle"}));
}

void TestSpLebal::propertyChanges_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("Caption") << "Caption" << QVariant("x");
    QTest::newRow("HotKeyCaption") << "HotKeyCaption" << QVariant("y");
    QTest::newRow("CaptionStyle") << "CaptionStyle" << QVariant(2);
    QTest::newRow("Down3D") << "Down3D" << QVariant(false);
    QTest::newRow("BackColor") << "BackColor" << QVariant(255u);
    QTest::newRow("ForeColor") << "ForeColor" << QVariant(255u);
    QTest::newRow("View3D") << "View3D" << QVariant(1);
    QTest::newRow("Font") << "Font" << QVariant(QFont("DejaVu Serif", 20));
}

void TestSpLebal::propertyChanges()
{
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    SpLebal label("L");
    QSignalSpy spy(&label, &SpLebal::PropertyChanged);
    if (property == "Caption")
        label.setCaption(value.toString());
    else if (property == "HotKeyCaption")
        label.setHotKeyCaption(value.toString());
    else if (property == "CaptionStyle")
        label.setCaptionStyle(value.toInt());
    else if (property == "Down3D")
        label.setDown3D(value.toBool());
    else if (property == "BackColor")
        label.setBackColor(value.toUInt());
    else if (property == "ForeColor")
        label.setForeColor(value.toUInt());
    else if (property == "View3D")
        label.setView3D(value.toInt());
    else
        label.setFont(value.value<QFont>());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toString(), property);
}

void TestSpLebal::edges_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<quint32>("topLeft");
    QTest::addColumn<quint32>("rightBottom");
    QTest::newRow("0 sunken") << 0 << OleColor::ButtonShadow << OleColor::Highlight3D;
    QTest::newRow("1 raised") << 1 << OleColor::Highlight3D << OleColor::ButtonShadow;
    QTest::newRow("2 flat") << 2 << OleColor::ButtonFace << OleColor::ButtonFace;
}

void TestSpLebal::edges()
{
    QFETCH(int, view);
    QFETCH(quint32, topLeft);
    QFETCH(quint32, rightBottom);
    SpLebal label("L");
    label.resize(40, 20);
    label.setBackColor(0x00FFFFFF);
    label.setCaption(QString());
    label.setView3D(view);
    QCOMPARE(label.edgeColor(SpLebal::Edge::Top), topLeft);
    QCOMPARE(label.edgeColor(SpLebal::Edge::Left), topLeft);
    QCOMPARE(label.edgeColor(SpLebal::Edge::Right), rightBottom);
    QCOMPARE(label.edgeColor(SpLebal::Edge::Bottom), rightBottom);

    const QImage image = picture(label);
    QCOMPARE(image.pixel(5, 0), OleColor::toColor(topLeft).rgb());
    QCOMPARE(image.pixel(0, 5), OleColor::toColor(topLeft).rgb());
    QCOMPARE(image.pixel(39, 5), OleColor::toColor(rightBottom).rgb());
    QCOMPARE(image.pixel(5, 19), OleColor::toColor(rightBottom).rgb());
    // The corners that top and left leave out belong to right and bottom.
    QCOMPARE(image.pixel(39, 0), OleColor::toColor(rightBottom).rgb());
    QCOMPARE(image.pixel(0, 19), OleColor::toColor(rightBottom).rgb());
    QCOMPARE(image.pixel(20, 10), QColor(Qt::white).rgb());

    // Any other value keeps the colours the edge already had.
    label.setView3D(5);
    QCOMPARE(label.edgeColor(SpLebal::Edge::Top), topLeft);
    QCOMPARE(label.edgeColor(SpLebal::Edge::Bottom), rightBottom);
    QCOMPARE(picture(label).pixel(5, 0), OleColor::toColor(topLeft).rgb());
}

void TestSpLebal::textFlags_data()
{
    QTest::addColumn<uint>("drawTextFlags");
    QTest::addColumn<int>("qtFlags");
    const int m = Qt::TextShowMnemonic;
    QTest::newRow("0x24 line, middle, left")
        << 0x24u << int(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | m);
    QTest::newRow("0x25 line, middle, centre")
        << 0x25u << int(Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine | m);
    QTest::newRow("0x26 line, middle, right")
        << 0x26u << int(Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine | m);
    QTest::newRow("0x2A line, bottom, right")
        << 0x2Au << int(Qt::AlignRight | Qt::AlignBottom | Qt::TextSingleLine | m);
    QTest::newRow("0x11 wrapped, centre")
        << 0x11u << int(Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | m);
    QTest::newRow("0x411 measuring") << 0x411u << int(Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | m);
    QTest::newRow("middle without single line is top") << 0x4u << int(Qt::AlignLeft | Qt::AlignTop | m);
    QTest::newRow("0x820 no prefix") << 0x820u << int(Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine);
}

void TestSpLebal::textFlags()
{
    QFETCH(uint, drawTextFlags);
    QFETCH(int, qtFlags);
    QCOMPARE(SpLebal::qtTextFlags(drawTextFlags), qtFlags);
}

void TestSpLebal::textRect_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("top"); // -1: centred block, computed below
    QTest::newRow("style 0") << 0 << "to" << QSize(100, 40) << 8;
    QTest::newRow("style 1") << 1 << "to" << QSize(100, 40) << 8;
    QTest::newRow("style 5") << 5 << "to" << QSize(100, 40) << 8;
    QTest::newRow("style 2, one line") << 2 << "to" << QSize(100, 40) << -1;
    QTest::newRow("style 2, taller than the control")
        << 2 << "one two three four five six seven eight nine ten" << QSize(40, 20) << -1;
}

void TestSpLebal::textRect()
{
    QFETCH(int, style);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(int, top);
    SpLebal label("L");
    label.resize(size);
    label.setCaption(caption);
    label.setCaptionStyle(style);
    const QRect r = label.textRect();
    QCOMPARE(r.left(), 8);
    QCOMPARE(r.right() + 1, size.width() - 8);
    if (top >= 0) {
        QCOMPARE(r.top(), top);
        QCOMPARE(r.bottom() + 1, size.height() - 8);
        return;
    }
    const int block = label.fontMetrics()
                          .boundingRect(QRect(8, 0, size.width() - 16, size.height()),
                              Qt::AlignHCenter | Qt::TextWordWrap, caption)
                          .height();
    QCOMPARE(r.top(), (size.height() - block) / 2);
    QCOMPARE(r.bottom() + 1, size.height() - r.top());
    if (block > size.height())
        QVERIFY(r.top() < 0);
}

void TestSpLebal::drawing_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hotKey");
    QTest::addColumn<bool>("textDrawn");
    QTest::newRow("style 0") << 0 << "MMMM"
                             << "" << true;
    QTest::newRow("style 1") << 1 << "MMMM"
                             << "" << true;
    QTest::newRow("style 2") << 2 << "MMMM MMMM MMMM"
                             << "" << true;
    QTest::newRow("hot key only") << 0 << ""
                                  << "F2" << true;
    QTest::newRow("style 3 draws nothing") << 3 << "MMMM"
                                           << "F2" << false;
    QTest::newRow("style -1 draws nothing") << -1 << "MMMM"
                                            << "F2" << false;
}

void TestSpLebal::drawing()
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
    const int inside = countColor(image, label.textRect().intersected(label.rect()), black);
    QCOMPARE(inside > 0, textDrawn);
    // Nothing is drawn in the free margin at the left and right.
    QCOMPARE(countColor(image, QRect(1, 1, 7, 48), black), 0);
    QCOMPARE(countColor(image, QRect(152, 1, 7, 48), black), 0);

    // Down3D changes nothing on screen.
    label.setDown3D(!label.Down3D());
    QCOMPARE(picture(label), image);
}

void TestSpLebal::click()
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

QTEST_MAIN(TestSpLebal)
#include "tst_splebal.moc"
