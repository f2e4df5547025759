/* The sticker2 CUPS backend: keeps each job's bytes, unchanged, as a new file
 * in the folder named by the device URI (sticker2:/var/spool/sticker2), where
 * "sticker2 watch" opens it.
 *
 *   sticker2                                 prints the discovery line
 *   sticker2 job user title copies options   reads the job from stdin
 *   sticker2 job user title copies options FILE
 *
 * A job is written under a hidden name and gets its final name
 * YYYYMMDD-HHMMSS-UUUUUU-job<id>.prn (UTC, so names sort by time) only when it
 * is complete: a program watching the folder never sees half a job. The file
 * is created exclusively (never through a link), mode 0640, with the folder's
 * group (a set-group-ID folder gives it; otherwise the backend sets it when it
 * may). One file per job, whatever the copies. No Qt and no libcups at run
 * time: only the exit codes come from <cups/backend.h>.
 *
 * Before the job gets its name, its details go whole (written, fsync'ed,
 * renamed into place) into the hidden side file .<name>.info beside it, so a
 * watch that sees the job can read them: UTF-8 lines key=value for job, user,
 * title, queue (the printer name CUPS gives in PRINTER), copies and options,
 * every byte below 0x20, 0x7f and '%' written as %XX (upper-case hex).
 * The program reads them in src/watch/JobInfo.cpp (readJobInfo, unescaped,
 * and jobInfoText, which writes them as put_value below does): a change to
 * the format is made in both, as this file links nothing of the program.
 *
 * A job killed outright (SIGKILL, a size limit) leaves its hidden part. The
 * part is named after the queue (.<queue>.<stem>.part) and locked while it is
 * written; each job removes the parts of its own queue's earlier jobs that are
 * older than an hour and no longer locked, so none pile up. */
#define _GNU_SOURCE
#include <cups/backend.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <dirent.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

static volatile sig_atomic_t cancelled;

static void on_term(int sig)
{
    (void)sig;
    cancelled = 1;
}

static int hex_value(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

/* The folder of sticker2:/path or sticker2:///path, %xx decoded (a folder
 * name with spaces comes as %20); NULL for anything else, for a broken %
 * escape and for an escaped NUL. */
static const char *folder_of(const char *uri)
{
    static const char scheme[] = "sticker2:";
    static char folder[4096];
    if (!uri || strncmp(uri, scheme, sizeof scheme - 1) != 0)
        return NULL;
    const char *path = uri + sizeof scheme - 1;
    if (strncmp(path, "//", 2) == 0)
        path += 2;
    if (path[0] != '/')
        return NULL;
    size_t n = 0;
    for (const char *p = path; *p; ++p) {
        int c = (unsigned char)*p;
        if (c == '%') {
            int hi = hex_value(p[1]), lo = hi < 0 ? -1 : hex_value(p[2]);
            if (lo < 0 || (hi == 0 && lo == 0))
                return NULL;
            c = hi * 16 + lo;
            p += 2;
        }
        if (n + 1 >= sizeof folder)
            return NULL;
        folder[n++] = (char)c;
    }
    folder[n] = '\0';
    return folder;
}

static int copy_all(int in, int out)
{
    static char buf[65536];
    for (;;) {
        ssize_t n = read(in, buf, sizeof buf);
        if (n == 0)
            return 0;
        if (n < 0 && (errno != EINTR || cancelled))
            return -1;
        for (ssize_t done = 0; n > 0 && done < n;) {
            ssize_t w = write(out, buf + done, (size_t)(n - done));
            if (w < 0 && (errno != EINTR || cancelled))
                return -1;
            done += w > 0 ? w : 0;
        }
        if (cancelled) {
            errno = ECANCELED;
            return -1;
        }
    }
}

/* Writes `value` with every byte below 0x20, 0x7f and '%' as %XX (read back
 * by unescaped() in src/watch/JobInfo.cpp). */
static int put_value(FILE *f, const char *key, const char *value)
{
    fprintf(f, "%s=", key);
    for (const unsigned char *p = (const unsigned char *)(value ? value : ""); *p; ++p) {
        if (*p < 0x20 || *p == 0x7f || *p == '%')
            fprintf(f, "%%%02X", *p);
        else
            fputc(*p, f);
    }
    return fputc('\n', f) == EOF ? -1 : 0;
}

/* Writes the job's details whole as the hidden part `info_tmp`: the same
 * mode and group as the job. */
static int write_info(int dir, const char *info_tmp, const struct stat *dst, char *argv[], const char *queue)
{
    int fd = openat(dir, info_tmp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0640);
    if (fd < 0)
        return -1;
    fchmod(fd, 0640);
    if (!(dst->st_mode & S_ISGID))
        (void)!fchown(fd, (uid_t)-1, dst->st_gid);
    FILE *f = fdopen(fd, "w");
    if (!f) {
        close(fd);
        return -1;
    }
    int rc = put_value(f, "job", argv[1]);
    rc |= put_value(f, "user", argv[2]);
    rc |= put_value(f, "title", argv[3]);
    rc |= put_value(f, "queue", queue);
    rc |= put_value(f, "copies", argv[4]);
    rc |= put_value(f, "options", argv[5]);
    if (fflush(f) != 0 || fsync(fileno(f)) != 0)
        rc = -1;
    if (fclose(f) != 0)
        rc = -1;
    return rc;
}

static int rename_noreplace(int dir, const char *from, const char *to)
{
    int rc = renameat2(dir, from, dir, to, RENAME_NOREPLACE);
    if (rc < 0 && (errno == EINVAL || errno == ENOSYS)) /* no RENAME_NOREPLACE here */
        rc = linkat(dir, from, dir, to, 0) == 0 ? unlinkat(dir, from, 0) : -1;
    return rc;
}

/* Gives the complete file its final name, its side file first; a name taken
 * already gets -2, -3 ... */
static int publish(int dir, const char *tmp, const char *info_tmp, const char *stem, char *name, size_t size)
{
    char info[160];
    for (int n = 1; n < 100; ++n) {
        if (n == 1)
            snprintf(name, size, "%s.prn", stem);
        else
            snprintf(name, size, "%s-%d.prn", stem, n);
        snprintf(info, sizeof info, ".%s.info", name);
        struct stat st;
        if (fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) == 0)
            continue;
        if (rename_noreplace(dir, info_tmp, info) < 0) {
            if (errno == EEXIST)
                continue;
            return -1;
        }
        if (rename_noreplace(dir, tmp, name) == 0)
            return 0;
        int err = errno;
        /* Taken in between: the side file goes back to its hidden part. */
        if (renameat(dir, info, dir, info_tmp) < 0)
            unlinkat(dir, info, 0);
        if (err != EEXIST) {
            errno = err;
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

/* Removes this queue's parts that no live job holds: the writer keeps its
 * part locked until it is published, and the kernel drops the lock of a job
 * that was killed. An hour's age spares a part whose writer has only just
 * opened it and not yet locked it. */
static void remove_stale_parts(int dir, const char *prefix)
{
    int fd = dup(dir);
    DIR *d = fd < 0 ? NULL : fdopendir(fd);
    if (!d) {
        if (fd >= 0)
            close(fd);
        return;
    }
    const size_t plen = strlen(prefix);
    const time_t hour_ago = time(NULL) - 3600;
    for (struct dirent *e; (e = readdir(d)) != NULL;) {
        const size_t len = strlen(e->d_name);
        if (strncmp(e->d_name, prefix, plen) != 0 || len < plen + 5 || strcmp(e->d_name + len - 5, ".part") != 0)
            continue;
        int part = openat(dir, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        struct stat st;
        if (part < 0)
            continue;
        if (fstat(part, &st) == 0 && S_ISREG(st.st_mode) && st.st_mtime < hour_ago
            && flock(part, LOCK_EX | LOCK_NB) == 0) {
            unlinkat(dir, e->d_name, 0);
            fprintf(stderr, "INFO: removed the stale part %s of an earlier job\n", e->d_name);
        }
        close(part);
    }
    closedir(d);
}

int main(int argc, char *argv[])
{
    if (argc == 1) {
        /* A whole device URI, as printer tools take it; the folder is the one the package makes. */
        puts("direct sticker2:/var/spool/sticker2 \"Unknown\" \"Sticker2 capture (each job as a file in a folder)\"");
        return CUPS_BACKEND_OK;
    }
    if (argc != 6 && argc != 7) {
        fprintf(stderr, "Usage: %s job-id user title copies options [file]\n", argv[0]);
        return CUPS_BACKEND_FAILED;
    }
    struct sigaction sa;
    memset(&sa, 0, sizeof sa);
    sa.sa_handler = on_term; /* no SA_RESTART: a cancelled job stops reading */
    sigaction(SIGTERM, &sa, NULL);

    const char *uri = getenv("DEVICE_URI");
    const char *folder = folder_of(uri);
    if (!folder) {
        fprintf(stderr, "ERROR: device URI \"%s\" is not sticker2:/folder\n", uri ? uri : "");
        return CUPS_BACKEND_FAILED;
    }
    int in = argc == 7 ? open(argv[6], O_RDONLY | O_CLOEXEC) : 0;
    if (in < 0) {
        fprintf(stderr, "ERROR: cannot read the job file %s: %s\n", argv[6], strerror(errno));
        return CUPS_BACKEND_FAILED;
    }
    int dir = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat dst;
    if (dir < 0 || fstat(dir, &dst) < 0) {
        fprintf(stderr, "ERROR: cannot open the capture folder %s: %s\n", folder, strerror(errno));
        return CUPS_BACKEND_FAILED;
    }

    struct timespec now;
    struct tm tm;
    clock_gettime(CLOCK_REALTIME, &now);
    gmtime_r(&now.tv_sec, &tm);
    char stem[96], tmp[272], info_tmp[280], name[112];
    snprintf(stem, sizeof stem, "%04d%02d%02d-%02d%02d%02d-%06ld-job%ld", tm.tm_year + 1900, tm.tm_mon + 1,
        tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, now.tv_nsec / 1000, strtol(argv[1], NULL, 10));
    /* The queue's name, as CUPS gives it to its backends. */
    const char *queue = getenv("PRINTER");
    char prefix[160];
    snprintf(prefix, sizeof prefix, ".%s.", queue && *queue && !strchr(queue, '/') ? queue : "sticker2");
    snprintf(tmp, sizeof tmp, "%s%s.part", prefix, stem);
    snprintf(info_tmp, sizeof info_tmp, "%s%s.info.part", prefix, stem);

    int out = openat(dir, tmp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0640);
    if (out < 0) {
        fprintf(stderr, "ERROR: cannot create %s/%s: %s\n", folder, tmp, strerror(errno));
        return CUPS_BACKEND_FAILED;
    }
    flock(out, LOCK_EX); /* held until the job ends, however it ends */
    remove_stale_parts(dir, prefix);
    fchmod(out, 0640); /* whatever the umask */
    if (!(dst.st_mode & S_ISGID) && fchown(out, (uid_t)-1, dst.st_gid) < 0)
        fprintf(stderr, "WARNING: %s: cannot give the job the folder's group: %s\n", folder, strerror(errno));

    int rc = copy_all(in, out);
    if (rc == 0)
        rc = fsync(out);
    if (close(out) < 0)
        rc = -1;
    if (rc == 0)
        rc = write_info(dir, info_tmp, &dst, argv, queue);
    if (rc == 0 && publish(dir, tmp, info_tmp, stem, name, sizeof name) == 0) {
        fprintf(stderr, "INFO: job saved as %s/%s\n", folder, name);
        return CUPS_BACKEND_OK;
    }
    fprintf(stderr, "ERROR: cannot write the job to %s: %s\n", folder, strerror(errno));
    unlinkat(dir, tmp, 0);
    unlinkat(dir, info_tmp, 0);
    return CUPS_BACKEND_FAILED;
}
