#include "rules/RulePlan.h"

#include "rules/MailAddress.h"
#include "rules/RuleTemplate.h"
#include "rules/SafeFileName.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QString defaultPdfName(const QString &jobPath, const QString &title)
{
    const QString stem = QFileInfo(jobPath).completeBaseName();
    const QString named = SafeFileName::made(stem + QLatin1Char(' ') + title.simplified() + QStringLiteral(".pdf"));
    return title.simplified().isEmpty() || named.isEmpty() ? SafeFileName::made(stem + QStringLiteral(".pdf")) : named;
}

RulePlan planFor(const RuleSet &rules, const RuleMatch &match, const RuleJob &job)
{
    RulePlan plan;
    plan.user = job.info().user;
    plan.title = job.info().title;
    plan.copies = qMax(1, job.info().copies);
    plan.fileName = defaultPdfName(job.path(), job.info().title);
    if (match.index < 0)
        return plan;
    const Rule &rule = rules.rules().at(match.index);
    plan.rule = rule.label(rules.file());
    plan.fields = match.fields;
    const auto filled = [&](const QString &key) { return RuleTemplate::expanded(rule.value(key), match.fields); };
    // Reading settings go to convert as they are written; texts with fields filled in.
    for (const QString &key : { QStringLiteral("codepage"), QStringLiteral("form-length"), QStringLiteral("printer") }) {
        if (rule.has(key))
            plan.convertArguments << QStringLiteral("--") + key << rule.value(key);
    }
    // The offset only moves a form: without one it is left out. A rule's
    // form without an offset lies at the sheet's corner, whatever offset the
    // command line gives its own forms (the watch's --form-offset had moved
    // every rule's letterhead).
    if (!rule.value(QStringLiteral("form")).isEmpty() || !rule.value(QStringLiteral("form-next")).isEmpty()) {
        plan.convertArguments << QStringLiteral("--form")
                              << rule.value(QStringLiteral("form")) + QLatin1Char(',')
                + rule.value(QStringLiteral("form-next"));
        for (const QString &key : { QStringLiteral("form"), QStringLiteral("form-next") }) {
            if (!rule.value(key).isEmpty())
                plan.forms << rule.value(key);
        }
        plan.formFirst = rule.value(QStringLiteral("form"));
        plan.formNext = rule.value(QStringLiteral("form-next"));
        plan.convertArguments << QStringLiteral("--form-offset")
                              << (rule.has(QStringLiteral("form-offset")) ? rule.value(QStringLiteral("form-offset"))
                                                                          : QStringLiteral("0,0"));
    }
    for (const QString &key : { QStringLiteral("pdf-title"), QStringLiteral("pdf-subject"), QStringLiteral("pdf-keywords") }) {
        if (rule.has(key))
            plan.convertArguments << QStringLiteral("--") + key << filled(key).simplified();
    }
    if (rule.has(QStringLiteral("name"))) {
        // A PDF is named .pdf: a name written without it ("{invoice}") had
        // given a file that no program opened as one. A name whose fields
        // all came out empty leaves the job its own name, with or without
        // the text around them ("{invoice}.pdf" had given "_.pdf").
        const QString name = rule.value(QStringLiteral("name"));
        QStringList used;
        QString cause;
        bool anyFilled = !RuleTemplate::fieldsOf(name, &used, &cause) || used.isEmpty();
        for (const QString &field : std::as_const(used))
            anyFilled = anyFilled || !match.fields.value(field).trimmed().isEmpty();
        QString written = anyFilled ? filled(QStringLiteral("name")).trimmed() : QString();
        if (!written.isEmpty() && !written.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            written += QStringLiteral(".pdf");
        const QString safe = SafeFileName::made(written);
        if (!safe.isEmpty()) {
            plan.fileName = safe;
            plan.named = true;
        }
    }
    plan.folder = rule.value(QStringLiteral("folder"));
    plan.mails = rule.has(QStringLiteral("mail-to"));
    // The list is split as the rule writes it, and each recipient's fields
    // are filled in then, its name's and its address's apart: a field's
    // value is one recipient's name or address, never more recipients (a
    // job that printed "a@x,b@y" after "E-Mail:", or a user name with a
    // semicolon, had added them). An address that is no one address fails
    // the mail; a name may hold anything ("Müller, Jan").
    const auto fill = [&match](const QString &text) { return RuleTemplate::expanded(text, match.fields); };
    for (const QString &piece : MailAddress::pieces(rule.value(QStringLiteral("mail-to")))) {
        const QString recipient = MailAddress::filledMailbox(piece, fill);
        if (!recipient.isEmpty())
            plan.mailTo << recipient;
    }
    // A subject whose fields came out empty (a job without a title) is left
    // empty: the mail then takes the PDF's name as filed (mailIt), as with no
    // subject at all. A mail had gone out without one.
    plan.mailSubject = filled(QStringLiteral("mail-subject")).simplified();
    if (rule.has(QStringLiteral("mail-from")))
        plan.mailFrom = MailAddress::filledMailbox(MailAddress::pieces(rule.value(QStringLiteral("mail-from"))).value(0), fill);
    plan.sendmail = rule.value(QStringLiteral("sendmail"));
    plan.printTo = rule.value(QStringLiteral("print-to"));
    if (rule.has(QStringLiteral("pdf-title")))
        plan.title = filled(QStringLiteral("pdf-title")).simplified();
    return plan;
}

QStringList RulePlan::describe() const
{
    QStringList lines;
    lines << (rule.isEmpty() ? QStringLiteral("rule: none matches; the default applies")
                             : QStringLiteral("rule: %1").arg(rule));
    QStringList names = fields.keys();
    names.sort();
    for (const QString &name : std::as_const(names))
        lines << QStringLiteral("field {%1}: %2").arg(name, fields.value(name));
    if (!convertArguments.isEmpty())
        lines << QStringLiteral("convert with: %1").arg(convertArguments.join(QLatin1Char(' ')));
    // Which sheets a form lies under, in words: convert's --form F lies under
    // every sheet, a rule's form under the first alone.
    if (!formFirst.isEmpty() && formFirst == formNext)
        lines << QStringLiteral("lay the form %1 under every sheet").arg(formFirst);
    else if (!formFirst.isEmpty() && !formNext.isEmpty())
        lines << QStringLiteral("lay the form %1 under the first sheet and %2 under the sheets after it")
                     .arg(formFirst, formNext);
    else if (!formFirst.isEmpty())
        lines << QStringLiteral("lay the form %1 under the first sheet only (form-next names the later sheets' form; "
                                "the same file there puts it under every sheet)")
                     .arg(formFirst);
    else if (!formNext.isEmpty())
        lines << QStringLiteral("lay the form %1 under the sheets after the first; none under the first").arg(formNext);
    const QString where = folder.isEmpty()     ? QStringLiteral("the output folder")
        : folder == QLatin1String("~")
        ? (user.isEmpty() ? QStringLiteral("the printing user's folder, which fails: the job names no user")
                          : QStringLiteral("the folder of user \"%1\" (~%1/PDF)").arg(user))
                                       : folder;
    if (named || !folder.isEmpty())
        lines << QStringLiteral("file the PDF as %1 in %2 (numbered -2, -3 ... when taken)")
                     .arg(named ? QStringLiteral("\"%1\"").arg(fileName)
                                : QStringLiteral("its default name (\"%1\" from a watch)").arg(fileName),
                         where);
    else
        lines << QStringLiteral("leave the PDF in the output folder under its default name (\"%1\" from a watch)")
                     .arg(fileName);
    if (mails)
        lines << QStringLiteral("mail it to %1, subject %2%3%4")
                     .arg(mailTo.join(QStringLiteral(", ")),
                         mailSubject.isEmpty() ? QStringLiteral("the PDF's name as filed (\"%1\" from a watch)").arg(fileName)
                                               : QStringLiteral("\"%1\"").arg(mailSubject),
                         mailFrom.isEmpty() ? QString() : QStringLiteral(", from %1").arg(mailFrom),
                         sendmail.isEmpty() ? QString() : QStringLiteral(", through \"%1\"").arg(sendmail));
    // As the mail's own check will refuse it (an address a field filled).
    if (mails && mailTo.isEmpty())
        lines << QStringLiteral("then the mail fails: the job gave no address");
    for (const QString &recipient : mailTo) {
        if (!MailAddress::isMailbox(recipient))
            lines << QStringLiteral("then the mail fails: \"%1\" is not a mail address").arg(recipient);
    }
    if (mails && !mailFrom.isEmpty() && !MailAddress::isMailbox(mailFrom))
        lines << QStringLiteral("then the mail fails: the sender \"%1\" is not a mail address").arg(mailFrom);
    if (!printTo.isEmpty())
        lines << (copies > 1 ? QStringLiteral("print it on queue %1, %2 copies as the job asks").arg(printTo).arg(copies)
                             : QStringLiteral("print it on queue %1").arg(printTo));
    return lines;
}

QByteArray RulePlan::toJson() const
{
    QJsonObject object;
    object.insert(QStringLiteral("rule"), rule);
    QJsonObject fieldObject;
    for (auto field = fields.cbegin(); field != fields.cend(); ++field)
        fieldObject.insert(field.key(), field.value());
    object.insert(QStringLiteral("fields"), fieldObject);
    object.insert(QStringLiteral("convert"), QJsonArray::fromStringList(convertArguments));
    object.insert(QStringLiteral("folder"), folder);
    object.insert(QStringLiteral("user"), user);
    object.insert(QStringLiteral("file"), fileName);
    object.insert(QStringLiteral("named"), named);
    object.insert(QStringLiteral("mails"), mails);
    object.insert(QStringLiteral("mail-to"), QJsonArray::fromStringList(mailTo));
    object.insert(QStringLiteral("mail-subject"), mailSubject);
    object.insert(QStringLiteral("mail-from"), mailFrom);
    object.insert(QStringLiteral("sendmail"), sendmail);
    object.insert(QStringLiteral("print-to"), printTo);
    object.insert(QStringLiteral("title"), title);
    object.insert(QStringLiteral("copies"), copies);
    object.insert(QStringLiteral("form"), formFirst);
    object.insert(QStringLiteral("form-next"), formNext);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

bool RulePlan::fromJson(const QByteArray &json, RulePlan *plan)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject())
        return false;
    const QJsonObject object = document.object();
    const auto strings = [&](const QString &key) {
        QStringList list;
        for (const QJsonValue &value : object.value(key).toArray())
            list.append(value.toString());
        return list;
    };
    *plan = RulePlan();
    plan->rule = object.value(QStringLiteral("rule")).toString();
    const QJsonObject fieldObject = object.value(QStringLiteral("fields")).toObject();
    for (auto field = fieldObject.constBegin(); field != fieldObject.constEnd(); ++field)
        plan->fields.insert(field.key(), field.value().toString());
    plan->convertArguments = strings(QStringLiteral("convert"));
    plan->folder = object.value(QStringLiteral("folder")).toString();
    plan->user = object.value(QStringLiteral("user")).toString();
    plan->fileName = SafeFileName::made(object.value(QStringLiteral("file")).toString());
    plan->named = object.value(QStringLiteral("named")).toBool();
    plan->mails = object.value(QStringLiteral("mails")).toBool();
    plan->mailTo = strings(QStringLiteral("mail-to"));
    plan->mailSubject = object.value(QStringLiteral("mail-subject")).toString();
    plan->mailFrom = object.value(QStringLiteral("mail-from")).toString();
    plan->sendmail = object.value(QStringLiteral("sendmail")).toString();
    plan->printTo = object.value(QStringLiteral("print-to")).toString();
    plan->title = object.value(QStringLiteral("title")).toString();
    plan->copies = qBound(1, object.value(QStringLiteral("copies")).toInt(1), 9999);
    plan->formFirst = object.value(QStringLiteral("form")).toString();
    plan->formNext = object.value(QStringLiteral("form-next")).toString();
    return !plan->fileName.isEmpty();
}
