#include "gui/report/OpenReportView.h"
#include "watch/ViewQueue.h"

#include "gui/platform/FirstPaint.h"
#include "gui/platform/MessageBox.h"
#include "gui/report/FrmReport.h"
#include "platform/AppPaths.h"
#include "report/RecentFiles.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>

quint8 OpenViewCount = 0;

FrmReport *OpenReportView(const QString &file)
{
    if (OpenViewCount >= ViewQueue::MostViews) {
        MessageBox::show(nullptr,
            QCoreApplication::translate("OpenReportView",
                " Max Six Report View Open ...\r\n\r\n Please Close Report View and Try Again .."),
            QString(), QMessageBox::Critical);
        return nullptr;
    }
    auto *view = new FrmReport;
    if (!view->LoadReport(file)) {
        delete view;
        return nullptr;
    }
    view->show();
    return view;
}

int openReportViews(const QStringList &files, std::optional<CodePage::Choice> codePage, bool watched)
{
    int opened = 0;
    for (const QString &file : files) {
        const QString path = QFileInfo(file).absoluteFilePath();
        if (FrmReport *view = OpenReportView(path)) {
            if (codePage && codePage->automatic)
                view->detectCodePage();
            else if (codePage)
                view->setCodePage(codePage->id);
            view->setReloadsItself(watched);
            ++opened;
            // Opened by the user (the command line, a file manager, a drop,
            // the menus): the file joins the recent files once the view is
            // on screen (writing the settings waits for the disk); a watched
            // folder's jobs do not crowd them out.
            if (!watched) // (a settings file that cannot be written costs only the list)
                FirstPaint::then(view, view, [path] { RecentFiles::add(path); });
        } else if (!watched && !QFileInfo::exists(path)) {
            RecentFiles::remove(path); // gone: told so, and no longer offered
        }
    }
    return opened;
}

namespace {

QStringList droppedFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    return files;
}

// Takes the drags of local files before the window or a text box handles
// them (a text box would paste the names as text).
class FileDropFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *drag = static_cast<QDragMoveEvent *>(event);
            if (droppedFiles(drag->mimeData()).isEmpty())
                return false;
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto *drop = static_cast<QDropEvent *>(event);
            const QStringList files = droppedFiles(drop->mimeData());
            if (files.isEmpty())
                return false;
            drop->acceptProposedAction();
            // Once the drop is over: a message about a file (a modal
            // window) would keep the program that dragged it waiting.
            QTimer::singleShot(0, this, [files] { openReportViews(files); });
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
        }
    }
};

} // namespace

void acceptFileDrops(QWidget *window)
{
    auto *filter = new FileDropFilter(window);
    window->setAcceptDrops(true);
    window->installEventFilter(filter);
    for (QAbstractScrollArea *edit : window->findChildren<QAbstractScrollArea *>()) {
        edit->viewport()->installEventFilter(filter);
        edit->viewport()->setAcceptDrops(true);
    }
}
