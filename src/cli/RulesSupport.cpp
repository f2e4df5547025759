#include "cli/RulesSupport.h"

#include "cli/CliSupport.h"
#include "rules/RuleSet.h"

#include <cstdio>

namespace RulesSupport {

bool readRules(const QString &path, RuleSet *rules, const QString &shownAs, RuleChecks::Forms forms)
{
    QList<RuleFault> faults;
    if (RuleSet::read(path, rules, &faults, shownAs, forms))
        return true;
    for (const RuleFault &fault : std::as_const(faults))
        std::fprintf(stderr, "%s\n", qPrintable(fault.text()));
    return false;
}

bool planJob(const RuleSet &rules, const QString &jobPath, const RuleMatchOptions &options, RulePlan *plan,
    QString *problem)
{
    RuleJob job;
    QString error;
    if (!job.load(jobPath, &error)) {
        CliSupport::report(error);
        return false;
    }
    if (!job.infoProblem().isEmpty())
        CliSupport::report(QStringLiteral("%1: note: the job's details are not taken: %2").arg(jobPath, job.infoProblem()));
    const RuleMatch match = matchRules(rules, job, options);
    *problem = match.problem;
    *plan = planFor(rules, match, job);
    return true;
}

} // namespace RulesSupport
