#pragma once

#include "rules/RuleSet.h"
#include "watch/WatchTemporary.h"

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

// The rules a watch converts by: the file is read again whenever it has
// changed, and a version that cannot be read, is empty or has faults leaves
// the rules read before in force. The conversions, each in a process of its own, are
// given a private copy of the version in force, so that they never see a
// file half edited.
class RulesKeeper
{
public:
    // The first reading: false with the faults, one a line, when the file
    // cannot be read or has any.
    bool start(const QString &path, QString *error);
    // The conversions make a look without sheets or forms (the emphasis
    // look): a version whose rules set the printed look (forms, the form
    // length, the printer) is refused, as each of their jobs would fail.
    // Set before start().
    void setWithoutForms(bool without) { m_withoutForms = without; }

    // Reads the file again when it has changed. The line to log when it did
    // (read anew, or not read and the rules before kept), else empty.
    QString refresh();

    const QString &path() const { return m_path; }
    // The copy of the rules in force, for a conversion.
    const QString &copyPath() const { return m_copy; }
    const RuleSet &rules() const { return m_rules; }

private:
    bool read(const QByteArray &bytes, QString *faults);

    QString m_path;
    QByteArray m_bytes; // the text of the version in force, or of the last one tried
    QString m_unreadable; // why the file could not be read last time (said once)
    // The faults of the version last tried, when it was refused: it is tried
    // again at each refresh though its text is the same, since what it
    // names (a form) may have come meanwhile.
    QString m_faults;
    RuleSet m_rules;
    QDateTime m_readAt;
    QTemporaryDir m_copies {WatchTemporary::folderTemplate()};
    QString m_copy;
    int m_version = 0;
    bool m_withoutForms = false;
};
