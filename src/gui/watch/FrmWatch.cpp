#include "gui/watch/FrmWatch.h"

#include "gui/platform/Dialogs.h"
#include "gui/platform/MessageBox.h"
#include "gui/report/OpenReportView.h"
#include "watch/PrintFileWatcher.h"
#include "watch/ViewQueue.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTime>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QPointer<FrmWatch> s_current;

} // namespace

FrmWatch::FrmWatch(QWidget *parent)
    : QWidget(parent)
    , m_watcher(new PrintFileWatcher(this))
    , m_queue(new ViewQueue([] { return int(OpenViewCount); }, ViewQueue::MostViews, this))
    , m_folder(new QLabel(this))
    , m_waiting(new QLabel(this))
    , m_notOpened(new QLabel(this))
    , m_stop(new QPushButton(tr("Stop Watching"), this))
{
    setObjectName(QStringLiteral("FrmWatch"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Watching for print jobs"));
    m_folder->setObjectName(QStringLiteral("LbWatchFolder"));
    m_waiting->setObjectName(QStringLiteral("LbWaiting"));
    m_notOpened->setObjectName(QStringLiteral("LbNotOpened"));
    m_notOpened->setWordWrap(true);
    m_notOpened->hide();
    m_stop->setObjectName(QStringLiteral("CmdStopWatch"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_folder);
    layout->addWidget(m_waiting);
    layout->addWidget(m_notOpened);
    layout->addWidget(m_stop);
    showWaiting(0);

    connect(m_stop, &QPushButton::clicked, this, &QWidget::close);
    connect(m_watcher, &PrintFileWatcher::fileReady, m_queue, &ViewQueue::add);
    connect(m_queue, &ViewQueue::openView, this, [](const QString &path) { openReportViews({path}, std::nullopt, true); });
    connect(m_queue, &ViewQueue::waitingChanged, this, &FrmWatch::showWaiting);
    connect(m_watcher, &PrintFileWatcher::nameNotUtf8, this, &FrmWatch::showNotOpened);
    // Views close in many ways (their Exit, the window manager, the sticker
    // form's Exit): while files wait, look for room twice a second.
    auto *room = new QTimer(this);
    room->setInterval(500);
    connect(room, &QTimer::timeout, m_queue, &ViewQueue::openWaiting);
    connect(m_queue, &ViewQueue::waitingChanged, room, [room](int count) {
        if (count > 0)
            room->start();
        else
            room->stop();
    });
    s_current = this;
}

FrmWatch::~FrmWatch() = default;

bool FrmWatch::start(const QString &folder, QString *error)
{
    if (!m_watcher->start(folder, error))
        return false;
    m_folder->setText(tr("Watching %1").arg(QDir::toNativeSeparators(m_watcher->folder())));
    m_notOpened->clear();
    m_notOpened->hide();
    return true;
}

FrmWatch *FrmWatch::current()
{
    return s_current;
}

void FrmWatch::chooseAndWatch(QWidget *parent)
{
    const QString folder = Dialogs::folderName(parent, tr("Watch a folder for print jobs"));
    if (folder.isEmpty())
        return;
    const bool fresh = !current();
    FrmWatch *watch = fresh ? new FrmWatch : current();
    QString error;
    if (!watch->start(folder, &error)) {
        MessageBox::show(parent, error, tr("Watch"), QMessageBox::Information);
        if (fresh)
            delete watch;
        return;
    }
    watch->show();
    watch->raise();
}

int FrmWatch::waiting() const
{
    return m_queue->waiting();
}

void FrmWatch::showWaiting(int count)
{
    m_waiting->setText(count == 0 ? tr("No print file waits for a report view.")
            : count == 1         ? tr("1 print file waits for a report view to close.")
                                 : tr("%1 print files wait for a report view to close.").arg(count));
}

// A job no view can open, because its name cannot be read back (Latin-1 from
// an older system): said once, with the time, so that it is not taken for a
// job that never came.
void FrmWatch::showNotOpened(const QString &path)
{
    m_notOpened->setText(tr("%1: %2 was not opened, as its name is not UTF-8. Rename it (convmv -f latin1 -t "
                            "utf-8) and it opens.")
                             .arg(QTime::currentTime().toString(QStringLiteral("HH:mm")),
                                 QFileInfo(path).fileName()));
    m_notOpened->show();
}
