// What the last commit of a file replacement left where, kept alike by each
// system's service for fileReplaceOutcome().
#pragma once
#include "platform/file.h"

inline FileReplaceOutcome replacementOutcome;

// Before anything is tried: the old content, as it was.
inline void startOutcome() {
    replacementOutcome.left = FILE_LEFT_OLD;
    replacementOutcome.extraBytes = 0;
    replacementOutcome.withoutCopy = false;
    replacementOutcome.copyPath[0] = '\0';
}
