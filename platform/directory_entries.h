// The names a directory holds, as the bytes the system keeps them in: a
// toolkit that lists only names it can decode would hide the others.
#pragma once

// Calls visit with each name in directory but "." and ".." until it returns
// false. Returns 0 or the system error number.
int directoryVisit(const char* directory, bool (*visit)(const char* name, void* context),
                   void* context);
