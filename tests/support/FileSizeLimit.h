#pragma once

#include <sys/resource.h>

// While alive, bytes written past `bytes` into any file fail, as under
// "ulimit -f", so a save fails part-way however privileged the test runs.
// The program ignores the signal such a write raises (TestSupport::init()
// does as the program's start does). Nothing may be printed while it is
// alive: the test's log is a file too.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old;
};
