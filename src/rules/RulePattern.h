#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>

struct RulePatternCode;

// A rule's regular expression, run by PCRE2 (16-bit, UTF) straight over a
// job's text, with its work bounded. QRegularExpression has no setter for
// PCRE2's limits, so the library is used directly: a match limit bounds the
// backtracking at each start position, and a callout placed at the start of
// the pattern checks a deadline at each start position, so the whole search
// over a long job ends in about the time given, however the pattern behaves.
class RulePattern
{
public:
    // Backtracking steps one start position may take (PCRE2's own default is
    // ten times this); a sane pattern over a printed line needs far fewer.
    // A job's text longer than a quarter of it gets four steps a character
    // (up to MaxMatchLimit): a plain greedy `(?s).*` backtracks from the job's
    // end, one step a character, and a job of a month's invoices is megabytes.
    static constexpr unsigned int MatchLimit = 1000000;
    static constexpr unsigned int MaxMatchLimit = 400000000;
    // Memory a search may take: the JIT's stack, or the interpreter's
    // backtracking frames where there is no JIT.
    static constexpr size_t JitStackBytes = size_t(64) << 20;
    static constexpr unsigned int HeapLimitKiB = 256 * 1024;
    static unsigned int matchLimitFor(qsizetype textLength);
    // The time one rule's search over one job may take.
    static constexpr std::chrono::milliseconds DefaultTimeLimit { 2000 };

    // Compiles the pattern; nothing, with the library's message and the
    // position, when it is not a valid regular expression.
    static std::shared_ptr<const RulePattern> compile(const QString &pattern, QString *error);
    ~RulePattern();

    const QString &pattern() const { return m_pattern; }
    // The names of its named groups, in the order they appear.
    const QStringList &groupNames() const { return m_groupNames; }

    enum class Outcome { Matched, NoMatch, RanOut, Failed };
    // Searches the text for the first match; its named groups go to `groups`
    // (a group that took no part gives an empty text). RanOut when the work
    // allowed was spent, Failed on another error of the library (`error`).
    Outcome match(const QString &text, QHash<QString, QString> *groups, QString *error,
        std::chrono::milliseconds timeLimit = DefaultTimeLimit) const;

private:
    RulePattern() = default;
    QString m_pattern;
    QStringList m_groupNames;
    std::unique_ptr<RulePatternCode> m_code;
};
