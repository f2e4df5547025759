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

/* Gives the complete file its final name; a name taken already gets -2, -3 ... */
static int publish(int dir, const char *tmp, const char *stem, char *name, size_t size)
{
    for (int n = 1; n < 100; ++n) {
        if (n == 1)
            snprintf(name, size, "%s.prn", stem);
        else
            snprintf(name, size, "%s-%d.prn", stem, n);
        int rc = renameat2(dir, tmp, dir, name, RENAME_NOREPLACE);
        if (rc < 0 && (errno == EINVAL || errno == ENOSYS)) /* no RENAME_NOREPLACE here */
            rc = linkat(dir, tmp, dir, name, 0) == 0 ? unlinkat(dir, tmp, 0) : -1;
        if (rc == 0)
            return 0;
        if (errno != EEXIST)
            return -1;
    }
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
    char stem[96], tmp[272], name[112];
    snprintf(stem, sizeof stem, "%04d%02d%02d-%02d%02d%02d-%06ld-job%ld", tm.tm_year + 1900, tm.tm_mon + 1,
        tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, now.tv_nsec / 1000, strtol(argv[1], NULL, 10));
    /* The queue's name, as CUPS gives it to its backends. */
    const char *queue = getenv("PRINTER");
    char prefix[160];
    snprintf(prefix, sizeof prefix, ".%s.", queue && *queue && !strchr(queue, '/') ? queue : "sticker2");
    snprintf(tmp, sizeof tmp, "%s%s.part", prefix, stem);

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
    if (rc == 0 && publish(dir, tmp, stem, name, sizeof name) == 0) {
        fprintf(stderr, "INFO: job saved as %s/%s\n", folder, name);
        return CUPS_BACKEND_OK;
    }
    fprintf(stderr, "ERROR: cannot write the job to %s: %s\n", folder, strerror(errno));
    unlinkat(dir, tmp, 0);
    return CUPS_BACKEND_FAILED;
}
