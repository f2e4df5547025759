#pragma once

// Shared set-up for the report view tests: print files in the private
// temporary folder, opening a view the way the sticker form does, and
// finding its controls by name.
#include "TestSupport.h"
#include "gui/platform/Dialogs.h"
#include "gui/report/FrmReport.h"
#include "gui/report/OpenReportView.h"
#include "startup/MainModule.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTextEdit>

namespace ReportViewFixture {

// n pages, each ending in a form feed; page i (1-based) starts "Page <i>".
inline QByteArray pagedBytes(int n)
{
    QByteArray bytes;
    for (int i = 1; i <= n; ++i)
        bytes += QByteArray("Page ") + QByteArray::number(i) + "\r\nsecond line\r\nthird line\r\n\f";
    return bytes;
}

inline QString printFile(const QString &name, const QByteArray &bytes)
{
    return TestSupport::writeFile(QDir::temp().filePath(name), bytes);
}

// Opens a view on `path` as the sticker form does and waits until it shows.
inline FrmReport *open(const QString &path)
{
    PrintFileName = path;
    FrmReport *view = OpenReportView();
    if (view && !QTest::qWaitForWindowExposed(view))
        qWarning("report view not exposed");
    return view;
}

template <typename T = QWidget> T *control(QWidget *view, const QString &name)
{
    T *w = view->findChild<T *>(name);
    if (!w)
        qFatal("no control named %s", qPrintable(name));
    return w;
}

// Clicks near the left edge, where a check or option box has its box and a
// button its face.
inline void click(QWidget *view, const QString &name)
{
    QWidget *w = control(view, name);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(qMin(8, w->width() / 2), w->height() / 2));
}

// The "Page i/n" label.
inline QString pageLabel(QWidget *view)
{
    return control<QLabel>(view, QStringLiteral("LbPageNo"))->text();
}

// Imports `path` through the view's Import button.
inline void import(QWidget *view, const QString &path)
{
    Dialogs::setNextFileName(path);
    click(view, QStringLiteral("CmdImport"));
}

// Records the override pointer's shape (-1: none) each time the view's text
// is replaced.
inline void recordPointers(FrmReport *view, QList<int> &shapes)
{
    QObject::connect(view->rt1(), &QTextEdit::textChanged, view, [&shapes] {
        const QCursor *c = QGuiApplication::overrideCursor();
        shapes << (c ? int(c->shape()) : -1);
    });
}

inline QString viewText(FrmReport *view)
{
    return view->rt1()->toPlainText();
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
