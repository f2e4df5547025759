#include "platform/StandardDescriptors.h"

#include <initializer_list>

#include <fcntl.h>
#include <unistd.h>

void holdStandardDescriptors()
{
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) >= 0)
            continue;
        const int held = ::open("/dev/null", fd == STDERR_FILENO ? O_WRONLY : O_RDONLY);
        if (held >= 0 && held != fd) { // a lower one was closed too: it is held first
            ::dup2(held, fd);
            ::close(held);
        }
    }
}
