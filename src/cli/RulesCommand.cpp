// sticker2 rules check FILE | rules test --rules FILE JOB: trying a rules
// file without doing anything.

#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/RulesSupport.h"
#include "delivery/MailSender.h"
#include "escp/ForeignLanguage.h"
#include "printing/CaptureQueue.h"
#include "printing/PrinterList.h"
#include "rules/RulePreview.h"
#include "rules/RuleSet.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

namespace CommandLine {

namespace {

// Not faults of the file, but every print of such a rule would fail here:
// a print-to queue the print server does not know, or a server that does
// not answer. Said as notes, since a queue may be added later.
void noteUnknownQueues(const QString &path, const RuleSet &rules)
{
    const QString key = QStringLiteral("print-to");
    QList<const Rule *> printing;
    for (const Rule &rule : rules.rules()) {
        if (rule.has(key))
            printing << &rule;
    }
    if (printing.isEmpty())
        return;
    const PrinterList server = PrinterList::fetch();
    for (const Rule *rule : std::as_const(printing)) {
        const QString queue = rule->value(key);
        if (!server.answered) {
            std::fprintf(stderr, "%s:%d: note: rule [%s] prints to %s, and the print server cannot be asked for it: %s\n",
                qPrintable(path), rule->lineOf(key), qPrintable(rule->name), qPrintable(queue),
                qPrintable(CliSupport::asClause(server.error)));
        } else if (!server.names.contains(queue, Qt::CaseInsensitive)) { // CUPS takes names in any case
            std::fprintf(stderr, "%s:%d: note: rule [%s] prints to %s, which the print server does not know\n",
                qPrintable(path), rule->lineOf(key), qPrintable(rule->name), qPrintable(queue));
        } else if (CaptureQueue::isCaptureQueue(queue)) {
            std::fprintf(stderr,
                "%s:%d: note: rule [%s] prints to %s, a capture queue: its jobs come back to be converted, and "
                "each print of this rule will fail\n",
                qPrintable(path), rule->lineOf(key), qPrintable(rule->name), qPrintable(queue));
        } else if (server.refusing.contains(queue, Qt::CaseInsensitive)) {
            std::fprintf(stderr,
                "%s:%d: note: rule [%s] prints to %s, which does not accept jobs now: each print of this rule "
                "fails until it does (cupsaccept %s)\n",
                qPrintable(path), rule->lineOf(key), qPrintable(rule->name), qPrintable(queue), qPrintable(queue));
        }
    }
}

int runRulesCheck(const QStringList &arguments, const QString &synopsis)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The rules file."));
    const int parsed = CliSupport::parse(parser, arguments, synopsis, {}, -1,
        QStringLiteral("Checks a rules file: each fault on standard error as FILE:LINE: cause, status 1 if there "
                       "is one."));
    if (parsed >= 0)
        return parsed;
    if (parser.positionalArguments().size() != 2)
        return CliSupport::usage(synopsis, QStringLiteral("rules check takes one FILE"));
    const QString path = parser.positionalArguments().at(1);
    RuleSet rules;
    if (!RulesSupport::readRules(path, &rules))
        return int(Status::Failed);
    // Not a fault of the file, but every mail of it would fail here: the
    // default mail transport is missing (no mail server package installed).
    const QString transport = MailRequest().sendmail.section(QLatin1Char(' '), 0, 0);
    if (!QFileInfo(transport).isExecutable()) {
        for (const Rule &rule : rules.rules()) {
            if (rule.has(QStringLiteral("mail-to")) && !rule.has(QStringLiteral("sendmail")))
                std::fprintf(stderr,
                    "%s:%d: note: rule [%s] mails through %s, which is not on this machine: install a mail "
                    "transport (such as msmtp-mta) or name one with sendmail =\n",
                    qPrintable(path), rule.lineOf(QStringLiteral("mail-to")), qPrintable(rule.name),
                    qPrintable(transport));
        }
    }
    noteUnknownQueues(path, rules);
    // A user name may hold a blank ("jan novák"), but a list of names
    // written with blanks alone is one name no one has.
    for (const Rule &rule : rules.rules()) {
        const QString users = rule.value(QStringLiteral("user"));
        for (const QString &name : users.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            if (name.trimmed().contains(QLatin1Char(' ')))
                std::fprintf(stderr,
                    "%s:%d: note: rule [%s] takes \"%s\" as one user name with a blank; a list of names is "
                    "written with commas\n",
                    qPrintable(path), rule.lineOf(QStringLiteral("user")), qPrintable(rule.name),
                    qPrintable(name.trimmed()));
        }
    }
    // A name files no job in a folder of its own: a / in it becomes _.
    for (const Rule &rule : rules.rules()) {
        if (rule.value(QStringLiteral("name")).contains(QLatin1Char('/')))
            std::fprintf(stderr,
                "%s:%d: note: rule [%s] names its PDFs with a /, which becomes _: a name makes no folder (folder = "
                "does)\n",
                qPrintable(path), rule.lineOf(QStringLiteral("name")), qPrintable(rule.name));
    }
    if (QFileInfo(path).size() == 0)
        std::fprintf(stderr, "%s: note: the file is empty: no rule applies\n", qPrintable(path));
    const long long count = static_cast<long long>(rules.rules().size());
    std::printf("%s: %lld %s, no faults\n", qPrintable(path), count, count == 1 ? "rule" : "rules");
    return int(Status::Done);
}

int runRulesTest(const QStringList &arguments, const QString &synopsis)
{
    QCommandLineParser parser;
    const QString rulesOption = QStringLiteral("rules");
    const QString codePage = QStringLiteral("codepage");
    parser.addPositionalArgument(QStringLiteral("JOB"), QStringLiteral("The print job."));
    const int parsed = CliSupport::parse(parser, arguments, synopsis, command(CommandId::Rules).options, -1,
        QStringLiteral("Shows what the rules would do with a print job: the rule that matches, the fields it "
                       "found and every action it would take. Nothing is converted, filed, mailed or printed."));
    if (parsed >= 0)
        return parsed;
    if (!parser.isSet(rulesOption))
        return CliSupport::usage(synopsis, QStringLiteral("rules test needs --rules FILE"));
    if (parser.positionalArguments().size() != 2)
        return CliSupport::usage(synopsis, QStringLiteral("rules test takes one JOB"));
    std::optional<CodePage::Choice> chosen;
    if (parser.isSet(codePage))
        chosen = CodePage::choiceFromName(parser.value(codePage));
    QString error;
    const QString job = parser.positionalArguments().at(1);
    if (!CliSupport::checkInput(job, &error))
        return CliSupport::fail(error);
    RuleSet rules;
    if (!RulesSupport::readRules(parser.value(rulesOption), &rules))
        return int(Status::Failed);
    RulePlan plan;
    QString problem;
    if (!RulesSupport::planJob(rules, job, storedMatchOptions(chosen), &plan, &problem))
        return int(Status::Failed);
    QStringList lines = plan.describe();
    // A rule whose search could not be carried out chooses none, and the
    // job fails as a watch fails it, after its PDF is made.
    if (!problem.isEmpty()) {
        if (plan.rule.isEmpty())
            lines.first() = QStringLiteral("rule: none chosen, for the fault below; the default applies");
        lines << QStringLiteral("then the job fails (a watch moves it to failed/): %1").arg(problem);
    }
    std::printf("job: %s\n", qPrintable(job));
    // As convert and the watch say it: the job is read as ESC/P all the same.
    const QString language = ForeignLanguage::ofFile(job);
    if (!language.isEmpty())
        std::printf("note: %s\n", qPrintable(ForeignLanguage::note(language)));
    for (const QString &line : std::as_const(lines))
        std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
    if (!problem.isEmpty())
        return CliSupport::fail(QStringLiteral("%1: %2").arg(job, problem));
    return int(Status::Done);
}

} // namespace

int runRules(const QStringList &arguments)
{
    const QString synopsis = command(CommandId::Rules).usage();
    const QString verb = arguments.value(2);
    const QStringList rest = QStringList { arguments.value(0), verb } + arguments.mid(3);
    if (verb == QLatin1String("check"))
        return runRulesCheck(rest, synopsis);
    if (verb == QLatin1String("test"))
        return runRulesTest(rest, synopsis);
    if (verb == QLatin1String("-h") || verb == QLatin1String("--help")) {
        std::fputs(overviewOf(command(CommandId::Rules)).toUtf8().constData(), stdout);
        return int(Status::Done);
    }
    return CliSupport::usage(synopsis,
        verb.isEmpty() ? QStringLiteral("rules needs check or test") : QStringLiteral("unknown rules command \"%1\"").arg(verb));
}

} // namespace CommandLine
