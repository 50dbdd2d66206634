/* Fails one file operation of the process, the way a failing disk does, for the fault sweep.
 *
 * Loaded with LD_PRELOAD, it counts the calls of three kinds on regular files below
 * IOFAULT_DIR (every regular file when unset): "write" (write, pwrite, pwrite64, writev),
 * "sync" (fsync, fdatasync) and "rename" (rename, renameat, renameat2 by the old name).
 *   IOFAULT_KIND=write|sync|rename and IOFAULT_NTH=N: the Nth call of that kind fails with
 *     IOFAULT_ERRNO (EIO or ENOSPC, EIO by default) and does nothing.
 *   IOFAULT_REPORT=FILE: at exit, "write W sync S rename R" (the calls seen) goes to FILE.
 * Pipes, terminals and sockets are neither counted nor failed: the program's output is not
 * a file of its own. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

enum Kind
{
    KindWrite,
    KindSync,
    KindRename,
    KindCount
};
static const char* const kKindNames[KindCount] = {"write", "sync", "rename"};
static atomic_long g_calls[KindCount];

static int failingKind(void)
{
    const char* kind = getenv("IOFAULT_KIND");
    for (int k = 0; kind && k < KindCount; ++k)
        if (strcmp(kind, kKindNames[k]) == 0)
            return k;
    return -1;
}

static int under(const char* path)
{
    const char* dir = getenv("IOFAULT_DIR");
    return !dir || !*dir || strncmp(path, dir, strlen(dir)) == 0;
}

static int counted(int fd)
{
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return 0;
    char link[64];
    char path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, sizeof path - 1);
    if (n < 0)
        return 0;
    path[n] = '\0';
    return under(path);
}

/* Counts one call; true when it is the one to fail (errno is then set). */
static int strike(enum Kind kind)
{
    const long n = atomic_fetch_add(&g_calls[kind], 1) + 1;
    const char* nth = getenv("IOFAULT_NTH");
    if (failingKind() != (int)kind || !nth || atol(nth) != n)
        return 0;
    const char* code = getenv("IOFAULT_ERRNO");
    errno = code && strcmp(code, "ENOSPC") == 0 ? ENOSPC : EIO;
    return 1;
}

/* One wrapper: the call goes on to the real function unless it is counted (`counts`) and is
   the one to fail. The nine differ only in their signatures. */
#define WRAP(type, name, params, args, counts, kind)                                               \
    type name params                                                                               \
    {                                                                                              \
        static type(*real) params;                                                                 \
        if (!real)                                                                                 \
            real = (type(*) params)dlsym(RTLD_NEXT, #name);                                        \
        if ((counts) && strike(kind))                                                              \
            return -1;                                                                             \
        return real args;                                                                          \
    }

WRAP(ssize_t, write, (int fd, const void* buffer, size_t size), (fd, buffer, size), counted(fd),
     KindWrite)
WRAP(ssize_t, pwrite, (int fd, const void* buffer, size_t size, off_t offset),
     (fd, buffer, size, offset), counted(fd), KindWrite)
WRAP(ssize_t, pwrite64, (int fd, const void* buffer, size_t size, off64_t offset),
     (fd, buffer, size, offset), counted(fd), KindWrite)
WRAP(ssize_t, writev, (int fd, const struct iovec* parts, int count), (fd, parts, count),
     counted(fd), KindWrite)
WRAP(int, fsync, (int fd), (fd), counted(fd), KindSync)
WRAP(int, fdatasync, (int fd), (fd), counted(fd), KindSync)
WRAP(int, rename, (const char* from, const char* to), (from, to), under(from), KindRename)
WRAP(int, renameat, (int fromDir, const char* from, int toDir, const char* to),
     (fromDir, from, toDir, to), under(from), KindRename)
WRAP(int, renameat2, (int fromDir, const char* from, int toDir, const char* to, unsigned flags),
     (fromDir, from, toDir, to, flags), under(from), KindRename)

__attribute__((destructor)) static void report(void)
{
    const char* file = getenv("IOFAULT_REPORT");
    if (!file)
        return;
    FILE* out = fopen(file, "w");
    if (!out)
        return;
    fprintf(out, "write %ld sync %ld rename %ld\n", atomic_load(&g_calls[KindWrite]),
            atomic_load(&g_calls[KindSync]), atomic_load(&g_calls[KindRename]));
    fclose(out);
}
