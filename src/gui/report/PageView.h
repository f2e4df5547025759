#pragma once

#include "render/ViewLines.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QTimer>
#include <QVector>

#include <map>
#include <memory>
#include <tuple>

// The report view's page: lays out and draws only the lines on screen, from
// the lines of a page (or of the whole file) with their emphasis, so a page
// of any size shows as fast as a screen of it. Positions are those of the
// page's text (one a character, one a line end). It takes a caret and a
// selection by mouse and keys, copies the selection as text, shows marks
// (search matches, highlights) and the columns marked for the workbook, and
// scrolls by whole lines down and by pixels across. A double click selects
// a word, a triple click a line, Ctrl+Left and Ctrl+Right go by words, and
// the selection is the desktop's primary selection. It never changes the text.
class PageView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // A stretch drawn in another colour, bold on (1), off (0) or as it is (-1).
    struct Mark
    {
        qint64 start = 0;
        qint64 length = 0;
        QColor colour;
        int bold = -1;
    };
    struct LineColumn
    {
        qint64 line = 0; // 0-based
        qint64 column = 0;
    };

    explicit PageView(QWidget *parent = nullptr);
    ~PageView() override;

    // What the view shows; the view shares the lines with whoever made them.
    void setLines(std::shared_ptr<ViewLines> lines);
    ViewLines *lines() const { return m_lines.get(); }
    const std::shared_ptr<ViewLines> &shared() const { return m_lines; }
    // The font of text the markup leaves as it is (the zoom's size).
    void setTextFont(const QFont &font);
    const QFont &textFont() const { return m_font; }
    // Every size drawn multiplied (the zoom's steps); the first line on
    // screen stays where it is.
    void setScale(qreal scale);
    qreal scale() const { return m_scale; }
    // The widest line as drawn (or as estimated while not all are measured)
    // and the height of a plain line, margins aside: what fits the page to
    // the window.
    qreal contentWidth() const;
    qreal plainLineHeight() const;
    // The room left of and right of the text, whatever the scale.
    static constexpr qreal margin() { return Margin; }
    // The paper, and the colour of text the markup leaves as it is.
    void setBackground(const QColor &colour, const QColor &text = Qt::black);

    void select(qint64 anchor, qint64 caret);
    qint64 anchor() const { return m_anchor; }
    qint64 caret() const { return m_caret; }
    qint64 selectionStart() const { return qMin(m_anchor, m_caret); }
    qint64 selectionLength() const { return qAbs(m_caret - m_anchor); }
    QString selectedText() const;
    // Line and column of the start of the selection, as the caption shows them.
    LineColumn lineColumn() const;
    // Ctrl+C: the selection onto the clipboard, under a wait cursor. A
    // selection of more than mostCopied() characters is refused with a
    // message: the clipboard holds the text as the window's own copy
    // (two bytes a character) and hands out another when it is pasted.
    void copy();
    static constexpr qint64 DefaultMostCopied = 64 << 20;
    void setMostCopied(qint64 characters) { m_mostCopied = characters; }
    qint64 mostCopied() const { return m_mostCopied; }

    void addMark(const Mark &mark);
    void clearMarks();
    const QVector<Mark> &marks() const { return m_marks; }
    void setColumnMarks(const QVector<int> &columns);
    const QVector<int> &columnMarks() const { return m_columnMarks; }
    // Scrolls so that the position's line and column are on screen.
    void ensureVisible(qint64 position);
    qint64 firstVisibleLine() const;

signals:
    // The caret or the selection moved.
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // How the text of one style is drawn.
    struct Look
    {
        QFont font;
        QColor colour;
        qreal advance = 0;
        qreal ascent = 0;
        qreal descent = 0;
    };
    static constexpr qreal Margin = 4;   // around the text, as a text document leaves it
    static constexpr qreal TabStop = 80; // pixels between tab stops, as a text document sets them
    // Control codes are characters of the text that take no room.
    static bool takesNoRoom(QChar c) { return (c.unicode() < 0x20 && c.unicode() != '\t') || c.unicode() == 0x7F; }
    struct Laid
    {
        ViewLine line;
        QVector<qreal> x; // left edge of each character, then the end
        qreal top = 0;
        qreal ascent = 0;
        qreal height = 0;
    };

    const Look &look(int style) const;
    // Where the character after `c` starts when `c` starts at x.
    static qreal after(QChar c, qreal x, qreal advance);
    qreal lineWidth(const ViewLine &line) const; // margins included
    Laid layLine(const ViewLine &line) const;
    void layScreen();
    void updateScrollBars();
    void measureWidth();
    qint64 positionAt(const QPoint &point);
    qint64 lineLength(const LineIndex::Line &line) const;
    qint64 moved(int key, bool *handled);
    // Where the word at or next to a position begins (-1) or where the next
    // one begins (1), as Ctrl+Left and Ctrl+Right go; and the word around it.
    qint64 wordEdge(qint64 position, int direction) const;
    void selectWordAt(qint64 position);
    void selectLineAt(qint64 position);
    // The selection is the desktop's primary selection (middle-click paste).
    void offerPrimarySelection() const;
    void drawLine(QPainter &painter, const Laid &laid, qreal dx) const;
    // The selection's ground of a line (from and to counted in the line), under its text.
    void drawSelectionGround(QPainter &painter, const Laid &laid, qreal dx, qint64 selFrom, qint64 selTo) const;

    std::shared_ptr<ViewLines> m_lines;
    QFont m_font;
    qreal m_scale = 1;
    QColor m_background = Qt::white;
    QColor m_text = Qt::black;
    mutable QHash<int, const Look *> m_looks; // by style of the lines shown
    // By size, weight, underline and colour, kept while the font is.
    mutable std::map<std::tuple<qreal, int, bool, QRgb>, Look> m_madeLooks;
    QVector<Laid> m_screen;
    qreal m_widest = 0;
    bool m_measured = false; // m_widest is the widest line of all
    QTimer m_measure;        // measures the lines once the page is on screen
    qint64 m_anchor = 0;
    qint64 m_caret = 0;
    qint64 m_mostCopied = DefaultMostCopied;
    QVector<Mark> m_marks; // in the order they were made; a later one wins
    qint64 m_longestMark = 0;
    QVector<int> m_columnMarks;
    qint64 m_doubleClickTime = -1; // when the last double-click came, for a triple click
    QPoint m_doubleClickAt;
};
