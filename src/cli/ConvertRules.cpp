#include "cli/ConvertRules.h"

#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/RulesSupport.h"
#include "rules/RulePreview.h"
#include "rules/RuleActions.h"
#include "rules/RuleSet.h"
#include "watch/JobArchive.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {

QCommandLineOption hidden(const QString &name, const QString &description)
{
    QCommandLineOption option(name, description, QStringLiteral("file"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

} // namespace

ConvertRules::Options::Options()
    : rules(QStringLiteral("rules"),
          QStringLiteral("A PDF named, filed, mailed and printed by the first rule of this rules file that "
                         "matches the job; OUT is where it goes when no rule says otherwise."),
          QStringLiteral("file"))
    , origin(hidden(QStringLiteral("rules-origin"), QStringLiteral("The rules file the --rules copy came from.")))
    , plan(hidden(QStringLiteral("rules-plan"), QStringLiteral("Write the plan here instead of carrying it out.")))
{
}

void ConvertRules::Options::addTo(QCommandLineParser &parser) const
{
    parser.addOptions({ rules, origin, plan });
}

QStringList ConvertRules::otherOptions(const QCommandLineParser &parser, const Options &own)
{
    QStringList options;
    QStringList seen;
    for (const QString &name : parser.optionNames()) {
        if (seen.contains(name) || own.rules.names().contains(name) || own.origin.names().contains(name)
            || own.plan.names().contains(name))
            continue;
        seen.append(name);
        const QString flag = (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        const QStringList values = parser.values(name);
        if (values.isEmpty())
            options.append(flag);
        for (const QString &value : values)
            options << flag << value;
    }
    return options;
}

namespace CommandLine {

int runConvertRules(const ConvertRules &request)
{
    RuleSet rules;
    if (!RulesSupport::readRules(request.rulesPath, &rules, request.origin))
        return CliSupport::fail(QStringLiteral("%1: the rules file has faults; nothing converted")
                                    .arg(request.origin.isEmpty() ? request.rulesPath : request.origin));
    RulePlan plan;
    QString problem;
    if (!RulesSupport::planJob(rules, request.in, storedMatchOptions(request.codePage), &plan, &problem))
        return int(Status::Failed);
    // The job is converted as the rule reads it: its settings after the
    // command line's own, so that they win.
    const QStringList arguments = QStringList { QStringLiteral("sticker2"), QStringLiteral("convert") }
        + request.convertOptions + plan.convertArguments
        + QStringList { QStringLiteral("--"), request.in, request.out };
    if (runConvert(arguments) != int(Status::Done))
        return CliSupport::fail(QStringLiteral("%1: %2not converted").arg(request.in,
            plan.rule.isEmpty() ? QString() : QStringLiteral("rule %1: ").arg(plan.rule)));
    if (!request.planPath.isEmpty()) {
        QString error;
        if (!JobArchive::writeText(request.planPath, QString::fromUtf8(plan.toJson()), &error))
            return CliSupport::fail(error);
    } else {
        const RuleActionsOutcome outcome = applyRulePlan(plan, request.out);
        bool failed = false;
        for (const QString &line : outcome.failures(plan.rule)) {
            CliSupport::report(QStringLiteral("%1: %2").arg(request.in, line));
            failed = true;
        }
        CliSupport::report(QStringLiteral("%1: %2the PDF is %3")
                               .arg(request.in,
                                   plan.rule.isEmpty() ? QString() : QStringLiteral("rule %1: ").arg(plan.rule),
                                   outcome.pdfPath));
        if (failed && problem.isEmpty())
            return int(Status::Failed);
    }
    if (!problem.isEmpty())
        return CliSupport::fail(QStringLiteral("%1: %2").arg(request.in, problem));
    return int(Status::Done);
}

} // namespace CommandLine
