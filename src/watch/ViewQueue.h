#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

// Hands print files to report views while fewer than the limit are open and
// keeps the rest waiting, first come first served, until views close.
class ViewQueue : public QObject
{
    Q_OBJECT

public:
    // `openViews` tells how many report views are open now.
    // The most report views open at once, in the windows and for the queue.
    static constexpr int MostViews = 6;

    explicit ViewQueue(std::function<int()> openViews, int limit = MostViews, QObject *parent = nullptr);

    // Opens `path` now when there is room, else lets it wait.
    void add(const QString &path);
    // Call when a view has closed: opens waiting files while there is room.
    void openWaiting();

    int waiting() const { return m_waiting.size(); }

signals:
    // Open a report view on `path`. A view that fails to open (the count of
    // open views stays) lets the next waiting file have the place.
    void openView(const QString &path);
    // The number of files waiting has changed.
    void waitingChanged(int count);

private:
    void release(int before);

    std::function<int()> m_openViews;
    int m_limit;
    QStringList m_waiting;
    bool m_opening = false;
};
