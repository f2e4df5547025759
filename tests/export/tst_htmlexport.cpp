#include "TestSupport.h"
#include "export/HtmlExport.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

namespace {

const QByteArray Esc("\x1b");
const QByteArray BoldOnB = Esc + "E", BoldOffB = Esc + "F";
const QByteArray BBoldOnB = "\x0e" + Esc + "E" + Esc + "G", BBoldOffB = "\x14" + Esc + "F" + Esc + "H";
const QByteArray ULOnB = Esc + "-1", ULOffB = Esc + "-0";
const QByteArray CondOnB("\x0f"), CondOffB("\x12");
const QByteArray C96OnB = "\x12" + Esc + "W " + Esc + "M", C96OffB = Esc + "P";

const QByteArray DefaultHead = "<HTML>\r\n"
                               "<body  bgcolor='#FFFFFF';>\r\n"
                               "<font face ='Courier New'>\r\n"
                               "<font size =3> <p style = 'margin-top:0;margin bottom:0; '>\r\n";
const QByteArray Tail = "</p></font>\r\n</body>\r\n</HTML>\r\n";
const QByteArray BoldTag = "<b  style = ' color:rgb(128,0,0);'>";
const QByteArray H2Tag = "<H2 style = 'margin-top:0;margin bottom:0;  color:rgb(0,0,128);' >";
const QByteArray H6Tag = "<h6 style = 'margin-top:0;margin bottom:0 ;  color:rgb(128,0,128);'>";

// Hands out at most a few bytes per read, so sequences and line ends get
// cut at every possible place between two reads.
class TrickleDevice : public QIODevice
{
public:
    TrickleDevice(const QByteArray &bytes, int step)
        : m_bytes(bytes)
        , m_step(step)
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = std::min({maxSize, qint64(m_step), qint64(m_bytes.size()) - m_pos});
        memcpy(data, m_bytes.constData() + m_pos, size_t(n));
        m_pos += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    int m_step;
    qint64 m_pos = 0;
};

// The page for a print file read whole (step 0) or a few bytes at a time.
QByteArray exportBytes(const QByteArray &printFile, int step = 0, const HtmlColours &colours = HtmlColours())
{
    QBuffer whole;
    whole.setData(printFile);
    whole.open(QIODevice::ReadOnly);
    TrickleDevice trickle(printFile, step);
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QString error;
    if (!expHTml(step ? static_cast<QIODevice &>(trickle) : whole, buffer, colours, &error))
        qWarning("export failed: %s", qPrintable(error));
    return out;
}

// The translation done the long way: each line on its own, one replacement
// after the other over the whole line, as the table lists them.
QByteArray referenceBody(const QByteArray &file)
{
    QStringList lines = QString::fromLatin1(file).split(QRegularExpression("\r\n?|\n\r?"));
    if (lines.last().isEmpty())
        lines.removeLast(); // nothing after the last line end
    QByteArray body;
    for (const QString &text : lines) {
        QByteArray line = text.toLatin1();
        line.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;").replace(" ", "&nbsp;");
        line.replace(BBoldOnB, H2Tag).replace(BBoldOffB, "</H2>");
        line.replace(BoldOnB, BoldTag).replace(BoldOffB, "</b>");
        line.replace(CondOnB, H6Tag).replace(CondOffB, "</h6>");
        line.replace(ULOnB, "").replace(ULOffB, "");
        body += "<br>" + line + "\r\n";
    }
    return body;
}

} // namespace

class TestHtmlExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void translation_data()
    {
        QTest::addColumn<QByteArray>("printFile");
        QTest::addColumn<QByteArray>("body");
        const auto row = [](const char *name, const QByteArray &file, const QByteArray &body) {
            QTest::newRow(name) << file << body;
        };
        row("worked example", "AB  " + BoldOnB + "C" + BoldOffB,
            "<br>AB&nbsp;&nbsp;" + BoldTag + "C</b>\r\n");
        row("empty file", "", "");
        row("bbold has no b element", "x" + BBoldOnB + "TOTAL" + BBoldOffB + "y",
            "<br>x" + H2Tag + "TOTAL</H2>y\r\n");
        row("underline dropped", ULOnB + "Name" + ULOffB, "<br>Name\r\n");
        row("cond region", CondOnB + "small" + CondOffB, "<br>" + H6Tag + "small</h6>\r\n");
        row("twelve pitch keeps the rest of its sequence", C96OnB + "x" + C96OffB,
            "<br></h6>" + Esc + "W&nbsp;" + Esc + "Mx" + Esc + "P\r\n");
        row("markup characters of the text escaped", "a<b> & <script>",
            "<br>a&lt;b&gt;&nbsp;&amp;&nbsp;&lt;script&gt;\r\n");
        row("CR LF, a lone CR, a lone LF, LF CR: one line end each", "a\r\nb\rc\n d\n\re\n",
            "<br>a\r\n<br>b\r\n<br>c\r\n<br>&nbsp;d\r\n<br>e\r\n");
        row("sequence split over two lines", Esc + "\r\nE", "<br>" + Esc + "\r\n<br>E\r\n");
        row("other bytes unchanged", QByteArray("\x0c\x1b@\xb3\xc4\x00\x7f", 7),
            QByteArray("<br>\x0c\x1b@\xb3\xc4\x00\x7f\r\n", 13));
    }

    void translation()
    {
        QFETCH(QByteArray, printFile);
        QFETCH(QByteArray, body);
        // Cut between any two reads, the page is the same.
        for (int step : {0, 1, 2, 3, 4, 5})
            QCOMPARE(exportBytes(printFile, step), DefaultHead + body + Tail);
    }

    // Random mixtures of the sequences, their pieces and line ends come out
    // exactly as the replacements made one after the other over each line.
    void matchesReplacementsInOrder()
    {
        const QList<QByteArray> pieces {BoldOnB, BoldOffB, BBoldOnB, BBoldOffB, ULOnB, ULOffB, CondOnB,
            CondOffB, C96OnB, Esc, "-", "0", "1", "E", "\x0e", "\x14", " ", "a", "<", "&", "\r", "\n",
            "\r\n"};
        QRandomGenerator random(1234);
        for (int round = 0; round < 300; ++round) {
            QByteArray file;
            const int count = random.bounded(40);
            for (int k = 0; k < count; ++k)
                file += pieces.at(random.bounded(int(pieces.size())));
            const QByteArray expected = DefaultHead + referenceBody(file) + Tail;
            QCOMPARE(exportBytes(file), expected);
            QCOMPARE(exportBytes(file, 1 + random.bounded(4)), expected);
        }
    }
};

QTEST_MAIN(TestHtmlExport)
#include "tst_htmlexport.moc"
