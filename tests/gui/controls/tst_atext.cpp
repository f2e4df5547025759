// The edit box's two looks: sunken (the style's frame) when Flat3D is 1, a
// plain line of the palette's dark colour around the box for any other
// value, with the text clear of it; the look follows a change of Flat3D.
#include "WindowSupport.h"
#include "gui/controls/Atext.h"

#include <QLineEdit>
#include <QtTest>

class TestAtext : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::initWindows(); }

    void looks_data()
    {
        QTest::addColumn<int>("flat3D");
        QTest::addColumn<bool>("sunken");
        QTest::newRow("0, the default: flat") << 0 << false;
        QTest::newRow("1: sunken") << 1 << true;
        QTest::newRow("2: flat") << 2 << false;
        QTest::newRow("255: flat") << 255 << false;
    }

    void looks()
    {
        QFETCH(int, flat3D);
        QFETCH(bool, sunken);
        Atext field;
        field.resize(160, 30);
        field.setText(QStringLiteral("Velmora"));
        // From the other look, so that the change itself is seen.
        QVERIFY(field.setFlat3D(sunken ? 0 : 1));
        QVERIFY(field.setFlat3D(flat3D));
        QLineEdit *box = field.Text1();
        QCOMPARE(box->hasFrame(), sunken);
        const QMargins margins = box->textMargins();
        QCOMPARE(margins, sunken ? QMargins() : QMargins(1, 1, 1, 1));
        const QImage drawn = box->grab().toImage();
        const QRgb line = QGuiApplication::palette().color(QPalette::Dark).rgb();
        const QPoint corners[] = { { 0, 0 }, { drawn.width() - 1, drawn.height() - 1 } };
        for (const QPoint &corner : corners)
            QCOMPARE(drawn.pixel(corner) == line, !sunken);
        QCOMPARE(drawn.pixel(0, drawn.height() / 2) == line, !sunken);
    }
};

QTEST_MAIN(TestAtext)
#include "tst_atext.moc"
