#pragma once

#include "codepage/CodePage.h"
#include "report/LineIndex.h"
#include "report/MarkupScanner.h"

#include <QByteArrayView>
#include <QString>
#include <QVector>

#include <memory>

// One line as the report view shows it: every character of it, control
// codes and the sequences the markup hides included, so that a column is a
// column of the page's text; and the runs of its styles.
struct ViewLine
{
    LineIndex::Line line;
    QString text;
    QVector<MarkupRun> runs; // lengths add up to the text's
    // The style of the line end before the line: an empty line is as high
    // as a character of it (the first line's is the plain style).
    int startStyle = 0;
};

// The lines of a page (or of a whole file) with the emphasis the view's
// markup passes give them, made a few at a time: nothing is decoded or
// styled before it is asked for. Where each pass stands at the start of
// every block of lines is kept once it has been reached, so the lines of
// any screen are styled from the block before them. The bytes are read in
// place and must outlive the lines.
class ViewLines
{
public:
    struct Options
    {
        CodePage::Id codePage = CodePage::Id::Latin1;
        bool markup = true;           // the passes run (the continuous view has none)
        MarkupContext context;        // what they read
        bool formFeedAtEnd = false;   // the page is shown with its form feed
    };

    // Lines over bytes that `keeper` keeps alive (a page table's map, say).
    ViewLines(QByteArrayView bytes, const Options &options, std::shared_ptr<const void> keeper = {});
    // Lines over bytes of their own.
    static std::shared_ptr<ViewLines> of(const QByteArray &bytes, const Options &options);
    // The same lines read in another markup context (other emphasis
    // colours), over the same bytes, kept alive alike.
    std::shared_ptr<ViewLines> withContext(const MarkupContext &context) const;

    const Options &options() const { return m_options; }
    const LineIndex &index() const { return m_index; }
    qint64 lineCount() const { return m_index.lineCount(); }
    qint64 positionCount() const { return m_index.positionCount() + (m_options.formFeedAtEnd ? 1 : 0); }
    // Lines first .. first + count - 1 (fewer at the end).
    QVector<ViewLine> lines(qint64 first, qint64 count);
    const QTextCharFormat &format(int style) const { return m_scanner.format(style); }
    // The text between two positions, a line end as '\n'.
    QString text(qint64 from, qint64 to) const;
    // The characters of one line.
    QString lineText(const LineIndex::Line &line) const;
    // Where `needle` (one line of text) next begins at or after position
    // `from` and before `to`, letters matched regardless of case; -1 when
    // nowhere. Matches may overlap.
    qint64 find(const QString &needle, qint64 from, qint64 to) const;
    // Every such match (at most `most`), each piece of the text read once.
    QVector<qint64> findAll(const QString &needle, qint64 from, qint64 to, qsizetype most) const;
    // The byte that a position stands for: a line end's first byte, the end
    // of the bytes for the form feed shown after them (or past the end).
    qint64 byteOf(qint64 position) const;
    bool isLast(const LineIndex::Line &line) const { return line.number + 1 == lineCount(); }

private:
    static constexpr qint64 BlockLines = 128;
    QVector<qint64> findBytes(const QString &needle, qint64 from, qint64 to, qsizetype most) const;
    // Returns the style of the line end (the plain style when there is none).
    int feed(MarkupScanner &scanner, const QString &text, bool noLineEnd, QVector<MarkupRun> *runs) const;

    std::shared_ptr<const void> m_keeper;
    Options m_options;
    LineIndex m_index;
    MarkupScanner m_scanner;
    QVector<MarkupScanner> m_blocks; // the scan before line b * BlockLines
};
