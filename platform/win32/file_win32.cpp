// Files opened as readers share them and a writer holds them alone: a second
// writer, this program or another, fails instead of both writing the same
// file, while readers never fail each other. Paths are UTF-8 and go to the
// system's wide calls, so any name the user can type works.
#include <windows.h>

#include <string>

#include "platform/file.h"
#include "platform/win32/text_win32.h"

static_assert(FILE_ERROR_NOT_FOUND == ERROR_FILE_NOT_FOUND,
              "the portable number of a missing file");

extern const int FILE_ERROR_HELD = ERROR_SHARING_VIOLATION;

constexpr DWORD HELD_POLL_MS = 10;

namespace {

HANDLE handleOf(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

DWORD creationOf(FileDisposition disposition) {
    switch (disposition) {
    case FILE_OPEN_ALWAYS:
        return OPEN_ALWAYS;
    case FILE_CREATE_ALWAYS:
        return CREATE_ALWAYS;
    case FILE_OPEN_EXISTING:
        break;
    }
    return OPEN_EXISTING;
}

} // namespace

int fileOpen(const char* path, unsigned access, FileDisposition disposition, FileHandle* file,
             bool* existed) {
    *file = FILE_NONE;
    std::wstring widePath;
    if (!utf8ToWide(path, &widePath))
        return ERROR_NO_UNICODE_TRANSLATION;
    DWORD desired =
        ((access & FILE_READ) ? GENERIC_READ : 0) | ((access & FILE_WRITE) ? GENERIC_WRITE : 0);
    // A reader waits a while for a writer, whose save is then whole.
    const bool reader = !(access & FILE_WRITE);
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (DWORD waited = 0;; waited += HELD_POLL_MS) {
        handle = CreateFileW(widePath.c_str(), desired, reader ? FILE_SHARE_READ : 0, nullptr,
                             creationOf(disposition), FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE)
            break;
        const DWORD err = GetLastError();
        if (!reader || err != ERROR_SHARING_VIOLATION || waited >= DWORD(FILE_HELD_WAIT_MS))
            return int(err);
        Sleep(HELD_POLL_MS);
    }
    bool wasThere = disposition == FILE_OPEN_EXISTING || GetLastError() == ERROR_ALREADY_EXISTS;
    // Names such as NUL, CON or COM1 open devices, which hold no data file.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return ERROR_INVALID_PARAMETER;
    }
    if (existed != nullptr)
        *existed = wasThere;
    *file = reinterpret_cast<FileHandle>(handle);
    return 0;
}

int fileRead(FileHandle file, void* buffer, uint32_t size, uint32_t* moved) {
    uint8_t* at = static_cast<uint8_t*>(buffer);
    uint32_t done = 0;
    int err = 0;
    while (done < size) {
        DWORD got = 0;
        if (!ReadFile(handleOf(file), at + done, size - done, &got, nullptr)) {
            err = int(GetLastError());
            break;
        }
        if (got == 0)
            break;
        done += got;
    }
    *moved = done;
    return err;
}

int fileWrite(FileHandle file, const void* buffer, uint32_t size, uint32_t* moved) {
    const uint8_t* at = static_cast<const uint8_t*>(buffer);
    uint32_t done = 0;
    int err = 0;
    while (done < size) {
        DWORD put = 0;
        if (!WriteFile(handleOf(file), at + done, size - done, &put, nullptr)) {
            err = int(GetLastError());
            break;
        }
        if (put == 0) {
            err = ERROR_WRITE_FAULT;
            break;
        }
        done += put;
    }
    *moved = done;
    return err;
}

int fileSize(FileHandle file, uint64_t* size) {
    LARGE_INTEGER length;
    if (!GetFileSizeEx(handleOf(file), &length))
        return int(GetLastError());
    *size = uint64_t(length.QuadPart);
    return 0;
}

int fileClose(FileHandle file) {
    if (file == FILE_NONE)
        return ERROR_INVALID_HANDLE;
    return CloseHandle(handleOf(file)) ? 0 : int(GetLastError());
}
