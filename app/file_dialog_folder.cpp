#include "app/file_dialog_folder.h"

#include <cstring>

#include "platform/file.h"

namespace {

// The folder as the chosen name spells it; empty before the first, and after
// a bare name, which names a file in the working directory.
char lastFolder[FILE_PATH_SIZE];

void rememberFolderOf(const char* path) {
    const size_t length = pathFolderLength(path);
    if (length >= sizeof lastFolder)
        return;
    std::memcpy(lastFolder, path, length);
    lastFolder[length] = '\0';
}

} // namespace

bool runFileDialog(FileDialogSpec spec, char* path, size_t size, int* dialogError) {
    spec.startFolder = lastFolder;
    if (!uiRunFileDialog(&spec, path, size, dialogError))
        return false;
    rememberFolderOf(path);
    return true;
}
