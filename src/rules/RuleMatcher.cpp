#include "rules/RuleMatcher.h"

#include "export/PlainTextExport.h"
#include "platform/ControlCharacters.h"
#include "report/PageTable.h"
#include "rules/RuleChecks.h"
#include "rules/RuleTemplate.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <fnmatch.h>

bool RuleJob::load(const QString &path, QString *error)
{
    m_path = path;
    m_texts.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    m_bytes = file.read(LargestText);
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    m_time = QFileInfo(path).lastModified();
    readJobInfo(path, &m_info, &m_infoProblem);
    return true;
}

const QString &RuleJob::text(CodePage::Id codePage)
{
    auto found = m_texts.find(codePage);
    if (found != m_texts.end())
        return found->second;
    PageTable table;
    table.setBytes(m_bytes);
    QVector<int> pages;
    for (int i = 0; i < table.PageCount(); ++i)
        pages.append(i);
    QByteArray plain;
    QBuffer buffer(&plain);
    buffer.open(QIODevice::WriteOnly);
    QString error;
    writePlainText(buffer, table, pages, &error, CodePage::Id::Latin1);
    return m_texts.emplace(codePage, CodePage::decode(codePage, plain)).first->second;
}

QHash<QString, QString> RuleJob::fields() const
{
    const QString stem = QFileInfo(m_path).completeBaseName();
    QString job = m_info.job;
    if (job.isEmpty()) {
        static const QRegularExpression number(QStringLiteral("-job(\\d+)$"));
        job = number.match(stem).captured(1);
    }
    return { { QStringLiteral("user"), m_info.user }, { QStringLiteral("title"), m_info.title },
        { QStringLiteral("queue"), m_info.queue }, { QStringLiteral("job"), job },
        { QStringLiteral("date"), m_time.toString(QStringLiteral("yyyy-MM-dd")) },
        { QStringLiteral("time"), m_time.toString(QStringLiteral("HHmmss")) }, { QStringLiteral("name"), stem } };
}

CodePage::Id ruleCodePage(const Rule &rule, const CodePage::Choice &fallback, const QByteArray &bytes)
{
    const std::optional<CodePage::Choice> own = CodePage::choiceFromName(rule.value(QStringLiteral("codepage")));
    return (own ? *own : fallback).resolve(bytes); // (the guess reads the bytes' head only)
}

namespace {

bool filtersLetThrough(const Rule &rule, const JobInfo &info)
{
    if (rule.has(QStringLiteral("queue"))
        && rule.value(QStringLiteral("queue")).compare(info.queue, Qt::CaseInsensitive) != 0)
        return false;
    // The name as written, or a list of names split at commas, each the
    // name itself or a glob ("anna, bert", "clerk*"); a backslash is a
    // letter (OFFICE\anna), and so are blanks within a name. A job without
    // a user has none.
    if (rule.has(QStringLiteral("user"))) {
        const QString written = rule.value(QStringLiteral("user"));
        const QStringList names = written.split(QLatin1Char(','), Qt::SkipEmptyParts);
        const QByteArray user = info.user.toUtf8();
        const auto matches = [&info, &user](const QString &name) {
            const QString one = name.trimmed();
            return one == info.user || ::fnmatch(one.toUtf8().constData(), user.constData(), FNM_NOESCAPE) == 0;
        };
        if (user.isEmpty() || (written != info.user && std::none_of(names.cbegin(), names.cend(), matches)))
            return false;
    }
    // A glob as the shell's, where '*' takes a '/' as well.
    if (rule.has(QStringLiteral("title"))
        && ::fnmatch(rule.value(QStringLiteral("title")).toUtf8().constData(), info.title.toUtf8().constData(), 0) != 0)
        return false;
    return true;
}

// A field as names, subjects, titles and the log take it: a run of control
// characters (an escape sequence of the job, a line end inside a group, a
// bell in a title a client sent) is one blank; a tab stays. They had reached
// the terminal, the journal and the PDF's title as they were.
QString withoutControls(const QString &value)
{
    QString clean;
    clean.reserve(value.size());
    bool inRun = false;
    for (const QChar c : value) {
        const bool control = ControlCharacters::is(c) && c != QLatin1Char('\t');
        if (!control)
            clean += c;
        else if (!inRun)
            clean += QLatin1Char(' ');
        inRun = control;
    }
    return clean;
}

bool usesSheets(const Rule &rule)
{
    for (const QString &key : RuleChecks::templateKeys()) {
        if (rule.value(key).contains(QLatin1String("{sheets}")))
            return true;
    }
    return false;
}

} // namespace

RuleMatch matchRules(const RuleSet &rules, RuleJob &job, const RuleMatchOptions &options)
{
    RuleMatch result;
    for (int i = 0; i < rules.rules().size(); ++i) {
        const Rule &rule = rules.rules().at(i);
        if (!filtersLetThrough(rule, job.info()))
            continue;
        const CodePage::Id codePage = ruleCodePage(rule, options.codePage, job.bytes());
        QHash<QString, QString> groups;
        if (rule.pattern) {
            QString error;
            const RulePattern::Outcome outcome
                = rule.pattern->match(job.text(codePage), &groups, &error, options.timeLimit);
            if (outcome == RulePattern::Outcome::NoMatch)
                continue;
            if (outcome != RulePattern::Outcome::Matched) {
                result.problem = QStringLiteral("rule %1: the search of match ran out: %2")
                                     .arg(rule.label(rules.file()), error);
                if (outcome == RulePattern::Outcome::Failed)
                    result.problem = QStringLiteral("rule %1: match failed: %2").arg(rule.label(rules.file()), error);
                return result;
            }
        }
        result.index = i;
        result.fields = job.fields();
        if (usesSheets(rule) && options.sheets)
            result.fields.insert(QStringLiteral("sheets"), QString::number(options.sheets(rule, codePage, job.bytes())));
        // A group named as a job's field takes its place: the rule asked for
        // it. The job's lines end in CR LF, so a group that runs to a line's
        // end (.*) would end in the CR: it is left out.
        for (auto group = groups.cbegin(); group != groups.cend(); ++group) {
            QString value = group.value();
            while (value.endsWith(QLatin1Char('\r')) || value.endsWith(QLatin1Char('\n')))
                value.chop(1);
            result.fields.insert(group.key(), value);
        }
        for (QString &value : result.fields)
            value = withoutControls(value);
        return result;
    }
    return result;
}
