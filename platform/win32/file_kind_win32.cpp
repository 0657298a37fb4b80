// What a name stands for, from its attributes alone: nothing is opened, so a
// COM port named by mistake is not touched. Device names (NUL, COM1) are left
// to the open that follows, which refuses them as files.
#include <windows.h>

#include <string>

#include "platform/file.h"
#include "platform/win32/text_win32.h"

FileKind fileKind(const char* path) {
    std::wstring wide;
    if (!utf8ToWide(path, &wide))
        return FILE_KIND_NONE;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FILE_KIND_NONE;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return FILE_KIND_DIRECTORY;
    return (attributes & FILE_ATTRIBUTE_DEVICE) ? FILE_KIND_OTHER : FILE_KIND_REGULAR;
}
