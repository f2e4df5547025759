#pragma once

#include "codepage/CodePageGuess.h"
#include "rules/RuleSet.h"
#include "watch/JobInfo.h"

#include <QDateTime>
#include <QHash>
#include <QString>

#include <chrono>
#include <functional>
#include <map>

// A job as the rules see it: its file, what the backend recorded with it,
// and its text as the plain-text export gives it, read once per code page.
class RuleJob
{
public:
    // The largest part of a job the patterns search, in bytes.
    static constexpr qint64 LargestText = 64 * 1024 * 1024;

    // Reads the job's details (its side file) and the file's bytes; false
    // with an error text when the job cannot be read.
    bool load(const QString &path, QString *error);

    const QString &path() const { return m_path; }
    const JobInfo &info() const { return m_info; }
    const QByteArray &bytes() const { return m_bytes; }
    // The job's text in a code page.
    const QString &text(CodePage::Id codePage);
    // The fields every job has: {user} {title} {queue} {job} {date} {time}
    // {name}; {sheets} is added by the caller that knows the sheets.
    QHash<QString, QString> fields() const;

    // What the side file could not tell (for the log), empty when all is well.
    const QString &infoProblem() const { return m_infoProblem; }

private:
    QString m_path;
    JobInfo m_info;
    QString m_infoProblem;
    QDateTime m_time;
    QByteArray m_bytes;
    std::map<CodePage::Id, QString> m_texts;
};

// Which rule a job falls under.
struct RuleMatch
{
    int index = -1; // in the rule set; -1: none
    QHash<QString, QString> fields;
    QString problem; // a rule's search ran out or failed: the rule and the cause
};

struct RuleMatchOptions
{
    CodePage::Choice codePage;  // for rules that name none
    std::chrono::milliseconds timeLimit = RulePattern::DefaultTimeLimit; // per rule
    // The sheets of the printed look under a rule (asked only when a rule uses {sheets}).
    std::function<int(const Rule &rule, CodePage::Id codePage, const QByteArray &bytes)> sheets;
};

// The code page a rule reads a job in.
CodePage::Id ruleCodePage(const Rule &rule, const CodePage::Choice &fallback, const QByteArray &bytes);

// Tries the rules in order: the first whose filters and pattern fit applies.
// A search that runs out stops the trying, with the rule named in `problem`.
RuleMatch matchRules(const RuleSet &rules, RuleJob &job, const RuleMatchOptions &options);
