#pragma once

#include "codepage/CodePage.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;

// The "Rules" view: what a rules file would do with the print file on
// screen (the rule that matches, the fields, the name and folder its PDF
// would get, the mail and printing), read only, for an administrator to try
// a rules file on real jobs. Nothing is converted, filed, mailed or printed.
class RulesDialog : public QDialog
{
    Q_OBJECT

public:
    RulesDialog(const QString &printFile, CodePage::Id codePage, QWidget *parent = nullptr);

    // Asks for a rules file and shows what it does; false when none was chosen.
    bool chooseRules();
    // Shows what the rules file does with the print file.
    void showRules(const QString &rulesFile);
    QString shownText() const;

private:
    QString m_printFile;
    CodePage::Id m_codePage;
    QString m_rulesFile;
    QLabel *m_heading = nullptr;
    QPlainTextEdit *m_text = nullptr;
};
