#pragma once

#include "codepage/CodePageGuess.h"
#include "rules/RuleMatcher.h"

#include <QStringList>

#include <optional>

// Matching as the program does it: rules that name no code page read a job
// in the one given (or the stored one), and {sheets} counts the sheets of the
// printed look with the stored settings, the printer options among
// `convertOptions` (convert's, as --form-length 12) and the rule's form length.
RuleMatchOptions storedMatchOptions(
    const std::optional<CodePage::Choice> &codePage, const QStringList &convertOptions = {});

// What a rules file would do with a job, as lines to show: its faults, or the
// rule that matches, the fields and every action. Nothing is done.
QStringList previewRules(
    const QString &rulesPath, const QString &jobPath, const std::optional<CodePage::Choice> &codePage = {});
