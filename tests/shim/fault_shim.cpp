// Faults of the file system that a test cannot otherwise bring about, put in
// front of the C library with LD_PRELOAD and chosen by the environment:
//   KORVEX_FAULT_NO_TMPFILE=1          the file system has no unnamed files
//   KORVEX_FAULT_DIRECTORY_FSYNC=1     flushing a directory fails with EIO
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
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

// The mode an open with these flags carries, or 0.
mode_t modeOf(int flags, va_list arguments) {
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(arguments, mode_t)
                                                                      : 0;
}

int opened(const char* symbol, const char* path, int flags, mode_t mode) {
    if ((flags & O_TMPFILE) == O_TMPFILE && faultChosen("KORVEX_FAULT_NO_TMPFILE")) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return next<int (*)(const char*, int, ...)>(symbol)(path, flags, mode);
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
    if (faultChosen("KORVEX_FAULT_DIRECTORY_FSYNC") && fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        errno = EIO;
        return -1;
    }
    return next<int (*)(int)>("fsync")(fd);
}
}
