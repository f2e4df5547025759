#pragma once

#include "platform/FileStamp.h"

#include <QString>

#include <memory>
#include <sys/stat.h>

// A read-only map of a whole regular file that another program may cut
// short or write anew while it is mapped (a text-mode program writes its
// report file afresh each time it prints). Reading a mapped page past the
// new end of the file raises SIGBUS, which would end the program; every map
// made here is registered with a handler that puts zero pages over the rest
// of the map instead and marks the map as changed. Readers go on with the
// zeros and ask changed() before they trust what they read.
class MappedFile
{
public:
    // Maps the open file `fd` (not taken over: a copy of it is kept for
    // changed()). Nothing, with the reason, when the file cannot be mapped
    // (an empty file, a file system without maps, every slot in use): the
    // caller then reads it instead.
    // ReadAhead asks the kernel to read the whole file in at once (for a
    // caller that reads it through now); ReadOnDemand leaves that to
    // readAhead() a stretch at a time, so the map is made at once.
    enum Ahead { ReadAhead, ReadOnDemand };
    static std::unique_ptr<MappedFile> map(int fd, QString *error, Ahead ahead = ReadAhead);
    ~MappedFile();
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    const char *data() const { return m_data; }
    qint64 size() const { return m_size; }
    // Asks the kernel to read a stretch of the map in (in one call, as a
    // large read); what lies outside the file is left alone.
    void readAhead(qint64 from, qint64 length) const;
    // Lets go of the map's page entries over the whole pages of
    // [from, from + length): a pass is done with that stretch. The file's
    // pages stay in memory, and a read there maps them in again.
    void release(qint64 from, qint64 length) const;
    // Copies the mapped bytes [from, from + length) to `into` with large
    // reads of the file rather than through the map: a pass over the whole
    // file reads it at the speed of a copy, where the map costs a fault (or
    // on a virtual machine a walk of two page tables) every few pages.
    // Whatever the file no longer holds (cut short since) is taken from the
    // map, which reads as zeros there and marks the map changed: the bytes
    // are those the map gives, or the file changed().
    void copy(qint64 from, qint64 length, char *into) const;
    // Copies the file's bytes [from, from + length) to the end of the open
    // file `out` inside the kernel (copy_file_range), as cp does, starting
    // the disk writing of each stretch as it goes; the count
    // copied, less than `length` where the kernel cannot (another kind of
    // file, a full disk): the caller writes the rest itself.
    qint64 copyToFile(qint64 from, qint64 length, int out) const;

    // True once the file is no longer what was mapped: a read met its new
    // end, or it was cut, grown or written since (its size or time of last
    // change differ). A file replaced under the same name is another file:
    // this one, still mapped, is unchanged.
    bool changed() const;

private:
    MappedFile() = default;

    const char *m_data = nullptr;
    qint64 m_size = 0;
    int m_slot = -1;
    int m_fd = -1;
    struct stat m_stat {};
    FileStamp m_stamp;
};
