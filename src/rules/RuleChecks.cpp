#include "rules/RuleChecks.h"

#include "codepage/CodePage.h"
#include "codepage/CodePageGuess.h"
#include "delivery/MailLibrary.h"
#include "form/FormName.h"
#include "form/FormPage.h"
#include "platform/FileChecks.h"
#include "printing/CaptureQueue.h"
#include "report/ReportViewSettings.h"
#include "rules/MailAddress.h"
#include "rules/RuleSet.h"
#include "rules/RuleTemplate.h"
#include "rules/SafeFileName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace RuleChecks {

const QStringList &templateKeys()
{
    static const QStringList keys = { QStringLiteral("name"), QStringLiteral("pdf-title"),
        QStringLiteral("pdf-subject"), QStringLiteral("pdf-keywords"), QStringLiteral("mail-to"),
        QStringLiteral("mail-subject"), QStringLiteral("mail-from") };
    return keys;
}

bool isFormFile(const QString &path, QString *cause)
{
    const QFileInfo info(path);
    QFile file(path);
    if (!info.exists()) {
        *cause = QStringLiteral("missing");
        return false;
    }
    *cause = FileChecks::inputProblem(path);
    if (!cause->isEmpty())
        return false;
    if (!file.open(QIODevice::ReadOnly)) {
        *cause = file.errorString();
        return false;
    }
    const QByteArray head = file.read(8);
    if (head.startsWith("%PDF-") || head.startsWith("\x89PNG\r\n\x1a\n") || head.startsWith("\xff\xd8\xff"))
        return true;
    *cause = QStringLiteral("not a PDF, PNG or JPEG file");
    return false;
}

bool isUsableForm(const QString &named, QString *cause)
{
    QString error;
    if (FormPage::load(named, &error))
        return true;
    const QString file = QDir::toNativeSeparators(FormName::of(named).filePath) + QStringLiteral(": ");
    *cause = error.startsWith(file) ? error.mid(file.size()) : error;
    return false;
}

namespace {

bool isNumber(const QString &text, double low, double high)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && value >= low && value <= high;
}

// The pattern compiles, and every field a text uses is one of the job's or
// one the pattern names.
void checkFields(Rule *rule, const FaultSink &fault)
{
    QStringList fields = RuleTemplate::jobFields();
    if (rule->has(QStringLiteral("match"))) {
        QString error;
        rule->pattern = RulePattern::compile(rule->value(QStringLiteral("match")), &error);
        if (!rule->pattern)
            fault(rule->lineOf(QStringLiteral("match")), QStringLiteral("invalid regular expression: %1").arg(error));
        else
            fields += rule->pattern->groupNames();
    }
    for (const QString &key : templateKeys()) {
        if (!rule->has(key))
            continue;
        QStringList used;
        QString cause;
        if (!RuleTemplate::fieldsOf(rule->value(key), &used, &cause)) {
            fault(rule->lineOf(key), QStringLiteral("%1: %2").arg(key, cause));
            continue;
        }
        for (const QString &field : std::as_const(used)) {
            if (!fields.contains(field))
                fault(rule->lineOf(key),
                    QStringLiteral("%1: unknown field {%2} (the fields: {%3})")
                        .arg(key, field, fields.join(QStringLiteral("} {"))));
        }
    }
}

// A name of no fields that is empty or ".." is refused here, not at night.
// (A name whose fields all come out empty leaves the job its own name, and
// one a field fills is made safe: no fault.)
void checkName(const Rule *rule, const FaultSink &fault)
{
    if (!rule->has(QStringLiteral("name")))
        return;
    const QString name = rule->value(QStringLiteral("name"));
    QStringList used;
    QString cause;
    if (RuleTemplate::fieldsOf(name, &used, &cause) && !used.isEmpty())
        return;
    const QString least = name.trimmed();
    if (SafeFileName::made(least).isEmpty() || least == QLatin1String(".."))
        fault(rule->lineOf(QStringLiteral("name")),
            QStringLiteral("name: \"%1\" gives %2").arg(name,
                least == QLatin1String("..") ? QStringLiteral("\"..\"")
                                             : QStringLiteral("an empty file name")));
}

// A path that begins with ~ as a shell would take it: here it is taken from
// the rules file's folder, a folder or file of that very name, for the
// watch's user and the user checking the rules have homes of their own.
// ~ alone is a folder's value.
QString homeRefused(const QString &key, const QString &value)
{
    return key == QLatin1String("folder")
        ? QStringLiteral("folder: %1 would be a folder of that name beside the rules file, not in a home folder: "
                         "write the whole path (~ alone is the printing user's own folder)")
              .arg(value)
        : QStringLiteral("%1: %2 would be a file of that name beside the rules file, not in a home folder: "
                         "write the whole path")
              .arg(key, value);
}

// The folder and the forms made absolute from the rules file's folder; a
// form must be a PDF or an image.
void checkPaths(Rule *rule, const QString &folder, const FaultSink &fault, Forms forms)
{
    if (rule->has(QStringLiteral("folder"))) {
        QString &value = rule->values[QStringLiteral("folder")].text;
        static const QRegularExpression field(QStringLiteral("\\{\\w+\\}"));
        const QRegularExpressionMatch braces = field.match(value);
        if (value.isEmpty())
            fault(rule->lineOf(QStringLiteral("folder")), QStringLiteral("folder: empty (~ is the printing user's own)"));
        else if (value.startsWith(QLatin1Char('~')) && value != QLatin1String("~"))
            fault(rule->lineOf(QStringLiteral("folder")), homeRefused(QStringLiteral("folder"), value));
        else if (braces.hasMatch())
            fault(rule->lineOf(QStringLiteral("folder")),
                QStringLiteral("folder: %1 would be a folder of that name: a folder takes no fields (the name does; "
                               "~ is the printing user's own)")
                    .arg(braces.captured(0)));
        else if (value != QLatin1String("~"))
            value = QDir::cleanPath(QDir(folder).absoluteFilePath(value));
        // One that cannot be there, as every job's filing would find: it, or
        // the nearest part of its path that is there, is a file.
        if (!braces.hasMatch() && !value.startsWith(QLatin1Char('~')) && !value.isEmpty()) {
            QFileInfo part(value);
            while (!part.exists() && !part.isRoot() && part.absolutePath() != part.absoluteFilePath())
                part = QFileInfo(part.absolutePath());
            if (part.exists() && !part.isDir())
                fault(rule->lineOf(QStringLiteral("folder")),
                    QStringLiteral("folder: %1 is a file, not a folder").arg(part.absoluteFilePath()));
        }
    }
    for (const QString &key : { QStringLiteral("form"), QStringLiteral("form-next") }) {
        if (!rule->has(key) || rule->value(key).isEmpty())
            continue;
        QString &value = rule->values[key].text;
        if (value.startsWith(QLatin1Char('~'))) {
            fault(rule->lineOf(key), homeRefused(key, value));
            continue;
        }
        value = QDir::cleanPath(QDir(folder).absoluteFilePath(value));
        // A page of a PDF is named as convert's --form names it; the
        // page's being there is seen when the form is used.
        if (forms == Forms::WhenUsed)
            continue;
        const FormName name = FormName::of(value);
        QString cause;
        if (!name.badPage.isNull())
            fault(rule->lineOf(key), QStringLiteral("%1 %2: \"#page=%3\" names no page (#page=N, from 1)")
                                         .arg(key, name.filePath, name.badPage));
        else if (!isFormFile(name.filePath, &cause) || !isUsableForm(value, &cause))
            fault(rule->lineOf(key), QStringLiteral("%1 %2: %3").arg(key, name.filePath, cause));
    }
}

// The reading settings: each one the command line takes.
void checkReading(const Rule *rule, const FaultSink &fault)
{
    if (rule->has(QStringLiteral("form-offset"))) {
        const QStringList parts = rule->value(QStringLiteral("form-offset")).split(QLatin1Char(','));
        if (parts.size() != 2 || !isNumber(parts.at(0).trimmed(), -500, 500) || !isNumber(parts.at(1).trimmed(), -500, 500))
            fault(rule->lineOf(QStringLiteral("form-offset")),
                QStringLiteral("form-offset: \"%1\" is not X,Y in millimetres")
                    .arg(rule->value(QStringLiteral("form-offset"))));
    }
    if (rule->has(QStringLiteral("codepage"))
        && !CodePage::choiceFromName(rule->value(QStringLiteral("codepage"))))
        fault(rule->lineOf(QStringLiteral("codepage")),
            QStringLiteral("unknown code page \"%1\" (%2 or auto)")
                .arg(rule->value(QStringLiteral("codepage")), CodePage::names()));
    // Taken where convert and the sheet count take them (setPrinterOption).
    ReportViewSettings probe;
    if (rule->has(QStringLiteral("form-length"))
        && !probe.setPrinterOption(QStringLiteral("form-length"), rule->value(QStringLiteral("form-length"))))
        fault(rule->lineOf(QStringLiteral("form-length")),
            QStringLiteral("form-length: \"%1\" is not %2 to %3 inches")
                .arg(rule->value(QStringLiteral("form-length")))
                .arg(ReportViewSettings::ShortestForm)
                .arg(ReportViewSettings::LongestForm));
    if (rule->has(QStringLiteral("printer"))
        && !probe.setPrinterOption(QStringLiteral("printer"), rule->value(QStringLiteral("printer")))) {
        const QStringList models = PrinterModels::names();
        fault(rule->lineOf(QStringLiteral("printer")),
            QStringLiteral("unknown printer \"%1\" (%2 or %3)")
                .arg(rule->value(QStringLiteral("printer")), models.mid(0, models.size() - 1).join(QStringLiteral(", ")),
                    models.last()));
    }
}

// An address made of fields is checked once the job fills them; its shape
// (the brackets of "Name <address>") now.
bool addressShaped(const QString &address)
{
    static const QRegularExpression field(QStringLiteral("\\{\\w+\\}"));
    QString name, shape;
    return address.contains(QLatin1Char('{'))
        ? MailAddress::parseMailbox(QString(address).replace(field, QStringLiteral("x")), &name, &shape)
        : MailAddress::isValid(address);
}

// The mail: an address that is one (or made of fields), a subject, a sender
// and a sendmail only with an address, a sendmail that is a program here.
void checkMail(const Rule *rule, const FaultSink &fault)
{
    if (rule->has(QStringLiteral("mail-to"))) {
        const QString value = rule->value(QStringLiteral("mail-to"));
        if (MailAddress::pieces(value).isEmpty())
            fault(rule->lineOf(QStringLiteral("mail-to")), QStringLiteral("mail-to: no address"));
        for (const QString &address : MailAddress::split(value)) {
            if (!addressShaped(address))
                fault(rule->lineOf(QStringLiteral("mail-to")), QStringLiteral("mail-to: \"%1\" is not a mail address").arg(address));
        }
    }
    if (rule->has(QStringLiteral("mail-from"))) {
        // One sender, bare or as "Name <address>".
        const QString value = rule->value(QStringLiteral("mail-from"));
        const QStringList senders = MailAddress::pieces(value);
        if (senders.size() != 1)
            fault(rule->lineOf(QStringLiteral("mail-from")),
                QStringLiteral("mail-from: %1").arg(senders.isEmpty() ? QStringLiteral("no address")
                                                                      : QStringLiteral("one sender, not %1").arg(senders.size())));
        else if (!addressShaped(MailAddress::split(value).value(0)))
            fault(rule->lineOf(QStringLiteral("mail-from")),
                QStringLiteral("mail-from: \"%1\" is not a mail address").arg(senders.first()));
    }
    for (const QString &key : { QStringLiteral("mail-subject"), QStringLiteral("mail-from"), QStringLiteral("sendmail") }) {
        if (rule->has(key) && !rule->has(QStringLiteral("mail-to")))
            fault(rule->lineOf(key), QStringLiteral("%1 without mail-to").arg(key));
    }
}

// The mail transport as it will be run: its words split as the mail splits
// them, a program named with a relative path taken from the rules file's
// folder as every path of the file is (it had been taken from wherever the
// watch ran), a bare name found on PATH. One that cannot run is a fault now,
// not a failed mail at night.
void checkSendmail(Rule *rule, const QString &folder, const FaultSink &fault, Forms forms)
{
    if (!rule->has(QStringLiteral("sendmail")))
        return;
    QString &value = rule->values[QStringLiteral("sendmail")].text;
    const int line = rule->lineOf(QStringLiteral("sendmail"));
    QString error;
    QStringList words;
    const MailLibrary *mail = MailLibrary::get(&error);
    if (!mail) // the mail says so when it is made
        words = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    else if (!mail->splitCommand(value, &words, &error)) {
        fault(line, QStringLiteral("sendmail: %1").arg(error));
        return;
    }
    if (words.isEmpty()) {
        fault(line, QStringLiteral("sendmail: empty"));
        return;
    }
    QString program = words.first();
    if (program.contains(QLatin1Char('/')) && QFileInfo(program).isRelative()) {
        program = QDir::cleanPath(QDir(folder).absoluteFilePath(program));
        words.first() = program;
        for (QString &word : words) // each word as the shell's parser reads it back
            word = QLatin1Char('\'') + word.replace(QLatin1Char('\''), QStringLiteral("'\\''")) + QLatin1Char('\'');
        value = words.join(QLatin1Char(' '));
    }
    // (The watch's converter leaves that to the mail: a transport gone since
    // the watch read the rules fails the mails alone, the PDFs kept.)
    if (forms == Forms::WhenUsed)
        return;
    const QString found = program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    const QFileInfo info(found);
    QString cause;
    if (found.isEmpty())
        cause = QStringLiteral("no program of that name on PATH");
    else if (!info.exists())
        cause = QStringLiteral("it is missing");
    else if (info.isDir())
        cause = QStringLiteral("it is a folder");
    else if (!info.isExecutable())
        cause = QStringLiteral("it may not be run");
    if (!cause.isEmpty())
        fault(line, QStringLiteral("sendmail: \"%1\" is not a program here: %2").arg(program, cause));
}

} // namespace

void check(Rule *rule, const QString &folder, const FaultSink &fault, Forms forms)
{
    checkFields(rule, fault);
    checkName(rule, fault);
    checkPaths(rule, folder, fault, forms);
    checkReading(rule, fault);
    checkMail(rule, fault);
    checkSendmail(rule, folder, fault, forms);
    for (const QString &key : { QStringLiteral("print-to"), QStringLiteral("queue"), QStringLiteral("user"),
             QStringLiteral("title"), QStringLiteral("match") }) {
        if (rule->has(key) && rule->value(key).isEmpty())
            fault(rule->lineOf(key), QStringLiteral("%1: empty").arg(key));
    }
    // A name no CUPS queue can have: no job was ever printed on, or taken
    // from, a queue named so.
    for (const QString &key : { QStringLiteral("print-to"), QStringLiteral("queue") }) {
        const QString problem = CaptureQueue::nameProblem(rule->value(key));
        if (rule->has(key) && !rule->value(key).isEmpty() && !problem.isEmpty())
            fault(rule->lineOf(key),
                QStringLiteral("%1: \"%2\" is no queue name: %3").arg(key, rule->value(key), problem));
    }
}

QStringList printedLookOnly(const RuleSet &rules)
{
    QStringList faults;
    for (const Rule &rule : rules.rules()) {
        for (const QString &key : { QStringLiteral("form"), QStringLiteral("form-next"), QStringLiteral("form-offset"),
                 QStringLiteral("form-length"), QStringLiteral("printer") }) {
            if (rule.has(key) && !rule.value(key).isEmpty()) {
                faults << RuleFault { rules.file(), rule.lineOf(key),
                              QStringLiteral("%1: sets the printed look, and the PDFs are made in the emphasis look "
                                             "(--look emphasis)")
                                  .arg(key) }.text();
                break;
            }
        }
    }
    return faults;
}

} // namespace RuleChecks
