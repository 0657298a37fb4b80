#include "base/config_file.h"

#include <cstdio>
#include <cstring>

#include "base/error_codes.h"
#include "base/little_endian.h"
#include "platform/file.h"

ConfigBlock configBlock;

namespace {

// A program started from the desktop menu runs in the home directory, where the
// file does not belong; the front end then names a directory of its own.
const char* configPath = CONFIG_FILE_NAME;
char configPathInDirectory[FILE_PATH_SIZE];

} // namespace

bool setConfigDirectory(const char* directory) {
    int length = std::snprintf(configPathInDirectory, sizeof configPathInDirectory, "%s/%s",
                               directory, CONFIG_FILE_NAME);
    if (length < 0 || length >= int(sizeof configPathInDirectory))
        return false;
    configPath = configPathInDirectory;
    return true;
}

bool configSiblingPath(const char* name, char* out, size_t size) {
    const size_t folder = pathFolderLength(configPath);
    const int length = std::snprintf(out, size, "%.*s%s", int(folder), configPath, name);
    return length >= 0 && size_t(length) < size;
}

namespace {

constexpr uint32_t COM_PORT_OFFSET = 0;
constexpr uint32_t RESERVED1_OFFSET = 2;
constexpr uint32_t LANGUAGE_BASE_OFFSET = 260;
constexpr uint32_t RESERVED2_OFFSET = 262;

void encode(const ConfigBlock* block, uint8_t* image) {
    putU16(image + COM_PORT_OFFSET, block->comPort);
    std::memcpy(image + RESERVED1_OFFSET, block->reserved1, sizeof block->reserved1);
    putU16(image + LANGUAGE_BASE_OFFSET, block->languageBase);
    std::memcpy(image + RESERVED2_OFFSET, block->reserved2, sizeof block->reserved2);
}

void decode(const uint8_t* image, ConfigBlock* block) {
    block->comPort = getU16(image + COM_PORT_OFFSET);
    std::memcpy(block->reserved1, image + RESERVED1_OFFSET, sizeof block->reserved1);
    block->languageBase = getU16(image + LANGUAGE_BASE_OFFSET);
    std::memcpy(block->reserved2, image + RESERVED2_OFFSET, sizeof block->reserved2);
}

// The block replaces the file's first bytes whole or not at all; a longer
// file keeps its bytes beyond the block.
int storeImage(const uint8_t* image) {
    FileReplacement replacement;
    int result = fileReplaceBegin(configPath, &replacement);
    if (result != 0) {
        return result;
    }
    uint32_t moved = 0;
    result = fileWrite(replacement.file, image, CONFIG_BLOCK_SIZE, &moved);
    if (result == 0 && moved < CONFIG_BLOCK_SIZE) {
        result = ERR_CONFIG_SIZE;
    }
    if (result == 0) {
        result = fileReplaceKeepTail(&replacement, CONFIG_BLOCK_SIZE);
    }
    if (result != 0) {
        fileReplaceAbandon(&replacement);
        return result;
    }
    return fileReplaceCommit(&replacement);
}

} // namespace

int readConfig(ConfigBlock* block) {
    // The image starts as the block itself, so a short read replaces only
    // the block's first bytes, as reading straight into the block would.
    uint8_t image[CONFIG_BLOCK_SIZE];
    encode(block, image);
    // Opened for reading and writing, as the file will later be written: a
    // read-only or held file is reported at start-up already.
    FileHandle file = FILE_NONE;
    int result = fileOpen(configPath, FILE_READ | FILE_WRITE, FILE_OPEN_EXISTING, &file, nullptr);
    if (result == FILE_ERROR_NOT_FOUND) {
        // The defaults make the new file.
        return storeImage(image);
    }
    if (result != 0) {
        return result;
    }
    // Success is judged by the byte count alone.
    uint32_t moved = 0;
    fileRead(file, image, CONFIG_BLOCK_SIZE, &moved);
    decode(image, block);
    fileClose(file);
    return moved < CONFIG_BLOCK_SIZE ? ERR_CONFIG_SIZE : 0;
}

int writeConfig(const ConfigBlock* block) {
    uint8_t image[CONFIG_BLOCK_SIZE];
    encode(block, image);
    return storeImage(image);
}
