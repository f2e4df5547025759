#pragma once

#include <QString>
#include <QStringList>

#include <functional>

struct Rule;
class RuleSet;

// The checks of one rule's values, each fault told with its line: the
// pattern compiles, every field a text uses exists, a name cannot come out
// empty or "..", a form is there and is a PDF or an image, a mail address is
// one, each reading setting is one the command line takes. Relative paths
// are made absolute from `folder` (the rules file's).
namespace RuleChecks {

using FaultSink = std::function<void(int line, const QString &cause)>;
// Whether the forms and the mail transport are looked at now (a rules file
// being checked or read by the watch) or only when a job uses them (the
// watch's converter, which keeps a job of another rule going when a form or
// the transport has gone since).
enum class Forms { Checked, WhenUsed };
void check(Rule *rule, const QString &folder, const FaultSink &fault, Forms forms = Forms::Checked);

// Whether a file starts as a PDF, a PNG or a JPEG; the cause when not.
bool isFormFile(const QString &path, QString *cause);
// Whether a form (a file, "#page=N" of a PDF) can be used as convert uses
// it, read whole: a PDF locked by a password, a page it lacks, a file cut
// short fail here. The cause when not, without the file's name.
bool isUsableForm(const QString &named, QString *cause);

// The faults ("file:line: cause") of rules that set the printed look
// (forms, the form length, the printer), for a conversion to the emphasis
// look, which has none of them: each of their jobs would fail.
QStringList printedLookOnly(const RuleSet &rules);

// The keys whose values are texts with fields.
const QStringList &templateKeys();

} // namespace RuleChecks
