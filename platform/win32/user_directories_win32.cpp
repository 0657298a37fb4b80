#include "platform/user_directories.h"

#include <windows.h>

#include <cstring>
#include <knownfolders.h>
#include <shlobj.h>
#include <string>

#include "platform/win32/text_win32.h"

namespace {

// The system error a shell call's result carries, or the result itself.
int errorOf(HRESULT result) {
    return HRESULT_FACILITY(result) == FACILITY_WIN32 ? int(HRESULT_CODE(result)) : int(result);
}

int knownFolder(REFKNOWNFOLDERID folder, std::wstring* path) {
    PWSTR found = nullptr;
    const HRESULT result = SHGetKnownFolderPath(folder, KF_FLAG_CREATE, nullptr, &found);
    if (SUCCEEDED(result))
        *path = found;
    CoTaskMemFree(found);
    return SUCCEEDED(result) ? 0 : errorOf(result);
}

int copyOut(const std::string& name, char* out, size_t size) {
    if (name.size() >= size)
        return ERROR_FILENAME_EXCED_RANGE;
    std::memcpy(out, name.c_str(), name.size() + 1);
    return 0;
}

} // namespace

int userConfigDirectory(const char* program, char* out, size_t size) {
    out[0] = '\0';
    std::wstring base;
    int err = knownFolder(FOLDERID_RoamingAppData, &base);
    if (err == 0)
        err = copyOut(wideToUtf8(base.c_str()) + "\\" + program, out, size);
    std::wstring directory;
    if (err == 0 && !utf8ToWide(out, &directory))
        err = ERROR_NO_UNICODE_TRANSLATION;
    if (err != 0) {
        out[0] = '\0';
        return err;
    }
    if (CreateDirectoryW(directory.c_str(), nullptr))
        return 0;
    const DWORD failure = GetLastError();
    return failure == ERROR_ALREADY_EXISTS ? 0 : int(failure);
}

int enterDocumentsDirectory() {
    std::wstring documents;
    const int err = knownFolder(FOLDERID_Documents, &documents);
    if (err != 0)
        return err;
    return SetCurrentDirectoryW(documents.c_str()) ? 0 : int(GetLastError());
}

int absolutePath(const char* path, char* out, size_t size) {
    std::wstring wide;
    if (!utf8ToWide(path, &wide))
        return ERROR_NO_UNICODE_TRANSLATION;
    const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return int(GetLastError());
    std::wstring full(length, L'\0');
    if (GetFullPathNameW(wide.c_str(), length, full.data(), nullptr) == 0)
        return int(GetLastError());
    return copyOut(wideToUtf8(full.c_str()), out, size);
}
