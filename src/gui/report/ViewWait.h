#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

// A report view waiting for work it cannot show a page without (the cut of
// a file's first page, the lines of a long page): once the wait lasts, the
// window is on screen (when it is being opened) with a progress over it,
// and the events go on being answered. The progress takes no input of the
// view; Cancel, where offered, gives the wait up.
class ViewWait
{
public:
    // `showWindow`: the window is put on screen for the progress to show
    // in (a view being opened); a `cancel` caption: the progress has Cancel.
    ViewWait(QWidget *window, const QString &text, const QString &cancel, bool showWindow);
    ~ViewWait();
    ViewWait(const ViewWait &) = delete;
    ViewWait &operator=(const ViewWait &) = delete;

    // `done` of `total` (a total of 0: how far is not known); false once
    // the wait is given up.
    bool tell(qint64 done, qint64 total);
    // Runs `work` on a thread of its own and waits for it, telling that it
    // is busy; false when the wait is given up (the work then ends by itself
    // later, so it must own all it touches).
    bool runAside(std::function<void()> work);

private:
    QPointer<QWidget> m_window;
    QString m_text;
    QString m_cancel;
    bool m_showWindow;
    QElapsedTimer m_started;
    std::unique_ptr<QProgressDialog> m_progress;
};
