#include "platform/posix/signal_hold_posix.h"

#include <pthread.h>

void signalsHold(sigset_t* saved) {
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, saved);
}

void signalsRelease(const sigset_t* saved) {
    pthread_sigmask(SIG_SETMASK, saved, nullptr);
}
