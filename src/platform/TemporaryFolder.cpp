#include "platform/TemporaryFolder.h"

#include <cstdlib>
#include <sys/stat.h>

void keepTemporaryFolderUsable()
{
    const char *folder = std::getenv("TMPDIR");
    struct stat st;
    if (folder && (*folder == '\0' || ::stat(folder, &st) != 0 || !S_ISDIR(st.st_mode)))
        ::unsetenv("TMPDIR");
}
