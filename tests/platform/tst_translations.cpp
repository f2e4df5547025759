// The translations: which file the user's languages take, and the shipped
// .ts files: complete, true to their source texts' placeholders, accelerators
// and endings, and current with the sources (lupdate over a copy finds no
// text they lack and none they keep in vain).
#include "TestSupport.h"
#include "platform/Translations.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QString SourceDir = QStringLiteral(STICKER2_SOURCE_DIR);
// The languages the program ships, each with its translations/sticker2_<lang>.ts.
const QStringList Shipped = QStringLiteral(STICKER2_LANGUAGES).split(QLatin1Char(' '), Qt::SkipEmptyParts);

struct Message
{
    QString context;
    QString source;
    QString translation;
    QString type; // the translation's type: "unfinished", "vanished", "obsolete" or none
};

// An element's text; lupdate writes a control character (the carriage
// return of a "\r\n") as <byte value="xd"/>.
QString elementText(QXmlStreamReader &xml)
{
    QString text;
    while (xml.readNext() != QXmlStreamReader::EndElement && !xml.atEnd()) {
        if (xml.isCharacters())
            text += xml.text();
        else if (xml.isStartElement() && xml.name() == QLatin1String("byte")) {
            const QString value = xml.attributes().value(QLatin1String("value")).toString();
            bool ok = false;
            const uint code
                = value.startsWith(QLatin1Char('x')) ? value.mid(1).toUInt(&ok, 16) : value.toUInt(&ok);
            if (ok)
                text += QChar(code);
            xml.skipCurrentElement();
        }
    }
    return text;
}

QList<Message> readTs(const QString &path, QString *language)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    QList<Message> messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("TS"))
            *language = xml.attributes().value(QLatin1String("language")).toString();
        else if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("message"))
            current = Message {context, QString(), QString(), QString()};
        else if (xml.name() == QLatin1String("source"))
            current.source = elementText(xml);
        else if (xml.name() == QLatin1String("translation")) {
            current.type = xml.attributes().value(QLatin1String("type")).toString();
            current.translation = elementText(xml);
            messages.append(current);
        }
    }
    if (xml.hasError())
        qFatal("%s: %s", qPrintable(path), qPrintable(xml.errorString()));
    return messages;
}

// The placeholders of a text, sorted: "%1", "%L2", "%n".
QStringList placeholders(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("%L?(\\d+|n)"));
    QStringList found;
    for (auto it = placeholder.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    found.sort();
    return found;
}

// The accelerator marks: each "&" that is not part of a literal "&&".
int accelerators(const QString &text)
{
    return int(QString(text).remove(QStringLiteral("&&")).count(QLatin1Char('&')));
}

// What a text ends with: its closing punctuation and spaces ("...", ":", ". ").
QString ending(const QString &text)
{
    static const QRegularExpression tail(QStringLiteral("[.:!?\\s]*$"));
    return tail.match(text).captured();
}

QSet<QString> keys(const QList<Message> &messages)
{
    QSet<QString> found;
    for (const Message &m : messages)
        found.insert(m.context + QLatin1String(" | ") + m.source);
    return found;
}

QString tsFile(const QString &folder, const QString &language)
{
    return QDir(folder).filePath(QStringLiteral("sticker2_%1.ts").arg(language));
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void languageChoice_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("language");
        QTest::newRow("German desktop") << QStringList {"de-DE", "de"} << "de";
        QTest::newRow("region without a file of its own") << QStringList {"cs-CZ"} << "cs";
        QTest::newRow("region with a file of its own") << QStringList {"de-CH", "de"} << "de_CH";
        QTest::newRow("script and region") << QStringList {"de-Latn-AT"} << "de";
        QTest::newRow("underscores as LANGUAGE writes them") << QStringList {"cs_CZ"} << "cs";
        QTest::newRow("first language untranslated") << QStringList {"fr-FR", "fr", "cs"} << "cs";
        QTest::newRow("English before German") << QStringList {"en-GB", "de"} << "";
        QTest::newRow("English") << QStringList {"en"} << "";
        QTest::newRow("C locale") << QStringList {"C"} << "";
        QTest::newRow("nothing") << QStringList {} << "";
        QTest::newRow("only untranslated languages") << QStringList {"fr", "it"} << "";
    }

    void languageChoice()
    {
        QFETCH(QStringList, uiLanguages);
        QFETCH(QString, language);
        QTemporaryDir installed;
        QTemporaryDir build;
        TestSupport::writeFile(installed.filePath("sticker2_de.qm"), "qm");
        TestSupport::writeFile(installed.filePath("sticker2_de_CH.qm"), "qm");
        TestSupport::writeFile(build.filePath("sticker2_cs.qm"), "qm");
        TestSupport::writeFile(build.filePath("other_fr.qm"), "qm");
        QCOMPARE(Translations::languageFor(uiLanguages, {installed.path(), build.path()}), language);
    }

    // The installed folder is read before the build tree's.
    void installedFolderFirst()
    {
        QTemporaryDir root;
        const QString installed = root.filePath("usr/share/sticker2/translations");
        const QString build = root.filePath("usr/translations");
        TestSupport::writeFile(installed + "/sticker2_de.qm", "qm");
        TestSupport::writeFile(build + "/sticker2_de.qm", "qm");
        TestSupport::writeFile(build + "/sticker2_cs.qm", "qm");
        const QStringList folders = Translations::folders(root.filePath("usr/bin"));
        QCOMPARE(folders, (QStringList {installed, build}));
        QCOMPARE(Translations::fileFor("de", folders), installed + "/sticker2_de.qm");
        QCOMPARE(Translations::fileFor("cs", folders), build + "/sticker2_cs.qm");
        QCOMPARE(Translations::fileFor("fr", folders), QString());
    }

    void everyTextTranslated_data()
    {
        QTest::addColumn<QString>("language");
        QVERIFY(Shipped.contains("de") && Shipped.contains("cs"));
        for (const QString &language : Shipped)
            QTest::newRow(qPrintable(language)) << language;
    }

    // Each source text has a finished translation that keeps the source's
    // placeholders, accelerator and closing punctuation.
    void everyTextTranslated()
    {
        QFETCH(QString, language);
        QString fileLanguage;
        const QList<Message> messages = readTs(tsFile(SourceDir + "/translations", language), &fileLanguage);
        QCOMPARE(fileLanguage, language);
        QVERIFY(messages.size() > 100);
        QStringList faults;
        for (const Message &m : messages) {
            const QString where = m.context + ": \"" + m.source + "\"";
            if (!m.type.isEmpty())
                faults << where + " is " + m.type;
            else if (m.translation.trimmed().isEmpty())
                faults << where + " has no translation";
            else if (placeholders(m.translation) != placeholders(m.source))
                faults << where + " has other placeholders: \"" + m.translation + "\"";
            else if (accelerators(m.translation) != accelerators(m.source))
                faults << where + " has another count of & marks: \"" + m.translation + "\"";
            else if (ending(m.translation) != ending(m.source))
                faults << where + " ends otherwise: \"" + m.translation + "\"";
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    // lupdate over a copy of the committed files, as
    // tools/update-translations.sh refreshes them, finds the same texts: a
    // text added to the sources without a translation fails here.
    void translationsAreCurrent()
    {
        QTemporaryDir copy;
        for (const QString &language : Shipped)
            QVERIFY(
                QFile::copy(tsFile(SourceDir + "/translations", language), tsFile(copy.path(), language)));
        QProcess lupdate;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LUPDATE", STICKER2_LUPDATE);
        lupdate.setProcessEnvironment(environment);
        lupdate.start("bash", {SourceDir + "/tools/update-translations.sh", copy.path()});
        QVERIFY(lupdate.waitForFinished(120000));
        QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
            lupdate.readAllStandardError().constData());
        for (const QString &language : Shipped) {
            QString ignored;
            const QSet<QString> committed
                = keys(readTs(tsFile(SourceDir + "/translations", language), &ignored));
            const QSet<QString> current = keys(readTs(tsFile(copy.path(), language), &ignored));
            QStringList faults;
            for (const QString &key : current - committed)
                faults << language + " lacks " + key;
            for (const QString &key : committed - current)
                faults << language + " keeps a text no longer in the sources: " + key;
            faults.sort();
            QVERIFY2(faults.isEmpty(),
                qPrintable(
                    faults.join('\n') + "\nRun tools/update-translations.sh and translate the new texts."));
        }
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
