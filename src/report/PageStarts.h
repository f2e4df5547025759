#pragma once

#include <QByteArray>
#include <QVector>

#include <array>

// Where each page of a print file begins, in order, kept small: a file of
// nothing but form feeds has a page a byte, and eight bytes a page (50 MB of
// them took 400 MB, and twice that while the list grew) made the table the
// largest thing the program holds. The starts are kept in blocks of 64: a
// block keeps its first start whole and the others as their distance from
// it, in one, two, four or eight bytes as the block's span needs (a block of
// form feeds takes a byte a page, one of 30 KB pages four). Any start is
// found at once; copies share the blocks.
class PageStarts
{
public:
    PageStarts() = default;
    PageStarts(std::initializer_list<qsizetype> starts);

    // Adds a start; starts are added in order (none before the last).
    void append(qsizetype start);
    void append(const QVector<qsizetype> &starts);
    qsizetype at(qsizetype i) const;
    qsizetype last() const { return at(m_count - 1); }
    qsizetype size() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }

private:
    static constexpr int BlockShift = 6;
    static constexpr qsizetype BlockSize = qsizetype(1) << BlockShift;
    // A full block: its first start and where the distances of the others
    // lie in m_packed, with the bytes each takes.
    struct Block
    {
        qsizetype first;
        qsizetype packedAt;
        int width;
    };
    void packTail();

    QVector<Block> m_blocks;
    QByteArray m_packed;
    std::array<qsizetype, BlockSize> m_tail {}; // the starts after the last full block
    qsizetype m_count = 0;
};
