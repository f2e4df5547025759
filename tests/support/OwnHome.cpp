// Linked into every test: a test run by hand, not by ctest, keeps to the
// settings home, temporary folder, language and (for all but the printing
// tests) absent print server that ctest gives it, never the user's own (a
// test that stores a code page would otherwise change what the user's
// program reads). Set before main, ahead of anything that reads them; the
// home is ctest's, beside the test: home/<test name>.
#include <QByteArray>
#include <QtGlobal>

#include <climits>
#include <unistd.h>

namespace {

const bool g_ownHome = [] {
    if (!qEnvironmentVariableIsEmpty("STICKER2_TEST_HOME"))
        return false; // ctest set them
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return false;
    const QByteArray exe(path, length);
    const qsizetype slash = exe.lastIndexOf('/');
    const QByteArray name = exe.mid(slash + 1);
    const QByteArray home = exe.left(slash) + "/home/" + name;
    qputenv("STICKER2_TEST_HOME", home);
    qputenv("XDG_CONFIG_HOME", home + "/config");
    qputenv("XDG_DATA_HOME", home + "/data");
    qputenv("TMPDIR", home + "/tmp");
    qputenv("LANGUAGE", "en");
    if (!name.startsWith("tst_cups"))
        qputenv("CUPS_SERVER", home + "/no-spooler.sock");
    return true;
}();

} // namespace
