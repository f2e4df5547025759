#pragma once

#include "rules/RuleChecks.h"
#include "rules/RulePattern.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>

// One fault of a rules file: where it is and why.
struct RuleFault
{
    QString file;
    int line = 0;
    QString cause;
    // "file:line: cause"
    QString text() const;
};

// One section of a rules file.
struct Rule
{
    QString name; // the section's name
    int line = 0; // the line of its [name]
    struct Value
    {
        QString text;
        int line = 0;
    };
    QHash<QString, Value> values; // by key, as written
    std::shared_ptr<const RulePattern> pattern; // none: the rule matches every job its filters let through

    bool has(const QString &key) const { return values.contains(key); }
    QString value(const QString &key) const { return values.value(key).text; }
    int lineOf(const QString &key) const { return values.contains(key) ? values.value(key).line : line; }
    // "[Invoices] (rules.conf:12)"
    QString label(const QString &file) const;
};

// A rules file: sections in INI form, one per rule, tried in file order.
// Lines starting with # or ; are comments; a value is taken as written
// (only the spaces around it go), so a backslash stays a backslash.
class RuleSet
{
public:
    // The keys a rule may have.
    static const QStringList &keys();
    // The largest rules file read.
    static constexpr qint64 LargestFile = 1024 * 1024;

    // Reads and checks a rules file; every fault goes to `faults`. True only
    // when there is none. `shownAs` names the file in faults and relative
    // paths are taken from its folder (the watch reads a copy of the file).
    static bool read(const QString &path, RuleSet *rules, QList<RuleFault> *faults, const QString &shownAs = {},
        RuleChecks::Forms forms = RuleChecks::Forms::Checked);
    // The same over text already read.
    static bool parse(const QByteArray &text, const QString &shownAs, RuleSet *rules, QList<RuleFault> *faults,
        RuleChecks::Forms forms = RuleChecks::Forms::Checked);

    const QString &file() const { return m_file; }
    const QList<Rule> &rules() const { return m_rules; }
    bool isEmpty() const { return m_rules.isEmpty(); }

private:
    QString m_file;
    QList<Rule> m_rules;
};
