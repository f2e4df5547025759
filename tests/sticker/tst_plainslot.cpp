// The launcher's quick sheet (a stored slot read without Qt) against the full
// program's: for every slot it takes, the same bytes as FormatStore and
// CharSheetWriter make; every slot whose reading it cannot be sure of, or
// that the full program refuses, it leaves alone. And the program run as a
// user runs it: the same sheet to a file and to standard output, a kept
// file's permissions, and a failure left to the full program's message.
#include "TestSupport.h"
#include "platform/AppPaths.h"
#include "platform/SettingsStore.h"
#include "sticker/CharSheetWriter.h"
#include "sticker/FormatStore.h"
#include "sticker/PlainSlot.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

constexpr int Slot = 3;
const QByteArray NoFile = "<none>";

StickerInput stored()
{
    StickerInput in;
    in.lineTexts = {"Velmora Traders", "12 Market Road", "Pune, 411001", "Roll No ", "Class", "601", "612", "4",
        "Phone 020 5550101", "India", "1", "10"};
    in.maxField = 7;
    in.TxSp = "2";
    in.stickersAcross = "5";
    in.TxRow = "6";
    in.TxBlank = "1";
    in.lineWidth = "14";
    in.condensed = true;
    return in;
}

// The slot as the full program reads it and its sheet; empty with the
// refusal when it makes none.
QByteArray fullSheet(long long pages, int digits, QString *refusal)
{
    StickerInput input;
    FormatStore::loadSlot(Slot, input);
    FormatStore::LoadWindowSettings(input);
    if (pages >= 0)
        input.pageCount = QString::number(pages);
    if (digits >= 0)
        input.digits = digits;
    *refusal = CharSheetWriter::validate(input);
    if (!refusal->isEmpty() || !input.dataFile.isEmpty())
        return QByteArray();
    countPagesFromOne(input);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    if (!CharSheetWriter::write(computeWorkingValues(input), input.condensed, &buffer, &error))
        *refusal = error;
    return buffer.data();
}

std::optional<QByteArray> plainSheet(long long pages, int digits)
{
    const auto paths = PlainSlot::pathsFromEnvironment();
    if (!paths)
        return std::nullopt;
    const auto grid = PlainSlot::read(*paths, Slot, PlainSlot::Overrides { pages, digits });
    if (!grid)
        return std::nullopt;
    class Collect : public SheetGrid::Sink
    {
    public:
        bool put(const char *data, size_t size) override
        {
            bytes.append(data, qsizetype(size));
            return true;
        }
        QByteArray bytes;
    } sink;
    SheetGrid::ChunkedOutput out(sink);
    if (!SheetGrid::write(*grid, out))
        return std::nullopt;
    return sink.bytes;
}

QByteArray settingsOf(const QByteArray &lines)
{
    return "[Sticker]\n" + lines;
}

} // namespace

class TestPlainSlot : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void init()
    {
        QString error;
        QVERIFY2(FormatStore::save(Slot, stored(), &error), qPrintable(error));
    }

    void sameSheetOrLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("settings"); // the settings file as written; empty: as the form saved it
        QTest::addColumn<QByteArray>("slotFile"); // the slot's file; empty: as saved; <none>: removed
        QTest::addColumn<int>("pages");           // -1: the slot's own
        QTest::addColumn<int>("digits");          // -1: the slot's own
        QTest::addColumn<bool>("taken");          // the quick sheet takes it

        const QByteArray shortFile = "Velmora\r\nMarket\r\n";
        QTest::newRow("as the form saved it") << QByteArray() << QByteArray() << 3 << -1 << true;
        QTest::newRow("one page") << QByteArray() << QByteArray() << -1 << -1 << true;
        QTest::newRow("digits from the command line") << QByteArray() << QByteArray() << 2 << 6 << true;
        QTest::newRow("a number longer than the width")
            << QByteArray() << QByteArray("a\r\nb\r\nc\r\nNo\r\ne\r\n1\r\n9\r\nx\r\nf\r\ng\r\n5\r\n1\r\n3\r\n2\r\n3\r\n") << 2 << 9 << true;
        QTest::newRow("no file: all from the settings, quoted values")
            << settingsOf("3%20Col=3\n3%20Row=2\n3%20Maxf=5\n3%201=\"  Velmora, Traders \"\n3%204=\"No \"\n"
                          "3%20MaxFL=12\n3%20Space=1\n3%20Blankline=0\n3%20PrintStyle=0\n")
            << NoFile << 2 << -1 << true;
        QTest::newRow("a short file over the settings")
            << settingsOf("3%20Maxf=4\n3%203=Pune\n3%204=Roll\n") << shortFile << 2 << -1 << true;
        QTest::newRow("keys in another letter case")
            << settingsOf("3%20col=2\n3%20MAXF=3\n3%201=x\n") << NoFile << 1 << -1 << true;
        QTest::newRow("another slot's odd values") << settingsOf("2%201=a, b\n2%20Col=x\n3%20Maxf=2\n")
                                                   << NoFile << 1 << -1 << true;
        QTest::newRow("no settings file") << QByteArray("<none>") << shortFile << 2 << -1 << true;
        QTest::newRow("nothing stored at all") << QByteArray("<none>") << NoFile << 2 << -1 << true;
        QTest::newRow("the smallest grid") << settingsOf("3%20Col=1\n3%20Row=1\n3%20Maxf=0\n3%20Space=0\n") << NoFile
                                           << 2 << -1 << true;
        QTest::newRow("no width") << settingsOf("3%20MaxFL=0\n3%20Maxf=7\n") << NoFile << 1 << -1 << true;
        QTest::newRow("a style that is not one") << settingsOf("3%20PrintStyle=2\n3%20Digits=25\n3%20Maxf=4\n") << NoFile
                                                 << 1 << -1 << true;
        QTest::newRow("a letter outside ASCII in a line not printed")
            << QByteArray() << QByteArray("a\r\nb\r\nc\r\n\xe9t\xe9\r\ne\r\n1\r\n9\r\nx\r\nf\r\ng\r\n3\r\n") << 1 << -1 << true;

        QTest::newRow("a list in a printed line") << settingsOf("3%201=a, b\n3%20Maxf=1\n") << NoFile << 1 << -1
                                                  << false;
        QTest::newRow("an escape in a printed line") << settingsOf("3%201=\"a\\\"b\"\n3%20Maxf=1\n") << NoFile << 1
                                                     << -1 << false;
        QTest::newRow("a letter outside ASCII printed") << QByteArray() << QByteArray("caf\xe9\r\n") << 1 << -1 << false;
        QTest::newRow("one key twice") << settingsOf("3%20Col=2\n3%20COL=3\n") << NoFile << 1 << -1 << false;
        QTest::newRow("a byte-order mark") << "\xef\xbb\xbf" + settingsOf("3%20Col=2\n") << NoFile << 1 << -1 << false;
        QTest::newRow("a data file") << settingsOf("3%20DataFile=/tmp/a.csv\n") << NoFile << 1 << -1 << false;
        QTest::newRow("too many lines per sticker") << QByteArray() << shortFile + "c\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\nj\r\n9\r\n"
                                                    << 1 << -1 << false;
        QTest::newRow("too many across") << settingsOf("3%20Col=300\n") << NoFile << 1 << -1 << false;
        QTest::newRow("a number with spaces") << settingsOf("3%20Col=\" 3 \"\n") << NoFile << 1 << -1 << false;
        QTest::newRow("a fraction") << settingsOf("3%20Row=2.5\n") << NoFile << 1 << -1 << false;
        QTest::newRow("a value going on on the next line") << settingsOf("3%201=a\\\n3%20Col=2\n") << NoFile << 1 << -1
                                                           << false;
    }

    void sameSheetOrLeftAlone()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, slotFile);
        QFETCH(int, pages);
        QFETCH(int, digits);
        QFETCH(bool, taken);
        const QString settingsFile = SettingsStore::fileName(SettingsAppName);
        if (settings == NoFile)
            QVERIFY(QFile::remove(settingsFile));
        else if (!settings.isEmpty())
            TestSupport::writeFile(settingsFile, settings);
        if (slotFile == NoFile)
            QVERIFY(QFile::remove(FormatStore::slotFilePath(Slot)));
        else if (!slotFile.isEmpty())
            TestSupport::writeFile(FormatStore::slotFilePath(Slot), slotFile);

        const std::optional<QByteArray> plain = plainSheet(pages, digits);
        QCOMPARE(plain.has_value(), taken);
        QString refusal;
        const QByteArray full = fullSheet(pages, digits, &refusal);
        if (taken) {
            QVERIFY2(refusal.isEmpty(), qPrintable(refusal));
            QCOMPARE(*plain, full);
        }
    }

    // Where the quick sheet looks is where the full program keeps the slot,
    // from the XDG folders or the home folder; nowhere when Qt could read
    // the path otherwise.
    void samePlaces_data()
    {
        QTest::addColumn<QByteArray>("config"); // XDG_CONFIG_HOME; <none>: unset
        QTest::addColumn<QByteArray>("data");   // XDG_DATA_HOME
        QTest::addColumn<QByteArray>("home");
        QTest::addColumn<bool>("found");
        QTest::newRow("the XDG folders") << QByteArray("/srv/c") << QByteArray("/srv/d") << QByteArray("/h") << true;
        QTest::newRow("the home folder") << NoFile << NoFile << QByteArray("/home/office") << true;
        QTest::newRow("empty XDG folders") << QByteArray() << QByteArray() << QByteArray("/home/office") << true;
        QTest::newRow("a relative XDG folder") << QByteArray("cfg") << NoFile << QByteArray("/h") << false;
        QTest::newRow("a home with ..") << NoFile << NoFile << QByteArray("/home/x/../office") << false;
    }

    void samePlaces()
    {
        QFETCH(QByteArray, config);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, home);
        QFETCH(bool, found);
        const QByteArray saved[3] = { qgetenv("XDG_CONFIG_HOME"), qgetenv("XDG_DATA_HOME"), qgetenv("HOME") };
        const auto set = [](const char *name, const QByteArray &value) {
            if (value == NoFile)
                qunsetenv(name);
            else
                qputenv(name, value);
        };
        set("XDG_CONFIG_HOME", config);
        set("XDG_DATA_HOME", data);
        set("HOME", home);
        const auto paths = PlainSlot::pathsFromEnvironment();
        const QString settingsFile = SettingsStore::fileName(SettingsAppName);
        const QString programFolder = AppPaths::programFolder();
        qputenv("XDG_CONFIG_HOME", saved[0]);
        qputenv("XDG_DATA_HOME", saved[1]);
        qputenv("HOME", saved[2]);
        QCOMPARE(paths.has_value(), found);
        if (found) {
            QCOMPARE(QString::fromStdString(paths->settingsFile), settingsFile);
            QCOMPARE(QString::fromStdString(paths->programFolder), programFolder);
        }
    }

    // A running number the fourth line cuts gives stickers the same number:
    // the sheet is written as it always was, and that is said.
    void cutNumbersSaid_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QByteArray>("said"); // empty: nothing
        QTest::newRow("1 to 6 fit") << "1" << QByteArray();
        QTest::newRow("padded to 2 digits, cut from 1") << "2" << QByteArray("slot 3: note: line 4 holds 3 characters, so "
                                                                            "its running number is cut from sticker 1 on");
        QTest::newRow("7 across and down, cut from 10") << "0" << QByteArray("cut from sticker 10 on");
    }
    void cutNumbersSaid()
    {
        QFETCH(QString, digits);
        QFETCH(QByteArray, said);
        // "No" and the number on a line of 3: 7 stickers across, 2 down.
        TestSupport::writeFile(FormatStore::slotFilePath(Slot),
            "a\r\nb\r\nc\r\nNo\r\ne\r\n1\r\n9\r\nx\r\nf\r\ng\r\n5\r\n1\r\n"
                + QByteArray(digits == "0" ? "7" : "3") + "\r\n2\r\n3\r\n");
        const TestSupport::ProgramRun run = TestSupport::runProgram(
            {"stickers", "--slot", QString::number(Slot), "--digits", digits, "-o", "-"});
        QCOMPARE(run.status, 0);
        if (said.isEmpty())
            QCOMPARE(run.err, QByteArray());
        else
            QVERIFY2(run.err.contains(said) && run.err.count('\n') == 1, run.err.constData());
        QVERIFY(run.out.contains("No"));
    }

    // The program as a user runs it: a sheet of a few megabytes (pages
    // handed on many at a time) to a new file, over a kept file and to
    // standard output, each the full program's bytes.
    void programWritesTheSameSheet()
    {
        QString refusal;
        const QByteArray expected = fullSheet(4000, -1, &refusal);
        QVERIFY2(expected.size() > 2'000'000, qPrintable(refusal));
        QTemporaryDir folder;
        const QString out = folder.filePath(QStringLiteral("sheet.prn"));
        const QStringList arguments { QStringLiteral("stickers"), QStringLiteral("--slot"), QString::number(Slot),
            QStringLiteral("--pages=4000"), QStringLiteral("-o") };
        QCOMPARE(TestSupport::runProgram(arguments + QStringList { out }).status, 0);
        QCOMPARE(TestSupport::readFile(out), expected);
        QVERIFY(::chmod(QFile::encodeName(out).constData(), 0640) == 0);
        QCOMPARE(TestSupport::runProgram(arguments + QStringList { out }).status, 0);
        QCOMPARE(TestSupport::readFile(out), expected);
        struct stat st;
        QVERIFY(::stat(QFile::encodeName(out).constData(), &st) == 0);
        QCOMPARE(int(st.st_mode & 0777), 0640);
        const QString piped = folder.filePath(QStringLiteral("piped.prn"));
        const QStringList shell { QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$@\" > '%1'").arg(piped),
            QStringLiteral(STICKER2_PROGRAM) };
        const TestSupport::ProgramRun run
            = TestSupport::runProgram(shell + arguments + QStringList { QStringLiteral("-") }, QStringLiteral("sh"));
        QCOMPARE(run.status, 0);
        QCOMPARE(TestSupport::readFile(piped), expected);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 2); // no temporary file left
    }

    // What the sheet is read from, and where a stored file is kept but is
    // not yet (or another slot's file), is never written over: by the quick
    // sheet, the full program's (a code page sends it there) or the PDF, nor
    // as standard output. Each is refused and left as it was: the slot, or
    // every one, would be broken.
    void storedFilesNeverOutputs_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QStringList>("how");
        const QList<QStringList> ways {{"-o", "OUT"}, {"--codepage", "cp1252", "-o", "OUT"}, {"--pdf", "OUT"}, {"-o", "-"}};
        for (const char *place : {"slot", "Setting.txt", "settings", "a slot not stored yet", "another slot's file",
                 "the settings file not made yet"}) {
            for (const QStringList &how : ways) {
                if (how.last() == "-" && QByteArray(place).contains(' ')) // (the shell would make the file)
                    continue;
                QTest::addRow("%s, %s", place, qPrintable(how.join(' '))) << QString(place) << how;
            }
        }
    }

    void storedFilesNeverOutputs()
    {
        QFETCH(QString, place);
        QFETCH(QStringList, how);
        const QString settings = SettingsStore::fileName(QStringLiteral("Sticker2"));
        const QString aside = settings + QStringLiteral(".aside");
        const bool noSettings = place.startsWith(QLatin1String("the settings"));
        if (noSettings)
            QVERIFY(QDir().rename(settings, aside));
        const auto back = qScopeGuard([&] {
            if (noSettings) {
                QFile::remove(settings);
                QDir().rename(aside, settings);
            }
        });
        QString error;
        QVERIFY2(FormatStore::save(Slot + 1, stored(), &error), qPrintable(error));
        const QString notStored = QDir(AppPaths::formatFolder()).filePath(QStringLiteral("7.txt"));
        QFile::remove(notStored);
        const QString file = place == QLatin1String("slot") ? FormatStore::slotFilePath(Slot)
            : place == QLatin1String("Setting.txt")        ? FormatStore::settingFilePath()
            : place == QLatin1String("settings") || noSettings ? settings
            : place.startsWith(QLatin1String("another"))   ? FormatStore::slotFilePath(Slot + 1)
                                                            : notStored;
        const QByteArray before = TestSupport::readFile(file); // empty when not there
        QStringList arguments {QStringLiteral("stickers"), QStringLiteral("--slot"), QString::number(Slot)};
        for (const QString &a : how)
            arguments << (a == QLatin1String("OUT") ? file : a);
        // Standard output appended to the file, so that the shell itself
        // leaves it whole.
        const TestSupport::ProgramRun run = how.last() == QLatin1String("-")
            ? TestSupport::runProgram(QStringList {QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$@\" >> '%1'").arg(file),
                                          QStringLiteral(STICKER2_PROGRAM)}
                    + arguments,
                QStringLiteral("sh"))
            : TestSupport::runProgram(arguments);
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.count('\n') == 1 && run.err.contains("refusing to write")
                && run.err.contains(QFile::encodeName(file)),
            run.err.constData());
        QCOMPARE(QFile::exists(file), !before.isEmpty());
        QCOMPARE(TestSupport::readFile(file), before);
    }

    // A stored file that is there but cannot be read is named with its
    // cause: the sheet it would have made holds the defaults, blank
    // stickers, and said nothing.
    void unreadableStoredFiles_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QList<QStringList>>("runs");
        const QStringList quick {"-o", "-"};
        const QStringList full {"--codepage", "cp1252", "-o", "-"};
        const QStringList pdf {"--pdf", "sheet.pdf"};
        QTest::newRow("the slot's file a folder") << "slot" << "not a regular file" << QList<QStringList> {quick, full, pdf};
        QTest::newRow("the settings file a folder") << "settings" << "not a regular file" << QList<QStringList> {quick, full, pdf};
        // (Opened to be read, a FIFO waits for a writer for ever.)
        QTest::newRow("the settings file a FIFO") << "settings fifo" << "not a regular file" << QList<QStringList> {quick, full, pdf};
        QTest::newRow("the Format folder a file") << "Format" << "not a folder" << QList<QStringList> {quick, full, pdf};
        // (Only the window sheet reads Setting.txt.)
        QTest::newRow("Setting.txt a folder") << "Setting.txt" << "not a regular file" << QList<QStringList> {pdf};
    }

    void unreadableStoredFiles()
    {
        QFETCH(QString, stored);
        QFETCH(QString, cause);
        const QString path = stored == QLatin1String("slot") ? FormatStore::slotFilePath(Slot)
            : stored == QLatin1String("Setting.txt")        ? FormatStore::settingFilePath()
            : stored.startsWith(QLatin1String("settings"))  ? SettingsStore::fileName(QStringLiteral("Sticker2"))
                                                            : AppPaths::formatFolder();
        const QString aside = path + QStringLiteral(".aside");
        QVERIFY(QFile::exists(path) && QDir().rename(path, aside));
        const auto back = qScopeGuard([&] {
            QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path);
            QDir().rename(aside, path);
        });
        if (stored == QLatin1String("Format"))
            TestSupport::writeFile(path, "a file");
        else if (stored.endsWith(QLatin1String("fifo")))
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else
            QVERIFY(QDir().mkdir(path));
        QFETCH(QList<QStringList>, runs);
        QTemporaryDir folder;
        for (QStringList how : runs) {
            how.replaceInStrings(QStringLiteral("sheet.pdf"), folder.filePath(QStringLiteral("sheet.pdf")));
            const TestSupport::ProgramRun run
                = TestSupport::runProgram(QStringList {"stickers", "--slot", QString::number(Slot)} + how);
            QCOMPARE(run.status, 1);
            QCOMPARE(run.out, QByteArray());
            QCOMPARE(QString::fromLocal8Bit(run.err), QStringLiteral("sticker2: %1: %2\n").arg(path, cause));
        }
    }

    // A failure is the full program's: a file past the size limit is left
    // as it was, with the cause named once; a full standard output gets the
    // full program's line.
    void failuresAsTheFullProgram_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("cause");
        QTest::newRow("past the file-size limit") << "FILE" << "File too large";
        QTest::newRow("a full standard output") << "-" << "standard output: No space left on device";
    }

    void failuresAsTheFullProgram()
    {
        QFETCH(QString, output);
        QFETCH(QString, cause);
        QTemporaryDir folder;
        const QString out = folder.filePath(QStringLiteral("sheet.prn"));
        TestSupport::writeFile(out, "kept");
        const QString target = output == QLatin1String("FILE") ? out : output;
        const TestSupport::ProgramRun run = TestSupport::runProgram(
            { QStringLiteral("-c"), QStringLiteral("ulimit -f 100; exec \"$0\" \"$@\" > /dev/full"),
                QStringLiteral(STICKER2_PROGRAM), QStringLiteral("stickers"), QStringLiteral("--slot"),
                QString::number(Slot), QStringLiteral("--pages"), QStringLiteral("3000"), QStringLiteral("-o"), target },
            QStringLiteral("sh"));
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY2(run.err.startsWith("sticker2: ") && run.err.contains(cause.toLocal8Bit()), run.err.constData());
        QCOMPARE(TestSupport::readFile(out), QByteArray("kept"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestPlainSlot)
#include "tst_plainslot.moc"
