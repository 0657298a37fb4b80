// Events on a mutex and a condition variable. Waits run on the monotonic clock
// so that a change of the wall clock never stretches or cuts a time-out.
#include <cerrno>
#include <ctime>
#include <new>
#include <pthread.h>

#include "platform/event.h"

struct PlatformEvent {
    pthread_mutex_t mutex;
    pthread_cond_t cond;
    bool manualReset;
    bool signalled;
};

int eventCreate(bool manualReset, EventHandle* event) {
    *event = nullptr;
    PlatformEvent* e = new (std::nothrow) PlatformEvent;
    if (e == nullptr)
        return ENOMEM;
    int err = pthread_mutex_init(&e->mutex, nullptr);
    if (err != 0) {
        delete e;
        return err;
    }
    pthread_condattr_t attr;
    err = pthread_condattr_init(&attr);
    if (err == 0) {
        err = pthread_condattr_setclock(&attr, CLOCK_MONOTONIC);
        if (err == 0)
            err = pthread_cond_init(&e->cond, &attr);
        pthread_condattr_destroy(&attr);
    }
    if (err != 0) {
        pthread_mutex_destroy(&e->mutex);
        delete e;
        return err;
    }
    e->manualReset = manualReset;
    e->signalled = false;
    *event = e;
    return 0;
}

void eventSet(EventHandle event) {
    pthread_mutex_lock(&event->mutex);
    event->signalled = true;
    pthread_mutex_unlock(&event->mutex);
    // A manual-reset event releases every waiter; an auto-reset one only one.
    if (event->manualReset)
        pthread_cond_broadcast(&event->cond);
    else
        pthread_cond_signal(&event->cond);
}

void eventReset(EventHandle event) {
    pthread_mutex_lock(&event->mutex);
    event->signalled = false;
    pthread_mutex_unlock(&event->mutex);
}

bool eventWait(EventHandle event, uint32_t timeoutMs) {
    timespec deadline;
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += timeoutMs / 1000;
    deadline.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    pthread_mutex_lock(&event->mutex);
    while (!event->signalled) {
        int err = timeoutMs == EVENT_WAIT_FOREVER
                      ? pthread_cond_wait(&event->cond, &event->mutex)
                      : pthread_cond_timedwait(&event->cond, &event->mutex, &deadline);
        if (err == ETIMEDOUT)
            break;
    }
    bool signalled = event->signalled;
    if (signalled && !event->manualReset)
        event->signalled = false;
    pthread_mutex_unlock(&event->mutex);
    return signalled;
}

void eventClose(EventHandle event) {
    if (event == nullptr)
        return;
    pthread_cond_destroy(&event->cond);
    pthread_mutex_destroy(&event->mutex);
    delete event;
}
