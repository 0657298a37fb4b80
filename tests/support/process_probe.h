// What the test process holds and uses, to show that the link leaves nothing
// behind and does not spin.
#pragma once
#include <cstdint>

int processThreadCount();
// Open descriptors, not counting the one used to list them.
int processDescriptorCount();
// Processor time of the whole process, all threads, in microseconds.
uint64_t processCpuMicroseconds();
