#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLineEdit;

// Runs a keystroke filter over the characters typed into an edit box, the
// way a key-press handler stores its result back as the key code: a result
// of 1 drops the keystroke, any other code is typed in its place. Backspace
// is code 8, Enter 13; keys that type nothing (arrows, Delete) pass.
class KeyFilter : public QObject
{
    Q_OBJECT

public:
    using Filter = std::function<int(int keyCode)>;
    static KeyFilter *install(QLineEdit *box, Filter filter);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyFilter(QLineEdit *box, Filter filter);
    Filter m_filter;
    bool m_replaying = false;
};

// The number boxes' filters: return the key code, or 1 to drop the keystroke.
// Digits, minus, Backspace and Enter pass; the decimal filter also takes one
// point when the box holds none yet.
int IntegerKeyFilter(int keyCode);
int DecimalKeyFilter(int keyCode, const QString &boxText);
