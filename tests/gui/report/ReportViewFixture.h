#pragma once

// Shared set-up for the report view tests: print files in the private
// temporary folder, views opened as the sticker form opens them, and a small
// language of steps and states to drive a view's controls by name.
#include "WindowSupport.h"
#include "gui/platform/Dialogs.h"
#include "gui/platform/MessageBox.h"
#include "gui/report/FrmReport.h"
#include "gui/report/OpenReportView.h"
#include "gui/report/PageView.h"
#include "render/ViewLines.h"
#include "platform/SettingsStore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>

namespace ReportViewFixture {

// n pages, each ending in a form feed; page i (1-based) starts "Page <i>".
inline QByteArray pagedBytes(int n)
{
    QByteArray bytes;
    for (int i = 1; i <= n; ++i)
        bytes += "Page " + QByteArray::number(i) + "\r\nsecond line\r\nthird line\r\n\f";
    return bytes;
}

inline QString printFile(const QString &name, const QByteArray &bytes)
{
    return TestSupport::writeFile(QDir::temp().filePath(name), bytes);
}

// Opens a view on `path` as the sticker form does and waits until it shows,
// and for what it does once it is drawn (its print panel is built then).
inline FrmReport *open(const QString &path)
{
    FrmReport *view = OpenReportView(path);
    if (view && !QTest::qWaitForWindowExposed(view))
        qWarning("report view not exposed");
    QCoreApplication::sendPostedEvents();
    return view;
}

using TestSupport::click;
using TestSupport::control;

// Works the view's controls one step at a time: "Name" clicks it,
// "Name=value" fills a box or list, ticks a box ("1") or moves a scroll bar,
// "Name+keys" types into a box, "Name!Key" gives it the focus and presses
// the key ("Return", "Tab", ...), "?Yes" or "?No" answers the next question.
inline void apply(QWidget *view, const QStringList &steps)
{
    for (const QString &step : steps) {
        if (step.startsWith('?')) {
            MessageBox::setNextAnswer(step == "?Yes" ? QMessageBox::Yes : QMessageBox::No);
            continue;
        }
        const qsizetype cut = step.indexOf(QRegularExpression("[=+!]"));
        if (cut < 0) {
            click(view, step);
            continue;
        }
        QWidget *w = control(view, step.left(cut));
        const QString value = step.mid(cut + 1);
        if (step[cut] == '+') {
            QTest::keyClicks(w, value);
        } else if (step[cut] == '!') {
            w->setFocus(Qt::MouseFocusReason);
            if (!QTest::qWaitFor([w] { return w->hasFocus(); }))
                qWarning("%s took no focus", qPrintable(step));
            const QKeyCombination key = QKeySequence::fromString(value)[0];
            QTest::keyClick(w, key.key(), key.keyboardModifiers());
        } else if (auto *box = qobject_cast<QLineEdit *>(w)) {
            box->setText(value);
        } else if (auto *list = qobject_cast<QComboBox *>(w)) {
            list->setCurrentText(value);
        } else if (auto *bar = qobject_cast<QScrollBar *>(w)) {
            bar->setValue(value.toInt());
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            button->setChecked(value == "1");
        }
    }
}

// A setting of the report view as stored, "<absent>" when none is.
inline QString stored(const QString &key)
{
    return SettingsStore::read(
        SettingsAppName, QStringLiteral("ReportView"), key, QStringLiteral("<absent>"));
}

// The text on screen: the page view's, or the edit box's while Edit holds the page.
inline QString viewText(FrmReport *view)
{
    if (!view->editText()->isHidden())
        return view->editText()->toPlainText();
    const ViewLines *lines = view->pageView()->lines();
    return lines ? lines->text(0, lines->positionCount()) : QString();
}

// The view's state in the form of `expected`, "Key=value;Key=value": a
// control's state (TestSupport::state), or "page" (1-based), "line" (the
// first line shown), "boxes" (message boxes shown), "box" and "icon" (the
// last one's text and icon number), "stored:Key" (a stored setting).
inline QString states(FrmReport *view, const QString &expected)
{
    QStringList out;
    for (const QString &pair : expected.split(';')) {
        const QString key = pair.section('=', 0, 0);
        QString value;
        if (key == "page")
            value = QString::number(view->currentPage() + 1);
        else if (key == "line")
            value = viewText(view).section('\n', 0, 0);
        else if (key == "boxes")
            value = QString::number(MessageBox::shown().size());
        else if (key == "box" || key == "icon")
            value = MessageBox::shown().isEmpty() ? QString()
                : key == "box"                    ? MessageBox::shown().last().text
                                                  : QString::number(MessageBox::shown().last().icon);
        else if (key.startsWith("stored:"))
            value = stored(key.mid(7));
        else
            value = TestSupport::state(view, key);
        out << key + '=' + value;
    }
    return out.join(';');
}

inline QString pageLabel(QWidget *view)
{
    return control<QLabel>(view, QStringLiteral("LbPageNo"))->text();
}

inline void import(QWidget *view, const QString &path)
{
    Dialogs::setNextFileName(path);
    click(view, QStringLiteral("CmdImport"));
}

// Closes every open view and lets them delete themselves.
inline void closeAll()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *view = qobject_cast<FrmReport *>(w))
            view->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace ReportViewFixture
