#pragma once

#include "codepage/CodePage.h"

#include "gui/report/QuietBar.h"

class QLabel;
class QPushButton;

// A quiet bar over the foot of a report view's page: it says which code page
// the file looks written in and offers to read it so. It asks nothing and
// blocks nothing; closing it leaves the view as it is.
class CodePageBar : public QuietBar
{
    Q_OBJECT

public:
    explicit CodePageBar(QWidget *parent = nullptr);

    // Shows the bar offering `codePage`.
    void offer(CodePage::Id codePage);
    CodePage::Id offered() const { return m_offered; }

signals:
    void switchChosen(CodePage::Id codePage);

private:
    QPushButton *m_switch = nullptr;
    CodePage::Id m_offered = CodePage::Id::Latin1;
};
