#include "TestSupport.h"
#include "delivery/MailLibrary.h"

#include "rules/MailAddress.h"
#include "rules/RuleActions.h"
#include "rules/RuleMatcher.h"
#include "rules/RulePattern.h"
#include "rules/RulePlan.h"
#include "rules/RuleSet.h"
#include "rules/SafeFileName.h"
#include "watch/JobInfo.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <pwd.h>
#include <sys/mount.h>
#include <unistd.h>

// The rules engine: the file's faults with their lines, which rule a job
// falls under and with what fields, the names it gets, and the bound on a
// pattern's work.
namespace {

// A PDF of two empty pages, as small as a form can be.
const char TwoPagePdf[] = "%PDF-1.4\n1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n2 0 obj\n<< /Type /Pages "
    "/Kids [3 0 R 4 0 R] /Count 2 >>\nendobj\n3 0 obj\n<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] >>\n"
    "endobj\n4 0 obj\n<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] >>\nendobj\nxref\n0 5\n"
    "0000000000 65535 f \n0000000009 00000 n \n0000000058 00000 n \n0000000121 00000 n \n0000000192 00000 n \n"
    "trailer\n<< /Size 5 /Root 1 0 R >>\nstartxref\n263\n%%EOF\n";

} // namespace

class TstRules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void faults_data();
    void faults();
    void valuesAsWritten();
    void matching_data();
    void matching();
    void convertArguments();
    void safeNames_data();
    void safeNames();
    void uniqueAndInside();
    void runawayPatternIsBounded();
    void repeatedGroups_data();
    void repeatedGroups();
    void greedyPatternOverALongJob();
    void mailAddressLists_data();
    void mailAddressLists();
    void mailRecipientsFromFields_data();
    void pdfNames_data();
    void pdfNames();
    void relativeSendmail();
    void mailRecipientsFromFields();
    void jobInfo_data();
    void jobInfo();
    void jobInfoWriters_data();
    void jobInfoWriters();

private:
    QTemporaryDir m_dir;
};

void TstRules::faults_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("cause");
    const QByteArray head = "# invoices\n; and more\n\n[A]\n"; // the rule's first key is on line 5
    QTest::newRow("syntax: no key") << head + "this is no key\n" << 5 << "syntax error";
    QTest::newRow("syntax: bracket") << QByteArray("[Invoices\nmatch = x\n") << 1 << "syntax error";
    QTest::newRow("key before a rule") << QByteArray("\nmatch = x\n") << 2 << "before the first [rule]";
    QTest::newRow("unknown key") << head + "matsch = x\n" << 5 << "unknown key \"matsch\"";
    QTest::newRow("key twice") << head + "user = a\nuser = b\n" << 6 << "set twice";
    QTest::newRow("rule twice") << head + "[A]\n" << 5 << "already at line 4";
    QTest::newRow("invalid regex") << head + "match = Nr (\\d+\n" << 5 << "invalid regular expression";
    QTest::newRow("unknown field") << head + "match = (?<inv>\\d+)\nname = {invoice}.pdf\n" << 6
                                   << "unknown field {invoice}";
    QTest::newRow("unclosed field") << head + "pdf-title = Invoice {inv\n" << 5 << "not closed";
    // (A name whose fields all come out empty leaves the job its own name.)
    QTest::newRow("name of dots") << head + "name = ..\n" << 5 << "\"..\"";
    QTest::newRow("name of a dot") << head + "name = .\n" << 5 << "gives an empty file name";
    QTest::newRow("form missing") << head + "form = /nonexistent/form.pdf\n" << 5 << "missing";
    QTest::newRow("form no PDF") << head + "form-next = notes.txt\n" << 5 << "not a PDF, PNG or JPEG";
    QTest::newRow("form a folder") << head + "form = /\n" << 5 << "not a regular file";
    QTest::newRow("form page of no number") << head + "form-next = notes.txt#page=x\n" << 5 << "\"#page=x\" names no page";
    QTest::newRow("form page of no form") << head + "form = notes.txt#page=2\n" << 5 << "notes.txt: not a PDF, PNG or JPEG";
    QTest::newRow("form page of a missing file") << head + "form = none.pdf#page=2\n" << 5 << "none.pdf: missing";
    // Read whole as convert reads them: every job of such a rule failed.
    QTest::newRow("form cut short") << head + "form = cut.pdf\n" << 5 << "cut.pdf: the form cannot be read as a PDF";
    QTest::newRow("form page past its end") << head + "form-next = two.pdf#page=9\n" << 5
                                            << "two.pdf: the form has no page 9 (it has 2)";
    QTest::newRow("field in a folder") << head + "folder = pdf/{user}\n" << 5 << "{user} would be a folder of that name";
    QTest::newRow("mail address") << head + "mail-to = accounts@example.com, not an address\n" << 5
                                  << "\"not an address\" is not a mail address";
    QTest::newRow("mail subject alone") << head + "mail-subject = x\n" << 5 << "without mail-to";
    QTest::newRow("mail sender alone") << head + "mail-from = office@example.com\n" << 5 << "mail-from without mail-to";
    QTest::newRow("two mail senders") << head + "mail-to = a@example.com\nmail-from = a@example.com, b@example.com\n" << 6
                                      << "mail-from: one sender, not 2";
    QTest::newRow("mail sender no address") << head + "mail-to = a@example.com\nmail-from = Office <office>\n" << 6
                                            << "mail-from: \"Office <office>\" is not a mail address";
    QTest::newRow("code page") << head + "codepage = cp999\n" << 5 << "unknown code page \"cp999\"";
    QTest::newRow("form length") << head + "form-length = 40\n" << 5 << "not 1 to 22 inches";
    QTest::newRow("form offset") << head + "form-offset = 3\n" << 5 << "not X,Y";
    QTest::newRow("printer") << head + "printer = laser\n" << 5 << "unknown printer";
    QTest::newRow("print on no queue") << head + "print-to = Office Laser\n" << 5
                                       << "\"Office Laser\" is no queue name";
    QTest::newRow("from no queue") << head + "queue = text/capture\n" << 5 << "\"text/capture\" is no queue name";
    QTest::newRow("not UTF-8") << head + "title = R\xe9\x63hnung\n" << 5 << "not UTF-8";
    // A mail transport read as the mail runs it: every mail would fail.
    const QByteArray mail = head + "mail-to = a@example.com\n";
    QTest::newRow("sendmail, a quote not closed") << mail + "sendmail = \"/bin/cat -t\n" << 6 << "cannot be read";
    QTest::newRow("sendmail, a folder") << mail + "sendmail = /tmp -t\n" << 6 << "\"/tmp\" is not a program here: it is a folder";
    QTest::newRow("sendmail, not on PATH") << mail + "sendmail = no-such-sendmail -t\n" << 6 << "no program of that name on PATH";
    QTest::newRow("sendmail, missing") << mail + "sendmail = /nonexistent/sendmail\n" << 6 << "it is missing";
    QTest::newRow("sendmail, not to be run") << mail + "sendmail = ./notes.txt\n" << 6 << "it may not be run";
    // A relative path is the rules file's, as a form's is (not the folder the
    // watch runs in).
    QTest::newRow("sendmail, relative") << mail + "sendmail = bin/cat -t\n" << 6 << "/bin/cat\" is not a program here: it is missing";
}

void TstRules::faults()
{
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(QString, cause);
    TestSupport::writeFile(m_dir.filePath("notes.txt"), "not a form\n");
    TestSupport::writeFile(m_dir.filePath("cut.pdf"), "%PDF-1.4\n1 0 obj\n");
    TestSupport::writeFile(m_dir.filePath("two.pdf"), TwoPagePdf);
    const QString path = TestSupport::writeFile(m_dir.filePath("rules.conf"), text);
    RuleSet rules;
    QList<RuleFault> faults;
    QVERIFY(!RuleSet::read(path, &rules, &faults));
    QVERIFY(rules.isEmpty());
    QCOMPARE(faults.size(), 1);
    QCOMPARE(faults.first().file, path);
    QCOMPARE(faults.first().line, line);
    QVERIFY2(faults.first().cause.contains(cause), qPrintable(faults.first().text()));
    QVERIFY(faults.first().text().startsWith(QStringLiteral("%1:%2: ").arg(path).arg(line)));
}

// A relative transport is taken from the rules file's folder, its words
// kept as written.
void TstRules::relativeSendmail()
{
    QDir(m_dir.path()).mkpath("bin");
    const QString program = TestSupport::writeFile(m_dir.filePath("bin/send it"), "#!/bin/sh\ncat\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString path = TestSupport::writeFile(m_dir.filePath("rules.conf"),
        "[A]\nmail-to = a@example.com\nsendmail = \"bin/send it\" -f 'Anna Nowak'\n");
    RuleSet rules;
    QList<RuleFault> faults;
    QVERIFY2(RuleSet::read(path, &rules, &faults), faults.isEmpty() ? "" : qPrintable(faults.first().text()));
    QString error;
    QStringList words;
    QVERIFY(MailLibrary::get(&error)->splitCommand(rules.rules().first().value("sendmail"), &words, &error));
    QCOMPARE(words, QStringList({program, "-f", "Anna Nowak"}));
}

// Every fault of a file is told, and a sound file reads whole with its
// values as written: a backslash stays, comments and spaces around go.
void TstRules::valuesAsWritten()
{
    RuleSet rules;
    QList<RuleFault> faults;
    QVERIFY(!RuleSet::parse("[A]\nbad\n[B]\nnope = 1\nmatch = (\n", "r.conf", &rules, &faults));
    QCOMPARE(faults.size(), 3);
    QCOMPARE(faults.at(0).line, 2);
    QCOMPARE(faults.at(1).line, 4);
    QCOMPARE(faults.at(2).line, 5);
    faults.clear();
    // In the file's order, the values' checks among the lines' faults (they
    // had come after them all: line 3, then 2 and 5).
    QVERIFY(!RuleSet::parse("[A]\nmatch = (\nbad\n[B]\nname = {x\n", "r.conf", &rules, &faults));
    QList<int> lines;
    for (const RuleFault &fault : std::as_const(faults))
        lines << fault.line;
    QCOMPARE(lines, (QList<int> {2, 3, 5}));
    faults.clear();
    QVERIFY(RuleSet::parse("\xef\xbb\xbf# c\r\n[Invoices]\r\n  match =  Rechnung +Nr\\. +(?<invoice>REI\\d+)  \r\n"
                           "; name = x\r\nname = {date}_{invoice}.pdf\r\n[Rest]\n",
        "r.conf", &rules, &faults));
    QCOMPARE(rules.rules().size(), 2);
    const Rule &rule = rules.rules().first();
    QCOMPARE(rule.name, "Invoices");
    QCOMPARE(rule.line, 2);
    QCOMPARE(rule.value("match"), "Rechnung +Nr\\. +(?<invoice>REI\\d+)");
    QCOMPARE(rule.lineOf("name"), 5);
    QCOMPARE(rule.pattern->groupNames(), QStringList { "invoice" });
    QVERIFY(!rules.rules().at(1).pattern);
}

void TstRules::matching_data()
{
    QTest::addColumn<QByteArray>("rules");
    QTest::addColumn<QByteArray>("job");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("rule");   // empty: none
    QTest::addColumn<QString>("fields"); // "k=v;k=v" that must be among the fields
    const QByteArray invoices = "[Invoices]\nmatch = Rechnung +Nr\\. +(?<invoice>REI\\d+)\n"
                                "[Anna]\nuser = anna\n"
                                "[Reports]\ntitle = Monat*\nqueue = textcapture\n"
                                "[Customers]\ncodepage = cp850\nmatch = Kunde: (?<customer>\\S+)\n";
    const QByteArray invoice = "\x1b@ACME GmbH\r\n\r\n  Rechnung   Nr. REI20417\r\nSumme 12,00\f";
    QTest::newRow("named group") << invoices << invoice << "bob" << "" << "Invoices"
                                 << "invoice=REI20417;user=bob;name=x-job17;job=17";
    QTest::newRow("first match applies") << invoices << invoice << "anna" << "" << "Invoices" << "invoice=REI20417";
    QTest::newRow("user filter") << invoices << QByteArray("nothing\r\n") << "anna" << "" << "Anna" << "user=anna";
    QTest::newRow("title glob and queue") << invoices << QByteArray("x") << "bob" << "Monatsbericht 11" << "Reports"
                                          << "title=Monatsbericht 11;queue=TextCapture";
    // Users as an office lists its clerks: names, globs.
    const QByteArray clerks = "[Clerks]\nuser = anna, bert,clerk*\n";
    QTest::newRow("user of a list") << clerks << QByteArray("x") << "bert" << "" << "Clerks" << "user=bert";
    QTest::newRow("user of a glob") << clerks << QByteArray("x") << "clerk7" << "" << "Clerks" << "user=clerk7";
    QTest::newRow("user not listed") << clerks << QByteArray("x") << "annabel" << "" << "" << "";
    // A name as it is, whatever it holds (a domain's, blanks, brackets).
    QTest::newRow("user of a domain") << QByteArray("[D]\nuser = OFFICE\\anna, jan nov\xc3\xa1k, zz[1]\n") << QByteArray("x")
                                      << "OFFICE\\anna" << "" << "D" << "";
    QTest::newRow("user with a blank") << QByteArray("[D]\nuser = OFFICE\\anna, jan nov\xc3\xa1k, zz[1]\n") << QByteArray("x")
                                       << QString::fromUtf8("jan novák") << "" << "D" << "";
    QTest::newRow("user with brackets") << QByteArray("[D]\nuser = zz[1]\n") << QByteArray("x") << "zz[1]" << "" << "D" << "";
    QTest::newRow("no user for a glob of all") << QByteArray("[Any]\nuser = *\n") << QByteArray("x") << "" << "" << "" << "";
    QTest::newRow("title glob misses") << invoices << QByteArray("x") << "bob" << "Bericht" << "" << "";
    // 0x81 is u-umlaut in cp850; a rule reads the job in its own code page.
    QTest::newRow("code page") << invoices << QByteArray("Kunde: M\x81ller\r\n") << "bob" << "" << "Customers"
                               << QString::fromUtf8("customer=Müller");
    // \w and \b take the code page's letters for letters ({k} had been "M").
    QTest::newRow("word of national letters")
        << QByteArray("[W]\ncodepage = cp850\nmatch = Kunde: (?<k>\\w+)\\b.*\\bStra\\w+e (?<nr>\\d+)\n")
        << QByteArray("Kunde: M\x81ller Stra\xe1" "e 5\r\n") << "" << "" << "W"
        << QString::fromUtf8("k=Müller;nr=5");
    QTest::newRow("over page breaks") << QByteArray("[Total]\nmatch = (?s)Seite 1.*Seite 2 +(?<sum>\\d+)\n")
                                      << QByteArray("Seite 1\fSeite 2   340\f") << "" << "" << "Total" << "sum=340";
    QTest::newRow("multi-line, CR LF") << QByteArray("[Lines]\nmatch = (?m)^Nr (?<n>\\d+)\\r$\n")
                                       << QByteArray("x\rNr 12\ry") << "" << "" << "Lines" << "n=12";
    // A group to the line's end leaves out the CR of its CR LF.
    QTest::newRow("to the line's end") << QByteArray("[Subject]\nmatch = Betreff: (?<s>.*)\n")
                                       << QByteArray("Betreff: Hallo Welt\r\nAn: x\r\n") << "" << ""
                                       << "Subject" << "s=Hallo Welt";
    // Control characters (Latin-1's CSI, a line end inside a group, an
    // escape or a bell in the user or title) are one blank each run, in groups and the job's own
    // fields alike; a tab stays.
    QTest::newRow("control characters") << QByteArray("[Subject]\nmatch = (?s)Betreff: (?<s>.*?)!\n")
                                        << QByteArray("Betreff: A\x9b\x9b" "2JB\tD\r\nE!\r\n") << "b\x1bob"
                                        << QString("Mahnung\x07") + QChar(0x9b) << "Subject" << "s=A 2JB\tD E;user=b ob;title=Mahnung ";
}

void TstRules::matching()
{
    QFETCH(QByteArray, rules);
    QFETCH(QByteArray, job);
    QFETCH(QString, user);
    QFETCH(QString, title);
    QFETCH(QString, rule);
    QFETCH(QString, fields);
    RuleSet set;
    QList<RuleFault> faults;
    QVERIFY(RuleSet::parse(rules, "r.conf", &set, &faults));
    const QString path = TestSupport::writeFile(m_dir.filePath("x-job17.prn"), job);
    JobInfo info;
    info.user = user;
    info.title = title;
    info.queue = "TextCapture";
    TestSupport::writeFile(jobInfoPath(path), jobInfoText(info));
    RuleJob ruleJob;
    QString error;
    QVERIFY(ruleJob.load(path, &error));
    RuleMatchOptions options;
    const RuleMatch match = matchRules(set, ruleJob, options);
    QVERIFY(match.problem.isEmpty());
    QCOMPARE(match.index < 0 ? QString() : set.rules().at(match.index).name, rule);
    for (const QString &pair : fields.split(';', Qt::SkipEmptyParts))
        QCOMPARE(pair.section('=', 0, 0) + "=" + match.fields.value(pair.section('=', 0, 0)), pair);
}

// A rule's reading settings become convert's options in one place, texts
// with their fields filled in.
void TstRules::convertArguments()
{
    const QString form = TestSupport::writeFile(m_dir.filePath("forms/first.pdf"), TwoPagePdf);
    RuleSet set;
    QList<RuleFault> faults;
    QVERIFY(RuleSet::parse("[I]\nmatch = Nr (?<nr>\\d+)\ncodepage = cp850\nform-length = 12\nprinter = 24-pin\n"
                           "form = forms/first.pdf\nform-next = forms/first.pdf#page=2\nform-offset = 1.5,-2\n"
                           "pdf-title = Invoice {nr}\npdf-keywords = invoice, {nr}\nname = {nr}/{user}.pdf\n"
                           "mail-to = {nr}@example.com\nmail-from = Office {nr} <office@example.com>\nprint-to = Office\n",
        m_dir.filePath("rules.conf").toUtf8(), &set, &faults));
    const QString path = TestSupport::writeFile(m_dir.filePath("j.prn"), "Nr 42\r\n");
    TestSupport::writeFile(m_dir.filePath(".j.prn.info"), "job=7\ncopies=3\n");
    RuleJob job;
    QString error;
    QVERIFY(job.load(path, &error));
    const RulePlan plan = planFor(set, matchRules(set, job, {}), job);
    QCOMPARE(plan.convertArguments,
        QStringList({ "--codepage", "cp850", "--form-length", "12", "--printer", "24-pin", "--form", form + "," + form + "#page=2",
            "--form-offset", "1.5,-2", "--pdf-title", "Invoice 42", "--pdf-keywords", "invoice, 42" }));
    QCOMPARE(plan.fileName, "42_.pdf"); // no '/' from a field
    QCOMPARE(plan.mailTo, QStringList { "42@example.com" });
    QCOMPARE(plan.mailFrom, "Office 42 <office@example.com>");
    RulePlan back;
    QVERIFY(RulePlan::fromJson(plan.toJson(), &back));
    QCOMPARE(back.describe(), plan.describe());
    // The copies the job asked for (lp -n 3) go with it to its queue.
    QCOMPARE(plan.copies, 3);
    QCOMPARE(back.copies, 3);
    QVERIFY(plan.describe().contains("print it on queue Office, 3 copies as the job asks")); // rules test says so
    // Which sheets the forms lie under, said in words: a rule's form alone
    // lies under the first sheet, unlike convert's --form.
    QVERIFY(plan.describe().contains("lay the form " + form + " under the first sheet and " + form + "#page=2 under the sheets after it"));
    TestSupport::writeFile(m_dir.filePath("f.pdf"), TwoPagePdf);
    const auto formsSaid = [&](const char *keys) {
        RuleSet one;
        QList<RuleFault> none;
        if (!RuleSet::parse(QByteArray("[F]\n") + keys, m_dir.filePath("rules.conf").toUtf8(), &one, &none))
            return QString();
        return planFor(one, matchRules(one, job, {}), job).describe().filter("lay the form").join('|');
    };
    QCOMPARE(formsSaid("form = f.pdf\n"), "lay the form " + m_dir.filePath("f.pdf")
            + " under the first sheet only (form-next names the later sheets' form; the same file there puts it under every sheet)");
    QCOMPARE(formsSaid("form = f.pdf\nform-next = f.pdf\n"), "lay the form " + m_dir.filePath("f.pdf") + " under every sheet");
    QCOMPARE(formsSaid("form-next = f.pdf\n"), "lay the form " + m_dir.filePath("f.pdf") + " under the sheets after the first; none under the first");
    // A rule's form without an offset lies at the corner, whatever offset
    // the command line (the watch's) gives its own forms.
    RuleSet plain;
    QList<RuleFault> none;
    QVERIFY(RuleSet::parse("[F]\nform = f.pdf\n", m_dir.filePath("rules.conf").toUtf8(), &plain, &none));
    QCOMPARE(planFor(plain, matchRules(plain, job, {}), job).convertArguments,
        QStringList({ "--form", m_dir.filePath("f.pdf") + ",", "--form-offset", "0,0" }));
}

void TstRules::safeNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("safe");
    QTest::newRow("plain") << "2026-12-07_REI1.pdf" << "2026-12-07_REI1.pdf";
    QTest::newRow("slash") << "a/b\\c.pdf" << "a_b_c.pdf";
    QTest::newRow("what Windows refuses") << "Re: Mai? *2* \"A\" <b>|c.pdf" << "Re_ Mai_ _2_ _A_ _b__c.pdf";
    QTest::newRow("climbing") << "../../etc/passwd" << "_.._etc_passwd";
    QTest::newRow("dots") << ".." << "";
    QTest::newRow("hidden") << ".profile" << "profile";
    QTest::newRow("a title of two dots keeps the ending") << "...pdf" << "_.pdf";
    QTest::newRow("a title of one dot keeps the ending") << "..pdf" << "_.pdf";
    QTest::newRow("no title keeps the ending") << ".pdf" << "_.pdf";
    QTest::newRow("a hidden stem keeps the ending") << ".x.pdf" << "x.pdf";
    QTest::newRow("controls") << QString("a\tb\nc\x7f" "d\u200Be.pdf") << "a_b_c_d_e.pdf";
    QTest::newRow("spaces around") << "  x.pdf " << "x.pdf";
    QTest::newRow("empty") << "" << "";
}

void TstRules::safeNames()
{
    QFETCH(QString, name);
    QFETCH(QString, safe);
    QCOMPARE(SafeFileName::made(name), safe);
    // At the limit: whole characters of two, three and four bytes, the
    // extension kept, and numbering stays within it.
    for (const QString &piece : { QString::fromUtf8("é"), QString::fromUtf8("€"), QString::fromUtf8("😀") }) {
        const QString cut = SafeFileName::made(piece.repeated(150) + ".pdf");
        QVERIFY(cut.toUtf8().size() <= SafeFileName::MaximumBytes);
        QVERIFY(cut.toUtf8().size() > SafeFileName::MaximumBytes - 4);
        QVERIFY(cut.endsWith(".pdf"));
        QCOMPARE(QString::fromUtf8(cut.toUtf8()), cut); // no character cut in half
        const QString numbered = SafeFileName::numbered(cut, 123);
        QVERIFY(numbered.toUtf8().size() <= SafeFileName::MaximumBytes);
        QVERIFY(numbered.endsWith("-123.pdf"));
    }
}

// Names are made unique, never write over a file, never go through a link
// planted at the name, and an unsafe name is refused, not followed.
void TstRules::uniqueAndInside()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("filed");
    const QString source = TestSupport::writeFile(dir.filePath("out.pdf"), "%PDF-1.4 first\n");
    QString placed;
    QString error;
    QVERIFY(SafeFileName::placeCopy(source, folder, "a.pdf", &placed, &error));
    QCOMPARE(placed, folder + "/a.pdf");
    const QString outside = TestSupport::writeFile(dir.filePath("victim"), "keep me");
    QVERIFY(QFile::link(outside, folder + "/a-2.pdf"));
    QVERIFY(SafeFileName::placeCopy(source, folder, "a.pdf", &placed, &error));
    QCOMPARE(placed, folder + "/a-3.pdf");
    QCOMPARE(TestSupport::readFile(outside), QByteArray("keep me"));
    QCOMPARE(TestSupport::readFile(placed), QByteArray("%PDF-1.4 first\n"));
    QVERIFY(!SafeFileName::placeCopy(source, folder, "../b.pdf", &placed, &error));
    QVERIFY(!QFile::exists(dir.filePath("b.pdf")));
    QVERIFY(!SafeFileName::placeCopy(source, folder, ".hidden", &placed, &error));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 3); // no part left
    // A folder that cannot be written: an error, nothing made.
    QVERIFY(!SafeFileName::placeCopy(source, outside + "/sub", "a.pdf", &placed, &error));
    QVERIFY(error.contains("cannot make the folder"));

    // A full disk is named as such, and leaves nothing there (the copy that
    // stopped short had said "Unknown error").
    const QString full = dir.filePath("full");
    QVERIFY(QDir().mkpath(full));
    if (::geteuid() != 0 || ::mount("tmpfs", QFile::encodeName(full).constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP("no small file system can be mounted here (not root, or not allowed)");
    const auto unmount = qScopeGuard([&full] { ::umount2(QFile::encodeName(full).constData(), MNT_DETACH); });
    const QString large = TestSupport::writeFile(dir.filePath("large.pdf"), QByteArray(200 * 1024, 'x'));
    QVERIFY(!SafeFileName::placeCopy(large, full, "a.pdf", &placed, &error));
    QCOMPARE(error, full + ": No space left on device");
    QCOMPARE(QDir(full).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
}

// A pattern that backtracks for ever: the match limit stops it at one
// place, the deadline over a long job; the rule that ran out is named.
void TstRules::runawayPatternIsBounded()
{
    QString error;
    const auto nested = RulePattern::compile("(a|aa)+$", &error);
    QVERIFY(nested);
    QHash<QString, QString> groups;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(nested->match(QString(5000, 'a') + "b", &groups, &error), RulePattern::Outcome::RanOut);
    QVERIFY(timer.elapsed() < 3000);
    // Short runs, each under the match limit, over a long text.
    QByteArray job;
    while (job.size() < 2000000)
        job += QByteArray(20, 'a') + "\r\n";
    const QString path = TestSupport::writeFile(m_dir.filePath("long.prn"), job);
    RuleSet set;
    QList<RuleFault> faults;
    QVERIFY(RuleSet::parse("[Fine]\nmatch = ^zzz\n[Slow]\nmatch = (a|aa)+(?:b|c)\n[Never]\n", "r.conf", &set, &faults));
    RuleJob ruleJob;
    QVERIFY(ruleJob.load(path, &error));
    RuleMatchOptions options;
    options.timeLimit = std::chrono::milliseconds(300);
    timer.restart();
    const RuleMatch match = matchRules(set, ruleJob, options);
    QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(match.index, -1);
    QVERIFY2(match.problem.contains("[Slow] (r.conf:3)") && match.problem.contains("ran out"), qPrintable(match.problem));
}

// The invoice rule's plain `(?s).*` backtracks once from the job's end: over
// a job of megabytes it found the mail address, where a fixed step limit had
// made every job of more than a megabyte fail.
void TstRules::repeatedGroups_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("group"); // "name=value" that the match must give
    QString positions;
    for (int i = 1; i <= 40; ++i)
        positions += QStringLiteral("Position %1 Artikel 12,50 EUR\r\n").arg(i);
    const QString invoice = "Rechnung Nr. REI1\r\n" + positions + "E-Mail: k@example.com\r\n";
    // A group repeated over the text between two places, as rules are
    // written: the JIT's own 32 KB stack had run out at about a kilobyte.
    QTest::newRow("alternatives over 1,600 characters")
        << "A(?<run>(?:x|y)*)B" << "A" + QString(1600, 'x') + "B" << "run=" + QString(1600, 'x');
    QTest::newRow("any character or blank, lazily, over a page")
        << "Rechnung(?:.|\\s)*?E-Mail: (?<m>\\S+)" << invoice << "m=k@example.com";
    QTest::newRow("a captured dot, lazily") << "(?s)Rechnung(.)*?E-Mail: (?<m>\\S+)" << invoice << "m=k@example.com";
    QTest::newRow("alternatives over 200,000 characters")
        << "A(?:x|y)*(?<end>B)" << "A" + QString(200000, 'y') + "B" << "end=B";
    QTest::newRow("alternatives over 2,000,000 characters")
        << "A(?:x|y)*(?<end>B)" << "A" + QString(2000000, 'y') + "B" << "end=B";
    // Past what the search's memory may grow to: ran out, and said so.
    QTest::newRow("alternatives over 4,000,000 characters")
        << "A(?:x|y)*(?<end>B)" << "A" + QString(4000000, 'y') + "B" << "";
}

void TstRules::repeatedGroups()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(QString, group);
    QString error;
    const auto compiled = RulePattern::compile(pattern, &error);
    QVERIFY2(compiled, qPrintable(error));
    QHash<QString, QString> groups;
    const RulePattern::Outcome outcome = compiled->match(text, &groups, &error);
    if (group.isEmpty()) {
        QCOMPARE(outcome, RulePattern::Outcome::RanOut);
        QCOMPARE(error, QString("the search needs more than 64 MB on this job (a group repeated over millions of characters)"));
        return;
    }
    QVERIFY2(outcome == RulePattern::Outcome::Matched, qPrintable(error));
    QCOMPARE(groups.value(group.section('=', 0, 0)), group.section('=', 1));
}

void TstRules::greedyPatternOverALongJob()
{
    QString error;
    const auto greedy = RulePattern::compile("Nr\\. +(?<invoice>REI\\d+)(?s).*E-Mail: +(?<customer>\\S+@\\S+)", &error);
    QVERIFY2(greedy, qPrintable(error));
    const QString text = "Rechnung Nr. REI2041\r\nE-Mail: k@example.com\r\n" + QString(130, 'x').append("\r\n").repeated(40000);
    QHash<QString, QString> groups;
    QCOMPARE(greedy->match(text, &groups, &error), RulePattern::Outcome::Matched);
    QCOMPARE(groups.value("customer"), QString("k@example.com"));
    QCOMPARE(groups.value("invoice"), QString("REI2041"));
}

// mail-to as business programs print addresses: a name before the address
// in angle brackets, a quoted name with a comma (refused, and split at the
// comma, before).
void TstRules::mailAddressLists_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("addresses");
    QTest::newRow("bare") << " a@example.com, b@example.com " << QStringList {"a@example.com", "b@example.com"};
    QTest::newRow("name and address") << QString("Max Müller <mm@example.com>") << QStringList {"mm@example.com"};
    QTest::newRow("quoted name with a comma") << "\"Max, Müller\" <mm@example.com>, x@example.com"
                                              << QStringList {"mm@example.com", "x@example.com"};
    QTest::newRow("empty pieces") << ",, a@example.com ," << QStringList {"a@example.com"};
    QTest::newRow("a field") << "{customer}" << QStringList {"{customer}"};
    // Each named address is mailed, or the list refused: none dropped unsaid.
    QTest::newRow("semicolons") << "Max <mm@example.com>; Eve <e@example.com>;b@example.com"
                                << QStringList {"mm@example.com", "e@example.com", "b@example.com"};
    QTest::newRow("two in brackets") << "Max <a@example.com> <b@example.com>"
                                     << QStringList {"Max <a@example.com> <b@example.com>"};
    QTest::newRow("escaped quote in a name") << "\"Max \\\"M, Jr\\\"\" <mm@example.com>, x@example.com"
                                             << QStringList {"mm@example.com", "x@example.com"};
}

void TstRules::mailAddressLists()
{
    QFETCH(QString, list);
    QFETCH(QStringList, addresses);
    QCOMPARE(MailAddress::split(list), addresses);
    for (const QString &address : addresses) // a piece left whole is refused
        QVERIFY(address.startsWith('{') || MailAddress::isValid(address) == !address.contains('<'));
}

// A field fills in one recipient: a job's text or a user name that holds a
// list adds no one (it had mailed the invoice to every address the job
// printed), and the mail then fails. Names are kept as written.
void TstRules::mailRecipientsFromFields_data()
{
    QTest::addColumn<QString>("mailTo");
    QTest::addColumn<QByteArray>("job");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QStringList>("recipients");
    QTest::addColumn<bool>("mails"); // every recipient is one
    QTest::newRow("one address") << "{to}" << QByteArray("An: kunde@example.com\r\n") << "anna"
                                 << QStringList {"kunde@example.com"} << true;
    QTest::newRow("a list in the job's text") << "{to}" << QByteArray("An: kunde@example.com,spy@evil.example\r\n")
                                              << "anna" << QStringList {"kunde@example.com,spy@evil.example"} << false;
    QTest::newRow("a name and a list in the job's text")
        << "{to}" << QByteArray("An: kunde@example.com,Spy<spy@evil.example>\r\n") << "anna"
        << QStringList {"kunde@example.com,Spy<spy@evil.example>"} << false;
    QTest::newRow("a semicolon in the user") << "{user}@example.org, chef@example.com" << QByteArray("x\r\n")
                                             << "evil@attacker.example;x"
                                             << QStringList {"evil@attacker.example;x@example.org", "chef@example.com"}
                                             << false;
    QTest::newRow("a name from the job's text") << "{to} <kunde@example.com>"
                                                << QByteArray("An: Mueller,Jan\r\n") << "anna"
                                                << QStringList {"\"Mueller,Jan\" <kunde@example.com>"} << true;
    QTest::newRow("a list as the address") << "Kunde <{to}>"
                                           << QByteArray("An: kunde@example.com,spy@evil.example\r\n") << "anna"
                                           << QStringList {"Kunde <kunde@example.com,spy@evil.example>"} << false;
    QTest::newRow("display names kept") << "\"Müller, Jan\" <jan@example.com>; Eva <{user}@example.net>"
                                        << QByteArray("x\r\n") << "eva"
                                        << QStringList {"\"Müller, Jan\" <jan@example.com>", "Eva <eva@example.net>"}
                                        << true;
}

void TstRules::mailRecipientsFromFields()
{
    QFETCH(QString, mailTo);
    QFETCH(QByteArray, job);
    QFETCH(QString, user);
    QFETCH(QStringList, recipients);
    QFETCH(bool, mails);
    RuleSet set;
    QList<RuleFault> faults;
    QVERIFY2(RuleSet::parse("[M]\nmatch = (?:An: (?<to>\\S+))?\nmail-to = " + mailTo.toUtf8() + "\nmail-subject = {title}\n", "r.conf", &set,
                 &faults),
        qPrintable(faults.isEmpty() ? QString() : faults.first().text()));
    const QString path = TestSupport::writeFile(m_dir.filePath("m-job3.prn"), job);
    JobInfo info;
    info.user = user;
    TestSupport::writeFile(jobInfoPath(path), jobInfoText(info));
    RuleJob ruleJob;
    QString error;
    QVERIFY(ruleJob.load(path, &error));
    const RulePlan plan = planFor(set, matchRules(set, ruleJob, {}), ruleJob);
    QCOMPARE(plan.mailTo, recipients);
    QCOMPARE(plan.mailSubject, QString()); // {title}, empty here: the mail takes the file's name
    QVERIFY(plan.describe().join('\n').contains("subject the PDF's name as filed (\"m-job3.pdf\" from a watch)"));
    QCOMPARE(plan.describe().join('\n').contains("then the mail fails"), !mails);
    if (!mails) { // refused before any transport is asked
        const RuleActionsOutcome outcome = applyRulePlan(plan, path);
        QVERIFY(!outcome.ok());
        const QString failed = outcome.failures("M").join('\n');
        QVERIFY2(failed.contains("mail-to: \"" + recipients.first() + "\" is not a mail address"), qPrintable(failed));
    }
}

// A rule's name is the PDF's, made safe, and ends in .pdf (a name written
// without it gave a file no program took for a PDF).
void TstRules::pdfNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("as written") << "{nr}.pdf" << "42.pdf";
    QTest::newRow("without the ending") << "Rechnung {nr}" << "Rechnung 42.pdf";
    QTest::newRow("the ending in capitals") << "{nr}.PDF" << "42.PDF";
    QTest::newRow("another ending") << "{nr}.txt" << "42.txt.pdf";
    QTest::newRow("no folder from a field") << "{nr}/{user}" << "42_.pdf";
    // A name whose fields all come out empty ({user}: the job has no side
    // file) leaves the job its own name, with or without text around them.
    QTest::newRow("a field alone, empty") << "{user}" << "n.pdf";
    QTest::newRow("an empty field and its ending") << "{user}.pdf" << "n.pdf";
    QTest::newRow("empty fields and text") << "Invoice {user} {title}.pdf" << "n.pdf";
    QTest::newRow("one field of two empty") << "{user}{nr}.pdf" << "42.pdf";
}

void TstRules::pdfNames()
{
    QFETCH(QString, name);
    QFETCH(QString, fileName);
    RuleSet set;
    QList<RuleFault> faults;
    QVERIFY(RuleSet::parse("[I]\nmatch = Nr (?<nr>\\d+)\nname = " + name.toUtf8() + "\n", "r.conf", &set, &faults));
    const QString path = TestSupport::writeFile(m_dir.filePath("n.prn"), "Nr 42\r\n");
    RuleJob job;
    QString error;
    QVERIFY(job.load(path, &error));
    QCOMPARE(planFor(set, matchRules(set, job, {}), job).fileName, fileName);
}

void TstRules::jobInfo_data()
{
    QTest::addColumn<QByteArray>("side");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("title");
    QTest::newRow("escaped") << QByteArray("job=12\nuser=anna\ntitle=Rechnung 100%25%0Aneu\nqueue=Q\nnew=1\n") << true
                             << "anna" << "Rechnung 100%\nneu";
    QTest::newRow("UTF-8, stray %") << QByteArray("title=M\xc3\xbcller 5%\nuser=b\n") << true << "b"
                                    << QString::fromUtf8("Müller 5%");
    QTest::newRow("none") << QByteArray() << false << "" << "";
}

void TstRules::jobInfo()
{
    QFETCH(QByteArray, side);
    QFETCH(bool, found);
    QFETCH(QString, user);
    QFETCH(QString, title);
    QTemporaryDir dir;
    const QString job = TestSupport::writeFile(dir.filePath("20261207-101500-000001-job12.prn"), "x");
    QCOMPARE(jobInfoPath(job), dir.filePath(".20261207-101500-000001-job12.prn.info"));
    if (found)
        TestSupport::writeFile(jobInfoPath(job), side);
    JobInfo info;
    QString error;
    QCOMPARE(readJobInfo(job, &info, &error), found);
    QVERIFY(error.isEmpty());
    QCOMPARE(info.user, user);
    QCOMPARE(info.title, title);
    if (found) {
        JobInfo again;
        TestSupport::writeFile(jobInfoPath(job), jobInfoText(info));
        QVERIFY(readJobInfo(job, &again, &error));
        QCOMPARE(again.title, info.title);
    }
}

// Whose side file speaks for a job: one of the job's own owner, never a
// link; the spooler's (root, lp, the folder's owner) and the watch's own
// user's in any name, anyone else's in their own name only. Run as root,
// which may give files to others.
void TstRules::jobInfoWriters_data()
{
    QTest::addColumn<QString>("sideOwner");
    QTest::addColumn<QString>("jobOwner");
    QTest::addColumn<QString>("folderOwner");
    QTest::addColumn<QByteArray>("userLine");
    QTest::addColumn<bool>("link"); // the side file is a link to one of its owner's
    QTest::addColumn<QString>("refusal"); // empty: the details are taken
    QTest::newRow("the spooler's") << "lp" << "lp" << "root" << QByteArray("user=anna\n") << false << "";
    QTest::newRow("root's") << "root" << "root" << "root" << QByteArray("user=anna\n") << false << "";
    QTest::newRow("the folder's owner's") << "nobody" << "nobody" << "nobody" << QByteArray("user=anna\n") << false << "";
    QTest::newRow("laid down for another's job") << "nobody" << "daemon" << "root" << QByteArray("user=nobody\n") << false
                                                 << "written by user nobody for a job of user daemon";
    QTest::newRow("the spooler's, of another job") << "lp" << "daemon" << "root" << QByteArray("user=anna\n") << false
                                                   << "written by user lp for a job of user daemon";
    QTest::newRow("in another user's name") << "nobody" << "nobody" << "root" << QByteArray("user=anna\n") << false
                                            << "written by user nobody in the name of user anna";
    QTest::newRow("own job, own name") << "nobody" << "nobody" << "root" << QByteArray("user=nobody\n") << false << "";
    QTest::newRow("own job, no name") << "nobody" << "nobody" << "root" << QByteArray() << false << "";
    QTest::newRow("a link to the spooler's") << "lp" << "lp" << "root" << QByteArray("user=anna\n") << true
                                             << "a link, not the job's own details";
}

void TstRules::jobInfoWriters()
{
    QFETCH(QString, sideOwner);
    QFETCH(QString, jobOwner);
    QFETCH(QString, folderOwner);
    QFETCH(QByteArray, userLine);
    QFETCH(bool, link);
    QFETCH(QString, refusal);
    if (::geteuid() != 0)
        QSKIP("giving files to other users needs root");
    const auto uidOf = [](const QString &name) {
        const passwd *account = ::getpwnam(name.toLocal8Bit().constData());
        return account ? int(account->pw_uid) : -1;
    };
    for (const QString &name : { sideOwner, jobOwner, folderOwner }) {
        if (uidOf(name) < 0)
            QSKIP(qPrintable("no user " + name + " on this machine"));
    }
    QTemporaryDir dir;
    const QString job = TestSupport::writeFile(dir.filePath("j.prn"), "x");
    const QString side = jobInfoPath(job);
    const QString written = TestSupport::writeFile(link ? dir.filePath("other/.k.prn.info") : side,
        "job=3\n" + userLine + "title=Salaries\n");
    if (link)
        QVERIFY(QFile::link(written, side));
    QCOMPARE(::chown(QFile::encodeName(job).constData(), uid_t(uidOf(jobOwner)), gid_t(-1)), 0);
    QCOMPARE(::chown(QFile::encodeName(written).constData(), uid_t(uidOf(sideOwner)), gid_t(-1)), 0);
    QCOMPARE(::chown(QFile::encodeName(dir.path()).constData(), uid_t(uidOf(folderOwner)), gid_t(-1)), 0);
    JobInfo info;
    QString error;
    QCOMPARE(readJobInfo(job, &info, &error), refusal.isEmpty());
    QVERIFY2(refusal.isEmpty() ? error.isEmpty() : error.startsWith(side + ": " + refusal), qPrintable(error));
    QCOMPARE(info.title, refusal.isEmpty() ? "Salaries" : ""); // nothing of a refused file is taken
    // A rule sees the job as having no details, and says why.
    RuleJob ruleJob;
    QVERIFY(ruleJob.load(job, &error));
    QCOMPARE(ruleJob.info().user, refusal.isEmpty() ? QString::fromUtf8(userLine.mid(5).trimmed()) : QString());
    QCOMPARE(ruleJob.infoProblem().isEmpty(), refusal.isEmpty());
}

QTEST_GUILESS_MAIN(TstRules)
#include "tst_rules.moc"
