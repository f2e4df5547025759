#include "export/MinizipLibrary.h"
#include "export/XlsxWriterLibrary.h"
#include "platform/SharedLibrary.h"
#include "printing/CupsLibrary.h"
#include "sticker/ZintLibrary.h"

#include <QTest>

// The libraries loaded on first use: each one's table is complete on this
// system, and a missing library or function gives an error naming it.
class TestSharedLibrary : public QObject
{
    Q_OBJECT

private slots:
    void tablesLoad();
    void load_data();
    void load();
};

void TestSharedLibrary::tablesLoad()
{
    QString error;
    QVERIFY2(CupsLibrary::get(&error), qPrintable(error));
    QVERIFY2(ZintLibrary::get(&error), qPrintable(error));
    QVERIFY2(XlsxWriterLibrary::get(&error), qPrintable(error));
    QVERIFY2(MinizipLibrary::get(&error), qPrintable(error));
    QVERIFY(CupsLibrary::get(nullptr)->cupsServer() != nullptr);
}

void TestSharedLibrary::load_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QByteArray>("symbol");
    QTest::addColumn<QString>("named"); // in the error; empty when it loads
    QTest::newRow("present") << "cups"
                             << "2" << QByteArray("cupsServer") << QString();
    QTest::newRow("missing library") << "sticker2-absent"
                                     << "1" << QByteArray("f")
                                     << QStringLiteral("libsticker2-absent.so.1 cannot be loaded");
    QTest::newRow("missing version") << "cups"
                                     << "99" << QByteArray("cupsServer")
                                     << QStringLiteral("libcups.so.99 cannot be loaded");
    QTest::newRow("missing function") << "cups"
                                      << "2" << QByteArray("cupsNoSuchFunction")
                                      << QStringLiteral("libcups.so.2 has no cupsNoSuchFunction");
}

void TestSharedLibrary::load()
{
    QFETCH(QString, name);
    QFETCH(QString, version);
    QFETCH(QByteArray, symbol);
    QFETCH(QString, named);
    const char *(*function)() = nullptr;
    QString error;
    const bool loaded
        = SharedLibrary::load(name, version, {SharedLibrary::symbol(symbol.constData(), function)}, &error);
    QCOMPARE(loaded, named.isEmpty());
    QCOMPARE(function != nullptr, loaded); // a failed load leaves the slots alone
    QVERIFY2(error.startsWith(named), qPrintable(error));
}

QTEST_APPLESS_MAIN(TestSharedLibrary)
#include "tst_sharedlibrary.moc"
