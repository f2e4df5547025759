#include "TestSupport.h"
#include "export/PageChoice.h"
#include "export/PlainTextExport.h"
#include "export/ReportExport.h"
#include "export/RichTextExport.h"
#include "export/RtfWriter.h"
#include "platform/Dialogs.h"
#include "report/PageTable.h"
#include "report/ReportMarkup.h"

#include <QBuffer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// What a reader makes of an RTF file: the text, and the runs with the
// character properties in force.
struct RtfRun
{
    QString text;
    bool bold = false;
    bool underline = false;
    int halfPoints = 24;
    QColor colour; // invalid: automatic
    QString font;
};

struct RtfContent
{
    QString text;
    QList<RtfRun> runs;
    bool wellFormed = false;
};

RtfContent readRtf(const QByteArray &rtf)
{
    struct State
    {
        bool bold = false, underline = false;
        int halfPoints = 24, colour = 0, font = 0;
        QString destination; // "fonttbl", "colortbl" or empty for the body
    };
    RtfContent content;
    QList<State> stack;
    State state;
    QList<QColor> colours; // entry 0 is normally empty: the automatic colour
    bool colourSeen = false;
    QMap<int, QString> fonts;
    int fontBeingNamed = 0;
    QColor nextColour(0, 0, 0);
    int depth = 0;

    auto addText = [&](QChar c) {
        if (state.destination == "fonttbl") {
            if (c == ';')
                fonts[fontBeingNamed] = fonts[fontBeingNamed].trimmed();
            else
                fonts[fontBeingNamed] += c;
            return;
        }
        if (state.destination == "colortbl") {
            if (c == ';') {
                colours.append(colourSeen ? nextColour : QColor());
                nextColour = QColor(0, 0, 0);
                colourSeen = false;
            }
            return;
        }
        content.text += c;
        const QColor colour = colours.value(state.colour);
        if (content.runs.isEmpty() || content.runs.last().bold != state.bold
            || content.runs.last().underline != state.underline
            || content.runs.last().halfPoints != state.halfPoints || content.runs.last().colour != colour
            || content.runs.last().font != fonts.value(state.font)) {
            content.runs.append(
                {QString(), state.bold, state.underline, state.halfPoints, colour, fonts.value(state.font)});
        }
        content.runs.last().text += c;
    };

    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf.at(i);
        if (c == '{') {
            stack.append(state);
            ++depth;
        } else if (c == '}') {
            if (stack.isEmpty())
                return content;
            state = stack.takeLast();
            if (--depth == 0)
                content.wellFormed = (i + 1 == rtf.size() || rtf.mid(i + 1).trimmed().isEmpty());
        } else if (c == '\r' || c == '\n') {
            continue;
        } else if (c == '\\') {
            const char d = rtf.at(++i);
            if (d == '\\' || d == '{' || d == '}') {
                addText(QLatin1Char(d));
            } else if (d == '\'') {
                addText(QChar(rtf.mid(i + 1, 2).toInt(nullptr, 16)));
                i += 2;
            } else {
                qsizetype j = i;
                while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf.at(j))))
                    ++j;
                const QByteArray word = rtf.mid(i, j - i);
                qsizetype k = j;
                if (k < rtf.size()
                    && (rtf.at(k) == '-' || std::isdigit(static_cast<unsigned char>(rtf.at(k)))))
                    ++k;
                while (k < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf.at(k))))
                    ++k;
                const bool hasNumber = k > j;
                const int number = rtf.mid(j, k - j).toInt();
                i = (k < rtf.size() && rtf.at(k) == ' ') ? k : k - 1;
                if (word == "fonttbl" || word == "colortbl")
                    state.destination = word;
                else if (word == "f" && state.destination == "fonttbl")
                    fontBeingNamed = number;
                else if (word == "f")
                    state.font = number;
                else if (word == "red")
                    nextColour.setRed(number), colourSeen = true;
                else if (word == "green")
                    nextColour.setGreen(number), colourSeen = true;
                else if (word == "blue")
                    nextColour.setBlue(number), colourSeen = true;
                else if (word == "b")
                    state.bold = !hasNumber || number != 0;
                else if (word == "ul")
                    state.underline = !hasNumber || number != 0;
                else if (word == "ulnone")
                    state.underline = false;
                else if (word == "fs")
                    state.halfPoints = number;
                else if (word == "cf")
                    state.colour = number;
                else if (word == "plain")
                    state.bold = state.underline = false, state.halfPoints = 24, state.colour = 0;
                else if (word == "par")
                    addText('\n');
                else if (word == "page")
                    addText('\f');
                else if (word == "tab")
                    addText('\t');
                else if (word == "u") {
                    addText(QChar(char16_t(qint16(number))));
                    if (i + 1 < rtf.size() && rtf.at(i + 1) == '?')
                        ++i;
                }
            }
        } else {
            addText(QLatin1Char(c));
        }
    }
    return content;
}

QByteArray rtfOf(const QTextDocument &document)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString error;
    if (!RtfWriter::write(document, buffer, &error))
        qWarning("%s", qPrintable(error));
    return bytes;
}

void insert(QTextCursor &cursor, const QString &text, const QColor &colour = QColor(), bool bold = false,
    bool underline = false, qreal points = 0)
{
    QTextCharFormat format;
    if (colour.isValid())
        format.setForeground(colour);
    if (bold)
        format.setFontWeight(QFont::Bold);
    if (underline)
        format.setFontUnderline(true);
    if (points > 0)
        format.setFontPointSize(points);
    cursor.insertText(text, format);
}

PageTable tableOf(const QByteArray &bytes)
{
    PageTable table;
    table.setBytes(bytes);
    return table;
}

} // namespace

class TestTextExports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void dialogFilterShowsEachTypeOnce_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("shown");
        QTest::newRow("export dialog") << ReportExport::Filter
                                       << "Rich Text Format (*.rtf);;Text  (*.txt);;Excel WorkBook (*.xls);;"
                                          "Web Page (*.HTML)";
        QTest::newRow("import dialog") << " Txt File(*.txt)|*.txt"
                                       << "Txt File(*.txt)";
        QTest::newRow("description without its pattern") << "Print files|*.prn"
                                                         << "Print files (*.prn)";
    }

    void dialogFilterShowsEachTypeOnce()
    {
        QFETCH(QString, filter);
        QFETCH(QString, shown);
        QCOMPARE(Dialogs::qtFilter(filter), shown);
    }

    void pageChoice_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QVector<int>>("pages");
        QTest::newRow("all of four") << 0 << 3 << QVector<int> {0, 1, 2, 3};
        QTest::newRow("current page 3") << 2 << 2 << QVector<int> {2};
        QTest::newRow("range past the end") << 2 << 9 << QVector<int> {2, 3};
        QTest::newRow("range before the start") << -3 << 0 << QVector<int> {0};
        QTest::newRow("reversed range") << 3 << 1 << QVector<int> {};
    }

    void pageChoice()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QVector<int>, pages);
        QCOMPARE(pageIndexes(first, last, 4), pages);
    }

    void plainText_data()
    {
        QTest::addColumn<QByteArray>("printFile");
        QTest::addColumn<QVector<int>>("pages");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray file = "one\r\n\fpage two\x1b"
                                "E\xc4\r\n\fthree\r\n\ffour\ftail";
        QTest::newRow("current page 3") << file << QVector<int> {2} << QByteArray("three\r\n\f");
        QTest::newRow("range 2-3") << file << QVector<int> {1, 2}
                                   << QByteArray("page two\x1b"
                                                 "E\xc4\r\n\fthree\r\n\f");
        QTest::newRow("all pages, text after the last form feed left out")
            << file << QVector<int> {0, 1, 2, 3}
            << QByteArray("one\r\n\fpage two\x1b"
                          "E\xc4\r\n\fthree\r\n\ffour\f");
        QTest::newRow("file without form feed")
            << QByteArray("a\r\nb") << QVector<int> {0} << QByteArray("a\r\nb\f");
        QTest::newRow("lone CR and LF become CR LF")
            << QByteArray("a\rb\nc\r\n") << QVector<int> {0} << QByteArray("a\r\nb\r\nc\r\n\f");
    }

    void plainText()
    {
        QFETCH(QByteArray, printFile);
        QFETCH(QVector<int>, pages);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        QString error;
        QVERIFY2(savePlainText(path, tableOf(printFile), pages, &error), qPrintable(error));
        QCOMPARE(TestSupport::readFile(path), expected);
    }

    void plainTextFailures()
    {
        QTemporaryDir dir;
        QString error;
        const PageTable table = tableOf("a\fb\f");
        QVERIFY(!savePlainText(dir.filePath("gone/out.txt"), table, {0}, &error));
        QVERIFY2(error.contains("out.txt"), qPrintable(error));

        // A page that does not exist: nothing written, the old file kept.
        const QString kept = TestSupport::writeFile(dir.filePath("kept.txt"), "old");
        QVERIFY(!savePlainText(kept, table, {0, 5}, &error));
        QVERIFY2(error.contains("kept.txt") && error.contains("6"), qPrintable(error));
        QCOMPARE(TestSupport::readFile(kept), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {"kept.txt"});
    }

    void rtfTextSurvives_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("braces and backslash") << "a\\b{c}d";
        QTest::newRow("bytes above 127") << QString::fromLatin1("\xb3\xc4\xe9\xff\x80");
        QTest::newRow("control codes") << QString::fromLatin1("\x1b"
                                                              "E\x0e\x14\x0f\x12\x01");
        QTest::newRow("tab and form feed") << "a\tb\fc";
        QTest::newRow("beyond Latin-1") << QString::fromUtf8("\u20ac\u0159");
        QTest::newRow("spaces kept") << "  two  spaces  ";
        QTest::newRow("paragraphs") << "one\ntwo\n\nfour";
    }

    void rtfTextSurvives()
    {
        QFETCH(QString, text);
        QTextDocument document;
        document.setPlainText(text);
        const RtfContent read = readRtf(rtfOf(document));
        QVERIFY(read.wellFormed);
        QCOMPARE(read.text, text);
    }

    void rtfFormats()
    {
        QTextDocument document;
        document.setDefaultFont(assemblyFont());
        QTextCursor cursor(&document);
        insert(cursor, "Plain ");
        insert(cursor, "TOTAL", QColor(128, 0, 0), true, false, 20);
        insert(cursor,
            "\x1b"
            "F",
            Qt::white, false, false, 1);
        cursor.insertBlock();
        insert(cursor, "Name", QColor(), false, true);
        insert(cursor, " small", QColor(128, 0, 128), false, false, 7);

        const QByteArray rtf = rtfOf(document);
        QVERIFY(rtf.startsWith("{\\rtf1\\ansi"));
        const RtfContent read = readRtf(rtf);
        QVERIFY(read.wellFormed);
        QCOMPARE(read.text,
            QString("Plain TOTAL\x1b"
                    "F\nName small"));
        QCOMPARE(read.runs.size(), 5);
        const RtfRun &plain = read.runs.at(0), &bold = read.runs.at(1), &hidden = read.runs.at(2),
                     &underlined = read.runs.at(3), &small = read.runs.at(4);
        QCOMPARE(plain.text, QString("Plain "));
        QVERIFY(!plain.bold && !plain.underline && !plain.colour.isValid());
        QCOMPARE(plain.halfPoints, 23); // 11.25 points
        QCOMPARE(plain.font, QString("Courier New"));
        QCOMPARE(bold.text, QString("TOTAL"));
        QVERIFY(bold.bold && !bold.underline);
        QCOMPARE(bold.colour, QColor(128, 0, 0));
        QCOMPARE(bold.halfPoints, 40);
        QCOMPARE(hidden.colour, QColor(Qt::white));
        QCOMPARE(hidden.halfPoints, 2);
        QVERIFY(!hidden.bold);
        QCOMPARE(underlined.text, QString("Name"));
        QVERIFY(underlined.underline && !underlined.bold);
        QCOMPARE(small.text, QString(" small"));
        QCOMPARE(small.colour, QColor(128, 0, 128));
        QCOMPARE(small.halfPoints, 14);
        QVERIFY(!small.underline);
    }

    // The markup passes run in print order over the assembled pages: the
    // sequences are hidden, the regions carry their emphasis.
    void richTextCarriesEmphasis()
    {
        QTemporaryDir dir;
        const PageTable table = tableOf("a \x0fsmall\x12\r\n\fb \x1b"
                                        "Ebold\x1b"
                                        "F \x1b-1ul\x1b-0\f");
        const QString path = dir.filePath("rep.rtf");
        QString error;
        QVERIFY2(saveRichText(path, table, {0, 1}, MarkupContext(), &error), qPrintable(error));
        const RtfContent read = readRtf(TestSupport::readFile(path));
        QCOMPARE(read.text,
            QString("a \x0fsmall\x12\n\fb \x1b"
                    "Ebold\x1b"
                    "F \x1b-1ul\x1b-0\f"));
        QMap<QString, RtfRun> runs;
        for (const RtfRun &run : read.runs)
            runs[run.text] = run;
        QCOMPARE(runs.value("small").colour, QColor(0x80, 0, 0x80));
        QCOMPARE(runs.value("small").halfPoints, 14);
        QVERIFY(runs.value("bold").bold);
        QCOMPARE(runs.value("bold").colour, QColor(0x80, 0, 0));
        QVERIFY(runs.value("ul").underline);
        QCOMPARE(runs.value("\x1b"
                            "E")
                     .halfPoints,
            2);
        QCOMPARE(runs.value("\x1b"
                            "E")
                     .colour,
            QColor(Qt::white));
    }

    // An RTF reader of its own (unrtf) sees the text and the emphasis.
    void rtfOpensInAnotherReader()
    {
        const QString unrtf = QStandardPaths::findExecutable("unrtf");
        if (unrtf.isEmpty())
            QSKIP("unrtf is not installed (tools/deps.sh installs it)");
        QTemporaryDir dir;
        QTextDocument document;
        document.setDefaultFont(assemblyFont());
        QTextCursor cursor(&document);
        insert(cursor, QString::fromLatin1("Caf\xe9 {1} \\ "));
        insert(cursor, "TOTAL", QColor(128, 0, 0), true, false, 20);
        cursor.insertBlock();
        insert(cursor, "Name", QColor(), false, true);
        const QString path = dir.filePath("rep.rtf");
        QString error;
        QVERIFY2(RtfWriter::save(document, path, &error), qPrintable(error));

        auto convert = [&](const QString &mode) {
            QProcess process;
            process.start(unrtf, {mode, path});
            process.waitForFinished(30000);
            return QString::fromLatin1(process.readAllStandardOutput()); // unrtf writes code page 1252
        };
        const QString text = convert("--text");
        QVERIFY2(text.contains(QString::fromLatin1("Caf\xe9 {1} \\ TOTAL")), qPrintable(text));
        QVERIFY2(text.contains("Name"), qPrintable(text));
        const QString html = convert("--html");
        QVERIFY2(html.contains("<b>TOTAL"), qPrintable(html));
        QVERIFY2(html.contains("#800000"), qPrintable(html));
        QVERIFY2(html.contains("<u>Name"), qPrintable(html));
    }

    void richTextOfChosenPages()
    {
        QTemporaryDir dir;
        const PageTable table = tableOf("p1 {x}\r\n\fp2\r\nline\fp3\f");
        const QString path = dir.filePath("rep.rtf");
        QString error;
        QVERIFY2(saveRichText(path, table, {0, 1, 2}, MarkupContext(), &error), qPrintable(error));
        const RtfContent read = readRtf(TestSupport::readFile(path));
        QVERIFY(read.wellFormed);
        QCOMPARE(read.text, QString("p1 {x}\n\fp2\nline\fp3\f"));

        QVERIFY(saveRichText(path, table, {1}, MarkupContext(), &error));
        QCOMPARE(readRtf(TestSupport::readFile(path)).text, QString("p2\nline\f"));

        QVERIFY(!saveRichText(dir.filePath("gone/rep.rtf"), table, {0}, MarkupContext(), &error));
        QVERIFY2(error.contains("rep.rtf"), qPrintable(error));
    }
};

QTEST_MAIN(TestTextExports)
#include "tst_textexports.moc"
