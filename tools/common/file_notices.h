// What the tools say about a file beyond the system's reason, in the
// language --lang chose: what a save left where when that is not plainly the
// old content or the new one, and a file another program kept writing.
#pragma once

// After a save of path: says that it was written in place without a copy,
// or after a failure what the name holds and where the old (or new) content
// is, as the file service's outcome tells it. Silent when there is nothing
// more to say.
void reportSaveOutcome(const char* path);
// Says that path was being written by another program for as long as a
// reader waits for it.
void reportFileHeld(const char* path);
