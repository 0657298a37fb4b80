// The file a name stands for, found as the system opens it for the user.
#pragma once
#include "platform/file.h"

// Opens the file path names for writing, held as a writer's fileOpen holds
// it, following links as the system does for the user, so that every check
// it makes applies (the protection of links in shared sticky directories
// among them) and a refusal comes with its reason. finalPath (FILE_PATH_SIZE
// bytes) receives the name the file has in its own directory: path itself,
// or where its links lead. *previous is FILE_NONE when nothing is there. A
// dangling link the system lets the user follow gets an empty file where it
// leads, made so that the system itself judges the link, held in *previous,
// and *made is set. Returns 0 or the system error number.
int nameResolve(const char* path, char* finalPath, FileHandle* previous, bool* made);
