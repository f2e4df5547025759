// Jobs in another printer language told from their first bytes: each made by
// the program that makes such jobs (ghostscript's drivers, netpbm) where it
// is installed, by hand where none is; and ESC/P from the same programs'
// dot-matrix drivers, which must never be named.
#include "escp/ForeignLanguage.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Two pages of text, lines and a filled circle.
const QByteArray Page = "%!PS\n/Courier findfont 12 scalefont setfont\n"
                        "72 700 moveto (Report, page 1) show 100 100 moveto 500 600 lineto stroke\n"
                        "200 200 50 0 360 arc fill showpage\n72 700 moveto (Page 2) show showpage\n";

// A 96 x 40 picture of stripes, as netpbm reads it.
QByteArray pbm()
{
    QByteArray out = "P4\n96 40\n";
    for (int y = 0; y < 40; ++y)
        out += QByteArray(12, char(y % 8 < 4 ? 0xf0 : 0x0f));
    return out;
}

} // namespace

class TestForeignLanguage : public QObject
{
    Q_OBJECT

private slots:
    void named_data()
    {
        QTest::addColumn<QString>("program"); // empty: `bytes` are the job
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("bytes"); // else the program's input
        QTest::addColumn<QString>("language"); // empty: ESC/P, not named

        const QStringList gs {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sPAPERSIZE=a4", "-sOutputFile=-"};
        const auto device = [&gs](const char *name, int dpi = 0) {
            QStringList out = gs;
            out << QStringLiteral("-sDEVICE=%1").arg(QLatin1String(name));
            if (dpi > 0)
                out << QStringLiteral("-r%1").arg(dpi);
            return out << QStringLiteral("-");
        };
        // Other languages.
        QTest::newRow("PostScript, ps2write") << "gs" << device("ps2write") << Page << "PostScript";
        QTest::newRow("PDF, pdfwrite") << "gs" << device("pdfwrite") << Page << "PDF";
        QTest::newRow("PCL XL in PJL, pxlmono") << "gs" << device("pxlmono", 300) << Page << "PCL XL";
        QTest::newRow("PCL 5, ljet4: ESC E and PCL") << "gs" << device("ljet4", 300) << Page << "PJL/PCL";
        QTest::newRow("PCL in PJL, ljet4pjl") << "gs" << device("ljet4pjl", 300) << Page << "PJL/PCL";
        QTest::newRow("ESC/Page after EJL, escpage") << "gs" << device("escpage", 300) << Page << "ESC/Page";
        QTest::newRow("ESC/Page alone, lp2000") << "gs" << device("lp2000", 300) << Page << "ESC/Page";
        QTest::newRow("Epson ink-jet, escp: PCL's raster end, ESC | B") << "gs" << device("escp", 360) << Page
                                                                        << "Epson ink-jet raster";
        QTest::newRow("PWG raster, pwgraster") << "gs" << device("pwgraster", 72) << Page << "PWG raster";
        QTest::newRow("Apple raster, appleraster") << "gs" << device("appleraster", 72) << Page << "Apple raster";
        QTest::newRow("PostScript after Ctrl-D") << QString() << QStringList() << QByteArray("\x04%!PS-Adobe-3.0\n")
                                                 << "PostScript";
        QTest::newRow("PostScript in PJL") << QString() << QStringList()
                                           << QByteArray("\x1b%-12345X@PJL JOB\r\n@PJL ENTER LANGUAGE = POSTSCRIPT\r\n"
                                                         "%!PS-Adobe-3.0\n")
                                           << "PostScript";
        QTest::newRow("ESC/P in PJL: not named") << QString() << QStringList()
                                                 << QByteArray("\x1b%-12345X@PJL ENTER LANGUAGE=ESCP\r\n\x1b@Hello\r\n")
                                                 << QString();
        QTest::newRow("ESC/P in PJL after a line end and blanks: not named")
            << QString() << QStringList() << QByteArray("\x1b%-12345X\r\n \t@PJL ENTER LANGUAGE=ESCP\r\n\x1b@Hello\r\n")
            << QString();
        QTest::newRow("ESC/P 2 in PJL: not named") << QString() << QStringList()
                                                   << QByteArray("\x1b%-12345X@PJL ENTER LANGUAGE = ESC/P2\r\n\x1b@Hi\r\n")
                                                   << QString();
        QTest::newRow("ESC/Page in PJL") << QString() << QStringList()
                                         << QByteArray("\x1b%-12345X@PJL ENTER LANGUAGE=ESCPAGE\r\n\x1d" "1rhE")
                                         << "ESC/Page";
        QTest::newRow("PCL XL without PJL") << QString() << QStringList()
                                            << QByteArrayLiteral(") HP-PCL XL;2;0;Comment\r\n\xc0\x00\xf8\x86") << "PCL XL";
        QTest::newRow("CUPS raster") << QString() << QStringList() << QByteArray("RaS3").append(1796, '\0')
                                     << "CUPS raster";
        // ESC/P, from the same programs' dot-matrix drivers.
        QTest::newRow("ESC/P: epson") << "gs" << device("epson", 72) << Page << QString();
        QTest::newRow("ESC/P: eps9high") << "gs" << device("eps9high") << Page << QString();
        QTest::newRow("ESC/P: lq850") << "gs" << device("lq850") << Page << QString();
        QTest::newRow("ESC/P: st800") << "gs" << device("st800", 360) << Page << QString();
        QTest::newRow("ESC/P: stcolor") << "gs" << device("stcolor", 360) << Page << QString();
        QTest::newRow("ESC/P: epsonc") << "gs" << device("epsonc", 180) << Page << QString();
        QTest::newRow("ESC/P: pbmtoepson") << "pbmtoepson" << QStringList() << pbm() << QString();
        QTest::newRow("ESC/P: pbmtoepson, 24 pins") << "pbmtoepson" << QStringList {"-protocol=escp"} << pbm()
                                                    << QString();
        QTest::newRow("ESC/P: pbmtoescp2") << "pbmtoescp2" << QStringList() << pbm() << QString();
        // ESC/P by hand: ESC E is its bold, "%" begins report text.
        QTest::newRow("ESC/P: bold first") << QString() << QStringList()
                                           << QByteArrayLiteral("\x1b" "EInvoice\x1b" "F 12\r\n\x1b" "E\x1b" "*\x27\x03\x00\xff\xff\xff")
                                           << QString();
        QTest::newRow("ESC/P: report text beginning with %") << QString() << QStringList()
                                                             << QByteArray("% done: 50%\r\n%!important\r\n\f")
                                                             << QString();
        QTest::newRow("ESC/P: bit image with a pattern like a GS command") << QString() << QStringList()
                                                                           << QByteArrayLiteral("\x1b@\x1bK\x50\x00")
                                                                                  .append(QByteArray("\x1d" "1A").repeated(40))
                                                                           << QString();
        QTest::newRow("ESC/P2 ink-jet after Epson's job language") << QString() << QStringList()
                                                                   << QByteArrayLiteral("\0\0\0\x1b\x01@EJL 1284.4\n@EJL     \n"
                                                                                        "\x1b@\x1b(G\x01\x00\x01")
                                                                   << QString();
        QTest::newRow("empty") << QString() << QStringList() << QByteArray() << QString();
    }
    void named()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, language);
        QByteArray job = bytes;
        if (!program.isEmpty()) {
            if (QStandardPaths::findExecutable(program).isEmpty())
                QSKIP(qPrintable(program + QStringLiteral(" is not installed")));
            QProcess maker;
            maker.start(program, arguments);
            QVERIFY(maker.waitForStarted());
            maker.write(bytes);
            maker.closeWriteChannel();
            QVERIFY(maker.waitForFinished(60000));
            job = maker.readAllStandardOutput();
            QVERIFY2(maker.exitCode() == 0 && !job.isEmpty(), maker.readAllStandardError().constData());
        }
        QCOMPARE(ForeignLanguage::of(job), language);
        // From a file too, which is read only as far as it is looked at.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile file(dir.filePath(QStringLiteral("job.prn")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(job);
        file.close();
        QCOMPARE(ForeignLanguage::ofFile(file.fileName()), language);
    }

    void noteNamesTheLanguage()
    {
        QCOMPARE(ForeignLanguage::note(QStringLiteral("PostScript")),
            QStringLiteral("this is a PostScript job, not an ESC/P print file; it is read as ESC/P all the same"));
        QVERIFY(ForeignLanguage::note(QStringLiteral("ESC/Page")).startsWith(QLatin1String("this is an ESC/Page job")));
    }

    void unreadableFileIsNotNamed()
    {
        QCOMPARE(ForeignLanguage::ofFile(QStringLiteral("/nonexistent/job.prn")), QString());
    }
};

QTEST_GUILESS_MAIN(TestForeignLanguage)
#include "tst_foreignlanguage.moc"
