#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Makes a control that answers only the mouse (a label that opens a panel,
// a picture that starts a program) reachable by Tab and worked by Space or
// Enter as a button is; a framed control shows a frame while it has the focus.
class KeyActivation : public QObject
{
public:
    static void install(QWidget *control, std::function<void()> activate);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyActivation(QWidget *control, std::function<void()> activate);

    std::function<void()> m_activate;
    int m_frame = 0; // the frame shape the control had before the focus came
};
