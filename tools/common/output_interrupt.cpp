#include "tools/common/output_interrupt.h"

#include <csignal>

#include "platform/file.h"

namespace {

extern "C" void abandonAndEnd(int signalNumber) {
    fileReplaceAbandonAll();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

} // namespace

void abandonOutputOnInterrupt() {
    std::signal(SIGINT, abandonAndEnd);
    std::signal(SIGTERM, abandonAndEnd);
#ifdef SIGHUP
    std::signal(SIGHUP, abandonAndEnd);
#endif
}
