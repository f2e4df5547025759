#include "rules/RuleSet.h"

#include "platform/FileChecks.h"
#include "rules/RuleChecks.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>

QString RuleFault::text() const
{
    return QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(cause);
}

QString Rule::label(const QString &file) const
{
    return QStringLiteral("[%1] (%2:%3)").arg(name, file).arg(line);
}

const QStringList &RuleSet::keys()
{
    static const QStringList all = { QStringLiteral("match"), QStringLiteral("queue"), QStringLiteral("user"),
        QStringLiteral("title"), QStringLiteral("codepage"), QStringLiteral("form-length"), QStringLiteral("printer"),
        QStringLiteral("form"), QStringLiteral("form-next"), QStringLiteral("form-offset"), QStringLiteral("name"),
        QStringLiteral("folder"), QStringLiteral("pdf-title"), QStringLiteral("pdf-subject"),
        QStringLiteral("pdf-keywords"), QStringLiteral("mail-to"), QStringLiteral("mail-subject"),
        QStringLiteral("mail-from"), QStringLiteral("print-to"), QStringLiteral("sendmail") };
    return all;
}

bool RuleSet::read(
    const QString &path, RuleSet *rules, QList<RuleFault> *faults, const QString &shownAs, RuleChecks::Forms forms)
{
    const QString name = shownAs.isEmpty() ? path : shownAs;
    const QFileInfo info(path);
    QFile file(path);
    QString cause;
    if (!info.exists())
        cause = QStringLiteral("no such file");
    else if (cause = FileChecks::inputProblem(path); !cause.isEmpty())
        ;
    else if (info.size() > LargestFile)
        cause = QStringLiteral("larger than %1 bytes; not a rules file").arg(LargestFile);
    else if (!file.open(QIODevice::ReadOnly))
        cause = file.errorString();
    if (!cause.isEmpty()) {
        faults->append({ name, 0, cause });
        return false;
    }
    return parse(file.read(LargestFile + 1), name, rules, faults, forms);
}

bool RuleSet::parse(const QByteArray &text, const QString &shownAs, RuleSet *rules, QList<RuleFault> *faults,
    RuleChecks::Forms forms)
{
    const qsizetype faultsBefore = faults->size();
    RuleSet parsed;
    parsed.m_file = shownAs;
    const auto fault = [&](int line, const QString &cause) { faults->append({ shownAs, line, cause }); };
    QByteArrayView rest(text);
    if (rest.startsWith("\xef\xbb\xbf"))
        rest = rest.sliced(3);
    int lineNumber = 0;
    Rule *current = nullptr;
    bool inBadSection = false; // the keys under a bad [name] are not faulted again
    for (const QByteArrayView raw : QByteArray(rest.toByteArray()).split('\n')) {
        ++lineNumber;
        QByteArrayView bytes = raw;
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString line = QString(decoder(bytes)).trimmed();
        if (decoder.hasError()) {
            fault(lineNumber, QStringLiteral("not UTF-8 text"));
            continue;
        }
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            if (!line.endsWith(QLatin1Char(']')) || name.isEmpty()) {
                fault(lineNumber, QStringLiteral("syntax error: a rule's name goes in brackets, as [Invoices]"));
                current = nullptr;
                inBadSection = true;
                continue;
            }
            for (const Rule &earlier : std::as_const(parsed.m_rules)) {
                if (earlier.name == name)
                    fault(lineNumber, QStringLiteral("the rule [%1] is already at line %2").arg(name).arg(earlier.line));
            }
            inBadSection = false;
            parsed.m_rules.append(Rule { name, lineNumber, {}, nullptr });
            current = &parsed.m_rules.last();
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0) {
            fault(lineNumber, QStringLiteral("syntax error: expected key = value, [rule] or a comment"));
            continue;
        }
        const QString key = line.left(equals).trimmed().toLower();
        const QString value = line.mid(equals + 1).trimmed();
        if (key.isEmpty()) {
            fault(lineNumber, QStringLiteral("syntax error: a value without a key"));
            continue;
        }
        if (!current) {
            if (!inBadSection)
                fault(lineNumber, QStringLiteral("\"%1\" stands before the first [rule]").arg(key));
            continue;
        }
        if (!keys().contains(key)) {
            fault(lineNumber, QStringLiteral("unknown key \"%1\"").arg(key));
            continue;
        }
        if (current->values.contains(key)) {
            fault(lineNumber,
                QStringLiteral("\"%1\" is set twice in [%2] (first at line %3)")
                    .arg(key, current->name)
                    .arg(current->values.value(key).line));
            continue;
        }
        current->values.insert(key, Rule::Value { value, lineNumber });
    }
    const QString folder = QFileInfo(shownAs).absolutePath();
    for (Rule &rule : parsed.m_rules)
        RuleChecks::check(&rule, folder, [&](int line, const QString &cause) { fault(line, cause); }, forms);
    if (faults->size() != faultsBefore) {
        // In the file's order: the checks of the values come after the
        // reading of the lines, and a reader goes down the file.
        std::stable_sort(faults->begin() + faultsBefore, faults->end(),
            [](const RuleFault &a, const RuleFault &b) { return a.line < b.line; });
        return false;
    }
    *rules = parsed;
    return true;
}
