// Which files are offered the printed look, and the answer kept per kind.
#include "TestSupport.h"
#include "platform/SettingsStore.h"
#include "report/PrintedLookOffer.h"

#include <QFile>
#include <QTest>

Q_DECLARE_METATYPE(PrintedLookOffer::Need)

class TestPrintedLookOffer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void need_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<PrintedLookOffer::Need>("need");
        using N = PrintedLookOffer::Need;
        const auto row = [](const char *name, const QByteArray &bytes, N need) {
            QTest::newRow(name) << bytes << need;
        };
        row("plain report", "ACME Ltd.\r\nSales journal\r\n\f", N::None);
        row("emphasis and pitch only", "\x1b@\x1b" "EACME\x1b" "F \x0fsmall\x12\x1bP\r\n\f", N::None);
        row("bit image ESC *", QByteArray("head\x1b*\x00\x03\x00", 9) + "\x01\x02\x03 tail\r\n", N::Pictures);
        row("bit image ESC K", QByteArray("\x1bK\x02\x00\xff\xff", 6), N::Pictures);
        row("absolute position ESC $", QByteArray("\x1b$\x10\x00" "Total", 9), N::Positioning);
        row("relative position ESC \\", QByteArray("\x1b\\\x10\x00" "x", 5), N::Positioning);
        row("vertical position ESC ( V", QByteArray("\x1b(V\x02\x00\x10\x00" "x", 8), N::Positioning);
        row("pictures win over positioning", QByteArray("\x1b$\x10\x00\x1bK\x01\x00\x7f", 9), N::Pictures);
        // A picture the file (or the part read) cuts short is still one.
        row("picture cut short", QByteArray("\x1bK\xff\x00" "ab", 6), N::Pictures);
        // A dollar sign of the text is not a command.
        row("dollar in the text", "Amount $ 12.00\r\n", N::None);
    }

    void need()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(PrintedLookOffer::Need, need);
        QCOMPARE(PrintedLookOffer::need(bytes), need);
    }

    void kindOf_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::newRow("upper case suffix") << "/srv/jobs/INVOICE.PRN" << "prn";
        QTest::newRow("text file") << "journal.txt" << "txt";
        QTest::newRow("no suffix") << "/tmp/job42" << "";
        QTest::newRow("last suffix counts") << "a.prn.gz" << "gz";
    }

    void kindOf()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QCOMPARE(PrintedLookOffer::kindOf(name), kind);
    }

    void answer_keptPerKind()
    {
        // No answer of an earlier run: the test's own settings file starts
        // empty (it lies in the test's home, which outlives a run).
        QFile::remove(SettingsStore::fileName(SettingsAppName));
        const QString kind = QStringLiteral("prn");
        const QString other = QStringLiteral("prnx");
        QCOMPARE(PrintedLookOffer::answer(kind), std::optional<bool>());
        PrintedLookOffer::saveAnswer(kind, true);
        PrintedLookOffer::saveAnswer("", false);
        QCOMPARE(PrintedLookOffer::answer(kind), std::optional<bool>(true));
        QCOMPARE(PrintedLookOffer::answer(""), std::optional<bool>(false));
        QCOMPARE(PrintedLookOffer::answer(other), std::optional<bool>());
        PrintedLookOffer::saveAnswer(kind, false);
        QCOMPARE(PrintedLookOffer::answer(kind), std::optional<bool>(false));
    }
};

QTEST_GUILESS_MAIN(TestPrintedLookOffer)
#include "tst_printedlookoffer.moc"
