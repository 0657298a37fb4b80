// The two settings kept between runs, the serial port and the language, as a
// byte image in "DAQSetup.cnf" in the working directory.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr const char* CONFIG_FILE_NAME = "DAQSetup.cnf";
constexpr uint32_t CONFIG_BLOCK_SIZE = 282;
// Added to comPort while the chosen port could not be opened.
constexpr uint16_t PORT_FAILED_MARK = 10;

// In memory the fields are host integers; the file holds them little-endian
// at the offsets below, whatever the host's byte order.
struct ConfigBlock {
    uint16_t comPort;       // offset 0: 1..8, plus PORT_FAILED_MARK while the port failed
    uint8_t reserved1[258]; // offset 2: kept as read
    uint16_t languageBase;  // offset 260: LANG_ENGLISH, LANG_GERMAN or LANG_DANISH
    uint8_t reserved2[20];  // offset 262: kept as read
};
static_assert(sizeof(ConfigBlock) == CONFIG_BLOCK_SIZE, "the block is the file's byte image");

// The configuration of this run: all zero until start-up sets the defaults.
extern ConfigBlock configBlock;

// Fills the block from the file, or creates the file from the block when it is
// missing. A short file replaces only the block's first bytes. Returns 0, a
// system error number, or ERR_CONFIG_SIZE when fewer than 282 bytes moved.
int readConfig(ConfigBlock* block);
// Keeps the file in directory instead of the working directory from now on.
// False, and the working directory kept, when the path would not fit.
bool setConfigDirectory(const char* directory);
// The path of the file name beside the configuration file, in the same
// folder. False when it would not fit size.
bool configSiblingPath(const char* name, char* out, size_t size);
// Stores the block at the start of the file, creating it when missing; a
// longer file keeps its bytes beyond the block. Returns 0, a system error
// number, or ERR_CONFIG_SIZE.
int writeConfig(const ConfigBlock* block);
