// convert's form and PDF information options as a user runs them: the real
// program in a process, real files, the PDFs read back with the poppler tools.
#include "TestSupport.h"
#include "form/FormChoice.h"
#include "report/ReportViewSettings.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

using TestSupport::runProgram;

QString makeForm(const QString &path, const QString &word)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF());
    writer.setResolution(72);
    QPainter painter(&writer);
    painter.fillRect(QRectF(20, 400, 300, 100), QColor(255, 220, 0));
    painter.drawText(QPointF(40, 450), word);
    return path;
}

} // namespace

class TestConvertForms : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestSupport::init();
        QVERIFY(m_dir.isValid());
        m_in = TestSupport::writeFile(path("in.prn"), "Invoice REI7\r\n\fsecond sheet\r\n");
        makeForm(path("first.pdf"), QStringLiteral("LETTERHEAD"));
        makeForm(path("next.pdf"), QStringLiteral("CONTINUED"));
        TestSupport::writeFile(path("notes.txt"), "not a form\n");
        // A PNG cut short after its header, whose library has its own say.
        TestSupport::writeFile(path("cut.png"),
            QByteArray::fromHex("89504e470d0a1a0a0000000d49484452000000640000006408000000005589ca88"
                                "0000003d49444154789cedcd010900000c03a0f52fbdb5381cb480"));
        // A PNG whose header says it is 0 pixels wide: libpng speaks up as
        // the header is read.
        TestSupport::writeFile(path("zero.png"),
            QByteArray::fromHex("89504e470d0a1a0a0000000d49484452000000000000000a0100000000b26b62d9000000084944"
                                "4154789c030000000001480689d20000000049454e44ae426082"));
    }

    void formsAndInformation()
    {
        const QString out = path("out.pdf");
        const auto run = runProgram({"convert", "--form", path("first.pdf") + ',' + path("next.pdf"), "--form-offset",
            "0,-5", "--pdf-title", "Invoice REI7", "--pdf-subject", "Rechnung", "--pdf-keywords", "invoice, REI7",
            m_in, out});
        QVERIFY2(run.status == 0, run.err.constData());
        // Moved up, the forms lose their top 5 mm: a note for each, and nothing else.
        QVERIFY2(run.err.count('\n') == 2 && run.err.count("reaches 5 mm past the top edge") == 2, run.err.constData());
        const QString first = TestSupport::runTool("pdftotext", {"-f", "1", "-l", "1", out, "-"});
        const QString second = TestSupport::runTool("pdftotext", {"-f", "2", "-l", "2", out, "-"});
        QVERIFY2(first.contains("Invoice REI7") && first.contains("LETTERHEAD") && !first.contains("CONTINUED"),
            qPrintable(first));
        QVERIFY2(second.contains("second sheet") && second.contains("CONTINUED"), qPrintable(second));
        const QString info = TestSupport::runTool("pdfinfo", {out});
        QVERIFY2(info.contains("Title:           Invoice REI7") && info.contains("Subject:         Rechnung")
                && info.contains("Keywords:        invoice, REI7"),
            qPrintable(info));
        QVERIFY(TestSupport::pdfIsValid(out));
    }

    // Forms whose names hold commas, as offices name letterheads: the list
    // is cut where it names forms, on the command line and from a rule.
    void namesWithCommas_data()
    {
        QTest::addColumn<QString>("forms");
        QTest::addColumn<QString>("seen"); // the forms' words on the two sheets
        QTest::newRow("one name, under every sheet") << "Brief,Kopf.pdf" << "LETTERHEAD|LETTERHEAD";
        QTest::newRow("two names") << "Brief,Kopf.pdf,Folge, Seite.pdf" << "LETTERHEAD|CONTINUED";
        QTest::newRow("a page of it, the first sheet only") << "Brief,Kopf.pdf#page=1," << "LETTERHEAD|";
        QTest::newRow("the later sheets only") << ",Folge, Seite.pdf" << "|CONTINUED";
        QTest::newRow("by a rule") << "rule" << "LETTERHEAD|CONTINUED";
    }
    void namesWithCommas()
    {
        QFETCH(QString, forms);
        QFETCH(QString, seen);
        QDir::setCurrent(m_dir.path());
        makeForm(path("Brief,Kopf.pdf"), QStringLiteral("LETTERHEAD"));
        makeForm(path("Folge, Seite.pdf"), QStringLiteral("CONTINUED"));
        const QString out = path("commas.pdf");
        QFile::remove(out);
        QStringList arguments {"convert", "--form", forms, m_in, out};
        if (forms == QLatin1String("rule")) {
            const QString rules = TestSupport::writeFile(path("commas.conf"),
                "[Brief]\nform = Brief,Kopf.pdf\nform-next = Folge, Seite.pdf\n");
            arguments = QStringList {"convert", "--rules", rules, m_in, out};
        }
        const auto run = runProgram(arguments);
        QVERIFY2(run.status == 0, run.err.constData());
        QStringList words;
        for (int page = 1; page <= 2; ++page) {
            const QString text = TestSupport::runTool(
                "pdftotext", {"-f", QString::number(page), "-l", QString::number(page), out, "-"});
            words << (text.contains("LETTERHEAD") ? "LETTERHEAD" : text.contains("CONTINUED") ? "CONTINUED" : "");
        }
        QCOMPARE(words.join('|'), seen);
    }

    // The job's text over a form is the same text in the same places as
    // without one (the form's pages go through another PDF pass, which
    // merges the glyphs into runs by the fonts' own widths): in fixed and
    // proportional faces, upright and italic.
    void textInPlaceOverAForm_data()
    {
        QTest::addColumn<QByteArray>("job");
        QTest::addColumn<QString>("printer");
        QTest::newRow("draft") << QByteArray("Draft text 0123 iiii WWWW\r\n") << "24-pin";
        QTest::newRow("sans serif cells") << QByteArray("\x1bx\x01\x1bk\x01Sans cells iiii WWWW\r\n") << "24-pin";
        QTest::newRow("proportional sans serif")
            << QByteArray("\x1bx\x01\x1bk\x01\x1bp\x01Proportional iiii WWWW lllmmm\r\n") << "24-pin";
        QTest::newRow("italic proportional, 9 pins")
            << QByteArray("\x1bx\x01\x1bk\x01\x1bp\x01\x1b" "4Italic quick brown fox\r\n") << "9-pin";
    }

    void textInPlaceOverAForm()
    {
        QFETCH(QByteArray, job);
        QFETCH(QString, printer);
        const QString in = TestSupport::writeFile(path("faces.prn"), "\x1b@" + job + "second line\r\n\f");
        const QString plain = path("faces.pdf"), formed = path("faces-form.pdf");
        const QStringList withForm {"--form", path("first.pdf"), in, formed};
        for (const QStringList &options : {QStringList {in, plain}, withForm}) {
            const auto run = runProgram(QStringList{"convert", "--printer", printer} + options);
            QVERIFY2(run.status == 0, run.err.constData());
        }
        // Each word of the job with its box, as pdftotext reads them.
        const auto words = [](const QString &pdf) {
            const QString boxes = TestSupport::runTool("pdftotext", {"-bbox", pdf, "-"});
            QStringList found;
            const QRegularExpression word(QStringLiteral("<word xMin=\"([-0-9.]+)\" yMin=\"([-0-9.]+)\" xMax=\"([-0-9.]+)\" "
                                                         "yMax=\"([-0-9.]+)\">([^<]*)</word>"));
            for (auto it = word.globalMatch(boxes); it.hasNext();) {
                const QRegularExpressionMatch m = it.next();
                if (m.captured(5) != QLatin1String("LETTERHEAD"))
                    found << m.captured(5) + ' ' + m.captured(1) + ' ' + m.captured(2) + ' ' + m.captured(3);
            }
            return found;
        };
        const QStringList expected = words(plain);
        QVERIFY2(expected.size() >= 5, qPrintable(expected.join('\n')));
        QCOMPARE(words(formed), expected);
        QVERIFY(TestSupport::pdfText(formed).contains("LETTERHEAD"));
    }

    void pictures()
    {
        const auto run = runProgram({"convert", "--form", path("first.pdf") + ",", "--dpi", "30", m_in, path("p.png")});
        QVERIFY2(run.status == 0, run.err.constData());
        const QImage first(path("p-001.png")), second(path("p-002.png"));
        const QPoint box(qRound(100 / 72.0 * 30), qRound(420 / 72.0 * 30));
        QCOMPARE(first.pixelColor(box).blue() < 100, true); // yellow
        QCOMPARE(second.pixelColor(box), QColor(Qt::white));
    }

    // The report view's stored forms and offset are its own: a form named on
    // the command line lies where --form-offset says, else at the corner (it
    // had taken the stored offset), and a rule's PDF carries the rule's forms
    // or none (it had taken the stored ones).
    void storedFormsStayTheWindows()
    {
        ReportViewSettings::saveForms(FormChoice {path("next.pdf"), path("next.pdf"), QPointF(30, 30)});
        const auto unstore = qScopeGuard([] { ReportViewSettings::saveForms(FormChoice()); });
        auto run = runProgram({"convert", "--form", path("first.pdf") + ",", "--dpi", "30", m_in, path("named.png")});
        QVERIFY2(run.status == 0, run.err.constData());
        const QPoint box(qRound(100 / 72.0 * 30), qRound(420 / 72.0 * 30));
        QCOMPARE(QImage(path("named-001.png")).pixelColor(box).blue() < 100, true); // yellow, not 30 mm away

        const QString rules = TestSupport::writeFile(path("plain.conf"), "[Plain]\nmatch = Invoice\n");
        run = runProgram({"convert", "--rules", rules, m_in, path("ruled.pdf")});
        QVERIFY2(run.status == 0, run.err.constData());
        const QString text = TestSupport::pdfText(path("ruled.pdf"));
        QVERIFY2(text.contains("Invoice REI7") && !text.contains("CONTINUED"), qPrintable(text));
        // Without rules the stored forms still serve convert.
        run = runProgram({"convert", m_in, path("stored.pdf")});
        QVERIFY2(run.status == 0, run.err.constData());
        QVERIFY(TestSupport::pdfText(path("stored.pdf")).contains("CONTINUED"));
        // A stored form gone is said to be the stored one, which no option named.
        ReportViewSettings::saveForms(FormChoice {path("gone.pdf"), QString(), QPointF()});
        run = runProgram({"convert", m_in, path("gone-out.pdf")});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("gone.pdf: the form does not exist (a form stored with the report view's forms; "
                                  "--form , converts without forms)"),
            run.err.constData());
        QCOMPARE(runProgram({"convert", "--form", ",", m_in, path("gone-out.pdf")}).status, 0);
    }

    // A form that reaches past the page is laid as it is, and said: the
    // footer of an A4 letterhead on Letter paper had gone without a word.
    void formPastThePage_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("note"); // empty: none
        QTest::addColumn<QByteArray>("job"); // empty: the two short sheets
        QTest::newRow("A4 form on A4") << QStringList {"--paper", "a4"} << "" << QByteArray();
        QTest::newRow("A4 form on Letter") << QStringList {"--paper", "letter"}
                                           << "reaches 18 mm past the bottom edge of the page (Letter, 216 x 279 mm)" << QByteArray();
        QTest::newRow("A4 form on A4 across") << QStringList {"--paper", "a4", "--landscape"}
                                              << "reaches 87 mm past the bottom edge of the page (A4, 297 x 210 mm)" << QByteArray();
        QTest::newRow("moved down past the page") << QStringList {"--paper", "a4", "--form-offset", "0,5"}
                                                  << "reaches 5 mm past the bottom edge" << QByteArray();
        QTest::newRow("moved up and left past the page") << QStringList {"--paper", "a4", "--form-offset", "-3,-5"}
                                                         << "reaches 5 mm past the top edge and 3 mm past the left edge of the page"
                                                         << QByteArray();
        QTest::newRow("moved within a millimetre") << QStringList {"--paper", "a4", "--form-offset", "-0.5,0.5"} << "" << QByteArray();
        // A 12-inch sheet is made smaller to fit A4, and its form with it;
        // the 11-inch sheet after it is not.
        QTest::newRow("past the page on a later sheet") << QStringList {"--paper", "a4", "--form-offset", "0,5"}
                                                        << "reaches 5 mm past the bottom edge"
                                                        << QByteArray("\x1b" "C\x00\x0cInvoice REI7\r\n\f\x1b" "C\x00\x0bmore\r\n\f");
    }
    void formPastThePage()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, note);
        QFETCH(QByteArray, job);
        const QString in = job.isEmpty() ? m_in : TestSupport::writeFile(path("long.prn"), job);
        const QString out = path("past.pdf");
        const auto run = runProgram(QStringList {"convert", "--form", path("first.pdf")} + options + QStringList {in, out});
        QCOMPARE(run.status, 0);
        QVERIFY(TestSupport::pdfText(out).contains("LETTERHEAD"));
        if (note.isEmpty()) {
            QVERIFY2(run.err.isEmpty(), run.err.constData());
        } else {
            QCOMPARE(run.err.count('\n'), 1); // once for the form, not once a sheet
            QVERIFY2(run.err.startsWith("sticker2: " + in.toUtf8() + ": note: the form " + path("first.pdf").toUtf8())
                    && run.err.contains(note.toUtf8()),
                run.err.constData());
        }
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("out");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const QString missing = path("missing.pdf");
        QTest::newRow("missing form") << QStringList {"--form", missing} << "a.pdf" << 1
                                      << QDir::toNativeSeparators(missing) + ": the form does not exist";
        QTest::newRow("missing next form") << QStringList {"--form", "," + missing} << "a.pdf" << 1
                                           << QDir::toNativeSeparators(missing) + ": the form does not exist";
        QTest::newRow("not a form") << QStringList {"--form", path("notes.txt")} << "a.pdf" << 1
                                    << "notes.txt: the form is not a PDF, PNG or JPEG file";
        QTest::newRow("cut PNG form") << QStringList {"--form", path("cut.png")} << "a.pdf" << 1
                                      << "cut.png: the form cannot be read as an image";
        QTest::newRow("PNG form of no width") << QStringList {"--form", path("zero.png")} << "a.pdf" << 1
                                              << "zero.png: the form cannot be read as an image";
        QTest::newRow("bad form in a batch")
            << QStringList {"--form", missing, "--to", "pdf", "--out-dir", m_dir.path()} << "" << 1
            << "the form does not exist";
        QTest::newRow("nan offset") << QStringList {"--form-offset", "nan,0"} << "a.pdf" << 2
                                    << "the form offset \"nan,0\" is not X,Y";
        QTest::newRow("infinite offset") << QStringList {"--form-offset", "0,inf"} << "a.pdf" << 2 << "is not X,Y";
        QTest::newRow("one number") << QStringList {"--form-offset", "5"} << "a.pdf" << 2 << "is not X,Y";
        QTest::newRow("form for text") << QStringList {"--form", path("first.pdf")} << "a.txt" << 2
                                       << "--form and --form-offset set the printed look only";
        QTest::newRow("form for the emphasis look")
            << QStringList {"--look", "emphasis", "--form", path("first.pdf")} << "a.pdf" << 2
            << "set the printed look only";
        QTest::newRow("title for pictures") << QStringList {"--pdf-title", "x"} << "a.png" << 2
                                            << "describe a PDF only";
    }
    void refused()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, out);
        QFETCH(int, status);
        QFETCH(QString, message);
        QStringList arguments = QStringList {"convert"} + options + QStringList {m_in};
        if (!out.isEmpty())
            arguments << path(out);
        const auto run = runProgram(arguments);
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
        QCOMPARE(run.err.count('\n'), status == 2 ? run.err.count('\n') : 1); // one line for a failure
        if (!out.isEmpty())
            QVERIFY(!QFileInfo::exists(path(out)));
    }

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QString m_in;
};

QTEST_MAIN(TestConvertForms)
#include "tst_convertforms.moc"
