#include "cli/ConvertRules.h"

#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/RulesSupport.h"
#include "form/FormName.h"
#include "rules/RuleChecks.h"
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

namespace {

// A form the plan names that cannot be used now: the PDF is made without
// the forms (the sheets as printed), and the job fails with the cause.
void leaveOutUnusableForms(RulePlan *plan, QString *problem)
{
    for (const QString &form : std::as_const(plan->forms)) {
        const FormName name = FormName::of(form);
        QString cause;
        if (name.badPage.isNull() && RuleChecks::isFormFile(name.filePath, &cause))
            continue;
        if (cause.isEmpty())
            cause = QStringLiteral("\"#page=%1\" names no page").arg(name.badPage);
        QStringList arguments;
        for (qsizetype i = 0; i < plan->convertArguments.size(); ++i) {
            const QString &argument = plan->convertArguments.at(i);
            if (argument == QLatin1String("--form") || argument == QLatin1String("--form-offset"))
                ++i; // and its value
            else
                arguments << argument;
        }
        plan->convertArguments = arguments;
        const QString said = QStringLiteral("rule %1: form %2: %3; the PDF is made without its forms")
                                 .arg(plan->rule, name.filePath, cause);
        *problem = problem->isEmpty() ? said : *problem + QStringLiteral("; ") + said;
        return;
    }
}

} // namespace

namespace CommandLine {

int runConvertRules(const ConvertRules &request)
{
    // The watch's converter (which plans) looks at a rule's forms only for
    // the jobs of that rule: a form gone since the watch read the rules
    // fails those jobs alone, their PDFs made without it and kept.
    const RuleChecks::Forms forms
        = request.planPath.isEmpty() ? RuleChecks::Forms::Checked : RuleChecks::Forms::WhenUsed;
    RuleSet rules;
    if (!RulesSupport::readRules(request.rulesPath, &rules, request.origin, forms))
        return CliSupport::fail(QStringLiteral("%1: the rules file has faults; nothing converted")
                                    .arg(request.origin.isEmpty() ? request.rulesPath : request.origin));
    RulePlan plan;
    QString problem;
    if (!RulesSupport::planJob(rules, request.in, storedMatchOptions(request.codePage), &plan, &problem))
        return int(Status::Failed);
    if (forms == RuleChecks::Forms::WhenUsed)
        leaveOutUnusableForms(&plan, &problem);
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
