#include "rules/RuleActions.h"

#include "rules/MailAddress.h"
#include "rules/SafeFileName.h"

#include "delivery/MailSender.h"
#include "delivery/PrintTo.h"
#include "delivery/UserFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool RuleActionsOutcome::ok() const
{
    for (const RuleActionResult &result : results) {
        if (!result.ok)
            return false;
    }
    return true;
}

QStringList RuleActionsOutcome::failures(const QString &rule) const
{
    QStringList lines;
    for (const RuleActionResult &result : results) {
        if (!result.ok) // (a server's sentence loses its full stop: the lines are said joined by "; ")
            lines << QStringLiteral("%1%2: %3")
                         .arg(rule.isEmpty() ? QString() : QStringLiteral("rule %1: ").arg(rule), result.action,
                             result.detail.endsWith(QLatin1Char('.')) ? result.detail.chopped(1) : result.detail);
    }
    return lines;
}

QStringList RuleActionsOutcome::done() const
{
    QStringList lines;
    for (const RuleActionResult &result : results) {
        if (result.ok)
            lines << QStringLiteral("%1: %2").arg(result.action, result.detail);
    }
    return lines;
}

namespace {

// The folder itself, whatever links lead to it; empty when it is missing.
QString canonicalFolder(const QString &folder)
{
    return QFileInfo(folder).canonicalFilePath();
}

RuleActionResult fileIt(const RulePlan &plan, const QString &pdfPath, const QString &watchedFolder, QString *finalPath)
{
    RuleActionResult result { QStringLiteral("file"), false, {} };
    const QFileInfo pdf(pdfPath);
    QString error;
    if (plan.folder == QLatin1String("~")) {
        UserFolderPolicy policy;
        policy.refusedFolder = watchedFolder;
        result.ok = deliverToUser(
            plan.user, pdfPath, plan.named ? plan.fileName : pdf.fileName(), policy, finalPath, &error);
    } else {
        const QString folder = plan.folder.isEmpty() ? pdf.absolutePath() : plan.folder;
        const QString name = plan.named ? plan.fileName : pdf.fileName();
        const QString target = canonicalFolder(folder);
        if (!watchedFolder.isEmpty() && !target.isEmpty() && target == canonicalFolder(watchedFolder)) {
            error = QStringLiteral("%1 is the watched folder: the PDF would come back as a job").arg(folder);
            // The PDF's own folder, not its target's when the PDF is a link
            // (an OUT given as a link is written through, and stays a link).
        } else if (!target.isEmpty() && target == canonicalFolder(pdf.absolutePath()) && pdf.fileName() == name) {
            *finalPath = pdfPath;
            result.ok = true;
        } else {
            result.ok = SafeFileName::placeCopy(pdfPath, folder, name, finalPath, &error);
        }
    }
    result.detail = result.ok ? *finalPath : error;
    return result;
}

RuleActionResult mailIt(
    const RulePlan &plan, const QString &pdfPath, const QString &attachmentName, const std::atomic_bool *stop)
{
    RuleActionResult result { QStringLiteral("mail-to"), false, {} };
    MailRequest request;
    for (const QString &recipient : plan.mailTo) {
        QString name, address;
        if (!MailAddress::parseMailbox(recipient, &name, &address) || !MailAddress::isValid(address)) {
            result.detail = QStringLiteral("\"%1\" is not a mail address").arg(recipient);
            return result;
        }
        request.to << address;
        request.toNames << name;
    }
    if (plan.mailTo.isEmpty()) {
        result.detail = QStringLiteral("the job gave no address");
        return result;
    }
    if (!plan.mailFrom.isEmpty()
        && (!MailAddress::parseMailbox(plan.mailFrom, &request.fromName, &request.from)
            || !MailAddress::isValid(request.from))) {
        result.detail = QStringLiteral("the sender \"%1\" is not a mail address").arg(plan.mailFrom);
        return result;
    }
    if (!plan.sendmail.isEmpty())
        request.sendmail = plan.sendmail;
    // No subject (or one whose fields came out empty): the PDF's name as
    // filed, -2 and all when the name was taken, so it names the attachment.
    request.subject = plan.mailSubject.isEmpty() ? attachmentName : plan.mailSubject;
    request.body = plan.title.isEmpty() ? attachmentName : plan.title;
    request.attachmentPath = pdfPath;
    request.attachmentName = attachmentName;
    QString error;
    result.ok = sendMail(request, &error, stop);
    result.detail = result.ok ? plan.mailTo.join(QStringLiteral(", ")) : error;
    return result;
}

RuleActionResult printIt(const RulePlan &plan, const QString &pdfPath, const std::atomic_bool *stop)
{
    RuleActionResult result { QStringLiteral("print-to"), false, {} };
    QString error;
    result.ok = printFileTo(plan.printTo, pdfPath, plan.title, plan.copies, &error, stop);
    result.detail = result.ok ? plan.printTo : error;
    return result;
}

} // namespace

RuleActionsOutcome applyRulePlan(
    const RulePlan &plan, const QString &pdfPath, const std::atomic_bool *stop, const QString &watchedFolder)
{
    RuleActionsOutcome outcome;
    outcome.pdfPath = pdfPath;
    QString filed;
    const RuleActionResult filing = fileIt(plan, pdfPath, watchedFolder, &filed);
    outcome.results.append(filing);
    // Mail and printing take the PDF as written; the mail names it as filed.
    // (Not filed, it is named as its rule names it, not as it was written.)
    const QString attachmentName
        = filing.ok ? QFileInfo(filed).fileName() : plan.named ? plan.fileName : QFileInfo(pdfPath).fileName();
    if (plan.mails)
        outcome.results.append(mailIt(plan, pdfPath, attachmentName, stop));
    if (!plan.printTo.isEmpty())
        outcome.results.append(printIt(plan, pdfPath, stop));
    if (filing.ok && filed != pdfPath) {
        QFile::remove(pdfPath);
        outcome.pdfPath = filed;
        // A cause that names the PDF as written names it where it now is.
        for (RuleActionResult &result : outcome.results) {
            if (!result.ok)
                result.detail.replace(pdfPath, filed);
        }
    }
    return outcome;
}
