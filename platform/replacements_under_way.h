// The file replacements under way, kept where a signal or a console interrupt
// can find them and abandon them: the same list for each system's service.
#pragma once
#include <atomic>

#include "platform/file.h"

// A program writes one file at a time; a few more leave room.
constexpr int REPLACEMENTS_UNDER_WAY_MAX = 8;
inline std::atomic<FileReplacement*> replacementsUnderWay[REPLACEMENTS_UNDER_WAY_MAX];

inline void enlistReplacement(FileReplacement* replacement) {
    for (std::atomic<FileReplacement*>& slot : replacementsUnderWay) {
        FileReplacement* empty = nullptr;
        if (slot.compare_exchange_strong(empty, replacement))
            return;
    }
}

inline void delistReplacement(FileReplacement* replacement) {
    for (std::atomic<FileReplacement*>& slot : replacementsUnderWay) {
        FileReplacement* expected = replacement;
        slot.compare_exchange_strong(expected, nullptr);
    }
}

// Takes each replacement off the list and hands it to abandon. Lock-free, so
// a signal handler may call it.
inline void abandonEveryReplacement(void (*abandon)(FileReplacement*)) {
    for (std::atomic<FileReplacement*>& slot : replacementsUnderWay) {
        FileReplacement* replacement = slot.exchange(nullptr);
        if (replacement != nullptr)
            abandon(replacement);
    }
}
