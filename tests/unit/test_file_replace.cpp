// What stands at the chosen name after a file is replaced through a link: the
// link, pointing at the new content with the old file's permissions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file.h"

namespace {

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int replaceWith(const std::string& path, const std::string& bytes) {
    FileReplacement replacement;
    int err = fileReplaceBegin(path.c_str(), &replacement);
    if (err != 0)
        return err;
    uint32_t moved = 0;
    fileWrite(replacement.file, bytes.data(), uint32_t(bytes.size()), &moved);
    return fileReplaceCommit(&replacement);
}

bool isLink(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

TEST(FileReplace, ALinkStaysALinkAndItsFileKeepsItsPermissions) {
    char pattern[] = "/tmp/korvex_replace_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string dir = pattern;
    std::ofstream(dir + "/target") << "old";
    ASSERT_EQ(chmod((dir + "/target").c_str(), 0640), 0);
    ASSERT_EQ(symlink("target", (dir + "/link").c_str()), 0);
    // A link whose file does not exist yet: a plain open would create it.
    ASSERT_EQ(symlink("made", (dir + "/dangling").c_str()), 0);

    EXPECT_EQ(replaceWith(dir + "/link", "new"), 0);
    EXPECT_EQ(replaceWith(dir + "/dangling", "made anew"), 0);

    EXPECT_TRUE(isLink(dir + "/link"));
    EXPECT_EQ(contentOf(dir + "/target"), "new");
    struct stat st;
    ASSERT_EQ(stat((dir + "/target").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_TRUE(isLink(dir + "/dangling"));
    EXPECT_EQ(contentOf(dir + "/made"), "made anew");
    // Nothing of the replacements is left beside them.
    EXPECT_EQ(std::system(("test $(ls -A '" + dir + "' | wc -l) -eq 4").c_str()), 0);
    std::system(("rm -rf '" + dir + "'").c_str());
}

} // namespace
