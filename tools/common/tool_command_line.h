// What the command-line tools share, so that they behave alike: --help and
// --version answer on standard output, a usage error is one line and a
// pointer to --help on standard error, and a failure names the path or the
// port it concerns with the reason.
#pragma once
#include <cstdint>

constexpr int TOOL_EXIT_OK = 0;
constexpr int TOOL_EXIT_FAILED = 1;
constexpr int TOOL_EXIT_USAGE = 2;
// What parsing a command line returns once it has answered --help or
// --version: the tool ends there, successfully.
constexpr int TOOL_ANSWERED = -1;

// The tool's name as it is called, for every line it prints; each tool
// defines it.
extern const char TOOL_NAME[];

// Answers --help (or -h) with printUsage and --version with "<tool>
// <version>", on standard output. False for any other option.
bool answerInformationOption(const char* option, void (*printUsage)());
// "<tool> <version>", as --version prints it.
const char* toolVersionText();
// The text table's base of a language named as --lang names it (en, de, da).
// False for any other name.
bool languageFromName(const char* name, uint16_t* languageBase);
// A line on standard error, after the tool's name.
[[gnu::format(printf, 1, 2)]] void toolError(const char* format, ...);
// The line of a usage error and where to read more, on standard error; the
// whole usage would bury the line that says what was wrong. Returns
// TOOL_EXIT_USAGE.
[[gnu::format(printf, 1, 2)]] int toolUsageError(const char* format, ...);
// "<tool>: PATH: reason": the program's own messages name neither.
void reportPath(const char* path, const char* reason);
void reportPathError(const char* path, int systemError);
// A message the program would show in a box, as one line.
void printProgramMessage(const char* text, const char* caption);
// Refuses, with a line that says why, an output name that can never become
// the file: a directory (which would otherwise get an extension added, or
// fail only after the work) or an existing file that is not a regular one.
bool outputPathRefused(const char* path);
