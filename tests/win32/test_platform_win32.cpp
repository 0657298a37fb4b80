// The Win32 services where Windows behaves unlike POSIX: files held without
// sharing, names that are devices, a rename that needs the old file let go,
// names outside the ANSI code page or UTF-16 itself, and the system's date
// and time formats (also run in German by the Windows build's tests).
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/file.h"
#include "platform/locale_time.h"
#include "platform/win32/text_win32.h"

namespace {

namespace fs = std::filesystem;

std::string utf8Of(const wchar_t* wide) {
    int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
    text.resize(size_t(length - 1));
    return text;
}

// Names relative to the working directory, as the configuration file's is.
class Win32Files : public ::testing::Test {
  protected:
    void SetUp() override {
        previous = fs::current_path();
        directory =
            fs::temp_directory_path() / ("korvex-win32-" + std::to_string(GetTickCount64()));
        ASSERT_TRUE(fs::create_directory(directory));
        fs::current_path(directory);
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::remove_all(directory);
    }

    std::string path(const char* name) { return name; }
    void write(const std::string& name, const std::string& bytes) {
        std::ofstream(directory / name, std::ios::binary) << bytes;
    }
    std::string read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    size_t entries() { return size_t(std::distance(fs::directory_iterator(directory), {})); }

    fs::path previous;
    fs::path directory;
};

TEST_F(Win32Files, AHeldFileOrADeviceNameIsRefusedAndLeftAlone) {
    write("held.kvd", "keep");
    FileHandle holder = FILE_NONE;
    bool existed = false;
    ASSERT_EQ(fileOpen(path("held.kvd").c_str(), FILE_READ, FILE_OPEN_ALWAYS, &holder, &existed),
              0);
    EXPECT_TRUE(existed);
    FileHandle second = FILE_NONE;
    EXPECT_EQ(fileOpen(path("held.kvd").c_str(), FILE_WRITE, FILE_CREATE_ALWAYS, &second, nullptr),
              ERROR_SHARING_VIOLATION);
    EXPECT_EQ(second, FILE_NONE);
    FileReplacement replacement;
    EXPECT_EQ(fileReplaceBegin(path("held.kvd").c_str(), &replacement), ERROR_SHARING_VIOLATION);
    fileClose(holder);
    EXPECT_EQ(read(directory / "held.kvd"), "keep");
    EXPECT_EQ(entries(), 1u) << "nothing left beside the file";

    EXPECT_EQ(fileOpen("NUL", FILE_WRITE, FILE_CREATE_ALWAYS, &second, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(
        fileOpen(path("no-dir\\x.kvd").c_str(), FILE_WRITE, FILE_CREATE_ALWAYS, &second, nullptr),
        ERROR_PATH_NOT_FOUND);
}

// The old file stays held until the commit, which must let go of it before
// the rename, and a replacement given up leaves it byte for byte.
TEST_F(Win32Files, AReplacementTakesTheNameWholeOrNotAtAll) {
    write("data.kvd", "old head|old tail");
    FileReplacement replacement;
    uint32_t moved = 0;
    ASSERT_EQ(fileReplaceBegin(path("data.kvd").c_str(), &replacement), 0);
    ASSERT_EQ(fileWrite(replacement.file, "new", 3, &moved), 0);
    fileReplaceAbandon(&replacement);
    EXPECT_EQ(read(directory / "data.kvd"), "old head|old tail");
    EXPECT_EQ(entries(), 1u);

    ASSERT_EQ(fileReplaceBegin(path("data.kvd").c_str(), &replacement), 0);
    ASSERT_EQ(fileWrite(replacement.file, "new head", 8, &moved), 0);
    ASSERT_EQ(fileReplaceKeepTail(&replacement, 8), 0);
    ASSERT_EQ(fileReplaceCommit(&replacement), 0);
    EXPECT_EQ(read(directory / "data.kvd"), "new head|old tail");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(Win32Files, ANameOutsideTheAnsiCodePageIsKeptExactly) {
    const wchar_t* wideName = L"M\u00e5ling \u03a9.kvd";
    std::string name = utf8Of(wideName);
    FileReplacement replacement;
    uint32_t moved = 0;
    ASSERT_EQ(fileReplaceBegin(name.c_str(), &replacement), 0);
    ASSERT_EQ(fileWrite(replacement.file, "T596", 4, &moved), 0);
    ASSERT_EQ(fileReplaceCommit(&replacement), 0);
    EXPECT_EQ(read(directory / wideName), "T596");
    EXPECT_EQ(entries(), 1u);
}

// A name is any sequence of 16-bit units; the system's own conversion would
// put U+FFFD for a lone surrogate and so name another file.
TEST(Win32Names, EveryWideNameComesBackExactlyAndOnlyUtf8IsRead) {
    const std::wstring names[] = {L"M\u00e5ling \u03a9.kvd", L"\U0001F50B.kvd",
                                  std::wstring(L"a\xD800") + L"b.kvd", L"\xDC00\xD800",
                                  L"end\xDBFF"};
    for (const std::wstring& name : names) {
        std::wstring back;
        ASSERT_TRUE(utf8ToWide(wideToUtf8(name.c_str()).c_str(), &back));
        EXPECT_EQ(back, name);
    }
    EXPECT_EQ(wideToUtf8(L"\U0001F50B"), "\xF0\x9F\x94\x8B");
    std::wstring refused;
    for (const char* text : {"\xC0\xAF", "\xE2\x82", "\xF4\x90\x80\x80", "\xFF"})
        EXPECT_FALSE(utf8ToWide(text, &refused)) << text;
}

constexpr SystemTime WEDNESDAY{2009, 3, 0, 25, 14, 30, 5, 0};

// Compared with the system's own wide answer, so that any locale checks the
// conversion; in German the month is "März". The short date is the user's
// own, a two-digit year included.
TEST(RegionalFormats, AreTheUsersOwnInUtf8) {
    SYSTEMTIME st{2009, 3, 0, 25, 14, 30, 5, 0};
    wchar_t wide[64];
    char text[64];
    ASSERT_NE(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &st, nullptr, wide, 64), 0);
    ASSERT_EQ(formatLongDate(WEDNESDAY, text, sizeof text), 0);
    EXPECT_EQ(text, utf8Of(wide));
    ASSERT_NE(GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, wide, 64), 0);
    ASSERT_EQ(formatTimeNoSeconds(WEDNESDAY, text, sizeof text), 0);
    EXPECT_EQ(text, utf8Of(wide));
    ASSERT_NE(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, wide, 64), 0);
    ASSERT_EQ(formatShortDate(WEDNESDAY, text, sizeof text), 0);
    EXPECT_EQ(text, utf8Of(wide));

    wchar_t usersOwn[80];
    ASSERT_NE(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, usersOwn, 80), 0);
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, L"dd/MM/yy"));
    const int twoDigits = formatShortDate(WEDNESDAY, text, sizeof text);
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, usersOwn);
    ASSERT_EQ(twoDigits, 0);
    EXPECT_STREQ(text, "25/03/09");

    SystemTime thirtiethOfFebruary{2009, 2, 0, 30, 12, 0, 0, 0};
    EXPECT_NE(formatShortDate(thirtiethOfFebruary, text, sizeof text), 0);
    EXPECT_STREQ(text, "");
    EXPECT_NE(formatLongDate(WEDNESDAY, text, 8), 0) << "a text that does not fit";
}

// Forced to 24 hours, the system still appends a 12-hour locale's "PM".
TEST(RegionalFormats, TheTimeOnA24HourClockCarriesNoDayHalf) {
    char text[64];
    ASSERT_EQ(formatTime24(WEDNESDAY, text, sizeof text), 0);
    std::string time = text;
    EXPECT_EQ(time.rfind("14", 0), 0u) << time;
    EXPECT_NE(time.find("05"), std::string::npos) << time;
    EXPECT_EQ(time.find_first_of("APap"), std::string::npos) << time;
}

} // namespace
