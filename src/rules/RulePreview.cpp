#include "rules/RulePreview.h"

#include "escp/SheetIndex.h"
#include "report/ReportViewSettings.h"
#include "rules/RulePlan.h"

namespace {

// The value convert's options give `--key` (as `--key VALUE` or
// `--key=VALUE`); empty when they do not give it.
QString optionValue(const QStringList &options, const QString &key)
{
    const QString name = QStringLiteral("--") + key;
    QString value;
    for (qsizetype i = 0; i < options.size(); ++i) {
        if (options.at(i) == name && i + 1 < options.size())
            value = options.at(++i);
        else if (options.at(i).startsWith(name + QLatin1Char('=')))
            value = options.at(i).mid(name.size() + 1);
    }
    return value;
}

} // namespace

RuleMatchOptions storedMatchOptions(const std::optional<CodePage::Choice> &codePage, const QStringList &convertOptions)
{
    ReportViewSettings settings = ReportViewSettings::read();
    // The sheets are counted as the PDF is made: the command line's printer
    // options over the stored ones, and the rule's over both.
    for (const QString &key : ReportViewSettings::printerOptionKeys()) {
        const QString value = optionValue(convertOptions, key);
        if (!value.isEmpty())
            settings.setPrinterOption(key, value);
    }
    RuleMatchOptions options;
    options.codePage = codePage ? *codePage : CodePage::Choice { false, settings.codePage };
    options.sheets = [settings](const Rule &rule, CodePage::Id id, const QByteArray &bytes) {
        ReportViewSettings read = settings;
        read.codePage = id;
        // As convert takes the rule's keys (RulePlan's convert arguments).
        for (const QString &key : ReportViewSettings::printerOptionKeys()) {
            if (rule.has(key))
                read.setPrinterOption(key, rule.value(key));
        }
        SheetIndex document;
        document.build(QByteArrayView(bytes), read.printerSetup());
        return document.sheetCount();
    };
    return options;
}

QStringList previewRules(
    const QString &rulesPath, const QString &jobPath, const std::optional<CodePage::Choice> &codePage)
{
    RuleSet rules;
    QList<RuleFault> faults;
    QStringList lines;
    if (!RuleSet::read(rulesPath, &rules, &faults)) {
        lines << QStringLiteral("The rules file has faults; no rule applies until they are mended:");
        for (const RuleFault &fault : std::as_const(faults))
            lines << fault.text();
        return lines;
    }
    RuleJob job;
    QString error;
    if (!job.load(jobPath, &error))
        return { error };
    lines << QStringLiteral("job: %1").arg(jobPath);
    if (!job.infoProblem().isEmpty())
        lines << QStringLiteral("job details: %1").arg(job.infoProblem());
    const RuleMatch match = matchRules(rules, job, storedMatchOptions(codePage));
    if (!match.problem.isEmpty())
        lines << match.problem;
    return lines + planFor(rules, match, job).describe();
}
