// Faults of the file system, and signals at exact moments, that a test cannot
// otherwise bring about, put in front of the C library with LD_PRELOAD and
// chosen by the environment:
//   KORVEX_FAULT_NO_TMPFILE=1          the file system has no unnamed files
//   KORVEX_FAULT_DIRECTORY_FSYNC=1     flushing a directory fails with EIO
//   KORVEX_FAULT_FSYNC_NAME=SUFFIX     flushing a file whose name ends so fails
//   KORVEX_FAULT_FTRUNCATE=1           cutting a file to a length fails
//   KORVEX_FAULT_SIGNAL_AT=N           right after the N-th file call below,
//   KORVEX_FAULT_SIGNAL=TERM|KILL|STOP the process gets this signal (TERM);
//   KORVEX_FAULT_SIGNAL_CALL=NAME      only calls of this name count
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool faultChosen(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] == '1';
}

template <typename Function> Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

std::atomic<long> callsCounted;

// Counts a call that has just returned and sends the chosen signal after the
// chosen one; errno is the call's own again afterwards.
void counted(const char* call) {
    const char* at = std::getenv("KORVEX_FAULT_SIGNAL_AT");
    const char* only = std::getenv("KORVEX_FAULT_SIGNAL_CALL");
    if (at == nullptr || (only != nullptr && std::strcmp(only, call) != 0))
        return;
    if (callsCounted.fetch_add(1) + 1 != std::atol(at))
        return;
    const char* name = std::getenv("KORVEX_FAULT_SIGNAL");
    int number = SIGTERM;
    if (name != nullptr && std::strcmp(name, "KILL") == 0)
        number = SIGKILL;
    else if (name != nullptr && std::strcmp(name, "STOP") == 0)
        number = SIGSTOP;
    const int err = errno;
    raise(number);
    errno = err;
}

template <typename Result> Result countedResult(const char* call, Result result) {
    counted(call);
    return result;
}

// The mode an open with these flags carries, or 0.
mode_t modeOf(int flags, va_list arguments) {
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(arguments, mode_t)
                                                                      : 0;
}

int opened(const char* symbol, const char* path, int flags, mode_t mode) {
    if ((flags & O_TMPFILE) == O_TMPFILE && faultChosen("KORVEX_FAULT_NO_TMPFILE")) {
        errno = EOPNOTSUPP;
        return countedResult("open", -1);
    }
    return countedResult("open", next<int (*)(const char*, int, ...)>(symbol)(path, flags, mode));
}

bool nameEndsIn(int fd, const char* suffix) {
    char link[32];
    char name[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, name, sizeof name - 1);
    const size_t wanted = std::strlen(suffix);
    return length >= ssize_t(wanted) && std::memcmp(name + length - wanted, suffix, wanted) == 0;
}

} // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    return opened("open", path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    return opened("open64", path, flags, mode);
}

int fsync(int fd) {
    struct stat st;
    const char* name = std::getenv("KORVEX_FAULT_FSYNC_NAME");
    if ((faultChosen("KORVEX_FAULT_DIRECTORY_FSYNC") && fstat(fd, &st) == 0 &&
         S_ISDIR(st.st_mode)) ||
        (name != nullptr && nameEndsIn(fd, name))) {
        errno = EIO;
        return countedResult("fsync", -1);
    }
    return countedResult("fsync", next<int (*)(int)>("fsync")(fd));
}

int ftruncate(int fd, off_t length) {
    if (faultChosen("KORVEX_FAULT_FTRUNCATE")) {
        errno = EIO;
        return countedResult("ftruncate", -1);
    }
    return countedResult("ftruncate", next<int (*)(int, off_t)>("ftruncate")(fd, length));
}

ssize_t write(int fd, const void* bytes, size_t size) {
    return countedResult("write",
                         next<ssize_t (*)(int, const void*, size_t)>("write")(fd, bytes, size));
}

int dup(int fd) {
    return countedResult("dup", next<int (*)(int)>("dup")(fd));
}

int linkat(int fromDirectory, const char* from, int toDirectory, const char* to, int flags) {
    return countedResult("linkat", next<int (*)(int, const char*, int, const char*, int)>("linkat")(
                                       fromDirectory, from, toDirectory, to, flags));
}

int renameat2(int fromDirectory, const char* from, int toDirectory, const char* to,
              unsigned flags) {
    return countedResult("renameat2",
                         next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2")(
                             fromDirectory, from, toDirectory, to, flags));
}

int rename(const char* from, const char* to) {
    return countedResult("rename", next<int (*)(const char*, const char*)>("rename")(from, to));
}
}
