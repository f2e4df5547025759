// The looks the printer gives text beyond its letters, drawn as it prints
// them: the ribbon's colours (the mixed ones two bands struck over each
// other), outline and shadow, and the draft and letter-quality faces in
// the pitch's cells.
#include "TestSupport.h"
#include "escp/SheetIndex.h"
#include "render/PrintedRenderer.h"

#include <QImage>
#include <QPainter>
#include <QTest>

Q_DECLARE_METATYPE(Printed::TextStyle)

namespace {

constexpr int Dpi = 360;

// One run at (1 in, 1 in) drawn alone on a white 3 x 2 in sheet at 360 dpi.
QImage drawn(const QString &text, const Printed::TextStyle &style)
{
    Printed::Sheet sheet;
    sheet.width = Printed::inches(3);
    sheet.height = Printed::inches(2);
    Printed::TextRun run;
    run.x = Printed::inches(1);
    run.baseline = Printed::inches(1);
    run.text = text;
    run.style = style;
    sheet.runs = {run};
    QImage image(3 * Dpi, 2 * Dpi, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PrintedRenderer().draw(painter, sheet, QPointF(0, 0), double(Dpi) / Printed::UnitsPerInch);
    return image;
}

// The box around every pixel that is not white, in pixels.
QRect inkBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// The colour most of the ink has: the commonest pixel that is not white.
QRgb inkColour(const QImage &image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (c != qRgb(255, 255, 255))
                ++counts[c];
        }
    }
    QRgb best = qRgb(255, 255, 255);
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most)
            most = it.value(), best = it.key();
    }
    return best;
}

Printed::TextStyle coloured(int colour)
{
    Printed::TextStyle style;
    style.color = quint8(colour);
    return style;
}

// The pixels where two drawings differ.
int differing(const QImage &a, const QImage &b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    }
    return count;
}

} // namespace

class TestPrintedLooks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    // ESC r n: which of the ribbon's colours the ink is, by the share of
    // red, green and blue light it leaves.
    void ribbonColours_data()
    {
        QTest::addColumn<int>("colour");
        QTest::addColumn<QString>("hue"); // the channels the ink leaves high (H) or takes (L): R G B
        QTest::newRow("0 black") << 0 << "LLL";
        QTest::newRow("1 magenta") << 1 << "HLH";
        QTest::newRow("2 cyan") << 2 << "LHH";
        QTest::newRow("3 violet") << 3 << "LLH";
        QTest::newRow("4 yellow") << 4 << "HHL";
        QTest::newRow("5 orange") << 5 << "HLL";
        QTest::newRow("6 green") << 6 << "LHL";
    }
    void ribbonColours()
    {
        QFETCH(int, colour);
        QFETCH(QString, hue);
        const QRgb ink = inkColour(drawn(QStringLiteral("\u2588\u2588"), coloured(colour)));
        const int channels[3] = {qRed(ink), qGreen(ink), qBlue(ink)};
        const int high = *std::max_element(channels, channels + 3);
        QString got;
        for (int c : channels)
            got += c >= 100 && c * 2 >= high ? QLatin1Char('H') : QLatin1Char('L');
        QVERIFY2(got == hue, qPrintable(QStringLiteral("%1 %2 %3").arg(channels[0]).arg(channels[1]).arg(channels[2])));
    }

    // The mixed colours are two bands struck over each other: each channel
    // is what both bands leave of it.
    void mixedColoursAreOverprints_data()
    {
        QTest::addColumn<int>("mixed");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::newRow("violet: magenta and cyan") << 3 << 1 << 2;
        QTest::newRow("orange: yellow and magenta") << 5 << 4 << 1;
        QTest::newRow("green: yellow and cyan") << 6 << 4 << 2;
    }
    void mixedColoursAreOverprints()
    {
        QFETCH(int, mixed);
        QFETCH(int, first);
        QFETCH(int, second);
        const QString block = QStringLiteral("\u2588\u2588");
        const QRgb a = inkColour(drawn(block, coloured(first)));
        const QRgb b = inkColour(drawn(block, coloured(second)));
        const QRgb m = inkColour(drawn(block, coloured(mixed)));
        QVERIFY(qAbs(qRed(m) - qRed(a) * qRed(b) / 255) <= 2);
        QVERIFY(qAbs(qGreen(m) - qGreen(a) * qGreen(b) / 255) <= 2);
        QVERIFY(qAbs(qBlue(m) - qBlue(a) * qBlue(b) / 255) <= 2);
    }

    // ESC q: outline prints the letter's edge and leaves its inside blank;
    // shadow prints a copy a dot (1/120 in) to the right and below.
    void outlineAndShadow_data()
    {
        QTest::addColumn<int>("mode"); // ESC q n
        QTest::addColumn<bool>("hollow");
        QTest::addColumn<bool>("shadowed");
        QTest::newRow("1 outline") << 1 << true << false;
        QTest::newRow("2 shadow") << 2 << false << true;
        QTest::newRow("3 outline and shadow") << 3 << true << true;
    }
    void outlineAndShadow()
    {
        QFETCH(int, mode);
        QFETCH(bool, hollow);
        QFETCH(bool, shadowed);
        const QString block = QStringLiteral("\u2588");
        const QRect plain = inkBox(drawn(block, {}));
        Printed::TextStyle style;
        style.outline = mode & 1;
        style.shadow = mode & 2;
        const QImage image = drawn(block, style);
        const QRect box = inkBox(image);
        QVERIFY(!plain.isEmpty() && !box.isEmpty());
        // The middle of the block: blank inside an outline, inked otherwise.
        const QRgb middle = image.pixel(plain.center());
        QCOMPARE(middle == qRgb(255, 255, 255), hollow);
        // A shadow reaches 3 pixels (1/120 in at 360 dpi) past the letter to the right and below.
        const int dot = Dpi / 120;
        QVERIFY2(qAbs(box.right() - (plain.right() + (shadowed ? dot : 0))) <= 1,
            qPrintable(QStringLiteral("right %1, the letter's %2").arg(box.right()).arg(plain.right())));
        QVERIFY2(qAbs(box.bottom() - (plain.bottom() + (shadowed ? dot : 0))) <= 1,
            qPrintable(QStringLiteral("bottom %1, the letter's %2").arg(box.bottom()).arg(plain.bottom())));
        QVERIFY(qAbs(box.left() - plain.left()) <= 1 && qAbs(box.top() - plain.top()) <= 1);
    }

    // ESC x and ESC k: draft, letter-quality Roman (and Courier and the
    // rest) and Sans serif are three faces to see, each in the pitch's
    // cells: the same text ends where the same number of cells ends.
    void facesInTheirCells_data()
    {
        QTest::addColumn<bool>("letterQuality");
        QTest::addColumn<int>("typeface");
        QTest::addColumn<int>("sameAsTypeface"); // -1: its own face
        QTest::newRow("draft") << false << 0 << -1;
        QTest::newRow("draft ignores ESC k") << false << 1 << 0;
        QTest::newRow("letter quality Roman") << true << 0 << -1;
        QTest::newRow("letter quality Courier") << true << 2 << 0;
        QTest::newRow("letter quality Sans serif") << true << 1 << -1;
        QTest::newRow("letter quality Sans serif H") << true << 11 << 1;
        QTest::newRow("letter quality OCR-B") << true << 5 << -1;
        QTest::newRow("letter quality OCR-A") << true << 6 << -1;
    }
    void facesInTheirCells()
    {
        QFETCH(bool, letterQuality);
        QFETCH(int, typeface);
        QFETCH(int, sameAsTypeface);
        const QString text = QStringLiteral("HxHxH");
        Printed::TextStyle style;
        style.letterQuality = letterQuality;
        style.typeface = quint8(typeface);
        const QImage image = drawn(text, style);
        const QRect box = inkBox(image);
        // Five cells of 1/10 in from 1 in: the ink keeps within them.
        QVERIFY2(box.left() >= Dpi && box.right() < Dpi + Dpi / 2,
            qPrintable(QStringLiteral("%1-%2").arg(box.left()).arg(box.right())));
        QVERIFY(box.right() > Dpi + Dpi * 4 / 10);

        Printed::TextStyle draft;
        Printed::TextStyle roman;
        roman.letterQuality = true;
        Printed::TextStyle sans = roman;
        sans.typeface = 1;
        Printed::TextStyle ocrB = roman;
        ocrB.typeface = 5;
        Printed::TextStyle ocrA = roman;
        ocrA.typeface = 6;
        const QImage faces[4] = {drawn(text, draft), drawn(text, roman), drawn(text, ocrB), drawn(text, ocrA)};
        // Each face differs from the others by more than a stray edge.
        for (int i = 0; i < 4; ++i) {
            for (int k = i + 1; k < 4; ++k)
                QVERIFY2(differing(faces[i], faces[k]) > 500, qPrintable(QStringLiteral("faces %1 and %2").arg(i).arg(k)));
        }
        // Sans serif is the draft's face: both are sans-serif faces of fixed
        // pitch, and a proportional one spaced out in cells read back from a
        // PDF as letters apart.
        QCOMPARE(differing(drawn(text, sans), faces[0]), 0);
        if (sameAsTypeface >= 0) {
            Printed::TextStyle same = style;
            same.typeface = quint8(sameAsTypeface);
            QCOMPARE(differing(image, drawn(text, same)), 0);
        }
    }
};

QTEST_MAIN(TestPrintedLooks)
#include "tst_printedlooks.moc"
