// What the harnesses share: a scratch directory on a memory file system (a
// file replaced per input must not wait for a disk), and the verdict.
#pragma once
#include <string>

// A fresh directory, made once per process; /dev/shm where there is one.
const std::string& fuzzScratchDirectory();
// Ends the run with a finding when a rule does not hold.
void fuzzRequire(bool rule, const char* what);
