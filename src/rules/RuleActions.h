#pragma once

#include "rules/RulePlan.h"

#include <QList>
#include <QString>

#include <atomic>

// Carries out a plan once its PDF is written: the PDF filed under its name
// (in the rule's folder, the printing user's own, or beside where it was
// written), mailed, printed. Each action is tried whatever the others did;
// a PDF that could not be filed stays where it was written, so nothing is
// lost.
struct RuleActionResult
{
    QString action; // "file", "mail-to", "print-to"
    bool ok = false;
    QString detail; // where it went, or the cause
};

struct RuleActionsOutcome
{
    QList<RuleActionResult> results;
    QString pdfPath; // where the PDF is now
    bool ok() const;
    // One line per failed action: "rule [X] (file:3): mail-to: cause".
    QStringList failures(const QString &rule) const;
    // The actions that worked, as "file: PATH", "mail-to: ADDRESSES" ...: a
    // job put back into the spool after a failure does them again.
    QStringList done() const;
};

// `stop` (when given) ends a mail still being handed over, or a print still
// being sent, as soon as it turns true, as a failed action. A PDF is never
// filed into `watchedFolder` (the folder the watch converts from): it would
// come back as a job, and be filed, mailed and printed again, for ever.
RuleActionsOutcome applyRulePlan(const RulePlan &plan, const QString &pdfPath, const std::atomic_bool *stop = nullptr,
    const QString &watchedFolder = QString());
