#include "platform/MappedFile.h"

#include <QObject>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The maps the SIGBUS handler may mend. A signal handler can only reach
// process-wide state, so this table is the one shared thing here; it is
// touched with lock-free atomics only, which a handler may use.
struct Slot
{
    std::atomic<uintptr_t> begin {0};
    std::atomic<uintptr_t> end {0}; // rounded up to whole pages
    std::atomic<int> changed {0};
};
constexpr int SlotCount = 256;
Slot mapSlots[SlotCount];
struct sigaction previousAction;
uintptr_t pageSize = 4096;
static_assert(std::atomic<uintptr_t>::is_always_lock_free, "the handler needs lock-free atomics");

void onBusError(int signal, siginfo_t *info, void *context)
{
    const auto address = reinterpret_cast<uintptr_t>(info->si_addr);
    for (Slot &slot : mapSlots) {
        const uintptr_t begin = slot.begin.load();
        const uintptr_t end = slot.end.load();
        if (begin == 0 || address < begin || address >= end)
            continue;
        // The file ends before this page now: zeros from here to the end
        // of the map, and the read that faulted is tried again on them.
        const uintptr_t from = address & ~(pageSize - 1);
        if (::mmap(reinterpret_cast<void *>(from), end - from, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED,
                -1, 0)
            == MAP_FAILED)
            break;
        slot.changed.store(1);
        return;
    }
    // Not a map of ours: the fault is what it would have been.
    if (previousAction.sa_flags & SA_SIGINFO) {
        if (previousAction.sa_sigaction) {
            previousAction.sa_sigaction(signal, info, context);
            return;
        }
    } else if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN) {
        previousAction.sa_handler(signal);
        return;
    }
    ::signal(SIGBUS, SIG_DFL); // the faulting read runs again and ends the program
}

void installHandler()
{
    static std::once_flag once;
    std::call_once(once, [] {
        pageSize = uintptr_t(::sysconf(_SC_PAGESIZE));
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &previousAction);
    });
}

int takeSlot(uintptr_t begin, uintptr_t end)
{
    for (int i = 0; i < SlotCount; ++i) {
        uintptr_t expected = 0;
        if (mapSlots[i].begin.compare_exchange_strong(expected, begin)) {
            mapSlots[i].changed.store(0);
            mapSlots[i].end.store(end);
            return i;
        }
    }
    return -1;
}

#ifndef MADV_POPULATE_READ
#define MADV_POPULATE_READ 22 // Linux 5.14
#endif

// A map is read whole, or a stretch of it at once (the emphasis look's
// exports; the printed look's index, MapPass), and a read that faults once
// for every 64 KB costs two to three times a read in large blocks. So the
// kernel is asked to map it in one call (MADV_POPULATE_READ, reading it from
// the disk as one large sequential read where it is not in memory yet), or
// on older kernels to read it ahead. A file too large to stay in memory beside everything else
// is left to the faults: mapping it ahead would only push its own first
// pages out again. The map stays as it is for random access afterwards; a
// file cut short under the call ends it early, which the reads then meet.
void mapAhead(void *data, size_t size)
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    if (pages <= 0 || size > size_t(pages) / 4 * pageSize)
        return;
    const int savedErrno = errno;
    if (::madvise(data, size, MADV_POPULATE_READ) != 0 && errno == EINVAL)
        ::madvise(data, size, MADV_WILLNEED);
    errno = savedErrno;
}

} // namespace

std::unique_ptr<MappedFile> MappedFile::map(int fd, QString *error, Ahead ahead)
{
    installHandler();
    std::unique_ptr<MappedFile> file(new MappedFile);
    file->m_stamp = FileStamp::of(fd); // what was mapped, before anything of it is read
    if (::fstat(fd, &file->m_stat) != 0 || !S_ISREG(file->m_stat.st_mode) || file->m_stat.st_size <= 0) {
        if (error)
            *error = QObject::tr("It is empty or not a regular file.");
        return nullptr;
    }
    const size_t size = size_t(file->m_stat.st_size);
    void *data = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    }
    const auto begin = reinterpret_cast<uintptr_t>(data);
    file->m_slot = takeSlot(begin, (begin + size + pageSize - 1) & ~(pageSize - 1));
    file->m_fd = file->m_slot < 0 ? -1 : ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (file->m_fd < 0) {
        if (file->m_slot >= 0) {
            mapSlots[file->m_slot].end.store(0);
            mapSlots[file->m_slot].begin.store(0);
        }
        ::munmap(data, size);
        if (error)
            *error = QObject::tr("Too many files are open.");
        return nullptr;
    }
    file->m_data = static_cast<const char *>(data);
    file->m_size = qint64(size);
    if (ahead == ReadAhead)
        mapAhead(data, size);
    return file;
}

void MappedFile::readAhead(qint64 from, qint64 length) const
{
    from = qBound(qint64(0), from, m_size);
    length = qBound(qint64(0), length, m_size - from);
    if (length == 0)
        return;
    const qint64 begin = from & ~qint64(pageSize - 1); // madvise takes whole pages
    mapAhead(const_cast<char *>(m_data) + begin, size_t(from + length - begin));
}

void MappedFile::release(qint64 from, qint64 length) const
{
    from = qBound(qint64(0), from, m_size);
    length = qBound(qint64(0), length, m_size - from);
    const qint64 page = qint64(pageSize);
    const qint64 begin = (from + page - 1) & ~(page - 1); // only pages wholly inside
    const qint64 end = (from + length) & ~(page - 1);
    if (end <= begin)
        return;
    const int savedErrno = errno;
    ::madvise(const_cast<char *>(m_data) + begin, size_t(end - begin), MADV_DONTNEED);
    errno = savedErrno;
}

void MappedFile::copy(qint64 from, qint64 length, char *into) const
{
    Q_ASSERT(from >= 0 && length >= 0 && from + length <= m_size);
    qint64 done = 0;
    while (done < length) {
        const ssize_t got = ::pread(m_fd, into + done, size_t(length - done), off_t(from + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break; // the file ends early, or cannot be read: the map says what it holds
        done += got;
    }
    if (done < length)
        std::memcpy(into + done, m_data + from + done, size_t(length - done));
}

qint64 MappedFile::copyToFile(qint64 from, qint64 length, int out) const
{
    const int savedErrno = errno;
    loff_t offset = from;
    qint64 done = 0;
    // A stretch at a time, each handed to the disk as soon as it is copied
    // (no wait): the writer's wait for the disk at the end is then short.
    constexpr qint64 Stretch = 8 << 20;
    while (done < length) {
        const off_t outStart = ::lseek(out, 0, SEEK_CUR);
        const ssize_t copied
            = ::copy_file_range(m_fd, &offset, out, nullptr, size_t(qMin(Stretch, length - done)), 0);
        if (copied < 0 && errno == EINTR)
            continue;
        if (copied <= 0)
            break;
        if (outStart >= 0)
            ::sync_file_range(out, outStart, copied, SYNC_FILE_RANGE_WRITE);
        done += copied;
    }
    errno = savedErrno;
    return done;
}

MappedFile::~MappedFile()
{
    if (!m_data)
        return;
    mapSlots[m_slot].end.store(0);
    mapSlots[m_slot].begin.store(0);
    ::munmap(const_cast<char *>(m_data), size_t(m_size));
    ::close(m_fd);
}

bool MappedFile::changed() const
{
    if (mapSlots[m_slot].changed.load())
        return true;
    return m_stamp.changed(m_fd);
}
