#pragma once

#include <QWidget>

class PrintFileWatcher;
class QLabel;
class QPushButton;
class ViewQueue;

// The small window of a folder being watched for print jobs: each new print
// file, once complete, opens in a report view of its own; beyond six open
// views the files wait and open as views close. The window names the folder
// and tells how many files wait, and the last file it could not open (a name
// not UTF-8); closing it stops the watch.
class FrmWatch : public QWidget
{
    Q_OBJECT

public:
    explicit FrmWatch(QWidget *parent = nullptr);
    ~FrmWatch() override;

    // Starts watching `folder`. False, with an error text naming the folder
    // and the cause, when it cannot be watched.
    bool start(const QString &folder, QString *error);

    // The one watch window of the program, if any is open.
    static FrmWatch *current();
    // Asks for a folder and watches it in the watch window (opened, or
    // moved to the new folder). Shows the cause when it cannot be watched.
    static void chooseAndWatch(QWidget *parent);

    int waiting() const;

private:
    void showWaiting(int count);
    void showNotOpened(const QString &path);

    PrintFileWatcher *m_watcher;
    ViewQueue *m_queue;
    QLabel *m_folder;
    QLabel *m_waiting;
    QLabel *m_notOpened; // the last job whose name no view can open
    QPushButton *m_stop;
};
