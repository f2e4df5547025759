#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;

// Whether a writer still holds one file (a rules file an editor writes in
// place with pauses): written since it was opened, and not closed by a
// writer since. The kernel tells of every user's opens and closes, which a
// service cannot otherwise see. A file opened before the watch began is not
// known to be open; news older than LongestWait counts for nothing, so that
// a writer that is never closed holds nothing for ever.
class WriterWatch : public QObject
{
    Q_OBJECT

public:
    explicit WriterWatch(QObject *parent = nullptr);
    ~WriterWatch() override;

    // Watches `path` (by its folder: an editor that saves by rename puts a
    // new file there). False when the kernel refuses; nothing is then ever
    // being written.
    bool start(const QString &path);
    bool beingWritten() const;

    static constexpr int LongestWait = 60000;

signals:
    // A writer closed the file.
    void closed();

private:
    void readEvents();

    QString m_name;
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    int m_open = 0;
    bool m_written = false;
    QElapsedTimer m_told;
};
