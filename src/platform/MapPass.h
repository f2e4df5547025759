#pragma once

#include <QtGlobal>

class MappedFile;

// A pass that reads a map from front to back (the printed look's index, one
// on each part's thread): the stretch ahead of it is mapped in with one call
// and what it has read let go. A map made whole ahead costs a walk of the
// page table per page on one thread, and about as much again when it is
// taken down at the end; a pass of its own does both on the thread that
// reads, side by side with the other parts, and leaves the map small. What
// is let go is read again as any map is read (a fault maps it in).
// Nothing is done without a map: the bytes are then in memory.
class MapPass
{
public:
    // The pass reads from `from`, mapping in no further than `until` (the
    // map's end when negative).
    MapPass(const MappedFile *map, qint64 from, qint64 until = -1);
    // Lets go of what the pass has mapped in.
    ~MapPass();
    MapPass(const MapPass &) = delete;
    MapPass &operator=(const MapPass &) = delete;

    // The pass has read up to `at` (and is told again before it has read
    // half a stretch more).
    void reached(qint64 at);
    // Maps in up to `end` now (a first look at the start of the file that
    // reads further than a stretch).
    void mapTo(qint64 end);
    // Maps in no further than `until` from now on (another pass reads on
    // from there), or on to the map's end when negative.
    void setUntil(qint64 until);

    // How far ahead of the pass the map is mapped in.
    static constexpr qint64 Stretch = 8 << 20;

private:
    const MappedFile *m_map;
    qint64 m_released; // let go of before this
    qint64 m_ahead;    // mapped in up to this
    qint64 m_until = 0;
};
