#include "delivery/UserFolder.h"

#include "delivery/Capabilities.h"
#include "platform/PlainFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// What the delivery child did, sent back over a pipe.
enum class Step : int {
    Done,
    RaiseCapabilities,
    SwitchGroups,
    SwitchGroup,
    SwitchUser,
    DropCapabilities,
    StillPrivileged,
    OpenHome,
    HomeNotOwned,
    MakeFolder,
    FolderIsLink,
    OpenFolder,
    FolderNotOwned,
    RefusedFolder,
    CreateFile,
    ReadSource,
    WriteFile,
    PublishFile,
    NoFreeName,
};

struct Report
{
    Step step = Step::Done;
    int error = 0;
    int nameIndex = -1;
};

// Everything the child needs, made before the fork: after it, only
// async-signal-safe calls (no allocation, no name service).
struct Plan
{
    bool switchUser = false;
    uid_t formerUid = 0;
    uid_t uid = 0;
    gid_t gid = 0;
    std::vector<gid_t> groups;
    QByteArray home;
    QByteArray folder;
    QByteArray tempName;
    std::vector<QByteArray> names; // the file name, then name-2, name-3 ...
    int source = -1;
    std::vector<char> buffer;
    bool refuses = false; // the policy's refused folder, as the parent found it
    dev_t refusedDevice = 0;
    ino_t refusedInode = 0;
};

[[noreturn]] void finish(int reportFd, Step step, int error, int nameIndex = -1)
{
    const Report report {step, error, nameIndex};
    [[maybe_unused]] const ssize_t sent = ::write(reportFd, &report, sizeof report);
    ::_exit(step == Step::Done ? 0 : 1);
}

// The delivery child becomes the user for good: groups, group, user, no
// capabilities and no way back; any step that fails ends the child.
void becomeUser(const Plan &plan, int reportFd)
{
    if (!Capabilities::raiseSwitchUser())
        finish(reportFd, Step::RaiseCapabilities, errno);
    if (::setgroups(plan.groups.size(), plan.groups.data()) != 0)
        finish(reportFd, Step::SwitchGroups, errno);
    if (::setresgid(plan.gid, plan.gid, plan.gid) != 0)
        finish(reportFd, Step::SwitchGroup, errno);
    if (::setresuid(plan.uid, plan.uid, plan.uid) != 0)
        finish(reportFd, Step::SwitchUser, errno);
    if (!Capabilities::dropAll())
        finish(reportFd, Step::DropCapabilities, errno);
    // No way back: neither root nor the service's own user.
    if (::setresuid(uid_t(-1), 0, uid_t(-1)) == 0
        || (plan.formerUid != plan.uid && ::setresuid(uid_t(-1), plan.formerUid, uid_t(-1)) == 0))
        finish(reportFd, Step::StillPrivileged, 0);
    ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
}

// The delivery child: becomes the user for good, then copies the file.
[[noreturn]] void deliverAsUser(Plan &plan, int reportFd)
{
    ::umask(077);
    if (plan.switchUser)
        becomeUser(plan, reportFd);

    const int home = ::open(plan.home.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st = {};
    if (home < 0 || ::fstat(home, &st) != 0)
        finish(reportFd, Step::OpenHome, errno);
    if (st.st_uid != plan.uid)
        finish(reportFd, Step::HomeNotOwned, 0);
    if (::mkdirat(home, plan.folder.constData(), 0700) != 0 && errno != EEXIST)
        finish(reportFd, Step::MakeFolder, errno);
    const int folder = ::openat(home, plan.folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0) {
        const int code = errno;
        struct stat link = {};
        if (::fstatat(home, plan.folder.constData(), &link, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(link.st_mode))
            finish(reportFd, Step::FolderIsLink, 0);
        finish(reportFd, Step::OpenFolder, code);
    }
    if (::fstat(folder, &st) != 0 || st.st_uid != plan.uid)
        finish(reportFd, Step::FolderNotOwned, 0);
    if (plan.refuses && st.st_dev == plan.refusedDevice && st.st_ino == plan.refusedInode)
        finish(reportFd, Step::RefusedFolder, 0);

    const int out = ::openat(
        folder, plan.tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (out < 0)
        finish(reportFd, Step::CreateFile, errno);
    const auto dropPart = [&](Step step, int code) {
        ::close(out);
        ::unlinkat(folder, plan.tempName.constData(), 0);
        finish(reportFd, step, code);
    };
    ::fchmod(out, 0600);
    for (off_t offset = 0;;) {
        const ssize_t n = ::pread(plan.source, plan.buffer.data(), plan.buffer.size(), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            dropPart(Step::ReadSource, errno);
        if (n == 0)
            break;
        if (!writeAll(out, plan.buffer.data(), size_t(n)))
            dropPart(Step::WriteFile, errno ? errno : ENOSPC);
        offset += n;
    }
    if (::fsync(out) != 0 || ::close(out) != 0) {
        const int code = errno;
        ::unlinkat(folder, plan.tempName.constData(), 0);
        finish(reportFd, Step::WriteFile, code);
    }
    for (size_t i = 0; i < plan.names.size(); ++i) {
        const char *name = plan.names[i].constData();
        int rc = ::renameat2(folder, plan.tempName.constData(), folder, name, RENAME_NOREPLACE);
        if (rc != 0 && (errno == EINVAL || errno == ENOSYS)) // a file system without RENAME_NOREPLACE
            rc = ::linkat(folder, plan.tempName.constData(), folder, name, 0) == 0
                ? ::unlinkat(folder, plan.tempName.constData(), 0)
                : -1;
        if (rc == 0) {
            ::fsync(folder);
            finish(reportFd, Step::Done, 0, int(i));
        }
        if (errno != EEXIST) {
            const int code = errno;
            ::unlinkat(folder, plan.tempName.constData(), 0);
            finish(reportFd, Step::PublishFile, code);
        }
    }
    ::unlinkat(folder, plan.tempName.constData(), 0);
    finish(reportFd, Step::NoFreeName, 0);
}

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// The name, then name-2.ext ... name-9999.ext, as long as a name may be (as
// far as names filed elsewhere go: a clerk's hundredth "Brief.pdf" had
// failed as "no free name").
std::vector<QByteArray> candidateNames(const QString &fileName)
{
    const QFileInfo info(fileName);
    const QString stem = info.completeBaseName().isEmpty() ? fileName : info.completeBaseName();
    const QString suffix = info.completeBaseName().isEmpty() || info.suffix().isEmpty()
        ? QString()
        : QLatin1Char('.') + info.suffix();
    std::vector<QByteArray> names;
    for (int n = 1; n < 10000; ++n) {
        const QByteArray name = QFile::encodeName(
            n == 1 ? fileName : QStringLiteral("%1-%2%3").arg(stem, QString::number(n), suffix));
        if (name.size() <= NAME_MAX)
            names.push_back(name);
    }
    return names;
}

QString stepMessage(const Report &report, const QString &user, const QString &home, const QString &folder)
{
    const QString cause = systemError(report.error);
    switch (report.step) {
    case Step::Done:
        return QString();
    case Step::RaiseCapabilities:
    case Step::SwitchGroups:
    case Step::SwitchGroup:
    case Step::SwitchUser:
    case Step::DropCapabilities:
        return QStringLiteral("cannot act as %1: %2").arg(user, cause);
    case Step::StillPrivileged:
        return QStringLiteral("acting as %1 kept a way back to the former user; nothing was written").arg(user);
    case Step::OpenHome:
        return QStringLiteral("cannot open %1's home folder %2: %3").arg(user, home, cause);
    case Step::HomeNotOwned:
        return QStringLiteral("%1's home folder %2 is not theirs").arg(user, home);
    case Step::MakeFolder:
        return QStringLiteral("cannot make %1: %2").arg(folder, cause);
    case Step::FolderIsLink:
        return QStringLiteral("%1 is a link; the PDF goes only into a real folder").arg(folder);
    case Step::OpenFolder:
        return QStringLiteral("cannot open %1: %2").arg(folder, cause);
    case Step::FolderNotOwned:
        return QStringLiteral("%1 is not %2's").arg(folder, user);
    case Step::RefusedFolder:
        return QStringLiteral("%1 is the watched folder: the PDF would come back as a job").arg(folder);
    case Step::CreateFile:
    case Step::WriteFile:
    case Step::PublishFile:
        return QStringLiteral("cannot write into %1: %2").arg(folder, cause);
    case Step::ReadSource:
        return QStringLiteral("cannot read the file to deliver: %1").arg(cause);
    case Step::NoFreeName:
        return QStringLiteral("%1 has no free name left for the file").arg(folder);
    }
    return QStringLiteral("delivery failed");
}

int loginDefsValue(const QString &path, const QString &key, int fallback)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fallback;
    const QRegularExpression line(QStringLiteral("^\\s*%1\\s+(\\d+)\\s*$").arg(key));
    int value = fallback;
    while (!file.atEnd()) {
        const QRegularExpressionMatch match = line.match(QString::fromUtf8(file.readLine()));
        if (match.hasMatch())
            value = match.captured(1).toInt();
    }
    return value;
}

} // namespace

int loginDefsUidMin(const QString &path, int fallback)
{
    return loginDefsValue(path, QStringLiteral("UID_MIN"), fallback);
}

bool deliverToUser(const QString &user, const QString &sourcePath, const QString &fileName, QString *finalPath,
    QString *error)
{
    return deliverToUser(user, sourcePath, fileName, UserFolderPolicy(), finalPath, error);
}

namespace {

// Why the job's user, file name or folder name cannot be taken, or empty.
QString badNames(const QString &user, const QString &fileName, const UserFolderPolicy &policy)
{
    if (user.isEmpty())
        return QStringLiteral("the job names no user");
    if (fileName.isEmpty() || fileName.contains(QLatin1Char('/')) || fileName.startsWith(QLatin1Char('.'))
        || fileName.contains(QChar(0)) || QFile::encodeName(fileName).size() > NAME_MAX)
        return QStringLiteral("\"%1\" is not a file name").arg(fileName);
    if (policy.folderName.isEmpty() || policy.folderName.contains(QLatin1Char('/'))
        || policy.folderName.startsWith(QLatin1Char('.')))
        return QStringLiteral("\"%1\" is not a folder name").arg(policy.folderName);
    return QString();
}

// The user as the name service knows it (`entry`, its strings in
// `strings`), if a person with a home folder whom PDFs may reach; else why not.
QString personOf(const QString &user, const UserFolderPolicy &policy, struct passwd *entry, std::vector<char> *strings)
{
    const QByteArray name = user.toLocal8Bit();
    struct passwd *found = nullptr;
    const int lookup = ::getpwnam_r(name.constData(), entry, strings->data(), strings->size(), &found);
    if (!found)
        return lookup == 0 || lookup == ENOENT ? QStringLiteral("%1 is not a local user").arg(user)
                                               : QStringLiteral("cannot look the user up: %1").arg(systemError(lookup));
    const int minimumUid = policy.minimumUid >= 0 ? policy.minimumUid : loginDefsUidMin();
    if (entry->pw_uid == 0)
        return QStringLiteral("PDFs are never delivered to root");
    // UID_MAX is where useradd stops counting, not where people end: the
    // accounts of a domain (SSSD, winbind) have ids far above it. Above
    // UID_MIN only nobody and systemd's dynamic service users are no one.
    const uid_t uid = entry->pw_uid;
    const bool serviceUid = uid == 65534 || (uid >= 61184 && uid <= 65519) || uid >= 4294967294u;
    if (serviceUid && !policy.allowedSystemUsers.contains(user))
        return QStringLiteral("%1 is a service account (uid %2), not a person").arg(user, QString::number(uid));
    if (uid < uid_t(qMax(0, minimumUid)) && !policy.allowedSystemUsers.contains(user))
        return QStringLiteral("%1 is a system user (uid %2; people have %3 and above)")
            .arg(user, QString::number(uid), QString::number(minimumUid));
    if (!QFile::decodeName(entry->pw_dir).startsWith(QLatin1Char('/')))
        return QStringLiteral("%1 has no home folder").arg(user);
    return QString();
}

// Runs the plan in a child process acting as the user (deliverAsUser) and
// reads its report; false with the cause when the child cannot be started
// or ends without a report. Closes the plan's source.
bool runAsUser(Plan &plan, Report *report, QString *cause)
{
    int reportPipe[2];
    if (::pipe2(reportPipe, O_CLOEXEC) != 0) {
        *cause = systemError(errno);
        ::close(plan.source);
        return false;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(reportPipe[0]);
        deliverAsUser(plan, reportPipe[1]);
    }
    const int forkError = errno;
    ::close(reportPipe[1]);
    ::close(plan.source);
    if (child < 0) {
        ::close(reportPipe[0]);
        *cause = QStringLiteral("cannot start the delivery: %1").arg(systemError(forkError));
        return false;
    }
    ssize_t got;
    do
        got = ::read(reportPipe[0], report, sizeof *report);
    while (got < 0 && errno == EINTR);
    ::close(reportPipe[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    if (got != ssize_t(sizeof *report)) {
        *cause = QStringLiteral("the delivery ended without a report (%1)")
                     .arg(WIFSIGNALED(status) ? QStringLiteral("signal %1").arg(WTERMSIG(status))
                                              : QStringLiteral("status %1").arg(WEXITSTATUS(status)));
        return false;
    }
    return true;
}

} // namespace

bool deliverToUser(const QString &user, const QString &sourcePath, const QString &fileName,
    const UserFolderPolicy &policy, QString *finalPath, QString *error)
{
    const auto fail = [error, &user](const QString &cause) {
        *error = user.isEmpty() ? QStringLiteral("cannot deliver to the printing user's folder: %1").arg(cause)
                                : QStringLiteral("cannot deliver to %1's folder: %2").arg(user, cause);
        return false;
    };
    QString cause = badNames(user, fileName, policy);
    if (!cause.isEmpty())
        return fail(cause);
    struct passwd entry = {};
    std::vector<char> strings(16384);
    cause = personOf(user, policy, &entry, &strings);
    if (!cause.isEmpty())
        return fail(cause);
    const QByteArray name = user.toLocal8Bit();
    const QString home = QFile::decodeName(entry.pw_dir);

    Plan plan;
    plan.uid = entry.pw_uid;
    plan.gid = entry.pw_gid;
    plan.formerUid = ::getuid();
    plan.switchUser = !(::getuid() == plan.uid && ::geteuid() == plan.uid);
    if (plan.switchUser && !Capabilities::maySwitchUser())
        return fail(QStringLiteral("this process (uid %1) may not act as another user: it needs CAP_SETUID and "
                                   "CAP_SETGID, which the PDF service's unit gives it")
                        .arg(QString::number(::getuid())));
    int groupCount = 64;
    plan.groups.resize(size_t(groupCount));
    while (::getgrouplist(name.constData(), plan.gid, plan.groups.data(), &groupCount) < 0)
        plan.groups.resize(size_t(groupCount));
    plan.groups.resize(size_t(groupCount));
    plan.home = entry.pw_dir;
    plan.folder = QFile::encodeName(policy.folderName);
    plan.names = candidateNames(fileName);
    plan.tempName = QStringLiteral(".%1.%2.part")
                        .arg(QString::number(::getpid()), QString::number(QRandomGenerator::global()->generate(), 16))
                        .toLatin1();
    plan.buffer.resize(size_t(1) << 16);
    const QString folder = home + QLatin1Char('/') + policy.folderName;
    struct stat refused = {};
    if (!policy.refusedFolder.isEmpty() && ::stat(QFile::encodeName(policy.refusedFolder).constData(), &refused) == 0) {
        plan.refuses = true;
        plan.refusedDevice = refused.st_dev;
        plan.refusedInode = refused.st_ino;
    }

    plan.source = ::open(QFile::encodeName(sourcePath).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st = {};
    if (plan.source < 0 || ::fstat(plan.source, &st) != 0 || !S_ISREG(st.st_mode)) {
        const QString sourceCause = plan.source < 0 ? systemError(errno) : QStringLiteral("not a regular file");
        if (plan.source >= 0)
            ::close(plan.source);
        return fail(QStringLiteral("%1: %2").arg(sourcePath, sourceCause));
    }
    Report report;
    if (!runAsUser(plan, &report, &cause))
        return fail(cause);
    if (report.step != Step::Done)
        return fail(stepMessage(report, user, home, folder));
    *finalPath = folder + QLatin1Char('/') + QFile::decodeName(plan.names.at(size_t(report.nameIndex)));
    return true;
}
