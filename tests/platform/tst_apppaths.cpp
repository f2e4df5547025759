#include "TestSupport.h"
#include "platform/AppPaths.h"
#include "platform/ByteText.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

// The program's folders and temporary names, the settings store and
// byte-exact text files.
class TestAppPaths : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void init()
    {
        QDir(AppPaths::privateTempFolder()).removeRecursively();
    }

    void tempFolderIsPrivate()
    {
        const QString folder = AppPaths::privateTempFolder();
        struct stat st;
        QCOMPARE(::lstat(QFile::encodeName(folder).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), 0700); // a link in its place: tst_charsheetwriter's runFailures
    }

    void shortPath()
    {
        QTemporaryDir dir;
        const QString file = TestSupport::writeFile(dir.filePath("a/b.prn"), "x");
        QCOMPARE(ShortPathOf(dir.path() + "/a/../a/./b.prn"), file);
        QVERIFY(ShortPathOf(dir.filePath("missing")).isEmpty());
    }

    void tempNames_data()
    {
        QTest::addColumn<QString>("last");
        QTest::addColumn<QStringList>("planted"); // files there already; "->" marks a dangling link
        QTest::addColumn<int>("number");          // of the name given
        QTest::addColumn<int>("lastAfter");
        QTest::newRow("first free") << QString() << QStringList() << 0 << 0;
        QTest::newRow("planted link and file skipped")
            << QString() << QStringList {"->Tz0.Tmp", "Tz1.Tmp"} << 2 << 2;
        QTest::newRow("deleted last number reused") << QString("3") << QStringList() << 3 << 3;
    }

    void tempNames()
    {
        QFETCH(QString, last);
        QFETCH(QStringList, planted);
        QFETCH(int, number);
        QFETCH(int, lastAfter);
        const QString folder = AppPaths::privateTempFolder() + "/";
        QTemporaryDir elsewhere;
        const QString victim = elsewhere.filePath("victim");
        for (const QString &file : planted) {
            if (file.startsWith("->"))
                QVERIFY(QFile::link(victim, folder + file.mid(2)));
            else
                TestSupport::writeFile(folder + file, "x");
        }
        QString lastNumber = last;
        const QString name = QString("%1Tz%2.Tmp").arg(folder).arg(number);
        QCOMPARE(NextTempFileName(lastNumber), name);
        QCOMPARE(lastNumber, QString::number(lastAfter));
        QVERIFY(QFileInfo(name).isFile());
        QVERIFY(!QFile::exists(victim));
        // The name is taken at once, so the next call moves on.
        if (planted.isEmpty())
            QCOMPARE(NextTempFileName(lastNumber), QString("%1Tz%2.Tmp").arg(folder).arg(number + 1));
    }

    void settingsRoundTripWithCaseBlindKeys()
    {
        QFile::remove(SettingsStore::fileName("Sticker2"));
        QCOMPARE(SettingsStore::read("Sticker2", "ReportView", "Bold", "128"), QString("128"));
        SettingsStore::save("Sticker2", "ReportView", "Cond", "42");
        QCOMPARE(SettingsStore::read("Sticker2", "ReportView", "cond", "0"), QString("42"));
        SettingsStore::save("Sticker2", "ReportView", "cond", "43");
        QCOMPARE(SettingsStore::read("Sticker2", "ReportView", "COND", "0"), QString("43"));
        // Keys with spaces, values with spaces and INI's own characters, per section.
        SettingsStore::save("Sticker2", "Sticker", "1 Space", " ");
        SettingsStore::save("Sticker2", "Sticker", "1 1", "Line one; with = signs");
        QCOMPARE(SettingsStore::read("Sticker2", "Sticker", "1 space", "x"), QString(" "));
        QCOMPARE(SettingsStore::read("Sticker2", "Sticker", "1 1", "x"), QString("Line one; with = signs"));
        QCOMPARE(SettingsStore::read("Sticker2", "ReportView", "1 1", "x"), QString("x"));
        QVERIFY(SettingsStore::fileName("Sticker2").startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
        QVERIFY(QFile::exists(SettingsStore::fileName("Sticker2")));
    }

    void everyByteSurvives()
    {
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all += char(i);
        QTemporaryDir dir;
        const QString path = dir.filePath("bytes.prn");
        QVERIFY(ByteText::writeFile(path, ByteText::toBytes(ByteText::toText(all)), nullptr));
        QByteArray back;
        QVERIFY(ByteText::readFile(path, &back, nullptr));
        QCOMPARE(back, all);
    }
};

QTEST_MAIN(TestAppPaths)
#include "tst_apppaths.moc"
