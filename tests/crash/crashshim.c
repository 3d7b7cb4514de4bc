/* The crash shim: loaded with LD_PRELOAD into a program under test, it counts the calls that
 * put data on disk (write and pwrite on regular files, fsync, fdatasync, rename, renameat,
 * renameat2) and kills the process with SIGKILL at the Nth one, before the call runs, so that
 * a crash can be placed at every point where the files change.
 *
 * QZ_CRASH_AT=N       kill at the Nth counted call (absent or 0: never)
 * QZ_CRASH_COUNT=PATH at exit, write the number of counted calls into PATH (a first run that
 *                     is not killed tells the harness how many points there are)
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

static long calls;
static long killAt;
static const char *countPath;

static void writeCount(void)
{
    if (countPath == NULL) {
        return;
    }
    FILE *f = fopen(countPath, "w");
    if (f != NULL) {
        fprintf(f, "%ld\n", calls);
        fclose(f);
    }
}

__attribute__((constructor)) static void setUp(void)
{
    const char *at = getenv("QZ_CRASH_AT");
    killAt = at != NULL ? atol(at) : 0;
    countPath = getenv("QZ_CRASH_COUNT");
    if (countPath != NULL) {
        atexit(writeCount);
    }
}

static void counted(void)
{
    if (++calls == killAt) {
        kill(getpid(), SIGKILL);
    }
}

static int isRegularFile(int fd)
{
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

#define NEXT(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

ssize_t write(int fd, const void *buf, size_t count)
{
    if (isRegularFile(fd)) {
        counted();
    }
    return NEXT(write)(fd, buf, count);
}

ssize_t pwrite(int fd, const void *buf, size_t count, off_t offset)
{
    counted();
    return NEXT(pwrite)(fd, buf, count, offset);
}

ssize_t pwrite64(int fd, const void *buf, size_t count, off64_t offset)
{
    counted();
    return NEXT(pwrite64)(fd, buf, count, offset);
}

int fsync(int fd)
{
    counted();
    return NEXT(fsync)(fd);
}

int fdatasync(int fd)
{
    counted();
    return NEXT(fdatasync)(fd);
}

int rename(const char *from, const char *to)
{
    counted();
    return NEXT(rename)(from, to);
}

int renameat(int fromDir, const char *from, int toDir, const char *to)
{
    counted();
    return NEXT(renameat)(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char *from, int toDir, const char *to, unsigned int flags)
{
    counted();
    return NEXT(renameat2)(fromDir, from, toDir, to, flags);
}
