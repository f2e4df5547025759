#include "app/ProgramModule.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

namespace {

// The folder of the running program's own file (a link to it resolved).
std::string programFolder()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return std::string(".");
    const std::string file(path, size_t(length));
    return file.substr(0, file.rfind('/'));
}

int failed(const std::string &message)
{
    std::fprintf(stderr, "sticker2: %s\n", message.c_str());
    return 1;
}

} // namespace

namespace ProgramModule {

int run(const Module &which, int argc, char **argv, const Handover &handover)
{
    const std::string folder = programFolder();
    const std::string installed = folder + "/" STICKER2_MODULE_FROM_PROGRAM "/" + which.fileName;
    const std::string built = folder + "/" + which.fileName;
    const std::string &file = access(installed.c_str(), F_OK) == 0 ? installed : built;
    if (access(file.c_str(), F_OK) != 0)
        return failed(installed + ": the program's module is missing (reinstall sticker2)");
    // Never unloaded: the program runs in it to the end. Its calls bind on
    // first use, as an executable's do.
    void *module = dlopen(file.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (!module)
        return failed(dlerror());
    const auto entry = reinterpret_cast<Entry>(dlsym(module, which.entryName));
    if (!entry)
        return failed(file + ": not this program's module (no " + which.entryName + ")");
    return entry(argc, argv, &handover);
}

} // namespace ProgramModule
