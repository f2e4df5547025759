#include "cli/PlainStickers.h"

#include "platform/PlainFile.h"
#include "sticker/PlainSlot.h"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/uio.h>
#include <vector>
#include <unistd.h>

namespace PlainStickers {
namespace {

struct CommandLine
{
    std::string slot, pages, digits, output;
    bool hasSlot = false, hasPages = false, hasDigits = false, hasOutput = false;
};

// The options this run takes, each once; false for anything else.
bool parse(int argc, char **argv, CommandLine *line)
{
    if (argc < 2 || std::strcmp(argv[1], "stickers") != 0)
        return false;
    struct Option
    {
        const char *longName;
        const char *shortName;
        std::string CommandLine::*value;
        bool CommandLine::*given;
    };
    const Option options[] = {
        { "--slot", nullptr, &CommandLine::slot, &CommandLine::hasSlot },
        { "--pages", nullptr, &CommandLine::pages, &CommandLine::hasPages },
        { "--digits", nullptr, &CommandLine::digits, &CommandLine::hasDigits },
        { "--output", "-o", &CommandLine::output, &CommandLine::hasOutput },
    };
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        const Option *matched = nullptr;
        std::string value;
        for (const Option &option : options) {
            const std::string name = option.longName;
            if (argument == name || (option.shortName && argument == option.shortName)) {
                if (i + 1 >= argc)
                    return false;
                matched = &option;
                value = argv[++i];
            } else if (argument.compare(0, name.size() + 1, name + "=") == 0) {
                matched = &option;
                value = argument.substr(name.size() + 1);
            }
            if (matched)
                break;
        }
        if (!matched || line->*matched->given)
            return false;
        line->*matched->given = true;
        line->*matched->value = value;
    }
    return line->hasSlot && line->hasOutput;
}

class FileSink : public SheetGrid::Sink
{
public:
    explicit FileSink(int fd, bool handOn)
        : m_fd(fd)
        , m_handOn(handOn)
    { }
    bool put(const char *data, size_t size) override
    {
        if (!writeAll(m_fd, data, size))
            return false;
        m_written += off_t(size);
        handOn();
        return true;
    }

    // The same page many times over, written from its one copy.
    bool putRepeated(const char *data, size_t size, long long count, bool *failed) override
    {
        constexpr long long Batch = 256;
        std::vector<iovec> pieces(size_t(std::min(count, Batch)), iovec { const_cast<char *>(data), size });
        while (count > 0) {
            const long long batch = std::min(count, Batch);
            const ssize_t n = ::writev(m_fd, pieces.data(), int(batch));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                *failed = true;
                return false;
            }
            m_written += n;
            // A write that stops short ends inside a copy: finish that one.
            const size_t whole = size_t(n) / size;
            const size_t part = size_t(n) % size;
            count -= (long long)whole;
            if (part > 0) {
                if (!put(data + part, size - part)) {
                    *failed = true;
                    return false;
                }
                --count;
            }
            handOn();
        }
        return true;
    }

private:
    // The file is synced at its end: start that writing now, as the
    // program's other writers do, so the wait then is short.
    void handOn()
    {
        constexpr off_t HandOn = 8 << 20;
        if (m_handOn && m_written - m_handedOn >= HandOn) {
            ::sync_file_range(m_fd, m_handedOn, m_written - m_handedOn, SYNC_FILE_RANGE_WRITE);
            m_handedOn = m_written;
        }
    }

    int m_fd;
    bool m_handOn;
    off_t m_written = 0;
    off_t m_handedOn = 0;
};

bool writeGrid(const SheetGrid::Grid &grid, int fd, bool handOn)
{
    FileSink sink(fd, handOn);
    SheetGrid::ChunkedOutput out(sink);
    return SheetGrid::write(grid, out);
}

// Standard output, as the full program writes it: the descriptor, every
// byte checked. Once bytes are out a failure cannot be handed on, so it is
// reported here as the full program reports it.
bool toStandardOutput(const SheetGrid::Grid &grid, int *status)
{
    if (::fcntl(STDOUT_FILENO, F_GETFD) < 0)
        return false;
    if (writeGrid(grid, STDOUT_FILENO, false)) {
        *status = 0;
        return true;
    }
    const int cause = errno;
    std::setlocale(LC_ALL, ""); // the cause in the user's language, as the full program gives it
    std::fprintf(stderr, "sticker2: standard output: %s\n", std::strerror(cause));
    *status = 1;
    return true;
}

// A file written whole or not at all, as the program's save does it: an
// unnamed file in the target's folder (an existing target's permissions),
// synced, then linked in its place. Any failure removes what was written
// and leaves the run to the full program.
bool toFile(const SheetGrid::Grid &grid, const std::string &path, int *status)
{
    if (path.empty() || path[0] == '-' || path.back() == '/')
        return false;
    struct stat target;
    const bool exists = ::lstat(path.c_str(), &target) == 0;
    if (exists ? !S_ISREG(target.st_mode) || ::access(path.c_str(), W_OK) != 0 : errno != ENOENT)
        return false;
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, exists ? 0600 : 0666);
    if (fd < 0)
        return false;
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    bool ok = (!exists || ::fchmod(fd, target.st_mode & 0777) == 0) && writeGrid(grid, fd, true) && ::fdatasync(fd) == 0;
    if (ok && ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        ok = false;
        // Linked beside it under a name of this process's own, then renamed
        // over it (a name someone else holds is passed over).
        for (int attempt = 0; !ok && errno == EEXIST && attempt < 100; ++attempt) {
            const std::string temporary = path + "." + std::to_string(::getpid()) + "-" + std::to_string(attempt);
            ok = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0;
            if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
                ::unlink(temporary.c_str());
                ok = false;
                errno = 0;
            }
        }
    }
    ::close(fd);
    if (ok)
        *status = 0;
    return ok;
}

} // namespace

bool run(int argc, char **argv, int *status)
{
    CommandLine line;
    if (!parse(argc, argv, &line))
        return false;
    const auto slot = PlainSlot::plainNumber(line.slot);
    PlainSlot::Overrides overrides;
    if (line.hasPages) {
        const auto pages = PlainSlot::plainNumber(line.pages);
        if (!pages || *pages < 1)
            return false;
        overrides.pages = *pages;
    }
    if (line.hasDigits) {
        const auto digits = PlainSlot::plainNumber(line.digits);
        if (!digits || *digits > 20)
            return false;
        overrides.digits = int(*digits);
    }
    const auto paths = PlainSlot::pathsFromEnvironment();
    if (!slot || !paths)
        return false;
    const auto grid = PlainSlot::read(*paths, int(*slot), overrides);
    if (!grid)
        return false;
    // Numbers the fourth line cuts are said by the full program.
    if (grid->lines >= 4
        && SheetGrid::firstCutNumber(SheetGrid::trimSpaces(grid->line[4]).size(), grid->width, grid->digits,
               (long long)grid->cols * grid->rows) > 0)
        return false;
    // An output that is one of the files the sheet was read from, or where
    // the stored formats are kept, is left to the full program, which
    // refuses it.
    if (line.output != "-" && PlainSlot::isStoredPlace(*paths, line.output))
        return false;
    struct stat out;
    const bool outExists = line.output == "-" ? ::fstat(STDOUT_FILENO, &out) == 0 : ::stat(line.output.c_str(), &out) == 0;
    if (outExists) {
        for (const std::string &file : PlainSlot::storedFiles(*paths, int(*slot))) {
            struct stat stored;
            if (::stat(file.c_str(), &stored) == 0 && stored.st_dev == out.st_dev && stored.st_ino == out.st_ino)
                return false;
        }
    }
    return line.output == "-" ? toStandardOutput(*grid, status) : toFile(*grid, line.output, status);
}

} // namespace PlainStickers
