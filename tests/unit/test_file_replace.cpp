// A file replaced through a symbolic link: the link stays, its file gets the
// new bytes and keeps its permissions, and one not there yet is created.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>

#include "platform/file.h"

namespace {

void replaceWith(const std::string& path, const std::string& bytes) {
    FileReplacement replacement;
    ASSERT_EQ(fileReplaceBegin(path.c_str(), &replacement), 0);
    uint32_t moved = 0;
    fileWrite(replacement.file, bytes.data(), uint32_t(bytes.size()), &moved);
    ASSERT_EQ(fileReplaceCommit(&replacement), 0);
}

TEST(FileReplace, ALinkStaysALinkAndItsFileKeepsItsPermissions) {
    char pattern[] = "/tmp/korvex_replace_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string dir = pattern;
    ASSERT_EQ(std::system(("cd '" + dir +
                           "' && echo old >target && chmod 640 target && "
                           "ln -s target link && ln -s made dangling")
                              .c_str()),
              0);
    replaceWith(dir + "/link", "new");
    replaceWith(dir + "/dangling", "made anew");
    std::string listing = "test -L link && test -L dangling && test $(ls -A | wc -l) -eq 4 && "
                          "test \"$(cat target)\" = new && test \"$(cat made)\" = 'made anew' && "
                          "test $(stat -c %a target) = 640";
    EXPECT_EQ(std::system(("cd '" + dir + "' && " + listing).c_str()), 0);
    std::system(("rm -rf '" + dir + "'").c_str());
}

} // namespace
