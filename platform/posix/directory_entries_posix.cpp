#include "platform/directory_entries.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>

int directoryVisit(const char* directory, bool (*visit)(const char* name, void* context),
                   void* context) {
    DIR* listing = opendir(directory);
    if (listing == nullptr)
        return errno;
    while (const dirent* entry = readdir(listing)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        if (!visit(entry->d_name, context))
            break;
    }
    closedir(listing);
    return 0;
}
