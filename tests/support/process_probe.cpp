#include "tests/support/process_probe.h"

#include <ctime>
#include <dirent.h>

namespace {

// Entries of a /proc directory other than "." and "..".
int countEntries(const char* path) {
    DIR* dir = opendir(path);
    if (dir == nullptr)
        return -1;
    int count = 0;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.')
            ++count;
    }
    closedir(dir);
    return count;
}

} // namespace

int processThreadCount() {
    return countEntries("/proc/self/task");
}

int processDescriptorCount() {
    int count = countEntries("/proc/self/fd");
    return count < 0 ? count : count - 1;
}

uint64_t processCpuMicroseconds() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<uint64_t>(t.tv_sec) * 1000000u + static_cast<uint64_t>(t.tv_nsec) / 1000u;
}
