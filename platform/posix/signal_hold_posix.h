// Catchable signals held back for a step that a signal handler must see
// either not begun or done: a name given to a file and written down as ours
// in one go, so that the handler's clearing up never removes a name that is
// not ours, nor misses one that is.
#pragma once
#include <csignal>

void signalsHold(sigset_t* saved);
void signalsRelease(const sigset_t* saved);
