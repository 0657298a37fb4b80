// Replacing a file whole: the new bytes go to a file beside the chosen one,
// are flushed to the disk, and only then take its name. The rename stays on
// one volume, where the system makes it atomic, so the name never shows a
// half-written file, and a full disk is found out by the flush while the old
// file is still there.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "platform/file.h"
#include "platform/replacement_outcome.h"
#include "platform/replacements_under_way.h"
#include "platform/win32/text_win32.h"

namespace {

constexpr DWORD COPY_CHUNK = 65536;
constexpr int TEMPORARY_ATTEMPTS = 100;

HANDLE handleOf(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

// The length of the directory part of path with its separator: 0 for a bare
// name, 2 for "C:name" (the drive's current directory).
size_t directoryLength(const char* path) {
    size_t length = 0;
    for (size_t i = 0; path[i] != '\0'; ++i) {
        if (path[i] == '\\' || path[i] == '/' || (i == 1 && path[i] == ':'))
            length = i + 1;
    }
    return length;
}

FileReplaceOutcome& outcome = replacementOutcome;

// The name is written down only once the file is ours: a console interrupt
// (another thread) then never removes a file of that name that is not.
int createTemporary(const char* path, char* temporaryPath, HANDLE* handle) {
    static std::atomic<unsigned> sequence;
    int directory = int(directoryLength(path));
    for (int attempt = 0; attempt < TEMPORARY_ATTEMPTS; ++attempt) {
        char candidate[FILE_PATH_SIZE];
        int written = std::snprintf(candidate, sizeof candidate, "%.*s.korvex-%lu-%u.tmp",
                                    directory, path, GetCurrentProcessId(), sequence.fetch_add(1));
        if (written < 0 || written >= int(sizeof candidate))
            return ERROR_FILENAME_EXCED_RANGE;
        std::wstring wide;
        utf8ToWide(candidate, &wide);
        *handle = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (*handle != INVALID_HANDLE_VALUE) {
            std::strcpy(temporaryPath, candidate);
            return 0;
        }
        DWORD err = GetLastError();
        if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS)
            return int(err);
    }
    return ERROR_FILE_EXISTS;
}

// Whether the process of that id has ended: an id no process has, or one
// whose process has exited while something still holds its handle.
bool processGone(DWORD id) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (process == nullptr)
        return GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    bool gone = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    CloseHandle(process);
    return gone;
}

// Removes a file only when nobody has it open: its writer holds it without
// sharing until just before it takes its name, so a live one stays.
void removeUnheld(const std::wstring& name) {
    HANDLE held = CreateFileW(name.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);
}

// The temporary files a killed process left beside the names it was saving.
// The process number alone proves nothing (on a network share it may be
// another machine's process), so the file must also be held by nobody.
void removeStaleTemporaries(const char* path) {
    const int directory = int(directoryLength(path));
    char pattern[FILE_PATH_SIZE];
    int written = std::snprintf(pattern, sizeof pattern, "%.*s.korvex-*.tmp", directory, path);
    std::wstring widePattern;
    if (written < 0 || written >= int(sizeof pattern) || !utf8ToWide(pattern, &widePattern))
        return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(widePattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        // The pattern also matches short 8.3 names; the long name must be ours.
        const wchar_t* name = found.cFileName;
        const size_t length = std::wcslen(name);
        unsigned long id = 0;
        unsigned sequence = 0;
        if (length < 4 || std::wcscmp(name + length - 4, L".tmp") != 0 ||
            std::swscanf(name, L".korvex-%lu-%u", &id, &sequence) != 2 ||
            id == GetCurrentProcessId() || !processGone(DWORD(id)) ||
            (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        std::string stale = std::string(path, size_t(directory)) + wideToUtf8(name);
        std::wstring wide;
        if (utf8ToWide(stale.c_str(), &wide))
            removeUnheld(wide);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

void removeTemporary(const FileReplacement* replacement) {
    std::wstring wide;
    if (utf8ToWide(replacement->temporaryPath, &wide))
        DeleteFileW(wide.c_str());
}

void closePrevious(FileReplacement* replacement) {
    if (replacement->previous != FILE_NONE) {
        fileClose(replacement->previous);
        replacement->previous = FILE_NONE;
    }
}

// Puts the new file in the old one's place. ReplaceFileW keeps what belongs
// to the name (attributes, security, creation time); where it fails, and for
// a name that held no file, a rename replaces the file whole all the same.
// Sets *oldGone when a failure has already removed the old file, so that the
// new one is then the only copy of the data.
int renameOver(const FileReplacement* replacement, bool hadPrevious, bool* oldGone) {
    *oldGone = false;
    std::wstring path;
    std::wstring temporary;
    utf8ToWide(replacement->path, &path);
    utf8ToWide(replacement->temporaryPath, &temporary);
    if (hadPrevious) {
        if (ReplaceFileW(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                         nullptr, nullptr))
            return 0;
        // Without a backup name this one failure leaves the old file removed.
        *oldGone = GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
    }
    if (MoveFileExW(temporary.c_str(), path.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    return int(GetLastError());
}

// When a failure has removed the old file, the new one is the only copy of
// the data. It takes a name beside the chosen one that the user recognises
// and that no later save mistakes for a stale temporary file; the outcome
// names it.
void keepOnlyCopy(const FileReplacement* replacement) {
    std::wstring temporary;
    utf8ToWide(replacement->temporaryPath, &temporary);
    for (int attempt = 1; attempt <= TEMPORARY_ATTEMPTS; ++attempt) {
        char kept[FILE_PATH_SIZE];
        int written = attempt == 1
                          ? std::snprintf(kept, sizeof kept, "%s.korvex-backup", replacement->path)
                          : std::snprintf(kept, sizeof kept, "%s.korvex-backup-%d",
                                          replacement->path, attempt);
        std::wstring wide;
        if (written < 0 || written >= int(sizeof kept) || !utf8ToWide(kept, &wide))
            return;
        if (MoveFileExW(temporary.c_str(), wide.c_str(), MOVEFILE_WRITE_THROUGH)) {
            outcome.left = FILE_LEFT_NOTHING;
            std::strcpy(outcome.copyPath, kept);
            return;
        }
        DWORD err = GetLastError();
        if (err != ERROR_ALREADY_EXISTS && err != ERROR_FILE_EXISTS)
            return;
    }
}

void abandon(FileReplacement* replacement) {
    if (replacement->file != FILE_NONE) {
        CloseHandle(handleOf(replacement->file));
        replacement->file = FILE_NONE;
    }
    if (replacement->temporaryPath[0] != '\0')
        removeTemporary(replacement);
    closePrevious(replacement);
}

} // namespace

int fileReplaceBegin(const char* path, FileReplacement* replacement) {
    startOutcome();
    replacement->file = FILE_NONE;
    replacement->previous = FILE_NONE;
    replacement->backup = FILE_NONE;
    replacement->overwriting = false;
    replacement->previousMade = false;
    replacement->temporaryPath[0] = '\0';
    replacement->backupPath[0] = '\0';
    if (std::strlen(path) >= size_t(FILE_PATH_SIZE))
        return ERROR_FILENAME_EXCED_RANGE;
    std::strcpy(replacement->path, path);
    // The old file is opened as a plain write would open it, so that whatever
    // refused that write (another holder, a read-only file, a directory, a
    // device) refuses this one; it is held until the rename.
    int err =
        fileOpen(path, FILE_READ | FILE_WRITE, FILE_OPEN_EXISTING, &replacement->previous, nullptr);
    if (err == FILE_ERROR_NOT_FOUND)
        replacement->previous = FILE_NONE;
    else if (err != 0)
        return err;
    removeStaleTemporaries(path);
    HANDLE handle = INVALID_HANDLE_VALUE;
    err = createTemporary(path, replacement->temporaryPath, &handle);
    if (err != 0) {
        replacement->temporaryPath[0] = '\0';
        closePrevious(replacement);
        return err;
    }
    replacement->file = reinterpret_cast<FileHandle>(handle);
    enlistReplacement(replacement);
    return 0;
}

int fileReplaceKeepTail(FileReplacement* replacement, uint64_t offset) {
    if (replacement->previous == FILE_NONE)
        return 0;
    LARGE_INTEGER at;
    at.QuadPart = LONGLONG(offset);
    if (!SetFilePointerEx(handleOf(replacement->previous), at, nullptr, FILE_BEGIN))
        return int(GetLastError());
    uint8_t buffer[COPY_CHUNK];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(handleOf(replacement->previous), buffer, COPY_CHUNK, &got, nullptr))
            return int(GetLastError());
        if (got == 0)
            return 0;
        uint32_t moved = 0;
        int err = fileWrite(replacement->file, buffer, got, &moved);
        if (err != 0)
            return err;
    }
}

int fileReplaceCommit(FileReplacement* replacement) {
    startOutcome();
    HANDLE file = handleOf(replacement->file);
    int err = FlushFileBuffers(file) ? 0 : int(GetLastError());
    if (!CloseHandle(file) && err == 0)
        err = int(GetLastError());
    replacement->file = FILE_NONE;
    // The old file was held to keep others out while the new one was written;
    // the system renames nothing over a file that is open.
    bool hadPrevious = replacement->previous != FILE_NONE;
    closePrevious(replacement);
    bool oldGone = false;
    if (err == 0)
        err = renameOver(replacement, hadPrevious, &oldGone);
    if (err != 0 && !oldGone)
        removeTemporary(replacement);
    else if (err != 0)
        keepOnlyCopy(replacement);
    replacement->temporaryPath[0] = '\0';
    delistReplacement(replacement);
    // The rename writes through, so a commit that succeeded is on the disk.
    if (err == 0)
        outcome.left = FILE_LEFT_NEW;
    return err;
}

const FileReplaceOutcome& fileReplaceOutcome() {
    return outcome;
}

void fileReplaceAbandon(FileReplacement* replacement) {
    abandon(replacement);
    delistReplacement(replacement);
}

void fileReplaceAbandonAll() {
    abandonEveryReplacement(abandon);
}
