#include "cli/ConvertRules.h"

#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/RulesSupport.h"
#include "form/FormName.h"
#include "platform/FileChecks.h"
#include "rules/RuleChecks.h"
#include "rules/RulePreview.h"
#include "rules/RuleActions.h"
#include "rules/RuleSet.h"
#include "rules/SafeFileName.h"
#include "watch/JobArchive.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>

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
        if (name.badPage.isNull() && RuleChecks::isFormFile(name.filePath, &cause)
            && RuleChecks::isUsableForm(form, &cause))
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
        // No form at all: not the stored ones either.
        plan->convertArguments = arguments + QStringList { QStringLiteral("--form"), QStringLiteral(",") };
        const QString said = QStringLiteral("rule %1: form %2: %3; the PDF is made without its forms")
                                 .arg(plan->rule, name.filePath, cause);
        *problem = problem->isEmpty() ? said : *problem + QStringLiteral("; ") + said;
        return;
    }
}

// Whether convert's options name forms (--form, none or some).
bool namesForms(const QStringList &options)
{
    return std::any_of(options.cbegin(), options.cend(), [](const QString &option) {
        return option == QLatin1String("--form") || option.startsWith(QLatin1String("--form="));
    });
}

} // namespace

bool ConvertRules::printedLook(const QStringList &options)
{
    QString look = QStringLiteral("printed");
    for (qsizetype i = 0; i < options.size(); ++i) {
        if (options.at(i) == QLatin1String("--look") && i + 1 < options.size())
            look = options.at(++i);
        else if (options.at(i).startsWith(QLatin1String("--look=")))
            look = options.at(i).mid(7);
    }
    return look.compare(QLatin1String("printed"), Qt::CaseInsensitive) == 0;
}

namespace CommandLine {

int runConvertRules(const ConvertRules &request)
{
    // The watch's converter (which plans) looks at a rule's forms only for
    // the jobs of that rule: a form gone since the watch read the rules
    // fails those jobs alone, their PDFs made without it and kept.
    const RuleChecks::Forms forms
        = request.planPath.isEmpty() ? RuleChecks::Forms::Checked : RuleChecks::Forms::WhenUsed;
    // (Nor is the rules file written over by the PDF.)
    if (FileChecks::sameFile(request.out, request.rulesPath))
        return CliSupport::fail(QStringLiteral("%1: that is the rules file; the PDF would replace it").arg(request.out));
    RuleSet rules;
    if (!RulesSupport::readRules(request.rulesPath, &rules, request.origin, forms))
        return CliSupport::fail(QStringLiteral("%1: the rules file has faults; nothing converted")
                                    .arg(request.origin.isEmpty() ? request.rulesPath : request.origin));
    // A rule's forms in a look that lays none would fail its every job: the
    // rules are refused as a whole, as for any other fault of theirs.
    if (!ConvertRules::printedLook(request.convertOptions)) {
        const QStringList faults = RuleChecks::printedLookOnly(rules);
        for (const QString &fault : faults)
            CliSupport::report(fault);
        if (!faults.isEmpty())
            return CliSupport::fail(QStringLiteral("%1: the rules file has faults; nothing converted")
                                        .arg(request.origin.isEmpty() ? request.rulesPath : request.origin));
    }
    RulePlan plan;
    QString problem;
    if (!RulesSupport::planJob(rules, request.in, storedMatchOptions(request.codePage, request.convertOptions), &plan, &problem))
        return int(Status::Failed);
    if (forms == RuleChecks::Forms::WhenUsed)
        leaveOutUnusableForms(&plan, &problem);
    // A rule's PDF carries the rule's forms, or those the command line
    // names, never the report view's stored ones: they are one user's
    // choice in a window (the service's user has none), and the same rules
    // would file other stationery for each user who runs them.
    QStringList noStoredForms;
    if (ConvertRules::printedLook(request.convertOptions) && !namesForms(plan.convertArguments) && !namesForms(request.convertOptions))
        noStoredForms << QStringLiteral("--form") << QStringLiteral(",");
    // The job is converted as the rule reads it: its settings after the
    // command line's own, so that they win.
    // A rule that files the PDF elsewhere, or under another name, gets it
    // made under a hidden name beside OUT: a file at OUT is neither replaced
    // nor removed, and one where the rule files it is kept (-2, -3 ...).
    const bool placed = request.planPath.isEmpty() && (plan.named || !plan.folder.isEmpty());
    QTemporaryFile made;
    QString written = request.out;
    if (placed) {
        const QFileInfo out(request.out);
        made.setFileTemplate(out.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX.pdf").arg(out.completeBaseName())));
        if (!made.open())
            return CliSupport::fail(QStringLiteral("%1: cannot write there (%2)").arg(out.absolutePath(), made.errorString()));
        made.close();
        written = made.fileName();
        if (!plan.named) { // the rule's folder, OUT's name
            plan.named = true;
            plan.fileName = SafeFileName::made(out.fileName());
        }
    }
    const QStringList arguments = QStringList { QStringLiteral("sticker2"), QStringLiteral("convert") }
        + request.convertOptions + noStoredForms + plan.convertArguments
        + QStringList { QStringLiteral("--"), request.in, written };
    if (runConvert(arguments) != int(Status::Done))
        return CliSupport::fail(QStringLiteral("%1: %2not converted").arg(request.in,
            plan.rule.isEmpty() ? QString() : QStringLiteral("rule %1: ").arg(plan.rule)));
    if (!request.planPath.isEmpty()) {
        QString error;
        if (!JobArchive::writeText(request.planPath, QString::fromUtf8(plan.toJson()), &error))
            return CliSupport::fail(error);
    } else {
        RuleActionsOutcome outcome = applyRulePlan(plan, written);
        // Not filed: the PDF goes to OUT after all, beside a file there.
        QString kept;
        QString keepError;
        if (placed && outcome.pdfPath == written) {
            const QFileInfo out(request.out);
            if (SafeFileName::placeCopy(written, out.absolutePath(), SafeFileName::made(out.fileName()), &kept, &keepError))
                outcome.pdfPath = kept;
            else
                made.setAutoRemove(false);
            for (RuleActionResult &result : outcome.results)
                result.detail.replace(written, outcome.pdfPath);
        }
        bool failed = !keepError.isEmpty();
        if (failed)
            CliSupport::report(QStringLiteral("%1: %2").arg(request.in, keepError));
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
