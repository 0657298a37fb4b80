#include "platform/user_directories.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// $HOME, or the password database's home where that is unset or relative.
const char* homeDirectory() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return home;
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] == '/' ? entry->pw_dir
                                                                                   : nullptr;
}

int joined(char* out, size_t size, const char* first, const char* second) {
    int written = std::snprintf(out, size, "%s/%s", first, second);
    return written < 0 || size_t(written) >= size ? ENAMETOOLONG : 0;
}

// Every directory of path, made where missing; the ones made are the
// user's alone, as the base directory rules ask.
int makeDirectories(char* path) {
    for (char* slash = std::strchr(path + 1, '/');; slash = std::strchr(slash + 1, '/')) {
        if (slash != nullptr)
            *slash = '\0';
        int err = mkdir(path, 0700) == 0 || errno == EEXIST ? 0 : errno;
        if (slash != nullptr)
            *slash = '/';
        if (err != 0)
            return err;
        if (slash == nullptr)
            return 0;
    }
}

} // namespace

int userConfigDirectory(const char* program, char* out, size_t size) {
    out[0] = '\0';
    const char* base = std::getenv("XDG_CONFIG_HOME");
    char fallback[4096];
    if (base == nullptr || base[0] != '/') {
        const char* home = homeDirectory();
        if (home == nullptr)
            return ENOENT;
        int err = joined(fallback, sizeof fallback, home, ".config");
        if (err != 0)
            return err;
        base = fallback;
    }
    int err = joined(out, size, base, program);
    if (err != 0) {
        out[0] = '\0';
        return err;
    }
    return makeDirectories(out);
}

int enterDocumentsDirectory() {
    const char* home = homeDirectory();
    if (home == nullptr)
        return ENOENT;
    return chdir(home) == 0 ? 0 : errno;
}

int absolutePath(const char* path, char* out, size_t size) {
    if (path[0] == '/') {
        if (std::strlen(path) >= size)
            return ENAMETOOLONG;
        std::strcpy(out, path);
        return 0;
    }
    char directory[4096];
    if (getcwd(directory, sizeof directory) == nullptr)
        return errno;
    return joined(out, size, directory, path);
}
