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
#include "tests/e2e/test_transfer_program.h"
#include "tests/support/scripted_frontend.h"

namespace {

enum class Origin { TRANSFER, SET_TIME };
enum class Command { EXIT, CLOSE, OPEN, TRANSFER };
constexpr int ANSWER_SAVE = 0;
constexpr int ANSWER_DISCARD = 1;
constexpr int ANSWER_CANCEL = 2;

constexpr uint32_t TRANSFER_TIMEOUT_MS = 60000;
constexpr int SPAN_ONE_HOUR = 5; // 3,600 samples at 1 s
constexpr uint32_t ONE_HOUR = 3600;

long fileSize(const std::string& path) {
    struct stat st = {};
    return stat(path.c_str(), &st) == 0 ? long(st.st_size) : -1;
}

class UnsavedData : public ProgramOnSims {
  protected:
    void SetUp() override {
        ProgramOnSims::SetUp();
        startSimOn(1, {"--interval", "100", "--pace", "none", "--pattern", "count"});
        createWindow();
        transferOneHour();
    }

    void transferOneHour() {
        chooseSpan(SPAN_ONE_HOUR);
        ASSERT_TRUE(runUntilIdle(TRANSFER_TIMEOUT_MS));
        ASSERT_EQ(dataHeader.count, ONE_HOUR);
    }
    void save(const std::string& path) {
        scripted.fileAnswers.push_back({true, path, 0});
        mainWindowCommand(IDM_SAVE, 0);
    }
    void setStartTime() {
        scripted.setTimeClicks = {{SET_TIME_START, {"1", "2", "2010", "8", "0", "0"}}};
        mainWindowCommand(IDM_SET_TIME, 0);
    }

    // The command as the user gives it; the dialogs it opens are cancelled.
    static void give(Command command) {
        switch (command) {
        case Command::EXIT:
            mainWindowCommand(IDM_EXIT, 0);
            break;
        case Command::CLOSE:
            mainWindowClose();
            break;
        case Command::OPEN:
            mainWindowCommand(IDM_OPEN, 0);
            break;
        case Command::TRANSFER:
            scripted.postedCommands.push_back(IDM_TRANSFER);
            scriptedRunPostedCommands();
            break;
        }
    }
    // How often the command has gone on: the window gone, the Open dialog
    // or the acquisition dialog shown.
    static size_t timesActed(Command command) {
        switch (command) {
        case Command::EXIT:
        case Command::CLOSE:
            return scripted.mainWindowDestroyed ? 1 : 0;
        case Command::OPEN:
            return size_t(scriptedCount("fileDialog|open"));
        case Command::TRANSFER:
            return scripted.acquisitionDialogs.size();
        }
        return 0;
    }
};

class AnsweredQuestion : public UnsavedData,
                         public ::testing::WithParamInterface<std::tuple<Origin, Command, int>> {};

TEST_P(AnsweredQuestion, CancelAndACancelledSaveKeepEverythingTheLastAnswerGoesOn) {
    const auto [origin, command, lastAnswer] = GetParam();
    const std::string kept = workDir + "/kept.kvd";
    if (origin == Origin::SET_TIME) {
        save(workDir + "/first.kvd");
        ASSERT_FALSE(dataUnsaved);
        setStartTime();
    }
    const size_t actedBefore = timesActed(command);

    // Cancel, then Save whose dialog is cancelled: the command does nothing.
    scripted.questionAnswers = {ANSWER_CANCEL, ANSWER_SAVE};
    give(command);
    give(command);
    ASSERT_EQ(scripted.questions.size(), 2u);
    const QuestionContent& question = scripted.questions[0];
    EXPECT_STREQ(question.text, "The samples shown have not been saved.\nSave them first?");
    EXPECT_STREQ(question.answers[0], "&Save");
    EXPECT_STREQ(question.answers[1], "&Discard");
    EXPECT_STREQ(question.answers[2], "Cancel");
    EXPECT_EQ(scriptedCount("fileDialog|save"), origin == Origin::SET_TIME ? 2 : 1);
    EXPECT_EQ(timesActed(command), actedBefore);
    EXPECT_FALSE(scripted.mainWindowDestroyed);
    EXPECT_TRUE(dataUnsaved);
    EXPECT_EQ(dataHeader.count, ONE_HOUR);

    scripted.questionAnswers = {lastAnswer};
    if (lastAnswer == ANSWER_SAVE)
        scripted.fileAnswers.push_back({true, kept, 0});
    give(command);
    EXPECT_EQ(scripted.questions.size(), 3u);
    EXPECT_EQ(timesActed(command), actedBefore + 1);
    EXPECT_EQ(fileSize(kept), lastAnswer == ANSWER_SAVE ? long(20 + 9 * ONE_HOUR) : -1);
    // Open and Transfer were cancelled in their own dialogs: the samples
    // stay, saved only where the answer saved them, and asked about again.
    if (command == Command::OPEN || command == Command::TRANSFER) {
        EXPECT_EQ(dataUnsaved, lastAnswer != ANSWER_SAVE);
        give(command);
        EXPECT_EQ(scripted.questions.size(), lastAnswer == ANSWER_SAVE ? 3u : 4u);
    }
    EXPECT_TRUE(messageTexts().empty());
}

const char* const COMMAND_NAMES[] = {"Exit", "Close", "Open", "Transfer"};

std::string
answeredCaseName(const ::testing::TestParamInfo<std::tuple<Origin, Command, int>>& info) {
    const auto [origin, command, answer] = info.param;
    return std::string(origin == Origin::TRANSFER ? "AfterTransfer" : "AfterSetTime") +
           COMMAND_NAMES[int(command)] + (answer == ANSWER_SAVE ? "Save" : "Discard");
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, AnsweredQuestion,
                         ::testing::Combine(::testing::Values(Origin::TRANSFER, Origin::SET_TIME),
                                            ::testing::Values(Command::EXIT, Command::CLOSE,
                                                              Command::OPEN, Command::TRANSFER),
                                            ::testing::Values(ANSWER_SAVE, ANSWER_DISCARD)),
                         answeredCaseName);

// After a Save, or once a file is opened, every command acts at once.
class KeptData : public UnsavedData,
                 public ::testing::WithParamInterface<std::tuple<bool, Command>> {};

TEST_P(KeptData, CommandsActWithoutAsking) {
    const auto [opened, command] = GetParam();
    const std::string path = workDir + "/day.kvd";
    save(path);
    if (opened) {
        setStartTime();
        scripted.questionAnswers = {ANSWER_DISCARD};
        scripted.fileAnswers.push_back({true, path, 0});
        mainWindowCommand(IDM_OPEN, 0);
        ASSERT_EQ(scripted.questions.size(), 1u);
    }
    ASSERT_FALSE(dataUnsaved);
    const size_t questions = scripted.questions.size();
    const size_t actedBefore = timesActed(command);
    give(command);
    EXPECT_EQ(scripted.questions.size(), questions);
    EXPECT_EQ(timesActed(command), actedBefore + 1);
}

std::string keptCaseName(const ::testing::TestParamInfo<std::tuple<bool, Command>>& info) {
    return std::string(std::get<0>(info.param) ? "Opened" : "Saved") +
           COMMAND_NAMES[int(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, KeptData,
                         ::testing::Combine(::testing::Bool(),
                                            ::testing::Values(Command::EXIT, Command::CLOSE,
                                                              Command::OPEN, Command::TRANSFER)),
                         keptCaseName);

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
    EXPECT_GT(fileSize(folder + "day.kvd"), 0);
    EXPECT_GT(fileSize(workDir + "/bare.kvd"), 0);
}

} // namespace
