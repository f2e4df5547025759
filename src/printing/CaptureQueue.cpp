#include "printing/CaptureQueue.h"

#include <QTemporaryFile>
#include <QUrl>

#include "printing/CupsLibrary.h"
#include "printing/PrinterList.h"

#include <QFileInfo>
#include <QVector>

#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <linux/fs.h>
#include <optional>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

namespace CaptureQueue {

namespace {

const char Scheme[] = "sticker2:";

// The driver of a capture queue. Each filter line names a type the queue
// takes and passes on unchanged ("-"); CUPS refuses every other type.
const char RawDriver[] = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "STICKER2.PPD"
*Manufacturer: "Sticker2"
*Product: "(Sticker2 capture)"
*ModelName: "Sticker2 capture"
*ShortNickName: "Sticker2 capture"
*NickName: "Sticker2 capture, raw jobs only"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter2: "application/vnd.cups-raw application/vnd.cups-raw 0 -"
*cupsFilter2: "text/plain application/vnd.cups-raw 0 -"
*cupsFilter2: "application/octet-stream application/vnd.cups-raw 0 -"
*OpenUI *PageSize: PickOne
*DefaultPageSize: A4
*PageSize A4: ""
*CloseUI: *PageSize
*DefaultImageableArea: A4
*ImageableArea A4: "0 0 595 842"
*DefaultPaperDimension: A4
*PaperDimension A4: "595 842"
)ppd";

QByteArray printerUri(const CupsLibrary &cups, const QString &name)
{
    char uri[HTTP_MAX_URI];
    cups.httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
        "/printers/%s", name.toUtf8().constData());
    return uri;
}

ipp_t *requestFor(const CupsLibrary &cups, ipp_op_t operation, const QString &name)
{
    ipp_t *request = cups.ippNewRequest(operation);
    cups.ippAddString(
        request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri(cups, name).constData());
    cups.ippAddString(
        request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cups.cupsUser());
    return request;
}

QString lastError(const CupsLibrary &cups)
{
    QString text = QString::fromUtf8(cups.cupsLastErrorString());
    const ipp_status_t status = cups.cupsLastError();
    if (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE) // no server: the text is only errno's
        return QStringLiteral("the print server %1 does not answer").arg(QString::fromLocal8Bit(cups.cupsServer()));
    if (status == IPP_STATUS_ERROR_FORBIDDEN || status == IPP_STATUS_ERROR_NOT_AUTHORIZED)
        text += QStringLiteral(" (run it as root)");
    return text;
}

// A print server that takes the connection and never answers would hold
// each request a minute and then say nothing of use: asked first, briefly.
// Empty when it answers, or cannot be reached at all (which the request
// itself then tells).
QString silentServer()
{
    const PrinterList server = PrinterList::fetch();
    if (!server.timedOut)
        return QString();
    QString clause = server.error.endsWith(QLatin1Char('.')) ? server.error.chopped(1) : server.error;
    clause[0] = clause[0].toLower();
    return clause;
}

bool succeeded(const CupsLibrary &cups)
{
    return cups.cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

// The queue's device URI; an empty string when there is no such queue,
// nothing when the spooler could not be asked.
std::optional<QString> deviceUriOf(const CupsLibrary &cups, const QString &name, QString *error)
{
    ipp_t *request = requestFor(cups, IPP_OP_GET_PRINTER_ATTRIBUTES, name);
    cups.ippAddString(
        request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "device-uri");
    ipp_t *response = cups.cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    QString uri;
    const bool ok = succeeded(cups);
    if (ok) {
        if (ipp_attribute_t *attribute = cups.ippFindAttribute(response, "device-uri", IPP_TAG_URI))
            uri = QString::fromUtf8(cups.ippGetString(attribute, 0, nullptr));
    }
    cups.ippDelete(response);
    if (ok || cups.cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
        return uri;
    *error = QStringLiteral("%1: cannot ask the spooler: %2").arg(name, lastError(cups));
    return std::nullopt;
}

bool isCaptureUri(const QString &uri)
{
    return uri.startsWith(QLatin1String(Scheme));
}

// Whether the user (with its groups) has the permission bits `bits` (of
// S_IROTH, S_IWOTH, S_IXOTH) on a file of this owner and mode.
bool permits(const struct stat &info, uid_t uid, const QVector<gid_t> &groups, mode_t bits)
{
    if (uid == 0)
        return true;
    if (info.st_uid == uid)
        return (info.st_mode & (bits << 6)) == (bits << 6);
    if (groups.contains(info.st_gid))
        return (info.st_mode & (bits << 3)) == (bits << 3);
    return (info.st_mode & bits) == bits;
}

// Whether the user may `mode` (access()'s bits) the path as the kernel
// decides it, access control lists and every folder on the way included: a
// child takes the user's ids and asks. Nothing when that cannot be done
// (this process is not root).
std::optional<bool> kernelLets(
    uid_t uid, gid_t gid, const QVector<gid_t> &groups, const QByteArray &path, int mode)
{
    if (::geteuid() != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        if (::setgroups(size_t(groups.size()), groups.data()) != 0 || ::setresgid(gid, gid, gid) != 0
            || ::setresuid(uid, uid, uid) != 0)
            ::_exit(2);
        ::_exit(::access(path.constData(), mode) == 0 ? 0 : 1);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

// Why the kernel keeps a user out of a folder its mode lets them write:
// the folder made unchangeable (chattr +i), an access control list, or
// something else (a security module).
QString keptOutBy(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int flags = 0;
    const bool immutable = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL);
    if (fd >= 0)
        ::close(fd);
    if (immutable)
        return QStringLiteral(", made unchangeable (chattr +i)");
    if (::getxattr(path.constData(), "system.posix_acl_access", nullptr, 0) > 0)
        return QStringLiteral(", kept out by an access control list");
    return QStringLiteral(", kept out by the kernel (a security module, or the file system)");
}

QString modeText(const struct stat &info)
{
    const passwd *owner = ::getpwuid(info.st_uid);
    const group *grp = ::getgrgid(info.st_gid);
    return QStringLiteral("owner %1, group %2, mode %3")
        .arg(owner ? QString::fromLocal8Bit(owner->pw_name) : QString::number(info.st_uid),
            grp ? QString::fromLocal8Bit(grp->gr_name) : QString::number(info.st_gid),
            QStringLiteral("%1").arg(info.st_mode & 07777, 4, 8, QLatin1Char('0')));
}

} // namespace

QString folderProblem(const QString &folder, const QString &user)
{
    const QByteArray userName = user.toLocal8Bit();
    const passwd *account = ::getpwnam(userName.constData());
    if (!account)
        return QStringLiteral("%1: the spooler's user %2 does not exist").arg(folder, user);
    const uid_t uid = account->pw_uid;
    const gid_t gid = account->pw_gid;
    QVector<gid_t> groups(64);
    int count = int(groups.size());
    if (::getgrouplist(userName.constData(), gid, groups.data(), &count) < 0) {
        groups.resize(count);
        ::getgrouplist(userName.constData(), gid, groups.data(), &count);
    }
    groups.resize(qMax(0, count));
    if (!groups.contains(gid))
        groups.append(gid);

    const QString absolute = QFileInfo(folder).absoluteFilePath();
    struct stat info;
    if (::stat(QFile::encodeName(absolute).constData(), &info) != 0)
        return QStringLiteral("%1: no such folder").arg(absolute);
    if (!S_ISDIR(info.st_mode))
        return QStringLiteral("%1: not a folder").arg(absolute);
    struct statvfs volume;
    if (::statvfs(QFile::encodeName(absolute).constData(), &volume) == 0 && (volume.f_flag & ST_RDONLY))
        return QStringLiteral("%1: it is on a read-only file system").arg(absolute);
    // The kernel's word counts where it can be had (an access control list
    // may let the user in, or keep it out, whatever the mode says); the
    // mode then says why not.
    const std::optional<bool> lets = kernelLets(uid, gid, groups, QFile::encodeName(absolute), W_OK | X_OK);
    if (lets == true)
        return QString();
    // Every folder on the way must let the user through.
    QString above = QFileInfo(absolute).absolutePath();
    for (;;) {
        struct stat step;
        if (::stat(QFile::encodeName(above).constData(), &step) == 0 && !permits(step, uid, groups, S_IXOTH))
            return QStringLiteral("%1: the spooler's user %2 cannot reach it through %3 (%4)")
                .arg(absolute, user, above, modeText(step));
        if (above == QLatin1String("/"))
            break;
        above = QFileInfo(above).absolutePath();
    }
    const bool modeLets = permits(info, uid, groups, S_IWOTH | S_IXOTH);
    if (lets == false || !modeLets)
        return QStringLiteral("%1: the spooler's user %2 cannot write it (%3%4); jobs would wait in the queue "
                              "for ever")
            .arg(absolute, user, modeText(info),
                modeLets ? keptOutBy(QFile::encodeName(absolute)) : QString());
    return QString();
}

QString deviceUri(const QString &folder)
{
    return QLatin1String(Scheme) + QString::fromLatin1(QUrl::toPercentEncoding(folder, "/"));
}

QString nameProblem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("a queue needs a name");
    if (name.toUtf8().size() > 127)
        return QStringLiteral("a queue name has at most 127 bytes");
    for (const QChar c : name) {
        if (c.unicode() <= 0x20 || c.unicode() == 0x7f || QStringLiteral("/\\?'\"#").contains(c))
            return QStringLiteral("a queue name has no spaces, control characters or / \\ ? ' \" #");
    }
    return QString();
}

bool add(const Options &options, QString *error)
{
    const QString problem = nameProblem(options.name);
    if (!problem.isEmpty()) {
        *error = QStringLiteral("%1: %2").arg(options.name, problem);
        return false;
    }
    const CupsLibrary *library = CupsLibrary::get(error);
    if (!library)
        return false;
    const CupsLibrary &cups = *library;
    const QString silent = silentServer();
    if (!silent.isEmpty()) {
        *error = QStringLiteral("%1: %2").arg(options.name, silent);
        return false;
    }
    const std::optional<QString> existing = deviceUriOf(cups, options.name, error);
    if (!existing)
        return false;
    if (!existing->isEmpty() && !isCaptureUri(*existing)) {
        *error = QStringLiteral("%1: a queue of that name prints to %2; it is left as it is")
                     .arg(options.name, *existing);
        return false;
    }
    const QString unwritable = folderProblem(options.folder);
    if (!unwritable.isEmpty()) {
        *error = unwritable;
        return false;
    }
    QTemporaryFile driver;
    if (!driver.open() || driver.write(RawDriver) != qint64(sizeof RawDriver - 1) || !driver.flush()) {
        *error = QStringLiteral("%1: cannot write the queue's driver: %2")
                     .arg(options.name, driver.errorString());
        return false;
    }
    ipp_t *request = requestFor(cups, IPP_OP_CUPS_ADD_MODIFY_PRINTER, options.name);
    cups.ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr,
        deviceUri(options.folder).toUtf8().constData());
    cups.ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_TEXT, "printer-info", nullptr,
        QStringLiteral("Sticker2 capture into %1").arg(options.folder).toUtf8().constData());
    cups.ippAddBoolean(request, IPP_TAG_PRINTER, "printer-is-shared", options.shared);
    cups.ippAddBoolean(request, IPP_TAG_PRINTER, "printer-is-accepting-jobs", 1);
    cups.ippAddInteger(request, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
    cups.ippDelete(cups.cupsDoFileRequest(
        CUPS_HTTP_DEFAULT, request, "/admin/", QFile::encodeName(driver.fileName()).constData()));
    if (!succeeded(cups)) {
        *error = QStringLiteral("%1: cannot add the queue: %2").arg(options.name, lastError(cups));
        return false;
    }
    return true;
}

namespace {

// Whether the queue prints on a capture queue: it is one, or a class one of
// whose members (classes in classes too, a few deep) is.
bool reachesCapture(const CupsLibrary &cups, const QString &name, int depth)
{
    ipp_t *request = requestFor(cups, IPP_OP_GET_PRINTER_ATTRIBUTES, name);
    const char *wanted[] = {"device-uri", "member-names"};
    cups.ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, wanted);
    ipp_t *response = cups.cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    bool capture = false;
    QStringList members;
    if (succeeded(cups)) {
        if (ipp_attribute_t *uri = cups.ippFindAttribute(response, "device-uri", IPP_TAG_URI))
            capture = isCaptureUri(QString::fromUtf8(cups.ippGetString(uri, 0, nullptr)));
        if (ipp_attribute_t *names = cups.ippFindAttribute(response, "member-names", IPP_TAG_NAME)) {
            for (int i = 0; i < cups.ippGetCount(names); ++i)
                members << QString::fromUtf8(cups.ippGetString(names, i, nullptr));
        }
    }
    cups.ippDelete(response);
    for (const QString &member : std::as_const(members)) {
        if (capture || depth >= 4)
            break;
        capture = reachesCapture(cups, member, depth + 1);
    }
    return capture;
}

} // namespace

bool isCaptureQueue(const QString &name)
{
    QString error;
    const CupsLibrary *library = CupsLibrary::get(&error);
    return library && reachesCapture(*library, name, 0);
}

bool remove(const QString &name, QString *error)
{
    const CupsLibrary *library = CupsLibrary::get(error);
    if (!library)
        return false;
    const CupsLibrary &cups = *library;
    const QString silent = silentServer();
    if (!silent.isEmpty()) {
        *error = QStringLiteral("%1: %2").arg(name, silent);
        return false;
    }
    const std::optional<QString> existing = deviceUriOf(cups, name, error);
    if (!existing)
        return false;
    if (existing->isEmpty()) {
        *error = QStringLiteral("%1: no such queue").arg(name);
        return false;
    }
    if (!isCaptureUri(*existing)) {
        *error = QStringLiteral("%1: not a capture queue (it prints to %2); it is left as it is")
                     .arg(name, *existing);
        return false;
    }
    cups.ippDelete(
        cups.cupsDoRequest(CUPS_HTTP_DEFAULT, requestFor(cups, IPP_OP_CUPS_DELETE_PRINTER, name), "/admin/"));
    if (!succeeded(cups)) {
        *error = QStringLiteral("%1: cannot remove the queue: %2").arg(name, lastError(cups));
        return false;
    }
    return true;
}

} // namespace CaptureQueue
