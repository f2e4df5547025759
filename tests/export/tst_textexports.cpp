// The plain-text and RTF writers' byte-level edges; the user's flows through
// the report view are in tst_reportexport.
#include "ExportReaders.h"
#include "TestSupport.h"
#include "export/PlainTextExport.h"
#include "gui/export/ReportExport.h"
#include "export/RtfWriter.h"
#include "gui/platform/Dialogs.h"
#include "report/PageTable.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

using namespace ExportReaders;

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

    void plainText_data()
    {
        QTest::addColumn<QByteArray>("printFile");
        QTest::addColumn<QVector<int>>("pages");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("bytes kept, text after the last form feed left out") << QByteArray("one\r\n\fpage \x1b"
                                                                                          "E\xc4\r\n\ftail")
                                                                            << QVector<int> {0, 1}
                                                                            << QByteArray("one\r\n\fpage \x1b"
                                                                                          "E\xc4\r\n\f");
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
        PageTable table;
        table.setBytes(printFile);
        QString error;
        QVERIFY2(savePlainText(path, table, pages, &error), qPrintable(error));
        QCOMPARE(TestSupport::readFile(path), expected);
    }

    // A page that does not exist: nothing written, the old file kept.
    void plainTextOfAMissingPage()
    {
        QTemporaryDir dir;
        PageTable table;
        table.setBytes("a\fb\f");
        const QString kept = TestSupport::writeFile(dir.filePath("kept.txt"), "old");
        QString error;
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
        QTest::newRow("paragraphs and spaces") << "  one  \ntwo\n\nfour";
    }

    void rtfTextSurvives()
    {
        QFETCH(QString, text);
        QTextDocument document;
        document.setPlainText(text);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QString error;
        QVERIFY2(RtfWriter::write(document, buffer, &error), qPrintable(error));
        const RtfContent read = readRtf(bytes);
        QVERIFY(read.wellFormed);
        QCOMPARE(read.text, text);
    }
};

QTEST_MAIN(TestTextExports)
#include "tst_textexports.moc"
