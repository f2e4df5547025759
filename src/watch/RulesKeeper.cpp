#include "watch/RulesKeeper.h"

#include "platform/FileChecks.h"
#include "rules/RuleChecks.h"
#include "watch/JobArchive.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The file's bytes, or an error text.
bool readWhole(const QString &path, QByteArray *bytes, QString *error)
{
    const QFileInfo info(path);
    const QString kind = FileChecks::inputProblem(path);
    QFile file(path);
    if (!info.isFile() || info.size() > RuleSet::LargestFile || !file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path,
            !info.exists()                      ? QStringLiteral("no such file")
                : !kind.isEmpty()               ? kind
                : info.size() > RuleSet::LargestFile ? QStringLiteral("too large for a rules file")
                                                : file.errorString());
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

bool RulesKeeper::start(const QString &path, QString *error)
{
    m_path = path;
    if (!m_copies.isValid()) {
        *error = QStringLiteral("cannot make a private folder for the rules: %1").arg(m_copies.errorString());
        return false;
    }
    QByteArray bytes;
    return readWhole(path, &bytes, error) && read(bytes, error);
}

bool RulesKeeper::read(const QByteArray &bytes, QString *faults)
{
    m_bytes = bytes;
    QList<RuleFault> found;
    RuleSet rules;
    if (!RuleSet::parse(bytes, m_path, &rules, &found)) {
        QStringList lines;
        for (const RuleFault &fault : std::as_const(found))
            lines << fault.text();
        *faults = lines.join(QLatin1Char('\n'));
        return false;
    }
    if (m_withoutForms && !RuleChecks::printedLookOnly(rules).isEmpty()) {
        *faults = RuleChecks::printedLookOnly(rules).join(QLatin1Char('\n'));
        return false;
    }
    const QString copy = m_copies.filePath(QStringLiteral("rules-%1.conf").arg(++m_version));
    if (!JobArchive::writeText(copy, QString::fromUtf8(bytes), faults))
        return false;
    if (!m_copy.isEmpty())
        QFile::remove(m_copy);
    m_copy = copy;
    m_rules = rules;
    m_readAt = QDateTime::currentDateTime();
    return true;
}

QString RulesKeeper::refresh()
{
    QByteArray bytes;
    QString error;
    bool readable = readWhole(m_path, &bytes, &error);
    if (readable && bytes == m_bytes && m_unreadable.isEmpty() && m_faults.isEmpty())
        return QString();
    // An editor that saves in place empties the file first, and one that
    // stops there (or is read in that moment) would leave no rule in force:
    // an emptied file keeps the rules before, as one that cannot be read.
    // Rules are turned off by a file of comments.
    if (readable && bytes.isEmpty()) {
        readable = false;
        error = QStringLiteral("%1: the file is empty").arg(m_path);
    }
    const QString kept = QStringLiteral("the rules read at %1 stay in force")
                             .arg(m_readAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    if (!readable) {
        // Said once for each cause (gone, then back but unreadable, ...).
        if (error == m_unreadable)
            return QString();
        m_unreadable = error;
        m_bytes = QByteArray();
        return QStringLiteral("%1; %2").arg(error, kept);
    }
    m_unreadable.clear();
    if (bytes == m_bytes && m_faults.isEmpty())
        return QString(); // back as it was
    const bool triedBefore = bytes == m_bytes;
    if (!read(bytes, &error)) { // one line in the log, the faults apart
        if (triedBefore && error == m_faults)
            return QString(); // said already
        m_faults = error;
        return QStringLiteral("%1: the rules file has faults; %2: %3")
            .arg(m_path, kept, error.replace(QLatin1Char('\n'), QStringLiteral("; ")));
    }
    m_faults.clear();
    const qsizetype count = m_rules.rules().size();
    return QStringLiteral("%1: read again, %2 %3").arg(m_path).arg(count).arg(count == 1 ? QStringLiteral("rule") : QStringLiteral("rules"));
}
