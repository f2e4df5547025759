#include "LoadedLibraries.h"
#include "export/MinizipLibrary.h"
#include "export/XlsxWriterLibrary.h"
#include "platform/SharedLibrary.h"
#include "printing/CupsLibrary.h"
#include "platform/ZintLibrary.h"

#include <QProcess>
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
    void namesFromTheBuild_data();
    void namesFromTheBuild();
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
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("symbol");
    QTest::addColumn<QString>("named"); // in the error; empty when it loads
    QTest::newRow("present") << STICKER2_LIBCUPS << QByteArray("cupsServer") << QString();
    QTest::newRow("missing library") << "libsticker2-absent.so.1" << QByteArray("f")
                                     << QStringLiteral("libsticker2-absent.so.1 cannot be loaded");
    QTest::newRow("missing version") << "libcups.so.99" << QByteArray("cupsServer")
                                     << QStringLiteral("libcups.so.99 cannot be loaded");
    QTest::newRow("missing function") << STICKER2_LIBCUPS << QByteArray("cupsNoSuchFunction")
                                      << QStringLiteral(STICKER2_LIBCUPS " has no cupsNoSuchFunction");
}

void TestSharedLibrary::load()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, symbol);
    QFETCH(QString, named);
    const char *(*function)() = nullptr;
    QString error;
    const bool loaded = SharedLibrary::load(file, {SharedLibrary::symbol(symbol.constData(), function)}, &error);
    QCOMPARE(loaded, named.isEmpty());
    QCOMPARE(function != nullptr, loaded); // a failed load leaves the slots alone
    QVERIFY2(error.startsWith(named), qPrintable(error));
}

// The names the build took are the SONAMEs of the libraries this system
// links against: what the dynamic linker would record for them.
void TestSharedLibrary::namesFromTheBuild_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("link");
    QTest::newRow("cups") << STICKER2_LIBCUPS << "libcups.so";
    QTest::newRow("zint") << STICKER2_LIBZINT << "libzint.so";
    QTest::newRow("xlsxwriter") << STICKER2_LIBXLSXWRITER << "libxlsxwriter.so";
    QTest::newRow("minizip") << STICKER2_LIBMINIZIP << "libminizip.so";
}

void TestSharedLibrary::namesFromTheBuild()
{
    QFETCH(QString, file);
    QFETCH(QString, link);
    QVERIFY2(file.startsWith(link + '.'), qPrintable(file));
    // The library the name loads is the file the -dev link points to.
    QProcess ld;
    ld.start("sh", {"-c", "readelf -d \"$(readlink -f \"$(gcc -print-file-name=\"$0\")\")\"", link});
    QVERIFY(ld.waitForFinished(30000));
    const QByteArray dynamic = ld.readAllStandardOutput();
    QVERIFY2(dynamic.contains("Library soname: [" + file.toUtf8() + "]"), dynamic.constData());
}

QTEST_APPLESS_MAIN(TestSharedLibrary)
#include "tst_sharedlibrary.moc"
