#pragma once

#include "rules/RuleMatcher.h"

#include <QString>
#include <QStringList>

// What a rule does with a job: how it is read (as convert's options), what
// the PDF is called and where it goes, who gets it by mail and which queue
// prints it. A job no rule takes gets the default: its own name and title.
struct RulePlan
{
    QString rule;  // "[Invoices] (rules.conf:3)"; empty: no rule applies
    QHash<QString, QString> fields;
    // The rule's reading settings as convert's options: --codepage,
    // --form-length, --printer, --form, --form-offset, --pdf-title,
    // --pdf-subject, --pdf-keywords. Made here and only here.
    QStringList convertArguments;
    QString folder;   // empty: beside the default output; "~": the printing user's own
    QString user;     // the printing user
    QString fileName; // safe; made unique where it is put
    bool named = false; // the rule names the PDF; else it keeps the name it was written under
    bool mails = false; // the rule mails the PDF (to the addresses it gave, which may be none)
    QStringList mailTo;
    QString mailSubject;
    QString mailFrom; // the sender, "Name <address>" or bare; empty: the transport's own
    QString sendmail;
    QString printTo;
    QString title; // of the printed job and the mail's body
    int copies = 1; // of the printed job: as many as the job asked for
    QStringList forms; // the forms its --form names, as written (not kept in the JSON)
    QString formFirst, formNext; // the rule's form and form-next, as written

    // One line per thing the plan does, for `rules test` and the view.
    QStringList describe() const;
    QByteArray toJson() const;
    static bool fromJson(const QByteArray &json, RulePlan *plan);
};

// The name a PDF gets without rules: the job's own name and, when the job
// has one, its title ("20261207-101500-000001-job12 Invoice.pdf"), so that
// names still sort by time; safe for a file system.
QString defaultPdfName(const QString &jobPath, const QString &title);

// The plan for a job: the rule that matched (match.index), or the default.
RulePlan planFor(const RuleSet &rules, const RuleMatch &match, const RuleJob &job);
