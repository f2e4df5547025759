#pragma once

#include "gui/report/PageView.h"

#include <QEvent>
#include <QObject>
#include <QString>
#include <QVector>

#include <memory>

class QLabel;
class QLineEdit;
class SheetView;

// Search in the report view's page: the first Enter marks every match of
// the search box's text on the page (in steps, the window's events let in
// between, so it answers and can be stopped) and selects the first match
// from the caret on; Enter and F3 then go to the next match, Shift+F3 to the
// previous one, round the page. The box shows which match of how many is
// selected. Keys typed into the page while the matches are being marked are
// held and given to it afterwards, not dropped. In the printed look the
// sheet on screen is searched the same way.
class PageSearch : public QObject
{
    Q_OBJECT

public:
    PageSearch(PageView *page, SheetView *sheet, QLineEdit *box, QObject *parent = nullptr);

    // Marks the matches of the box's text in `look` unless they are marked
    // already (the same text on the same page), then selects the next match
    // (direction 1) or the previous one (-1). While the marking runs, the
    // steps asked for are made once it is done.
    void find(int direction, const PageView::Mark &look);
    bool running() const { return m_running; }
    // Stops the marking under way; the matches found so far stay marked.
    void stop() { m_stopped = true; }
    // Matches on the page, and the 1-based one selected (0: none).
    int count() const { return int(m_matches.size()); }
    int current() const { return m_current + 1; }
    // The same on the printed look's sheet on screen: its text runs are
    // searched, the matches marked over the print.
    void findOnSheet(int direction, const QColor &colour);
    // Another page or sheet is shown: the count in the box was of the one
    // before, and goes.
    void clearCount();

signals:
    // Another match is selected.
    void matchSelected();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // False when the page or the window is gone meanwhile.
    bool markAll(const QString &needle, PageView::Mark look);
    void step(int direction);
    void showCount(int current, int total);
    void giveHeldKeys();

    PageView *m_page;
    SheetView *m_sheet;
    QString m_sheetKey; // the text and sheet the sheet's marks are of
    int m_sheetCurrent = -1;
    QLineEdit *m_box;
    QLabel *m_count = nullptr;
    QString m_needle;
    std::shared_ptr<ViewLines> m_searched; // the page the matches are of
    QVector<qint64> m_matches;             // in order
    int m_current = -1;
    qint64 m_markedTo = 0; // where the marking goes on; -1 once the page is marked whole
    bool m_running = false;
    bool m_stopped = false;
    int m_pendingSteps = 0; // asked for during the marking: + next, - previous
    QVector<QEvent *> m_heldKeys;
};
