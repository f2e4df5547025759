#include "rules/RulePattern.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <QRegularExpression>

#include <algorithm>

struct RulePatternCode
{
    pcre2_code *code = nullptr;
    ~RulePatternCode() { pcre2_code_free(code); }
};

namespace {

// The number the start callout carries.
constexpr uint32_t StartCallout = 255;

QString libraryMessage(int code)
{
    PCRE2_UCHAR16 buffer[256];
    const int length = pcre2_get_error_message(code, buffer, sizeof buffer / sizeof buffer[0]);
    return length < 0 ? QStringLiteral("error %1").arg(code)
                      : QString::fromUtf16(reinterpret_cast<const char16_t *>(buffer), length);
}

// Where the callout goes: after the start-of-pattern settings such as
// (*UTF) or (*LIMIT_MATCH=n), which must come first.
qsizetype calloutPlace(const QString &pattern)
{
    static const QRegularExpression settings(QStringLiteral("^(?:\\(\\*[A-Z_]+(?:=\\d+)?\\))*"));
    return settings.match(pattern).capturedLength();
}

struct Deadline
{
    std::chrono::steady_clock::time_point end;
    unsigned int calls = 0;
    bool passed = false;
};

// Called at each start position; every 64th looks at the clock.
int checkDeadline(pcre2_callout_block_16 *block, void *data)
{
    auto *deadline = static_cast<Deadline *>(data);
    if (block->callout_number != StartCallout || ++deadline->calls % 64 != 0)
        return 0;
    if (std::chrono::steady_clock::now() < deadline->end)
        return 0;
    deadline->passed = true;
    return PCRE2_ERROR_CALLOUT;
}

} // namespace

RulePattern::~RulePattern() = default;

std::shared_ptr<const RulePattern> RulePattern::compile(const QString &pattern, QString *error)
{
    // The user's pattern is checked on its own first, so that a message
    // gives positions in it, not in the pattern with the callout.
    int code = 0;
    PCRE2_SIZE offset = 0;
    const auto units = [](const QString &text) { return reinterpret_cast<PCRE2_SPTR16>(text.utf16()); };
    // \w, \d and \b know the letters of every code page a job is read in
    // (Müller is one word), as case-free matching already did.
    const uint32_t options = PCRE2_UTF | PCRE2_UCP;
    pcre2_code *plain = pcre2_compile(units(pattern), PCRE2_SIZE(pattern.size()), options, &code, &offset, nullptr);
    if (!plain) {
        *error = QStringLiteral("%1 at character %2").arg(libraryMessage(code)).arg(offset + 1);
        return nullptr;
    }
    pcre2_code_free(plain);
    QString bounded = pattern;
    bounded.insert(calloutPlace(pattern), QStringLiteral("(?C%1)").arg(StartCallout));
    std::shared_ptr<RulePattern> compiled(new RulePattern);
    compiled->m_pattern = pattern;
    compiled->m_code = std::make_unique<RulePatternCode>();
    compiled->m_code->code
        = pcre2_compile(units(bounded), PCRE2_SIZE(bounded.size()), options, &code, &offset, nullptr);
    if (!compiled->m_code->code) {
        *error = libraryMessage(code);
        return nullptr;
    }
    // The JIT is an optimisation: where it is not there the interpreter runs.
    pcre2_jit_compile(compiled->m_code->code, PCRE2_JIT_COMPLETE);
    uint32_t count = 0;
    uint32_t entrySize = 0;
    PCRE2_SPTR16 table = nullptr;
    pcre2_pattern_info(compiled->m_code->code, PCRE2_INFO_NAMECOUNT, &count);
    pcre2_pattern_info(compiled->m_code->code, PCRE2_INFO_NAMEENTRYSIZE, &entrySize);
    pcre2_pattern_info(compiled->m_code->code, PCRE2_INFO_NAMETABLE, &table);
    // Each entry: the group's number, then its name, zero-terminated.
    QList<QPair<int, QString>> named;
    for (uint32_t i = 0; i < count; ++i) {
        const PCRE2_SPTR16 entry = table + i * entrySize;
        named.append({ int(entry[0]), QString::fromUtf16(reinterpret_cast<const char16_t *>(entry + 1)) });
    }
    std::sort(named.begin(), named.end());
    for (const auto &group : std::as_const(named)) {
        if (!compiled->m_groupNames.contains(group.second))
            compiled->m_groupNames.append(group.second);
    }
    return compiled;
}

unsigned int RulePattern::matchLimitFor(qsizetype textLength)
{
    const long long scaled = 4LL * qMax<qsizetype>(0, textLength);
    return unsigned(qBound<long long>(MatchLimit, scaled, MaxMatchLimit));
}

RulePattern::Outcome RulePattern::match(
    const QString &text, QHash<QString, QString> *groups, QString *error, std::chrono::milliseconds timeLimit) const
{
    groups->clear();
    pcre2_match_context *context = pcre2_match_context_create(nullptr);
    pcre2_match_data *data = pcre2_match_data_create_from_pattern(m_code->code, nullptr);
    if (!context || !data) {
        pcre2_match_context_free(context);
        pcre2_match_data_free(data);
        *error = QStringLiteral("out of memory");
        return Outcome::Failed;
    }
    Deadline deadline { std::chrono::steady_clock::now() + timeLimit };
    pcre2_set_match_limit(context, matchLimitFor(text.size()));
    pcre2_set_heap_limit(context, HeapLimitKiB);
    pcre2_set_callout(context, checkDeadline, &deadline);
    // The JIT's own stack of 32 KB ran out on a group repeated over a
    // kilobyte of a job (`(?:.|\s)*?`); it gets room that grows as it is
    // used, to 64 MB (a group repeated over about two million characters).
    pcre2_jit_stack *stack = pcre2_jit_stack_create(32 * 1024, JitStackBytes, nullptr);
    if (stack)
        pcre2_jit_stack_assign(context, nullptr, stack);
    const int result = pcre2_match(m_code->code, reinterpret_cast<PCRE2_SPTR16>(text.utf16()),
        PCRE2_SIZE(text.size()), 0, 0, data, context);
    pcre2_jit_stack_free(stack);
    Outcome outcome = Outcome::Matched;
    if (result == PCRE2_ERROR_NOMATCH) {
        outcome = Outcome::NoMatch;
    } else if (result == PCRE2_ERROR_MATCHLIMIT || result == PCRE2_ERROR_DEPTHLIMIT
        || result == PCRE2_ERROR_HEAPLIMIT || result == PCRE2_ERROR_JIT_STACKLIMIT || (result == PCRE2_ERROR_CALLOUT && deadline.passed)) {
        *error = result == PCRE2_ERROR_CALLOUT
            ? QStringLiteral("the search took longer than %1 s").arg(timeLimit.count() / 1000.0)
            : result == PCRE2_ERROR_JIT_STACKLIMIT || result == PCRE2_ERROR_HEAPLIMIT
            ? QStringLiteral("the search needs more than %1 MB on this job (a group repeated over millions of "
                             "characters)")
                  .arg(result == PCRE2_ERROR_HEAPLIMIT ? HeapLimitKiB / 1024 : unsigned(JitStackBytes >> 20))
            : libraryMessage(result);
        outcome = Outcome::RanOut;
    } else if (result < 0) {
        *error = libraryMessage(result);
        outcome = Outcome::Failed;
    } else {
        for (const QString &name : m_groupNames) {
            PCRE2_UCHAR16 *found = nullptr;
            PCRE2_SIZE length = 0;
            const int got = pcre2_substring_get_byname(
                data, reinterpret_cast<PCRE2_SPTR16>(name.utf16()), &found, &length);
            groups->insert(name,
                got == 0 ? QString::fromUtf16(reinterpret_cast<const char16_t *>(found), qsizetype(length)) : QString());
            if (got == 0)
                pcre2_substring_free(found);
        }
    }
    pcre2_match_data_free(data);
    pcre2_match_context_free(context);
    return outcome;
}
