// The configuration file: created from the defaults, read whole or short,
// written without truncating, and the errors of a file the program cannot
// have. Each test runs in a fresh working directory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <vector>

#include "base/config_file.h"
#include "base/error_codes.h"
#include "platform/file.h"
#include "tests/support/main_window_fixture.h"

namespace {

using Bytes = std::vector<uint8_t>;

class ConfigFile : public ConfigDirectoryTest {
  protected:
    void SetUp() override {
        ConfigDirectoryTest::SetUp();
        block = ConfigBlock{};
        block.comPort = 1;
    }

    ConfigBlock block;
};

TEST_F(ConfigFile, MissingFileIsCreatedFromTheDefaults) {
    EXPECT_EQ(readConfig(&block), 0);
    EXPECT_EQ(configFileBytes(), defaultConfigImage());
    EXPECT_EQ(block.comPort, 1);
    EXPECT_EQ(block.languageBase, 0);
}

TEST_F(ConfigFile, FieldsAreLittleEndianAtTheirOffsets) {
    Bytes image(CONFIG_BLOCK_SIZE, 0);
    image[0] = 0x03;
    image[1] = 0x01;
    image[260] = 0xC8;
    image[261] = 0x00;
    image[2] = 0x11;
    image[259] = 0x22;
    image[262] = 0x33;
    image[281] = 0x44;
    writeConfigFile(image);
    EXPECT_EQ(readConfig(&block), 0);
    EXPECT_EQ(block.comPort, 0x0103);
    EXPECT_EQ(block.languageBase, 200);
    EXPECT_EQ(block.reserved1[0], 0x11);
    EXPECT_EQ(block.reserved1[257], 0x22);
    EXPECT_EQ(block.reserved2[0], 0x33);
    EXPECT_EQ(block.reserved2[19], 0x44);

    // Written back, the reserved bytes come out as they were read.
    block.comPort = 0x0204;
    block.languageBase = 100;
    EXPECT_EQ(writeConfig(&block), 0);
    image[0] = 0x04;
    image[1] = 0x02;
    image[260] = 0x64;
    EXPECT_EQ(configFileBytes(), image);
}

TEST_F(ConfigFile, EmptyFileKeepsTheDefaultsUntilTheNextWrite) {
    writeConfigFile({});
    EXPECT_EQ(readConfig(&block), ERR_CONFIG_SIZE);
    EXPECT_EQ(block.comPort, 1);
    EXPECT_EQ(block.languageBase, 0);
    EXPECT_EQ(configFileBytes().size(), 0u);
    EXPECT_EQ(writeConfig(&block), 0);
    EXPECT_EQ(configFileBytes(), defaultConfigImage());
}

TEST_F(ConfigFile, ShortFileReplacesOnlyTheFirstBytes) {
    Bytes file(100, 0xAB);
    file[0] = 5;
    file[1] = 0;
    writeConfigFile(file);
    block.reserved1[120] = 0x5A;
    EXPECT_EQ(readConfig(&block), ERR_CONFIG_SIZE);
    EXPECT_EQ(block.comPort, 5);
    EXPECT_EQ(block.reserved1[0], 0xAB);
    EXPECT_EQ(block.reserved1[97], 0xAB);
    EXPECT_EQ(block.reserved1[98], 0);
    EXPECT_EQ(block.reserved1[120], 0x5A);
    EXPECT_EQ(block.languageBase, 0);
    // The short file is left as it is.
    EXPECT_EQ(configFileBytes(), file);
}

TEST_F(ConfigFile, OneByteFileReplacesTheLowByteOfThePort) {
    writeConfigFile({0x07});
    block.comPort = 0x0201;
    EXPECT_EQ(readConfig(&block), ERR_CONFIG_SIZE);
    EXPECT_EQ(block.comPort, 0x0207);
}

TEST_F(ConfigFile, LongerFileIsReadWithoutComplaintAndKeepsItsTail) {
    Bytes file(300, 0);
    file[0] = 2;
    file[260] = 100;
    for (size_t i = CONFIG_BLOCK_SIZE; i < file.size(); ++i) {
        file[i] = uint8_t(i);
    }
    writeConfigFile(file);
    EXPECT_EQ(readConfig(&block), 0);
    EXPECT_EQ(block.comPort, 2);
    EXPECT_EQ(block.languageBase, 100);

    block.comPort = 6;
    EXPECT_EQ(writeConfig(&block), 0);
    Bytes after = configFileBytes();
    ASSERT_EQ(after.size(), 300u);
    EXPECT_EQ(after[0], 6);
    EXPECT_EQ(after[260], 100);
    EXPECT_TRUE(std::equal(after.begin() + CONFIG_BLOCK_SIZE, after.end(),
                           file.begin() + CONFIG_BLOCK_SIZE));
}

TEST_F(ConfigFile, WriteCreatesAMissingFile) {
    block.comPort = 3 + PORT_FAILED_MARK;
    EXPECT_EQ(writeConfig(&block), 0);
    Bytes image = defaultConfigImage();
    image[0] = 13;
    EXPECT_EQ(configFileBytes(), image);
}

// Tests run as root, for whom a read-only file is still writable; a directory
// in the file's place is a file the program cannot have either way.
TEST_F(ConfigFile, UnopenableFileGivesTheSystemErrorAndLeavesTheBlock) {
    ASSERT_EQ(mkdir(CONFIG_FILE_NAME, 0755), 0);
    block.comPort = 4;
    block.languageBase = 200;
    ConfigBlock before = block;
    EXPECT_EQ(readConfig(&block), EISDIR);
    EXPECT_EQ(std::memcmp(&block, &before, sizeof block), 0);
    EXPECT_EQ(writeConfig(&block), EISDIR);
}

// The file is opened without sharing: while another holder has it, both
// operations fail and change nothing; once it lets go they work again.
TEST_F(ConfigFile, FileHeldByAnotherHolderCannotBeOpened) {
    Bytes image = defaultConfigImage();
    image[0] = 7;
    writeConfigFile(image);
    FileHandle other = FILE_NONE;
    bool existed = false;
    ASSERT_EQ(fileOpen(CONFIG_FILE_NAME, FILE_READ, FILE_OPEN_EXISTING, &other, &existed), 0);

    int readResult = readConfig(&block);
    EXPECT_NE(readResult, 0);
    EXPECT_NE(readResult, ERR_CONFIG_SIZE);
    EXPECT_EQ(block.comPort, 1);
    block.comPort = 2;
    EXPECT_NE(writeConfig(&block), 0);
    EXPECT_EQ(configFileBytes(), image);

    fileClose(other);
    EXPECT_EQ(readConfig(&block), 0);
    EXPECT_EQ(block.comPort, 7);
}

} // namespace
