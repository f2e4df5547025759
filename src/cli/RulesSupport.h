#pragma once

#include "codepage/CodePageGuess.h"
#include "rules/RuleChecks.h"
#include "rules/RuleMatcher.h"
#include "rules/RulePlan.h"

class RuleSet;

// What `rules`, `convert --rules` and the watch share.
namespace RulesSupport {

// Reads a rules file; each fault goes to standard error as "file:line: cause".
bool readRules(const QString &path, RuleSet *rules, const QString &shownAs = {},
    RuleChecks::Forms forms = RuleChecks::Forms::Checked);

// The job read, the rule found and its plan; false with the cause printed
// when the job cannot be read. `problem` gets a rule's search that ran out.
bool planJob(const RuleSet &rules, const QString &jobPath, const RuleMatchOptions &options, RulePlan *plan,
    QString *problem);

} // namespace RulesSupport
