#include "codepage/CodePage.h"
#include "codepage/CodePageGuess.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using CodePage::Id;
Q_DECLARE_METATYPE(CodePage::Id)

class TestCodePage : public QObject
{
    Q_OBJECT

private slots:
    void tellingBytes_data();
    void tellingBytes();
    void kamenickyMatchesThePublishedTable();
    void oneCharacterPerByte_data();
    void oneCharacterPerByte();
    void names();
    void encoding_data();
    void encoding();
    void guess_data();
    void guess();
};

void TestCodePage::tellingBytes_data()
{
    QTest::addColumn<Id>("id");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *name, Id id, const QByteArray &bytes, const QString &text) {
        QTest::newRow(name) << id << bytes << text;
    };
    row("latin1 as is", Id::Latin1, "\x80\xC9\xE9", QStringLiteral("\u0080Éé"));
    row("cp437 box, umlaut, controls kept", Id::Pc437, "\xC9\xCD\xBB f\x81r \x9E\x1B\x45\x0E\x12\x14\x0C\x7F",
        QStringLiteral("╔═╗ für ₧\x1B\x45\x0E\x12\x14\x0C\x7F"));
    row("cp850", Id::Pc850, "f\x81r \x9E \xC9\xCD\xBB", QStringLiteral("für × ╔═╗"));
    row("cp852", Id::Pc852, "\xAC\xFD\x85 \xC9\xCD\xBB", QStringLiteral("Čřů ╔═╗"));
    row("kamenicky", Id::Kamenicky, "\x80\xA9\x96 \xC9\xCD\xBB", QStringLiteral("Čřů ╔═╗"));
    row("cp866", Id::Pc866, "\x8F\xE0\xA8\xA2\xA5\xE2 \xF0", QStringLiteral("Привет Ё"));
    row("cp1252, a hole kept as a placeholder", Id::Windows1252, "\x80\x93x\x94\x96\xE9\x81",
        QStringLiteral("€“x”–é\uF781"));
}

void TestCodePage::tellingBytes()
{
    QFETCH(Id, id);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(CodePage::decode(id, bytes), text);
}

// The upper half as the published KEYBCS2 table shows it, row by row.
void TestCodePage::kamenickyMatchesThePublishedTable()
{
    const char16_t *upper = u"ČüéďäĎŤčěĚĹÍľĺÄÁ" u"ÉžŽôöÓůÚýÖÜŠĽÝŘť" u"áíóúňŇŮÔšřŕŔ¼§«»" u"░▒▓│┤╡╢╖╕╣║╗╝╜╛┐"
                            u"└┴┬├─┼╞╟╚╔╩╦╠═╬╧" u"╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀" u"αßΓπΣσµτΦΘΩδ∞φε∩" u"≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0";
    QByteArray bytes;
    for (int b = 0x80; b < 0x100; ++b)
        bytes += char(b);
    QCOMPARE(CodePage::decode(Id::Kamenicky, bytes), QString::fromUtf16(upper));
}

void TestCodePage::oneCharacterPerByte_data()
{
    QTest::addColumn<Id>("id");
    for (Id id : CodePage::all())
        QTest::newRow(qPrintable(CodePage::name(id))) << id;
}

void TestCodePage::oneCharacterPerByte()
{
    QFETCH(Id, id);
    QString error;
    QVERIFY2(CodePage::available(id, &error), qPrintable(error));
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QString text = CodePage::decode(id, all.repeated(2));
    QCOMPARE(text.size(), 512);
    QSet<QChar> seen;
    for (int b = 0; b < 256; ++b) {
        const QChar c = text.at(b);
        QVERIFY(!c.isSurrogate());
        if (b < 0x80)
            QCOMPARE(c.unicode(), char16_t(b));
        seen.insert(c);
    }
    QCOMPARE(seen.size(), 256); // one-to-one, so the bytes come back
    // A text of ASCII alone is read without the table: each byte on its own
    // reads as it does among all the others.
    for (int b = 0; b < 256; ++b)
        QCOMPARE(CodePage::decode(id, QByteArray(1, char(b))), QString(text.at(b)));
    QByteArray back;
    QVERIFY(CodePage::encode(id, text, &back));
    QCOMPARE(back, all.repeated(2));
}

void TestCodePage::names()
{
    QSet<QString> labels;
    for (Id id : CodePage::all()) {
        QCOMPARE(CodePage::fromName(CodePage::name(id)), std::optional<Id>(id));
        labels.insert(CodePage::label(id));
    }
    QCOMPARE(labels.size(), CodePage::all().size());
    QVERIFY(!CodePage::fromName(u"cp1250"));
    QCOMPARE(CodePage::names(), QString("latin1, cp1252, cp437, cp850, cp852, kamenicky, cp866"));
}

void TestCodePage::encoding_data()
{
    QTest::addColumn<Id>("id");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("missing"); // as a message names it
    const auto row = [](const char *name, Id id, const QString &text, const QByteArray &bytes,
                         const QString &missing) { QTest::newRow(name) << id << text << bytes << missing; };
    row("1252 quotes, dash, euro", Id::Windows1252, "“Ré” – 5 €\t", "\x93R\xE9\x94 \x96 5 \x80\t", "");
    row("1252 refuses the first", Id::Windows1252, "Łódź", "", "\"Ł\" (U+0141)");
    row("1252 refuses a C1 code", Id::Windows1252, "a\u0080", "", "\"\u0080\" (U+0080)");
    row("whole surrogate pair", Id::Windows1252, "ok 😀", "", "\"😀\" (U+1F600)");
    row("latin1 has no euro", Id::Latin1, "é€", "", "\"€\" (U+20AC)");
    row("cp852 letters", Id::Pc852, "Čř", "\xAC\xFD", "");
}

void TestCodePage::encoding()
{
    QFETCH(Id, id);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, missing);
    QByteArray out = "old";
    QString found;
    QCOMPARE(CodePage::encode(id, text, &out, &found), missing.isEmpty());
    QCOMPARE(out, bytes);
    QCOMPARE(found.isEmpty() ? found : CodePage::describe(found), missing);
}

QTEST_APPLESS_MAIN(TestCodePage)void TestCodePage::guess_data()
{
    // Text written in a code page, between printer commands; the code page
    // the bytes are taken for ("" for none: nothing above 127).
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("writtenIn");
    QTest::addColumn<QString>("guessed");
    const QString czech = QString::fromUtf8("P\u0159\u00edli\u0161 \u017elu\u0165ou\u010dk\u00fd k\u016f\u0148 "
                                            "\u00fap\u011bl \u010f\u00e1belsk\u00e9 \u00f3dy\r\n");
    const QString frame = QString::fromUtf8("\u250c\u2500\u2500\u2500\u2510\r\n\u2502 1 \u2502\r\n"
                                            "\u2514\u2500\u2500\u2500\u2518\r\n");
    QTest::newRow("Czech in Kamenicky") << czech + frame << "kamenicky" << "kamenicky";
    QTest::newRow("Czech in PC852") << czech + frame << "cp852" << "cp852";
    QTest::newRow("a frame alone") << frame << "cp437" << "cp437";
    QTest::newRow("Danish in PC850")
        << QString::fromUtf8("S\u00f8ren \u00d8stergaard, Gr\u00f6\u00dfe\r\n\u2554\u2550\u2557") << "cp850" << "cp850";
    QTest::newRow("Russian in PC866") << QString::fromUtf8("\u041f\u0440\u0438\u0432\u0435\u0442 \u043c\u0438\u0440")
                                      << "cp866" << "cp866";
    QTest::newRow("French in Latin-1") << QString::fromUtf8("caf\u00e9 cr\u00e8me, \u00e0 la") << "latin1" << "latin1";
    QTest::newRow("ASCII") << "plain\r\n\f" << "latin1" << "";
    // The guess reads the head of a file only, whoever asks.
    QTest::newRow("Czech past the head read") << QString(CodePage::GuessReads, QLatin1Char(' ')) + czech + frame
                                              << "kamenicky" << "";
    // Box-drawing bytes inside picture data and parameters are not text.
    QTest::newRow("picture data passed over")
        << QString("\x1bK\x04") + QChar(0) + QString::fromUtf8("\u00c4\u00c4\u00c4\u00c4\x1b" "3\u00b4caf\u00e9")
        << "latin1" << "latin1";
}

void TestCodePage::guess()
{
    QFETCH(QString, text);
    QFETCH(QString, writtenIn);
    QFETCH(QString, guessed);
    QByteArray bytes;
    QVERIFY(CodePage::encode(*CodePage::fromName(writtenIn), text, &bytes));
    const std::optional<CodePage::Id> id = CodePage::guess(bytes);
    QCOMPARE(id ? CodePage::name(*id) : QString(), guessed);
    // Nothing to guess from: "auto" reads the bytes as they are.
    QCOMPARE(CodePage::choiceFromName(u"AUTO")->resolve(bytes), id.value_or(CodePage::Id::Latin1));
    // A file is judged by the same bytes.
    QTemporaryDir dir;
    QFile file(dir.filePath("job.prn"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QCOMPARE(CodePage::choiceFromName(u"auto")->resolveFile(file.fileName()), id.value_or(CodePage::Id::Latin1));
}

#include "tst_codepage.moc"
