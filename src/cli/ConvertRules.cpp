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

QStringList ConvertRules::otherOptions(const QCommandLineParser &parser)
{
    return CliSupport::givenOptions(
        parser, { QStringLiteral("rules"), QStringLiteral("rules-origin"), QStringLiteral("rules-plan") });
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
