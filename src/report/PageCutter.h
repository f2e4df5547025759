#pragma once

#include "escp/EscpTokenizer.h"

#include <QByteArrayView>
#include <QVector>

#include <memory>

class MappedFile;

// The cut of a print file into pages, made a stretch at a time so that a
// large file can be cut while its first pages are already shown. A page ends
// at a form feed the printer takes as one: not at a 0x0C among a command's
// parameters or a picture's dots, which are stepped over whole (so a stretch
// may end past the point asked for). The bytes must stay where they are
// while the cutter is used.
//
// Given the mapped file the bytes are, the cutter reads them in large blocks
// (MappedFile::copy) instead of through the map, which costs two to three
// times as much on a virtual machine; a command that reaches the end of a
// block is measured on the map, so the cut is the same either way.
class PageCutter
{
public:
    static constexpr qsizetype BlockSize = 256 << 10; // stays in the cache while it is scanned

    // `noteLineEnds`: also find whether every line end is a CR LF
    // (lineEndsAllCrLf), a pass over each block that only plain text uses.
    explicit PageCutter(QByteArrayView bytes, const MappedFile *file = nullptr, qsizetype blockSize = BlockSize,
        bool noteLineEnds = false);
    ~PageCutter();

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
    // Once a file is cut whole in blocks, noting its line ends: whether
    // every line end in it is a CR LF (no lone CR, no lone LF), in commands
    // and pictures too, so that its plain text is its own bytes. False when
    // it is not known.
    bool lineEndsAllCrLf() const;

private:
    // Cuts [p, stop) of `data`, which holds the bytes from `base` on up to
    // `dataEnd`; returns where it got to. A command whose length `data`
    // cannot show for certain is measured on the whole bytes instead.
    qsizetype cutIn(const uchar *data, qsizetype base, qsizetype dataEnd, qsizetype p, qsizetype stop,
        QVector<qsizetype> *starts);

    // Checks the line ends of a block that holds the bytes from `base` on.
    void checkLineEnds(const uchar *data, qsizetype base, qsizetype dataEnd);

    QByteArrayView m_bytes;
    const MappedFile *m_file;
    qsizetype m_blockSize;
    std::unique_ptr<uchar[]> m_block;
    qsizetype m_position = 0;
    bool m_superSubscript = false; // ESC S is on at m_position (downloaded characters are shorter)
    EscpTokenizer::ImageModes m_imageModes = EscpTokenizer::DefaultImageModes; // ESC ? so far
    qsizetype m_checked = 0; // the line ends are checked up to here
    bool m_crPending = false; // the byte before m_checked is a CR
    bool m_loneLineEnd = false;
    bool m_noteLineEnds = false;
};
