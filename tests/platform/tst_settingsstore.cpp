#include "TestSupport.h"
#include "platform/AppPaths.h"
#include "platform/ByteText.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void init() { QFile::remove(SettingsStore::fileName("Sticker2")); }

    void roundTripWithCaseBlindKeys()
    {
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

QTEST_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
