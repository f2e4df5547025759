#include "ExportReaders.h"
#include "TestSupport.h"

#include "form/FormChoice.h"
#include "report/ReportViewSettings.h"
#include "watch/JobInfo.h"

#include <QJsonArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <unistd.h>

// The rules from the command line as an office runs them: `rules check`,
// `rules test`, `convert --rules` and the watch with rules, the real program
// writing real PDFs read back with pdftotext and qpdf.
namespace {

using TestSupport::pdfIsValid;

// A run of the program, its output and errors as text.
struct Run
{
    int status = -1;
    QString out;
    QString err;
};

Run sticker2(const QStringList &arguments)
{
    const TestSupport::ProgramRun run = TestSupport::runProgram(arguments);
    return { run.status, QString::fromUtf8(run.out), QString::fromUtf8(run.err) };
}

const QByteArray Invoice = "\x1b@ACME GmbH\r\n\r\n  Rechnung   Nr. REI20417\r\n  an: buchhaltung@kunde.example\r\n"
                           "  Summe 12,00\r\n\f";

// A job as the capture backend publishes it: the side file first, then the
// job under its final name.
QString publish(const QString &folder, const QString &stem, const QByteArray &bytes, const QString &title)
{
    JobInfo info;
    info.user = "anna";
    info.title = title;
    info.queue = "TextCapture";
    info.job = stem.section("job", -1);
    const QString job = folder + "/" + stem + ".prn";
    TestSupport::writeFile(jobInfoPath(job), jobInfoText(info));
    TestSupport::writeFile(folder + "/." + stem + ".part", bytes);
    QFile::rename(folder + "/." + stem + ".part", job);
    return job;
}

// A watched spool and the watch's output folder, in a folder of their own.
struct WatchFolders
{
    QTemporaryDir dir;
    QString spool = dir.filePath("spool");
    QString out = dir.filePath("out");
    WatchFolders() { QDir().mkpath(spool); }
};

// The converting watch of the folders with the rules, moving its jobs.
void startWatch(QProcess &watch, const WatchFolders &folders, const QString &rules, const QStringList &more = {})
{
    TestSupport::startProgram(watch,
        QStringList {"watch", folders.spool, "--convert", "pdf", "--out", folders.out, "--move", "--rules", rules}
            + more);
}

// Whether the process runs (a zombie no longer does).
bool running(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const qsizetype name = text.lastIndexOf(')');
    return name > 0 && text.mid(name + 2, 1) != "Z";
}

// A mail transport that hangs: it starts a program that never ends, whose
// number it leaves in a file of its own in `pids`, and waits for it.
QString hangingSendmail(const QString &folder, const QString &pids)
{
    QDir().mkpath(pids);
    const QByteArray file = "'" + pids.toUtf8() + "'/$$"; // one per transport
    const QString script = TestSupport::writeFile(folder + "/hang.sh",
        "#!/bin/sh\ncat > /dev/null\nsleep 600 &\necho $! > " + file + ".part\nmv " + file + ".part " + file
            + "\nwait\n");
    return "/bin/sh " + script;
}

// The programs that hanging transports started, by the files they left.
QList<qint64> sleepersIn(const QString &pids)
{
    QList<qint64> sleepers;
    for (const QString &name : QDir(pids).entryList({"[0-9]*"}, QDir::Files))
        sleepers << TestSupport::readFile(pids + "/" + name).trimmed().toLongLong();
    return sleepers;
}

} // namespace

class TstRulesCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void check_data();
    void check();
    void checkNotesMissingTransport();
    void testDoesNothing();
    void sheetsCountedAsConverted_data();
    void sheetsCountedAsConverted();
    void convertFiles();
    void convertFailedAction();
    void convertMails();
    void watchWithRules();
    void watchFormGone();
    void watchRulesKeptChanging();
    void watchRulesWrittenWithPauses();
    void watchMailHangs();
    void watchKilledWhileActing();
    void watchJobTakenOutWhileConverted();
    void watchJobWrittenAnewWhileActing();
    void watchUnrecordedNotActed();
    void watchRuleFilesIntoSpool();
    void watchStoppedAsConversionEnds();
    void watchFailedJobStays_data();
    void watchFailedJobStays();
};

void TstRulesCommand::check_data()
{
    QTest::addColumn<QStringList>("arguments"); // RULES stands for the rules file
    QTest::addColumn<QByteArray>("rules");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("lines"); // on standard error, or output when it went well
    QTest::newRow("sound") << QStringList { "rules", "check", "RULES" }
                           << QByteArray("[A]\nmatch = Nr\\.(?<nr>\\d+)\nname = {nr}.pdf\n[B]\n") << 0
                           << QStringList { "RULES: 2 rules, no faults" };
    QTest::newRow("one rule") << QStringList { "rules", "check", "RULES" } << QByteArray("[Everything]\nfolder = ~\n") << 0
                              << QStringList { "RULES: 1 rule, no faults" };
    // An empty file passes, with a note (an editor's save cut short leaves one).
    QTest::newRow("empty") << QStringList { "rules", "check", "RULES" } << QByteArray("EMPTY") << 0
                           << QStringList { "RULES: 0 rules, no faults" };
    QTest::newRow("faults, each with its line")
        << QStringList { "rules", "check", "RULES" }
        << QByteArray("[A]\nmatch = (\nname = {nr}.pdf\nmail-to = nobody\n") << 1
        << QStringList { "RULES:2: invalid regular expression", "RULES:3: name: unknown field {nr}",
               "RULES:4: mail-to: \"nobody\" is not a mail address" };
    // Values that fail every job, though fields fill them.
    QTest::newRow("never works")
        << QStringList { "rules", "check", "RULES" }
        << QByteArray("[A]\nmail-to = ,\n[B]\nmatch = (?<customer>\\w+) (?<mail>\\S+)\nmail-to = {customer} <{mail}\n"
                      "[C]\nmatch = (?<to>\\S+)\nmail-to = {to}, Office <{to}>\nfolder = rules.conf\n"
                      "[D]\nfolder = rules.conf/below\n[E]\nfolder = not/there/yet\n"
                      "[F]\nfolder = ~/Invoices\nform = ~/letterhead.pdf\n") << 1
        << QStringList { "RULES:2: mail-to: no address", "RULES:5: mail-to: \"{customer} <{mail}\" is not a mail address",
               "RULES:9: folder: RULES is a file, not a folder", "RULES:11: folder: RULES is a file, not a folder",
               "RULES:15: folder: ~/Invoices would be a folder of that name beside the rules file",
               "RULES:16: form: ~/letterhead.pdf would be a file of that name" };
    // Rules that set the printed look, for PDFs made in the emphasis look:
    // refused whole, as each of their jobs would fail.
    const QByteArray printedOnly("[A]\nform-length = 12\n[B]\nmatch = x\nprinter = 9-pin\n");
    QTest::newRow("printed-look rules, emphasis look")
        << QStringList { "convert", "--rules", "RULES", "--look", "emphasis", "RULES", "RULES.pdf" } << printedOnly << 1
        << QStringList { "sticker2: RULES:2: form-length: sets the printed look, and the PDFs are made in the emphasis look",
               "sticker2: RULES:5: printer: sets the printed look", "sticker2: RULES: the rules file has faults; nothing converted" };
    QTest::newRow("printed-look rules, emphasis look, watch")
        << QStringList { "watch", "RULES.spool", "--convert", "pdf", "--out", "RULES.out", "--rules", "RULES", "--look", "emphasis" }
        << printedOnly << 1 << QStringList { "sticker2: RULES:2: form-length: sets the printed look" };
    QTest::newRow("missing file") << QStringList { "rules", "check", "RULES.missing" } << QByteArray() << 1
                                  << QStringList { "RULES.missing:0: no such file" };
    QTest::newRow("no verb") << QStringList { "rules" } << QByteArray() << 2 << QStringList { "check or test" };
    QTest::newRow("no file") << QStringList { "rules", "check" } << QByteArray() << 2 << QStringList { "one FILE" };
    QTest::newRow("test without rules") << QStringList { "rules", "test", "RULES" } << QByteArray("[A]\n") << 2
                                        << QStringList { "--rules FILE" };
}

void TstRulesCommand::check()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, rules);
    QFETCH(int, status);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath("rules.conf");
    if (!rules.isEmpty())
        TestSupport::writeFile(path, rules == "EMPTY" ? QByteArray() : rules);
    arguments.replaceInStrings("RULES", path);
    const Run run = sticker2(arguments);
    if (rules == "EMPTY")
        QCOMPARE(run.err, (path + ": note: the file is empty: no rule applies\n").toUtf8());
    QCOMPARE(run.status, status);
    const QStringList said = (status == 0 ? run.out : run.err).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(said.size(), status == 2 ? said.size() : lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString expected = QString(lines.at(i)).replace("RULES", path);
        QVERIFY2(status == 2 ? run.err.contains(expected) : said.at(i).startsWith(expected), qPrintable(run.err + run.out));
    }
}

// rules test shows the rule, the fields and every action, and does none.
// A rule that mails through the default transport where none is installed
// is no fault of the file, but check says that every such mail will fail.
void TstRulesCommand::checkNotesMissingTransport()
{
    QTemporaryDir dir;
    const QString rules = TestSupport::writeFile(dir.filePath("rules.conf"),
        "[Own]\nmail-to = a@example.com\nsendmail = /bin/cat\n[Default]\nmail-to = b@example.com\n");
    const Run run = sticker2({ "rules", "check", rules });
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.contains("2 rules, no faults"));
    const bool installed = QFileInfo("/usr/sbin/sendmail").isExecutable();
    QCOMPARE(run.err.contains(rules + ":5: note: rule [Default] mails through /usr/sbin/sendmail, which is not on "
                                      "this machine"),
        !installed);
    QVERIFY2(!run.err.contains("[Own]"), qPrintable(run.err));

    // A list of users written with blanks alone is one name: said, not refused.
    TestSupport::writeFile(rules, "[Clerks]\nuser = anna bert, jan\n");
    const Run users = sticker2({ "rules", "check", rules });
    QCOMPARE(users.status, 0);
    QVERIFY2(users.err.contains(rules + ":2: note: rule [Clerks] takes \"anna bert\" as one user name with a blank")
            && !users.err.contains("\"jan\""),
        qPrintable(users.err));

    // A name with a / makes no folder: said, not refused.
    TestSupport::writeFile(rules, "[Sub]\nname = sub/{job}.pdf\n");
    const Run slash = sticker2({ "rules", "check", rules });
    QCOMPARE(slash.status, 0);
    QVERIFY2(slash.err.contains(rules + ":2: note: rule [Sub] names its PDFs with a /, which becomes _"), qPrintable(slash.err));
}

// {sheets} counts the sheets of the PDF the rule makes: with the rule's
// printer and form length, as convert reads them (the printer had been left
// out of the count, so "s1.pdf" held two pages).
void TstRulesCommand::sheetsCountedAsConverted_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<int>("sheets");
    QTest::addColumn<QStringList>("options"); // convert's own
    QTest::newRow("stored settings") << QByteArray() << 1 << QStringList();
    QTest::newRow("24 pins: ESC 3 36 is 1/5 in") << QByteArray("printer = 24-pin\n") << 2 << QStringList();
    QTest::newRow("9 pins") << QByteArray("printer = 9-pin\n") << 1 << QStringList();
    QTest::newRow("a short form") << QByteArray("form-length = 6\n") << 2 << QStringList();
    // The command line's printer options count too (they had been left out).
    QTest::newRow("a short form on the command line") << QByteArray() << 2 << QStringList { "--form-length", "6" };
    QTest::newRow("24 pins on the command line") << QByteArray() << 2 << QStringList { "--printer=24-pin" };
    QTest::newRow("the rule's form over the command line's") << QByteArray("form-length = 12\n") << 1
                                                             << QStringList { "--form-length", "6" };
}

void TstRulesCommand::sheetsCountedAsConverted()
{
    QFETCH(QByteArray, keys);
    QFETCH(int, sheets);
    QFETCH(QStringList, options);
    QTemporaryDir dir;
    QByteArray bytes = "\x1b@\x1b" "3\x24";
    for (int line = 0; line < 60; ++line)
        bytes += "line " + QByteArray::number(line) + "\r\n";
    const QString job = TestSupport::writeFile(dir.filePath("job.prn"), bytes);
    const QString rules = TestSupport::writeFile(dir.filePath("rules.conf"), "[All]\n" + keys + "name = s{sheets}.pdf\n");
    if (options.isEmpty()) {
        const Run test = sticker2({ "rules", "test", "--rules", rules, job });
        QCOMPARE(test.status, 0);
        QVERIFY2(test.out.contains(QString("field {sheets}: %1\n").arg(sheets)), qPrintable(test.out));
    }
    const QString pdf = dir.filePath("out.pdf");
    QCOMPARE(sticker2(QStringList { "convert", "--to", "pdf", "--look", "printed", "--rules", rules } + options
                 + QStringList { job, pdf })
                 .status,
        0);
    const QString named = dir.filePath(QString("s%1.pdf").arg(sheets));
    QVERIFY2(QFileInfo::exists(named), qPrintable(QDir(dir.path()).entryList().join(' ')));
    QCOMPARE(TestSupport::pdfText(named).count('\f'), sheets);
}

void TstRulesCommand::testDoesNothing()
{
    QTemporaryDir dir;
    const QString job = publish(dir.path(), "20261207-101500-000001-job12", Invoice, "Rechnung");
    const QString rules = TestSupport::writeFile(dir.filePath("rules.conf"),
        "[Other]\nuser = bob\n[Invoices]\nmatch = Rechnung +Nr\\. +(?<invoice>REI\\d+)(?s).*an: (?<to>\\S+)\n"
        "name = {date}_{invoice}.pdf\nfolder = filed\nmail-to = {to}\nmail-subject = Invoice {invoice}\n"
        "print-to = OfficeLaser\n");
    const Run run = sticker2({ "rules", "test", "--rules", rules, job });
    QCOMPARE(run.status, 0);
    QVERIFY2(run.out.contains(QString("rule: [Invoices] (%1:3)").arg(rules)), qPrintable(run.out));
    QVERIFY(run.out.contains("field {invoice}: REI20417"));
    QVERIFY(run.out.contains("field {user}: anna"));
    QVERIFY(run.out.contains("field {title}: Rechnung"));
    QVERIFY(run.out.contains(QString("_REI20417.pdf\" in %1").arg(dir.filePath("filed"))));
    QVERIFY(run.out.contains("mail it to buchhaltung@kunde.example, subject \"Invoice REI20417\""));
    QVERIFY(run.out.contains("print it on queue OfficeLaser"));
    QVERIFY(!run.out.contains("then the mail fails"));
    QVERIFY(!QFileInfo::exists(dir.filePath("filed")));
    // An address a field filled that the mail will refuse: said as the run would.
    QByteArray evil = Invoice;
    evil.replace("buchhaltung@kunde.example", "-oQ/tmp/x");
    const QString refused = publish(dir.path(), "20261207-101500-000001-job13", evil, "Rechnung");
    const Run said = sticker2({ "rules", "test", "--rules", rules, refused });
    QVERIFY2(said.out.contains("then the mail fails: \"-oQ/tmp/x\" is not a mail address"), qPrintable(said.out));
    // The user's own folder for a job that names no user: said to fail, as
    // the watch then fails it (it named user "").
    const QString own = TestSupport::writeFile(dir.filePath("own.conf"), "[Mine]\nfolder = ~\n");
    const Run bare = sticker2({ "rules", "test", "--rules", own, TestSupport::writeFile(dir.filePath("bare.prn"), Invoice) });
    QVERIFY2(bare.out.contains("the printing user's folder, which fails: the job names no user"), qPrintable(bare.out));
    QVERIFY2(!bare.out.contains("note:"), qPrintable(bare.out));
    // A job in another printer language is noted, as convert and the watch note it.
    const Run postscript = sticker2(
        { "rules", "test", "--rules", own, TestSupport::writeFile(dir.filePath("wrong.prn"), "%!PS-Adobe-3.0\n") });
    QVERIFY2(postscript.out.contains("note: this is a PostScript job"), qPrintable(postscript.out));
}

// One job converted by its rule: named by its invoice number in the rule's
// folder, its text in the PDF, the PDF valid; a second gets the next number.
// A job no rule takes goes to OUT.
void TstRulesCommand::convertFiles()
{
    QTemporaryDir dir;
    const QString job = publish(dir.path(), "20261207-101500-000001-job12", Invoice, "Rechnung");
    const QString rules = TestSupport::writeFile(dir.filePath("rules.conf"),
        "[Invoices]\nmatch = Rechnung +Nr\\. +(?<invoice>REI\\d+)\nname = {invoice} {title}.pdf\nfolder = filed\n");
    const QString out = dir.filePath("out.pdf");
    Run run = sticker2({ "convert", "--rules", rules, job, out });
    QCOMPARE(run.status, 0);
    const QString filed = dir.filePath("filed/REI20417 Rechnung.pdf");
    QVERIFY2(QFileInfo::exists(filed), qPrintable(run.err));
    QVERIFY(!QFileInfo::exists(out));
    QVERIFY(pdfIsValid(filed));
    QVERIFY(TestSupport::pdfText(filed).contains("REI20417"));
    QCOMPARE(sticker2({ "convert", "--rules", rules, job, out }).status, 0);
    QVERIFY(pdfIsValid(dir.filePath("filed/REI20417 Rechnung-2.pdf")));
    const QString other = publish(dir.path(), "20261207-101600-000002-job13", "Lieferschein 7\r\n", "");
    QCOMPARE(sticker2({ "convert", "--rules", rules, other, out }).status, 0);
    QVERIFY(pdfIsValid(out));
    QVERIFY(TestSupport::pdfText(out).contains("Lieferschein"));
    run = sticker2({ "convert", "--rules", rules, "--to", "txt", job, dir.filePath("x.txt") });
    QCOMPARE(run.status, 2);

    // A file at OUT stays when the rule files the PDF elsewhere (it had been
    // replaced, then removed), and so does one the rule files under OUT's
    // own name (-2); nor does the PDF replace the rules file given as OUT.
    TestSupport::writeFile(out, "an earlier PDF");
    QCOMPARE(sticker2({ "convert", "--rules", rules, job, out }).status, 0);
    QVERIFY(pdfIsValid(dir.filePath("filed/REI20417 Rechnung-3.pdf")));
    TestSupport::writeFile(rules, "[All]\nname = out.pdf\n");
    run = sticker2({ "convert", "--rules", rules, job, out });
    QCOMPARE(run.status, 0);
    QVERIFY2(run.err.contains("the PDF is " + dir.filePath("out-2.pdf")), qPrintable(run.err));
    TestSupport::writeFile(rules, "[All]\nfolder = filed\n"); // OUT's name in the rule's folder
    QCOMPARE(sticker2({ "convert", "--rules", rules, job, out }).status, 0);
    QVERIFY(pdfIsValid(dir.filePath("filed/out.pdf")));
    QCOMPARE(TestSupport::readFile(out), QByteArray("an earlier PDF"));
    QCOMPARE(QDir(dir.path()).entryList({".out*"}, QDir::Hidden | QDir::Files), QStringList()); // nothing left over
    run = sticker2({ "convert", "--rules", rules, "--to", "pdf", job, rules });
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains("that is the rules file"), qPrintable(run.err));
    QCOMPARE(TestSupport::readFile(rules), QByteArray("[All]\nfolder = filed\n"));

    // OUT a link, no rule placing the PDF: written through the link, as a
    // plain convert writes, the link kept (it had been written through,
    // removed, and a second PDF made beside it as out-2.pdf).
    const QString linked = dir.filePath("linked.pdf");
    TestSupport::writeFile(linked, "an earlier PDF");
    QVERIFY(QFile::link(linked, dir.filePath("link.pdf")));
    TestSupport::writeFile(rules, "[None]\nmatch = nothing matches this\n");
    run = sticker2({ "convert", "--rules", rules, job, dir.filePath("link.pdf") });
    QCOMPARE(run.status, 0);
    QVERIFY2(run.err.contains("the PDF is " + dir.filePath("link.pdf")), qPrintable(run.err));
    QVERIFY(QFileInfo(dir.filePath("link.pdf")).isSymLink());
    QVERIFY(pdfIsValid(linked));
    QVERIFY(!QFileInfo::exists(dir.filePath("link-2.pdf")));
}

// A failed action loses nothing: the PDF stays at OUT and the message names
// the rule, the action and the cause. A runaway pattern is named too.
void TstRulesCommand::convertFailedAction()
{
    QTemporaryDir dir;
    const QString job = publish(dir.path(), "20261207-101500-000001-job12", Invoice, "");
    const QString blocker = dir.filePath(QString(300, 'd')); // a name no folder can have
    const QString rules = TestSupport::writeFile(dir.filePath("rules.conf"),
        "[Invoices]\nmatch = Rechnung\nfolder = " + blocker.toUtf8() + "/sub\n");
    const QString out = dir.filePath("out.pdf");
    Run run = sticker2({ "convert", "--rules", rules, job, out });
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QString("rule [Invoices] (%1:1): file: %2/sub: cannot make the folder").arg(rules, blocker)),
        qPrintable(run.err));
    QVERIFY(pdfIsValid(out));

    // Printing fails after the PDF was filed: the cause names it where it is.
    TestSupport::writeFile(rules, "[Invoices]\nname = x.pdf\nfolder = filed\nprint-to = NoSuchQueue\n");
    const QByteArray server = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", QFile::encodeName(dir.filePath("no-server.sock")));
    run = sticker2({ "convert", "--rules", rules, job, dir.filePath("printed.pdf") });
    server.isNull() ? qunsetenv("CUPS_SERVER") : qputenv("CUPS_SERVER", server);
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QString("print-to: %1: cannot print it").arg(dir.filePath("filed/x.pdf"))),
        qPrintable(run.err));
    QVERIFY2(!run.err.contains("printed.pdf"), qPrintable(run.err));

    QByteArray longJob;
    while (longJob.size() < 4000000)
        longJob += QByteArray(22, 'a') + "\r\n";
    const QString slow = TestSupport::writeFile(dir.filePath("slow.prn"), longJob);
    TestSupport::writeFile(rules, "[Runaway]\nmatch = (a|aa)+(?:b|c)\nname = never.pdf\n");
    QElapsedTimer timer;
    timer.start();
    run = sticker2({ "rules", "test", "--rules", rules, slow });
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QString("rule [Runaway] (%1:1): the search of match ran out").arg(rules)), qPrintable(run.err));
    QVERIFY(timer.elapsed() < 30000);
    // What it shows is what a watch does: no "none matches", and the job fails.
    QVERIFY2(!run.out.contains("none matches"), qPrintable(run.out));
    QVERIFY2(run.out.contains("then the job fails (a watch moves it to failed/): rule [Runaway]"), qPrintable(run.out));
}

// The mail goes out through the sendmail interface with the filed PDF
// attached, to the address the job names; a refused mail keeps the filed PDF.
void TstRulesCommand::convertMails()
{
    QTemporaryDir dir;
    const QString job = publish(dir.path(), "20261207-101500-000001-job12", Invoice, "Rechnung");
    const QString mail = dir.filePath("mail.eml");
    const QString rules = TestSupport::writeFile(dir.filePath("rules.conf"),
        "[Invoices]\nmatch = Rechnung +Nr\\. +(?<invoice>REI\\d+)(?s).*an: (?<to>\\S+)\nname = {invoice}.pdf\n"
        "folder = filed\nmail-to = {to}\nmail-subject = Invoice {invoice}\n"
        "mail-from = \"Müller & Co, {user}\" <rechnung@firma.example>\nsendmail = /bin/sh -c 'cat > "
            + mail.toUtf8() + "'\n");
    Run run = sticker2({ "convert", "--rules", rules, job, dir.filePath("out.pdf") });
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QString filed = dir.filePath("filed/REI20417.pdf");
    const QJsonObject message = ExportReaders::readMail(mail);
    QCOMPARE(message["from"].toString(), "\"Müller & Co, anna\" <rechnung@firma.example>");
    QCOMPARE(message["to"].toString(), "buchhaltung@kunde.example");
    QCOMPARE(message["subject"].toString(), "Invoice REI20417");
    const QJsonArray attachments = message["attachments"].toArray();
    QCOMPARE(attachments.size(), 1);
    QCOMPARE(attachments[0]["name"].toString(), "REI20417.pdf");
    QCOMPARE(QByteArray::fromBase64(attachments[0]["data"].toString().toLatin1()), TestSupport::readFile(filed));

    // Without a subject the mail names the PDF as filed, under the name the
    // filing took when its own was taken (it had named the one before).
    TestSupport::writeFile(rules, "[Invoices]\nmatch = Rechnung +Nr\\. +(?<invoice>REI\\d+)(?s).*an: (?<to>\\S+)\n"
                                  "name = {invoice}.pdf\nfolder = filed\nmail-to = {to}\nsendmail = /bin/sh -c 'cat > "
            + mail.toUtf8() + "'\n");
    run = sticker2({ "convert", "--rules", rules, job, dir.filePath("out.pdf") });
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QJsonObject again = ExportReaders::readMail(mail);
    QCOMPARE(again["subject"].toString(), "REI20417-2.pdf");
    QCOMPARE(again["attachments"].toArray().at(0).toObject()["name"].toString(), "REI20417-2.pdf");

    TestSupport::writeFile(rules, "[Invoices]\nmatch = Rechnung\nname = refused.pdf\nfolder = filed\n"
                                  "mail-to = accounts@example.com\nsendmail = /bin/false\n");
    run = sticker2({ "convert", "--rules", rules, job, dir.filePath("out.pdf") });
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QString("rule [Invoices] (%1:1): mail-to: ").arg(rules)), qPrintable(run.err));
    QVERIFY(pdfIsValid(dir.filePath("filed/refused.pdf")));
}

// The watch applies the rules to every job: filed by its rule, a failed
// action to DIR/failed with a log naming rule, action and cause (the PDF
// kept), the default name with the title, and a rules file that turns bad
// leaves the rules before in force.
void TstRulesCommand::watchWithRules()
{
    WatchFolders folders;
    QTemporaryDir &dir = folders.dir;
    const QString &spool = folders.spool;
    const QString &out = folders.out;
    const QString blocker = dir.filePath(QString(300, 'd')); // a name no folder can have
    const QString rules = TestSupport::writeFile(dir.filePath("rules.conf"),
        "[Invoices]\nmatch = Rechnung +Nr\\. +(?<invoice>REI\\d+)\nname = {invoice}.pdf\nfolder = filed\n"
        "[Broken]\nmatch = Lieferschein\nfolder = " + blocker.toUtf8() + "/sub\nmail-to = lager@example.com\n"
        "sendmail = /bin/sh -c 'cat > /dev/null'\n");
    QProcess watch;
    startWatch(watch, folders, rules, {"-j", "1"});
    QVERIFY(watch.waitForStarted());
    QString said;
    const auto saidSoFar = [&] { return said += QString::fromUtf8(watch.readAllStandardError()); };

    publish(spool, "20261207-101500-000001-job12", Invoice, "Rechnung");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(dir.filePath("filed/REI20417.pdf")), 60000);
    QVERIFY(pdfIsValid(dir.filePath("filed/REI20417.pdf")));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(out + "/done/20261207-101500-000001-job12.prn"), 20000);
    QVERIFY(QFileInfo::exists(out + "/done/.20261207-101500-000001-job12.prn.info")); // moved with its job

    publish(spool, "20261207-101600-000002-job13", "Lieferschein 7\r\n", "Lieferung");
    const QString failedLog = out + "/failed/20261207-101600-000002-job13.prn.log";
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(failedLog), 60000);
    const QString log = QString::fromUtf8(TestSupport::readFile(failedLog));
    QVERIFY2(log.contains(QString("rule [Broken] (%1:5): file: %2/sub: cannot make the folder").arg(rules, blocker)),
        qPrintable(log));
    // What worked is said too: putting the job back would do it again.
    QVERIFY2(log.contains("done all the same (again if the job is put back): mail-to: lager@example.com"), qPrintable(log));
    const QString kept = out + "/20261207-101600-000002-job13 Lieferung.pdf";
    QVERIFY2(pdfIsValid(kept), qPrintable(saidSoFar()));
    // The log's last line puts the job back with its hidden details, as a
    // shell runs it (a job put back without them lost its user and title).
    const QString putBack = log.trimmed().section('\n', -1);
    // (The side file first: a job that comes before it is taken without it.)
    QVERIFY2(putBack.startsWith("to convert it again, put it back with its details: mv '" + out
                 + "/failed/.20261207-101600-000002-job13.prn.info' '" + out + "/failed/20261207-101600-000002-job13.prn' "),
        qPrintable(log));
    QProcess shell;
    shell.start("/bin/sh", {"-c", putBack.section(": ", 1)});
    QVERIFY(shell.waitForFinished(10000) && shell.exitCode() == 0);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(out + "/20261207-101600-000002-job13 Lieferung-2.pdf"), 60000);
    QVERIFY2(saidSoFar().contains("rule [Broken]"), qPrintable(said));

    // A faulty version is said when it is saved, before any job comes. An
    // editor that writes in place empties the file first: that moment is
    // not read as rules of its own (an empty file is valid, and it had
    // stayed in force, so that no job was filed).
    TestSupport::writeFile(rules, "");
    QTest::qWait(50);
    TestSupport::writeFile(rules, "[Invoices\nthis is no rules file\n");
    QTRY_VERIFY_WITH_TIMEOUT(saidSoFar().contains("stay in force"), 10000);
    // One line, the faults apart (they had run together with spaces).
    QVERIFY2(QRegularExpression(QRegularExpression::escape(rules + ":1: syntax error") + ".*; "
                 + QRegularExpression::escape(rules + ":2: "))
                 .match(said)
                 .hasMatch(),
        qPrintable(said));
    QByteArray second = Invoice;
    second.replace("REI20417", "REI20418");
    publish(spool, "20261207-101700-000003-job14", second, "");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(dir.filePath("filed/REI20418.pdf")), 60000);
    QVERIFY2(!saidSoFar().contains("read again, 0 rules"), qPrintable(said));

    // An editor that empties the file and has not written it yet: a job come
    // then is filed by the rules in force (it was converted under no rule,
    // told as done).
    TestSupport::writeFile(rules, "[Invoices]\nmatch = Rechnung +Nr\\. +(?<invoice>REI\\d+)\nname = {invoice}.pdf\n"
                                  "folder = filed\n");
    QTRY_VERIFY_WITH_TIMEOUT(saidSoFar().contains("read again, 1 rule"), 10000);
    TestSupport::writeFile(rules, "");
    second.replace("REI20418", "REI20419");
    publish(spool, "20261207-101750-000005-job16", second, "");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(dir.filePath("filed/REI20419.pdf")), 60000);
    QVERIFY2(saidSoFar().contains(rules + ": the file is empty; the rules read at"), qPrintable(said));

    QFile::remove(rules);
    QTRY_VERIFY_WITH_TIMEOUT(saidSoFar().contains(rules + ": no such file; the rules read at"), 10000);
    publish(spool, "20261207-101800-000004-job15", "nothing to see\r\n", "Brief an Bob");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(out + "/20261207-101800-000004-job15 Brief an Bob.pdf"), 60000);
    // Gone, then back as what cannot be read: said again (it had been said
    // once for both, and the jobs ran under the old rules without a word).
    QVERIFY(QDir().mkdir(rules));
    QTRY_VERIFY_WITH_TIMEOUT(saidSoFar().count("; the rules read at") == 4, 10000);
    QVERIFY(QDir().rmdir(rules));
    watch.terminate();
    QVERIFY(watch.waitForFinished(10000));
}

// A job that comes while the rules file is being written waits for it, but
// not for ever: a file written again and again (a tool that rewrites it)
// lets the job go on after a few seconds under the rules in force. It had
// waited for as long as the writing went on.
void TstRulesCommand::watchRulesKeptChanging()
{
    WatchFolders folders;
    const QByteArray text = "[Invoices]\nmatch = Rechnung +Nr\\. +(?<invoice>REI\\d+)\nname = {invoice}.pdf\n"
                            "folder = filed\n";
    const QString rules = TestSupport::writeFile(folders.dir.filePath("rules.conf"), text);
    QProcess watch;
    startWatch(watch, folders, rules, {"-j", "1"});
    QVERIFY(watch.waitForStarted());
    QTest::qWait(1000); // started, the rules read
    QTimer rewriting;
    QObject::connect(&rewriting, &QTimer::timeout, [&] { TestSupport::writeFile(rules, text); });
    rewriting.start(100);
    QElapsedTimer writing;
    writing.start();
    publish(folders.spool, "20261207-101500-000001-job12", Invoice, "Rechnung");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(folders.dir.filePath("filed/REI20417.pdf")) || writing.elapsed() > 25000,
        30000);
    QVERIFY2(writing.elapsed() < 25000, "the job waited as long as the file was written");
    rewriting.stop();
    watch.terminate();
    QVERIFY(watch.waitForFinished(10000));
}

// An editor that writes the rules in place and pauses halfway (here 1.5 s)
// is waited for until it closes the file: half of it was read as rules of
// its own (a valid file: "name = hal"), and the job that came meanwhile was
// filed under them.
void TstRulesCommand::watchRulesWrittenWithPauses()
{
    WatchFolders folders;
    const QString rules = TestSupport::writeFile(folders.dir.filePath("rules.conf"), "[All]\nname = before.pdf\nfolder = filed\n");
    QProcess watch;
    startWatch(watch, folders, rules, {"-j", "1"});
    QVERIFY(watch.waitForStarted());
    QTest::qWait(1000); // started, the rules read
    QFile editor(rules);
    QVERIFY(editor.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QVERIFY(editor.write("[All]\nname = hal") > 0 && editor.flush());
    publish(folders.spool, "20261207-101500-000001-job12", Invoice, "Rechnung");
    QTest::qWait(1500);
    QVERIFY(editor.write("f-done.pdf\nfolder = filed\n") > 0);
    editor.close();
    QTRY_VERIFY_WITH_TIMEOUT(!QDir(folders.dir.filePath("filed")).entryList({"*.pdf"}).isEmpty(), 30000);
    QCOMPARE(QDir(folders.dir.filePath("filed")).entryList({"*.pdf"}), QStringList{"half-done.pdf"});
    watch.terminate();
    QVERIFY(watch.waitForFinished(10000));
}

// A form taken away while the watch runs fails the jobs of its rule alone:
// their PDFs are made without it and kept, nothing of them is filed, and a
// job of another rule goes on as before.
void TstRulesCommand::watchFormGone()
{
    WatchFolders folders;
    QTemporaryDir &dir = folders.dir;
    const QString &spool = folders.spool;
    const QString &out = folders.out;
    // The report view's stored forms are one user's window choice: no rule's
    // PDF takes them (a job whose form was gone had carried them).
    const QString stored = dir.filePath("stored.pdf");
    QCOMPARE(TestSupport::runProgram(
                 { "convert", TestSupport::writeFile(dir.filePath("stored.prn"), "STOREDFORM\r\n"), stored }).status,
        0);
    const QString form = dir.filePath("forms/letterhead.pdf");
    QVERIFY(QDir().mkpath(dir.filePath("forms")) && QFile::copy(stored, form));
    ReportViewSettings::saveForms(FormChoice { stored, stored, QPointF(30, 30) });
    const auto unstore = qScopeGuard([] { ReportViewSettings::saveForms(FormChoice()); });
    const QString rules = TestSupport::writeFile(dir.filePath("rules.conf"),
        "[Invoices]\nmatch = Rechnung +Nr\\. +(?<invoice>REI\\d+)\nform = forms/letterhead.pdf\nname = {invoice}.pdf\n"
        "folder = filed\n[Rest]\nname = {title}.pdf\nfolder = other\n");
    QProcess watch;
    startWatch(watch, folders, rules, {"-j", "1"});
    QVERIFY(watch.waitForStarted());
    QTest::qWait(1000); // the rules are read, the form with them
    QVERIFY(QFile::remove(form));
    publish(spool, "20261207-101500-000001-job12", Invoice, "Rechnung");
    publish(spool, "20261207-101600-000002-job13", "Lieferschein 7\r\n", "Lieferung");
    const QString failedLog = out + "/failed/20261207-101500-000001-job12.prn.log";
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(failedLog), 60000);
    const QString log = QString::fromUtf8(TestSupport::readFile(failedLog));
    QVERIFY2(log.contains(QString("rule [Invoices] (%1:1): form %2: missing; the PDF is made without its forms").arg(rules, form)),
        qPrintable(log));
    const QString kept = out + "/20261207-101500-000001-job12 Rechnung.pdf";
    QVERIFY(pdfIsValid(kept));
    QVERIFY(TestSupport::pdfText(kept).contains("REI20417"));
    QVERIFY(!TestSupport::pdfText(kept).contains("STOREDFORM"));
    QVERIFY(!QFileInfo::exists(dir.filePath("filed")));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(dir.filePath("other/Lieferung.pdf")), 60000);
    QVERIFY(!TestSupport::pdfText(dir.filePath("other/Lieferung.pdf")).contains("STOREDFORM")); // a rule of no form
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(out + "/done/20261207-101600-000002-job13.prn"), 20000);
    QString said;
    const auto saidSoFar = [&] { return said += QString::fromUtf8(watch.readAllStandardError()); };

    // Rules that name a form not there yet are refused; once it comes, they
    // are in force, though their text is the same (the rules before had
    // gone on filing the jobs meant for them, without a word).
    TestSupport::writeFile(rules, "[Late]\nmatch = Lieferschein\nform = forms/late.pdf\nname = {title}.pdf\n"
                                  "folder = late\n[Rest]\nname = {title}.pdf\nfolder = other\n");
    QTRY_VERIFY_WITH_TIMEOUT(saidSoFar().contains("forms/late.pdf: missing"), 10000);
    QVERIFY(QFile::copy(stored, dir.filePath("forms/late.pdf")));
    publish(spool, "20261207-101700-000003-job14", "Lieferschein 8\r\n", "Spaet");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(dir.filePath("late/Spaet.pdf")), 60000);
    QVERIFY(TestSupport::pdfText(dir.filePath("late/Spaet.pdf")).contains("STOREDFORM"));
    QVERIFY2(saidSoFar().contains(rules + ": read again, 2 rules"), qPrintable(said));

    watch.terminate();
    QVERIFY(watch.waitForFinished(10000));
    // The line says what the log says: converted, its PDF kept.
    saidSoFar();
    QVERIFY2(said.contains("job12.prn: converted, but not all of its rule's actions were done"), qPrintable(said));
    QCOMPARE(said.count("forms/late.pdf: missing"), 1); // said once, not at every job
}

// Mail transports that hang hold up their jobs alone: the next job's
// actions are carried out meanwhile, however many hang. A stop ends each
// transport with all it started, and their jobs go to failed/ saying so.
void TstRulesCommand::watchMailHangs()
{
    WatchFolders folders;
    QTemporaryDir &dir = folders.dir;
    const QString &spool = folders.spool;
    const QString &out = folders.out;
    const QString pids = dir.filePath("pids");
    const QString rules = TestSupport::writeFile(dir.filePath("rules.conf"),
        "[Mail]\nmatch = MAILME\nmail-to = chef@example.com\nsendmail = " + hangingSendmail(dir.path(), pids).toUtf8()
            + "\n[Rest]\nname = {title}.pdf\nfolder = other\n");
    QProcess watch;
    startWatch(watch, folders, rules, {"-j", "2"});
    QVERIFY(watch.waitForStarted());
    constexpr int Hanging = 10;
    for (int n = 0; n < Hanging; ++n)
        publish(spool, QStringLiteral("20261207-1015%1-000001-job%1").arg(n + 10), "MAILME\r\n\f", "Mail");
    QTRY_COMPARE_WITH_TIMEOUT(sleepersIn(pids).size(), Hanging, 60000);
    publish(spool, "20261207-101600-000002-job99", "Brief\r\n\f", "Brief");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(dir.filePath("other/Brief.pdf")), 60000);
    const QList<qint64> sleepers = sleepersIn(pids);
    for (const qint64 sleeper : sleepers)
        QVERIFY(running(sleeper));

    watch.terminate(); // not after the transports' five minutes
    QVERIFY(watch.waitForFinished(20000));
    for (const qint64 sleeper : sleepers)
        QTRY_VERIFY_WITH_TIMEOUT(!running(sleeper), 5000);
    const QString log = QString::fromUtf8(TestSupport::readFile(out + "/failed/20261207-101510-000001-job10.prn.log"));
    // (The transport had read it: whether it sent it is not known. It had
    // been said not to have taken it.)
    QVERIFY2(log.contains("was stopped with the watch before it ended; it had read the whole mail: whether it sent "
                          "it is not known"),
        qPrintable(log));
    const QString said = QString::fromUtf8(watch.readAllStandardError());
    QCOMPARE(said.count(": converted, but not all of its rule's actions were done"), Hanging);
}

// The child of `parent` that has `file` mapped (a conversion reading it), or 0.
qint64 childMapping(qint64 parent, const QString &file)
{
    for (const QString &pid : QDir("/proc").entryList(QDir::Dirs)) {
        const QByteArray stat = TestSupport::readFile("/proc/" + pid + "/stat");
        const qsizetype name = stat.lastIndexOf(')');
        if (name < 0 || stat.mid(name + 2).split(' ').value(1).toLongLong() != parent)
            continue;
        if (TestSupport::readFile("/proc/" + pid + "/maps").contains(file.toUtf8()))
            return pid.toLongLong();
    }
    return 0;
}

// A job taken out of the spool while it is converted (a wrong invoice an
// administrator removed) is not mailed: it was filed, mailed and printed,
// with three lines of which one said its actions were "not recorded as begun".
void TstRulesCommand::watchJobTakenOutWhileConverted()
{
    WatchFolders folders;
    QTemporaryDir &dir = folders.dir;
    const QString mails = dir.filePath("mails");
    const QString rules = TestSupport::writeFile(dir.filePath("rules.conf"),
        "[Mail]\nmatch = MAILME\nmail-to = chef@example.com\nsendmail = /bin/sh -c 'cat >> " + mails.toUtf8() + "'\n");
    QProcess watch;
    startWatch(watch, folders, rules);
    QVERIFY(watch.waitForStarted());
    // Long enough to take seconds to convert.
    const QByteArray page = (QByteArray(120, 'x') + "\r\n").repeated(60) + "\f";
    const QString job = publish(folders.spool, "20261207-101500-000001-job12", "MAILME\r\n" + page.repeated(2500), "Mail");
    QTRY_VERIFY_WITH_TIMEOUT(childMapping(watch.processId(), job) != 0, 30000);
    QVERIFY(QFile::remove(job));
    QByteArray said;
    QTRY_VERIFY2_WITH_TIMEOUT((said += watch.readAllStandardError()).contains("taken out of the spool"), said.constData(), 60000);
    QVERIFY2(said.contains("job12.prn: taken out of the spool while it was converted: its rule's actions were not "
                           "carried out (nothing filed, mailed or printed)"),
        said.constData());
    QVERIFY2(!said.contains("not recorded as begun"), said.constData());
    QVERIFY(!QFileInfo::exists(mails));
    watch.terminate();
    QVERIFY(watch.waitForFinished(20000));
}

// A job written anew in place while its rule's actions run (its mail is
// being handed over): the actions were the version before's, and the job
// as it is now is converted and mailed on its own. The new version had been
// recorded as done, unmailed.
void TstRulesCommand::watchJobWrittenAnewWhileActing()
{
    WatchFolders folders;
    QTemporaryDir &dir = folders.dir;
    const QString mails = dir.filePath("mails");
    const QString handing = dir.filePath("handing");
    const QString rules = TestSupport::writeFile(dir.filePath("rules.conf"),
        "[Mail]\nmatch = MAILME\nmail-to = chef@example.com\nsendmail = /bin/sh -c 'touch " + handing.toUtf8()
            + "; sleep 2; cat >> " + mails.toUtf8() + "'\n");
    QProcess watch;
    startWatch(watch, folders, rules);
    QVERIFY(watch.waitForStarted());
    const QString job = publish(folders.spool, "20261207-101500-000001-job12", "MAILME first\r\n\f", "Mail");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(handing), 30000);
    QFile again(job);
    QVERIFY(again.open(QIODevice::WriteOnly | QIODevice::Truncate) && again.write("MAILME second\r\n\f") > 0);
    again.close();
    QByteArray said;
    QTRY_VERIFY2_WITH_TIMEOUT((said += watch.readAllStandardError()).count('\n') >= 2, said.constData(), 60000);
    QVERIFY2(said.contains("job12.prn: written anew while its rule's actions were carried out for the version before"),
        said.constData());
    QTRY_VERIFY2_WITH_TIMEOUT(TestSupport::readFile(mails).count("MIME-Version:") == 2,
        (said += watch.readAllStandardError()).constData(), 30000);
    QVERIFY(!QFileInfo::exists(folders.out + "/failed"));
    watch.terminate();
    QVERIFY(watch.waitForFinished(20000));
    said += watch.readAllStandardError();
    QVERIFY2(said.count("job12.prn: converted to") == 1, said.constData());
}

// A watch killed while a job's actions run does not take the job's PDF for
// the whole of it at the next start, nor does them again unasked: the job
// goes to failed/ saying so, and nothing is mailed.
void TstRulesCommand::watchKilledWhileActing()
{
    WatchFolders folders;
    QTemporaryDir &dir = folders.dir;
    const QString &spool = folders.spool;
    const QString &out = folders.out;
    const QString pids = dir.filePath("pids");
    const QString mails = dir.filePath("mails");
    const QByteArray rulesHead = "[Mail]\nmatch = MAILME\nmail-to = chef@example.com\nsendmail = ";
    const QString rules = TestSupport::writeFile(dir.filePath("rules.conf"),
        rulesHead + hangingSendmail(dir.path(), pids).toUtf8() + "\n");
    QProcess first;
    startWatch(first, folders, rules);
    QVERIFY(first.waitForStarted());
    publish(spool, "20261207-101500-000001-job12", "MAILME\r\n\f", "Mail");
    QTRY_COMPARE_WITH_TIMEOUT(sleepersIn(pids).size(), 1, 60000);
    first.kill();
    QVERIFY(first.waitForFinished(10000));
    const qint64 sleeper = sleepersIn(pids).first();
    // The transport's group, never the test's own.
    const pid_t group = ::getpgid(pid_t(sleeper));
    ::kill(group > 0 && group != ::getpgrp() ? -group : pid_t(sleeper), SIGKILL);

    TestSupport::writeFile(rules, rulesHead + "/bin/sh -c 'cat >> " + mails.toUtf8() + "'\n");
    QProcess second;
    startWatch(second, folders, rules);
    QVERIFY(second.waitForStarted());
    const QString failedLog = out + "/failed/20261207-101500-000001-job12.prn.log";
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(failedLog), 60000);
    const QString log = QString::fromUtf8(TestSupport::readFile(failedLog));
    QVERIFY2(log.contains("the watch ended while the actions of its rule were being carried out"), qPrintable(log));
    QVERIFY(!QFileInfo::exists(mails));
    second.terminate();
    QVERIFY(second.waitForFinished(10000));
}

// A job whose rule's actions cannot be recorded as begun (the record no
// longer writable while the watch runs) is not filed, mailed or printed:
// they had been done, and were done again at every start. It goes to
// failed/ saying why, its PDF with it.
void TstRulesCommand::watchUnrecordedNotActed()
{
    WatchFolders folders;
    const QString mails = folders.dir.filePath("mails");
    const QString rules = TestSupport::writeFile(folders.dir.filePath("rules.conf"),
        "[All]\nfolder = filed\nmail-to = chef@example.com\nsendmail = /bin/sh -c 'cat >> " + mails.toUtf8() + "'\n");
    QProcess watch;
    startWatch(watch, folders, rules);
    QVERIFY(watch.waitForStarted());
    QTest::qWait(500); // (past the watch's check of its folders)
    QVERIFY(QDir().mkpath(folders.out + "/.sticker2-converted"));
    publish(folders.spool, "20261207-101500-000001-job12", "Brief\r\n\f", "Brief");
    const QString log = folders.out + "/failed/20261207-101500-000001-job12.prn.log";
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(log), 60000);
    QVERIFY2(TestSupport::readFile(log).contains("its rule's actions were not carried out (nothing filed, mailed or "
                                                 "printed): the watch cannot record them as begun: "),
        TestSupport::readFile(log).constData());
    QTest::qWait(500);
    QVERIFY(!QFileInfo::exists(mails));
    QVERIFY(!QFileInfo::exists(folders.dir.filePath("filed")));
    QCOMPARE(QDir(folders.out).entryList({"*.pdf"}), QStringList());
    watch.terminate();
    QVERIFY(watch.waitForFinished(10000));
}

// A job that failed and that the watch may not take out of the folder (a
// clerk's own watch of the service's spool), or not into failed/ (its
// rights taken while the watch ran), is converted, and mailed, once: a new
// start leaves it as it is (it had been marked to be tried again).
// A rule that files into the watched folder would have its PDF come back
// as a job, filed (and mailed, printed) again and again: loop-job12.pdf,
// loop-loop-job12.pdf ... Its filing fails instead, once.
void TstRulesCommand::watchRuleFilesIntoSpool()
{
    WatchFolders folders;
    QVERIFY(QFile::link(folders.spool, folders.dir.filePath("spool-link")));
    const QString rules = TestSupport::writeFile(folders.dir.filePath("rules.conf"),
        "[Loop]\nfolder = spool-link\nname = loop-{name}\n");
    QProcess watch;
    startWatch(watch, folders, rules);
    QVERIFY(watch.waitForStarted());
    publish(folders.spool, "20261207-101500-000001-job12", "Brief\r\n\f", "Brief");
    const QString log = folders.out + "/failed/20261207-101500-000001-job12.prn.log";
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(log), 60000);
    QVERIFY2(TestSupport::readFile(log).contains("spool-link is the watched folder: the PDF would come back as a job"),
        TestSupport::readFile(log).constData());
    QTest::qWait(1000);
    QCOMPARE(QDir(folders.spool).entryList({"*.pdf"}), QStringList());
    QCOMPARE(QDir(folders.out).entryList({"*.pdf"}), QStringList{"20261207-101500-000001-job12 Brief.pdf"});
    watch.terminate();
    QVERIFY(watch.waitForFinished(10000));
}

// The watch stopped as a conversion ends, before it has heard so: that PDF
// was never taken for the job's, and the next start converts the job anew;
// it had stayed in the output folder beside the PDF the rule filed.
void TstRulesCommand::watchStoppedAsConversionEnds()
{
    WatchFolders folders;
    const QString rules = TestSupport::writeFile(folders.dir.filePath("rules.conf"), "[All]\nfolder = filed\n");
    QProcess watch;
    startWatch(watch, folders, rules);
    QVERIFY(watch.waitForStarted());
    const QByteArray page = (QByteArray(120, 'x') + "\r\n").repeated(60) + "\f";
    const QString job = publish(folders.spool, "20261207-101500-000001-job12", page.repeated(1000), "Brief");
    qint64 converter = 0;
    QTRY_VERIFY_WITH_TIMEOUT((converter = childMapping(watch.processId(), job)) > 0, 30000);
    // The watch held still while its converter ends, then told to stop.
    const pid_t pid = pid_t(watch.processId());
    QCOMPARE(::kill(pid, SIGSTOP), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!running(converter), 60000);
    QCOMPARE(::kill(pid, SIGTERM), 0);
    QCOMPARE(::kill(pid, SIGCONT), 0);
    QVERIFY(watch.waitForFinished(20000));
    QCOMPARE(QDir(folders.out).entryList({"*.pdf"}), QStringList());
    QProcess again;
    startWatch(again, folders, rules);
    QVERIFY(again.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(folders.out + "/done/20261207-101500-000001-job12.prn"), 60000);
    again.terminate();
    QVERIFY(again.waitForFinished(10000));
    QCOMPARE(QDir(folders.dir.filePath("filed")).entryList({"*.pdf"}), QStringList{"20261207-101500-000001-job12 Brief.pdf"});
    QCOMPARE(QDir(folders.out).entryList({"*.pdf"}), QStringList());
}

void TstRulesCommand::watchFailedJobStays_data()
{
    QTest::addColumn<bool>("spoolReadOnly"); // else failed/ cannot be written
    QTest::newRow("spool read-only") << true;
    QTest::newRow("failed/ not writable") << false;
}

void TstRulesCommand::watchFailedJobStays()
{
    QFETCH(bool, spoolReadOnly);
    QTemporaryDir dir;
    const QString spool = dir.filePath("spool");
    const QString out = dir.filePath("out");
    const QString failed = out + "/failed";
    const QString temp = dir.filePath("tmp");
    for (const QString &folder : {spool, failed, temp})
        QDir().mkpath(folder);
    const QString mails = dir.filePath("mails");
    TestSupport::writeFile(mails, "");
    const QString rules = TestSupport::writeFile(dir.filePath("rules.conf"),
        "[All]\nfolder = " + dir.filePath(QString(300, 'd') + "/sub").toUtf8() + "\nmail-to = chef@example.com\n"
            "sendmail = /bin/sh -c 'cat >> " + mails.toUtf8() + "'\n");
    // The watch may read the spool, not change it: as nobody when run by root.
    for (const QString &path : {dir.path(), out, failed, temp, mails, spool})
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions(0x7777)));
    const auto readOnly = [](const QString &path) {
        return QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
    };
    if (spoolReadOnly) {
        publish(spool, "20261207-101500-000001-job12", "Brief\r\n\f", "Brief");
        QVERIFY(readOnly(spool));
    }
    const auto writable = qScopeGuard([&] {
        QFile::setPermissions(spool, QFileDevice::Permissions(0x7777));
        QFile::setPermissions(failed, QFileDevice::Permissions(0x7777));
    });
    QStringList said;
    for (int start = 0; start < 2; ++start) {
        QProcess watch;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", temp);
        environment.remove("DISPLAY");
        watch.setProcessEnvironment(environment);
        watch.setChildProcessModifier([] {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(127);
        });
        watch.start(STICKER2_PROGRAM, { "watch", spool, "--convert", "pdf", "--out", out, "--rules", rules });
        QVERIFY(watch.waitForStarted());
        QString err;
        if (start == 0 && !spoolReadOnly) {
            QTest::qWait(500); // (past the watch's check of its folders)
            QVERIFY(readOnly(failed));
            publish(spool, "20261207-101500-000001-job12", "Brief\r\n\f", "Brief");
        }
        if (start == 0)
            QTRY_VERIFY_WITH_TIMEOUT((err += QString::fromUtf8(watch.readAllStandardError())).contains("job12.prn: converted, but"), 60000);
        else
            QTest::qWait(3000); // time to convert it again, were it to
        watch.terminate();
        QVERIFY(watch.waitForFinished(10000));
        said << err + QString::fromUtf8(watch.readAllStandardError());
        QCOMPARE(TestSupport::readFile(mails).count("To: chef@example.com"), 1);
        QVERIFY(QFile::setPermissions(failed, QFileDevice::Permissions(0x7777)));
    }
    QVERIFY(QFileInfo::exists(spool + "/20261207-101500-000001-job12.prn"));
    QVERIFY2(said.at(0).contains("job12.prn: converted, but not all of its rule's actions were done"),
        qPrintable(said.at(0)));
    // The next start converts nothing, and says the job waits there.
    QVERIFY2(said.at(1).count("job12.prn") == 1, qPrintable(said.at(1)));
    QVERIFY2(said.at(1).contains("job12.prn: failed before and left here, as it could not be moved to " + out + "/failed; "
                                 "not converted again until it is written anew"),
        qPrintable(said.at(1)));
}

QTEST_GUILESS_MAIN(TstRulesCommand)
#include "tst_rulescommand.moc"
