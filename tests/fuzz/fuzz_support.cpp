#include "tests/fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

const std::string& fuzzScratchDirectory() {
    static std::string directory;
    if (directory.empty()) {
        char inMemory[] = "/dev/shm/korvex_fuzz_XXXXXX";
        char onDisk[] = "/tmp/korvex_fuzz_XXXXXX";
        const char* made = mkdtemp(inMemory);
        if (made == nullptr)
            made = mkdtemp(onDisk);
        if (made == nullptr) {
            std::perror("korvex fuzz: no scratch directory");
            std::abort();
        }
        directory = made;
        // Removed with the process, whichever way it ends normally.
        std::atexit([] { std::system(("rm -rf '" + directory + "'").c_str()); });
    }
    return directory;
}

void fuzzRequire(bool rule, const char* what) {
    if (!rule) {
        std::fprintf(stderr, "korvex fuzz: rule broken: %s\n", what);
        std::abort();
    }
}
