#pragma once

#include <QByteArrayView>
#include <QVector>

// The cut of a print file into pages, made a stretch at a time so that a
// large file can be cut while its first pages are already shown. A page ends
// at a form feed the printer takes as one: not at a 0x0C among a command's
// parameters or a picture's dots, which are stepped over whole (so a stretch
// may end past the point asked for). The bytes must stay where they are
// while the cutter is used.
class PageCutter
{
public:
    explicit PageCutter(QByteArrayView bytes)
        : m_bytes(bytes)
    { }

    // Cuts on to at least `until` (or the end), adding the start of each page
    // found (the byte after its form feed) to `starts`.
    void cutTo(qsizetype until, QVector<qsizetype> *starts);
    // How far the bytes are cut; the whole file once it equals its size.
    qsizetype position() const { return m_position; }
    bool atEnd() const { return m_position >= m_bytes.size(); }

    // Whether the text after the last form feed, starting at `lastStart`,
    // is a page of its own: it is when it prints anything (a file that ends
    // in a form feed, or in one followed only by line ends and set-up
    // commands, gains none), and a file without a form feed is one page.
    static bool tailIsPage(QByteArrayView bytes, qsizetype lastStart, bool anyFormFeed);

private:
    QByteArrayView m_bytes;
    qsizetype m_position = 0;
};
