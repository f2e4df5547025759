// The plain-text and RTF writers' byte-level edges, and what every writer
// does with its target; the user's flows through the report view are in
// tst_reportexport.
#include "ExportReaders.h"
#include "FileSizeLimit.h"
#include "TestSupport.h"
#include "export/HtmlExport.h"
#include "export/PlainTextExport.h"
#include "gui/export/ReportExport.h"
#include "export/RtfWriter.h"
#include "gui/platform/Dialogs.h"
#include "export/RichTextExport.h"
#include "export/WorkbookExport.h"
#include "platform/ByteText.h"
#include "platform/FileChecks.h"
#include "report/PageTable.h"
#include "report/ReportMarkup.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <sys/stat.h>

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

    // Every writer, onto a FIFO (refused, left as it is), through a link (the
    // file it names is written) and under a file-size limit (the cause
    // named, the old file kept, nothing left over).
    void everyWriterGuardsItsTarget_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<QString>("target");
        for (const char *writer : {"web page", "plain text", "rich text", "workbook", "bytes"}) {
            for (const char *target : {"fifo", "link", "limit"})
                QTest::addRow("%s onto a %s", writer, target) << writer << target;
        }
    }

    void everyWriterGuardsItsTarget()
    {
        QFETCH(QString, writer);
        QFETCH(QString, target);
        QTemporaryDir dir;
        const QByteArray bytes = QByteArray("   1234.50 \x1b"
                                            "E& <line>\r\n")
                                     .repeated(10000);
        const QString source = TestSupport::writeFile(dir.filePath("rep.prn"), bytes);
        PageTable table;
        table.setBytes(bytes);
        const QString path = dir.filePath("out");
        auto write = [&](QString *error) {
            if (writer == "web page")
                return expHTml(source, path, HtmlColours(), error);
            if (writer == "plain text")
                return savePlainText(path, table, {0}, error);
            if (writer == "rich text")
                return saveRichText(path, table, {0}, MarkupContext(), error);
            if (writer == "workbook")
                return WorkbookExport::write(source, path, {0, 6, 13, 0}, nullptr, error);
            return ByteText::writeFile(path, bytes, error); // its callers name the file
        };
        const QString named = writer == "bytes" ? QString() : QDir::toNativeSeparators(path);
        QString error;
        if (target == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            QVERIFY(!write(&error));
            QVERIFY2(error.contains(named) && error.contains("not a regular file"), qPrintable(error));
            QVERIFY(QFileInfo::exists(path) && !FileChecks::isRegularFile(path));
        } else if (target == "link") {
            TestSupport::writeFile(dir.filePath("real"), "old");
            QVERIFY(QFile::link("real", path));
            QVERIFY2(write(&error), qPrintable(error));
            QVERIFY(QFileInfo(path).isSymLink() && FileChecks::isRegularFile(path));
            QVERIFY(TestSupport::readFile(dir.filePath("real")).size() > 1000);
        } else {
            TestSupport::writeFile(path, "old");
            bool written;
            {
                FileSizeLimit limit(64 * 1024);
                written = write(&error);
            }
            QVERIFY(!written);
            QVERIFY2(error.contains(named) && error.endsWith("File too large"), qPrintable(error));
            QCOMPARE(TestSupport::readFile(path), QByteArray("old"));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
        }
    }
};

QTEST_MAIN(TestTextExports)
#include "tst_textexports.moc"
