#include "app/desktop_start.h"

#include "base/config_file.h"
#include "platform/file.h"
#include "platform/user_directories.h"

bool settleForTheDesktop(const char* settingsFolder, const char* dataFile, char* absoluteName,
                         size_t size) {
    absoluteName[0] = '\0';
    const bool named = dataFile[0] == '\0' || absolutePath(dataFile, absoluteName, size) == 0;
    // A directory that cannot be made is reported by the configuration's own
    // message when the file is read.
    char directory[FILE_PATH_SIZE];
    userConfigDirectory(settingsFolder, directory, sizeof directory);
    if (directory[0] != '\0')
        setConfigDirectory(directory);
    if (named)
        enterDocumentsDirectory();
    return named;
}
