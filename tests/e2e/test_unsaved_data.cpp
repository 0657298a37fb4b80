// Downloaded samples are never lost by a click: a completed transfer and Set
// time leave the samples unsaved until a Save; Exit, the close box, Open and
// Transfer ask about unsaved samples only, and each answer does what it says.
// Also where the file dialogs start: where the last chosen name was.
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <tuple>

#include "app/main_window.h"
#include "app/set_time_command.h"
#include "data/sample_store.h"
#include "res/resource_ids.h"
#include "tests/e2e/program_on_sims.h"
#include "tests/support/scripted_frontend.h"

namespace {

constexpr int ANSWER_SAVE = 0;
constexpr int ANSWER_DISCARD = 1;
constexpr int ANSWER_CANCEL = 2;
constexpr uint32_t ONE_HOUR = 3600; // span 5 at 1 s

long fileSize(const std::string& path) {
    struct stat st = {};
    return stat(path.c_str(), &st) == 0 ? long(st.st_size) : -1;
}

// A command as the user gives it (the dialogs it opens are cancelled, unless
// the test answers them), and how often it has gone on: the window gone, the
// Open or the acquisition dialog shown.
struct UserCommand {
    const char* name;
    void (*give)();
    size_t (*timesActed)();
};
size_t windowGone() {
    return scripted.mainWindowDestroyed ? 1 : 0;
}
const UserCommand EXIT = {"Exit", [] { mainWindowCommand(IDM_EXIT, 0); }, windowGone};
const UserCommand CLOSE = {"Close", [] { mainWindowClose(); }, windowGone};
const UserCommand OPEN = {"Open", [] { mainWindowCommand(IDM_OPEN, 0); },
                          [] { return size_t(scriptedCount("fileDialog|open")); }};
const UserCommand TRANSFER = {"Transfer",
                              [] {
                                  scripted.postedCommands.push_back(IDM_TRANSFER);
                                  scriptedRunPostedCommands();
                              },
                              [] { return scripted.acquisitionDialogs.size(); }};
const auto EVERY_COMMAND = ::testing::Values(&EXIT, &CLOSE, &OPEN, &TRANSFER);

class UnsavedData : public ProgramOnSims {
  protected:
    void SetUp() override {
        ProgramOnSims::SetUp();
        startSimOn(1, {"--interval", "100", "--pace", "none", "--pattern", "count"});
        createWindow();
        chooseSpan(5);
        ASSERT_TRUE(runUntilIdle(60000));
        ASSERT_EQ(dataHeader.count, ONE_HOUR);
    }
    void save(const std::string& path) {
        scripted.fileAnswers.push_back({true, path, 0});
        mainWindowCommand(IDM_SAVE, 0);
    }
};

class AnsweredQuestion
    : public UnsavedData,
      public ::testing::WithParamInterface<std::tuple<bool, const UserCommand*>> {};

// Cancel, and Save whose dialog is cancelled, keep everything; Discard goes on.
TEST_P(AnsweredQuestion, CancelKeepsEverythingDiscardGoesOn) {
    const auto [afterSetTime, command] = GetParam();
    if (afterSetTime) {
        save(workDir + "/first.kvd");
        ASSERT_FALSE(dataUnsaved);
        scripted.setTimeClicks = {{SET_TIME_START, {"1", "2", "2010", "8", "0", "0"}}};
        mainWindowCommand(IDM_SET_TIME, 0);
    }
    const size_t actedBefore = command->timesActed();
    scripted.questionAnswers = {ANSWER_CANCEL, ANSWER_SAVE, ANSWER_DISCARD};
    command->give();
    command->give();
    EXPECT_EQ(scripted.questions.size(), 2u);
    EXPECT_EQ(command->timesActed(), actedBefore);
    EXPECT_TRUE(dataUnsaved);
    command->give();
    EXPECT_EQ(scripted.questions.size(), 3u);
    EXPECT_EQ(command->timesActed(), actedBefore + 1);
    EXPECT_TRUE(messageTexts().empty());
}

std::string
answeredCaseName(const ::testing::TestParamInfo<std::tuple<bool, const UserCommand*>>& info) {
    return std::string(std::get<0>(info.param) ? "AfterSetTime" : "AfterTransfer") +
           std::get<1>(info.param)->name;
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, AnsweredQuestion,
                         ::testing::Combine(::testing::Bool(), EVERY_COMMAND), answeredCaseName);

// Save saves before the command goes on; after that, and after an Open,
// nothing asks.
TEST_F(UnsavedData, SaveSavesFirstThenNothingAsks) {
    const std::string kept = workDir + "/kept.kvd";
    scripted.questionAnswers = {ANSWER_SAVE};
    scripted.fileAnswers.push_back({true, kept, 0});
    OPEN.give();
    ASSERT_EQ(scripted.questions.size(), 1u);
    const QuestionContent& question = scripted.questions[0];
    EXPECT_STREQ(question.text, "The samples shown have not been saved.\nSave them first?");
    EXPECT_STREQ(question.answers[0], "&Save");
    EXPECT_STREQ(question.answers[1], "&Discard");
    EXPECT_STREQ(question.answers[2], "Cancel");
    EXPECT_EQ(fileSize(kept), long(20 + 9 * ONE_HOUR));
    EXPECT_EQ(OPEN.timesActed(), 1u);

    TRANSFER.give();
    scripted.fileAnswers.push_back({true, kept, 0});
    OPEN.give();
    EXIT.give();
    EXPECT_EQ(scripted.questions.size(), 1u);
    EXPECT_EQ(TRANSFER.timesActed(), 2u);
    EXPECT_EQ(OPEN.timesActed(), 2u);
    EXPECT_TRUE(EXIT.timesActed());
}

// Open, Save and Export share one folder: the last chosen name's, which a
// cancelled dialog leaves as it was; a bare name is the working directory's.
TEST_F(UnsavedData, EachFileDialogStartsInTheFolderOfTheLastChosenName) {
    const std::string folder = workDir + "/måling/";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    save(folder + "day.kvd");
    mainWindowCommand(IDM_EXPORT_ALL, 0); // cancelled
    scripted.fileAnswers.push_back({true, workDir + "/day.kvd", 0});
    mainWindowCommand(IDM_OPEN, 0);
    save("bare.kvd");
    mainWindowCommand(IDM_EXPORT_ZOOM, 0);

    ASSERT_EQ(scripted.fileDialogs.size(), 5u);
    EXPECT_EQ(scripted.fileDialogs[1].startFolder, folder);
    EXPECT_EQ(scripted.fileDialogs[2].startFolder, folder);
    EXPECT_EQ(scripted.fileDialogs[3].startFolder, workDir + "/");
    EXPECT_EQ(scripted.fileDialogs[4].startFolder, "");
    EXPECT_GT(fileSize(workDir + "/bare.kvd"), 0);
}

} // namespace
