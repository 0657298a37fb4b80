// Configuration files from anywhere: reading takes the file's first 282 bytes
// into the block (a shorter file only its own bytes), and writing stores the
// block whole while keeping every byte of a longer file beyond it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "base/config_file.h"
#include "base/error_codes.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// The block as the file holds it, little-endian at the documented offsets.
std::vector<uint8_t> imageOf(const ConfigBlock& block) {
    std::vector<uint8_t> image(CONFIG_BLOCK_SIZE);
    image[0] = uint8_t(block.comPort);
    image[1] = uint8_t(block.comPort >> 8);
    std::memcpy(&image[2], block.reserved1, sizeof block.reserved1);
    image[260] = uint8_t(block.languageBase);
    image[261] = uint8_t(block.languageBase >> 8);
    std::memcpy(&image[262], block.reserved2, sizeof block.reserved2);
    return image;
}

std::vector<uint8_t> fileBytes(const char* path) {
    std::vector<uint8_t> bytes;
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    uint8_t buffer[4096];
    ssize_t got;
    while (fd >= 0 && (got = read(fd, buffer, sizeof buffer)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    if (fd >= 0)
        close(fd);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool inScratch = chdir(fuzzScratchDirectory().c_str()) == 0;
    fuzzRequire(inScratch, "the working directory is the scratch one");
    int fd = open(CONFIG_FILE_NAME, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    fuzzRequire(fd >= 0 && write(fd, data, size) == ssize_t(size), "the input is on disk");
    close(fd);

    ConfigBlock block;
    for (size_t i = 0; i < sizeof block; ++i)
        reinterpret_cast<uint8_t*>(&block)[i] = uint8_t(i * 7 + 1);
    std::vector<uint8_t> expected = imageOf(block);
    size_t taken = size < CONFIG_BLOCK_SIZE ? size : CONFIG_BLOCK_SIZE;
    std::memcpy(expected.data(), data, taken);

    int result = readConfig(&block);
    fuzzRequire(result == (size < CONFIG_BLOCK_SIZE ? ERR_CONFIG_SIZE : 0), "the read's result");
    fuzzRequire(imageOf(block) == expected, "the block holds the file's first bytes");

    fuzzRequire(writeConfig(&block) == 0, "the write succeeds");
    std::vector<uint8_t> stored = fileBytes(CONFIG_FILE_NAME);
    if (size > CONFIG_BLOCK_SIZE)
        expected.insert(expected.end(), data + CONFIG_BLOCK_SIZE, data + size);
    fuzzRequire(stored == expected, "the file holds the block and the longer file's tail");
    return 0;
}
