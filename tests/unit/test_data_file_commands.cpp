// The data file through File > Save and File > Open: the exact layout, the
// dialogs, the messages, and files that must be refused without touching the
// data on display.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "app/command_routing.h"
#include "app/data_file_commands.h"
#include "app/main_window.h"
#include "base/config_file.h"
#include "base/error_codes.h"
#include "data/sample_store.h"
#include "platform/file.h"
#include "res/resource_ids.h"
#include "tests/support/scripted_frontend.h"
#include "view/chart_view.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A header in file order, built by hand so the test does not share the
// code's encoder.
Bytes headerBytes(uint16_t interval, uint16_t amountIndex, uint32_t count) {
    Bytes bytes = {uint8_t(interval),         uint8_t(interval >> 8), uint8_t(amountIndex),
                   uint8_t(amountIndex >> 8), uint8_t(count),         uint8_t(count >> 8),
                   uint8_t(count >> 16),      uint8_t(count >> 24)};
    for (int i = 0; i < 12; ++i)
        bytes.push_back(uint8_t(0xA0 + i));
    return bytes;
}

Bytes fileOf(uint16_t interval, uint16_t amountIndex, uint32_t count, uint32_t records) {
    Bytes bytes = headerBytes(interval, amountIndex, count);
    for (uint32_t i = 0; i < records * SAMPLE_RECORD_SIZE; ++i)
        bytes.push_back(uint8_t(i * 7 + 3));
    return bytes;
}

class DataFile : public ::testing::Test {
  protected:
    std::string dir;

    void SetUp() override {
        scriptedReset();
        configBlock = ConfigBlock{}; // the messages are checked in English
        char pattern[] = "/tmp/korvex_data_file_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        dataPresent = false;
        dataHeader = {};
        std::memset(sampleStore, 0, sizeof sampleStore);
        chartView = {};
        scripted.spanItems.assign(14, "span");
    }

    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    std::string path(const char* name) { return dir + "/" + name; }

    // Data as a transfer leaves it: count records with distinct bytes.
    void fillStore(uint32_t count, uint16_t interval, uint16_t amountIndex) {
        for (uint32_t i = 0; i < count; ++i) {
            uint8_t* record = &sampleStore[i].year;
            for (uint32_t b = 0; b < SAMPLE_RECORD_SIZE; ++b)
                record[b] = uint8_t(i * 31 + b * 5 + 1);
        }
        dataHeader.interval = interval;
        dataHeader.amountIndex = amountIndex;
        dataHeader.count = count;
        for (int i = 0; i < 12; ++i)
            dataHeader.reserved[i] = uint8_t(0x50 + i);
        dataPresent = true;
    }

    void answerFile(const std::string& name) { scripted.fileAnswers.push_back({true, name, 0}); }

    std::vector<std::string> messageTexts() {
        std::vector<std::string> texts;
        for (const ScriptedMessageBox& box : scripted.messageBoxes)
            texts.push_back(box.text + " / " + box.caption);
        return texts;
    }
};

TEST_F(DataFile, SixThousandRecordsMakeTheExactFileAndComeBackByteForByte) {
    fillStore(6000, 0x0132, 0x0207);
    SampleRecord saved[6000];
    std::memcpy(saved, sampleStore, sizeof saved);
    DataHeader savedHeader = dataHeader;
    answerFile(path("six.kvd"));
    EXPECT_TRUE(mainWindowCommand(IDM_SAVE, 0));
    EXPECT_TRUE(scripted.messageBoxes.empty());

    Bytes file = readBytes(path("six.kvd"));
    ASSERT_EQ(file.size(), 54020u);
    // Little-endian header, reserved bytes as the header held them.
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 8),
              (Bytes{0x32, 0x01, 0x07, 0x02, 0x70, 0x17, 0x00, 0x00}));
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(file[8 + i], 0x50 + i);
    EXPECT_EQ(std::memcmp(file.data() + 20, saved, 54000), 0);

    std::memset(sampleStore, 0, sizeof saved);
    dataHeader = {};
    dataPresent = false;
    answerFile(path("six.kvd"));
    EXPECT_TRUE(mainWindowCommand(IDM_OPEN, 0));
    EXPECT_TRUE(scripted.messageBoxes.empty());
    EXPECT_EQ(std::memcmp(&dataHeader, &savedHeader, sizeof dataHeader), 0);
    EXPECT_EQ(std::memcmp(sampleStore, saved, sizeof saved), 0);

    // The view as after a transfer; amountIndex 0x207 names no span.
    EXPECT_TRUE(dataPresent);
    EXPECT_EQ(chartView.samplesPerPixel, 10);
    EXPECT_EQ(chartView.mainStart, 0u);
    EXPECT_EQ(chartView.cursorX, 0u);
    EXPECT_EQ(scripted.spanSelection, -1);
    EXPECT_EQ(scripted.erasingInvalidations, 1);
}

TEST_F(DataFile, BothDialogsAskForKvdFilesWithTheirOwnPrompts) {
    fillStore(3, 50, 4);
    answerFile(path("a.kvd"));
    mainWindowCommand(IDM_SAVE, 0);
    answerFile(path("a.kvd"));
    mainWindowCommand(IDM_OPEN, 0);
    ASSERT_EQ(scripted.fileDialogs.size(), 2u);
    for (const ScriptedFileDialog& dialog : scripted.fileDialogs) {
        EXPECT_EQ(dialog.filterName, "KVD File (*.kvd)");
        EXPECT_EQ(dialog.filterPattern, "*.kvd");
        EXPECT_EQ(dialog.defaultExtension, "kvd");
    }
    EXPECT_EQ(scripted.fileDialogs[0].kind, FILE_DIALOG_SAVE);
    EXPECT_TRUE(scripted.fileDialogs[0].overwritePrompt);
    EXPECT_FALSE(scripted.fileDialogs[0].createPrompt);
    EXPECT_EQ(scripted.fileDialogs[1].kind, FILE_DIALOG_OPEN);
    EXPECT_FALSE(scripted.fileDialogs[1].overwritePrompt);
    EXPECT_TRUE(scripted.fileDialogs[1].createPrompt);
    EXPECT_EQ(scripted.spanSelection, 4);
}

TEST_F(DataFile, SavingOverALongerFileTruncatesIt) {
    writeBytes(path("old.kvd"), Bytes(5000, 0xEE));
    fillStore(10, 100, 7);
    answerFile(path("old.kvd"));
    mainWindowCommand(IDM_SAVE, 0);
    EXPECT_EQ(readBytes(path("old.kvd")).size(), 20u + 90u);
}

TEST_F(DataFile, SaveWithoutDataShowsMessage45AndNoDialog) {
    EXPECT_TRUE(mainWindowCommand(IDM_SAVE, 0));
    EXPECT_TRUE(scripted.fileDialogs.empty());
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"No data present,\naborting operation / Saving data..."});
}

TEST_F(DataFile, CancelledDialogsShowNothingAndChangeNothing) {
    fillStore(5, 20, 3);
    DataHeader before = dataHeader;
    mainWindowCommand(IDM_SAVE, 0); // no answer: a plain cancel
    mainWindowCommand(IDM_OPEN, 0);
    EXPECT_TRUE(scripted.messageBoxes.empty());
    EXPECT_EQ(std::memcmp(&dataHeader, &before, sizeof before), 0);
    EXPECT_EQ(scripted.erasingInvalidations, 0);
    EXPECT_EQ(openDataFile(), ERR_OPEN_CANCELLED);
    EXPECT_EQ(saveDataFile(), 0);
}

TEST_F(DataFile, FailedDialogsAndUnopenableFilesAreReportedWithTheirNumber) {
    fillStore(5, 20, 3);
    scripted.fileAnswers.push_back({false, "", 0x3003});
    mainWindowCommand(IDM_SAVE, 0);
    scripted.fileAnswers.push_back({false, "", 0x3002});
    mainWindowCommand(IDM_OPEN, 0);
    answerFile(path("no/such/dir.kvd"));
    mainWindowCommand(IDM_SAVE, 0);
    answerFile(dir); // a directory cannot be read as a file
    mainWindowCommand(IDM_OPEN, 0);
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{
                                  "Unable to save data on disc!: 12291 / Error:",
                                  "Unable to load data from disc!: 12290 / Error:",
                                  "Unable to save data on disc!: 2 / Error:",
                                  "Unable to load data from disc!: 21 / Error:",
                              }));
    EXPECT_EQ(dataHeader.count, 5u);
}

// Readers share a file; a reader that meets a writer waits for it to let go.
TEST_F(DataFile, AFileIsOpenedBesideAReaderAndOnceAWriterLetsGo) {
    fillStore(5, 20, 3);
    answerFile(path("held.kvd"));
    mainWindowCommand(IDM_SAVE, 0);
    FileHandle reader = FILE_NONE;
    ASSERT_EQ(fileOpen(path("held.kvd").c_str(), FILE_READ, FILE_OPEN_EXISTING, &reader, nullptr),
              0);
    FileHandle writer = FILE_NONE;
    EXPECT_EQ(fileOpen(path("held.kvd").c_str(), FILE_READ | FILE_WRITE, FILE_OPEN_EXISTING,
                       &writer, nullptr),
              FILE_ERROR_HELD);
    answerFile(path("held.kvd"));
    mainWindowCommand(IDM_OPEN, 0);
    fileClose(reader);
    ASSERT_EQ(fileOpen(path("held.kvd").c_str(), FILE_READ | FILE_WRITE, FILE_OPEN_EXISTING,
                       &writer, nullptr),
              0);
    std::thread letGo([writer] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        fileClose(writer);
    });
    answerFile(path("held.kvd"));
    mainWindowCommand(IDM_OPEN, 0);
    letGo.join();
    EXPECT_TRUE(scripted.messageBoxes.empty());
    EXPECT_EQ(dataHeader.count, 5u);
}

TEST_F(DataFile, AgreeingToCreateAMissingFileGivesMessage82AndChangesNothing) {
    answerFile(path("new.kvd"));
    EXPECT_TRUE(mainWindowCommand(IDM_OPEN, 0));
    EXPECT_EQ(readBytes(path("new.kvd")).size(), 0u);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{
                                  "Error loading header from file! / Vantorix Data Acquisition"});
    EXPECT_EQ(scripted.messageBoxes[0].icon, MB_ICONHAND);
    // No data before, none after: no empty data set is put on display.
    EXPECT_FALSE(dataPresent);
    EXPECT_EQ(scripted.erasingInvalidations, 0);
}

TEST_F(DataFile, MalformedFilesAreRefusedAndTheDataOnDisplayStays) {
    struct Case {
        const char* what;
        Bytes file;
        const char* message;
    };
    const char* header = "Error loading header from file! / Vantorix Data Acquisition";
    const char* records = "Error loading data from file! / Vantorix Data Acquisition";
    Bytes shortHeader = headerBytes(50, 2, 3);
    shortHeader.resize(19);
    const Case cases[] = {
        {"short header", shortHeader, header},
        {"count above the capacity", fileOf(50, 2, SAMPLE_STORE_CAPACITY + 1, 4), header},
        {"count above the capacity, wrapping 9 x count", fileOf(50, 2, 0x1C71C71D, 1), header},
        {"interval 0", fileOf(0, 2, 4, 4), header},
        {"records missing", fileOf(50, 2, 4, 3), records},
        {"a byte short",
         [] {
             Bytes b = fileOf(50, 2, 4, 4);
             b.pop_back();
             return b;
         }(),
         records},
        {"bytes past the records",
         [] {
             Bytes b = fileOf(50, 2, 4, 4);
             b.push_back(0);
             return b;
         }(),
         records},
    };
    for (bool withData : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (withData ? ", data shown" : ", no data"));
            scriptedReset();
            scripted.spanItems.assign(14, "span");
            std::memset(sampleStore, 0, 10 * sizeof(SampleRecord));
            dataHeader = {};
            dataPresent = false;
            if (withData)
                fillStore(8, 20, 6);
            chartView = {3, 4, 5, 6, 7, 2, 9, 0, 0, 1};
            scripted.spanSelection = 6;
            DataHeader header = dataHeader;
            SampleRecord records[10];
            std::memcpy(records, sampleStore, sizeof records);
            ChartView view = chartView;

            writeBytes(path("bad.kvd"), c.file);
            answerFile(path("bad.kvd"));
            EXPECT_TRUE(mainWindowCommand(IDM_OPEN, 0));
            EXPECT_EQ(messageTexts(), std::vector<std::string>{c.message});
            EXPECT_EQ(std::memcmp(&dataHeader, &header, sizeof header), 0);
            EXPECT_EQ(std::memcmp(sampleStore, records, sizeof records), 0);
            EXPECT_EQ(dataPresent, withData);
            EXPECT_EQ(std::memcmp(&chartView, &view, sizeof view), 0);
            EXPECT_EQ(scripted.spanSelection, 6);
            EXPECT_EQ(scripted.erasingInvalidations + scripted.invalidations, 0);
        }
    }
}

TEST_F(DataFile, AValidFileWithNoRecordsIsData) {
    writeBytes(path("empty.kvd"), headerBytes(100, 13, 0));
    answerFile(path("empty.kvd"));
    mainWindowCommand(IDM_OPEN, 0);
    EXPECT_TRUE(scripted.messageBoxes.empty());
    EXPECT_TRUE(dataPresent);
    EXPECT_EQ(dataHeader.count, 0u);
    EXPECT_EQ(dataHeader.interval, 100);
    EXPECT_EQ(dataHeader.reserved[11], 0xAB);
}

// A name from the command line or a drop: opened as the dialog's choice
// would be, except that a missing name is reported, not created.
TEST_F(DataFile, ANamedFileOpensAsAChosenOneButAMissingOneIsNotCreated) {
    writeBytes(path("named.kvd"), fileOf(20, 2, 3, 3));
    openNamedDataFileCommand(path("named.kvd").c_str());
    EXPECT_TRUE(scripted.messageBoxes.empty());
    EXPECT_TRUE(dataPresent);
    EXPECT_EQ(dataHeader.count, 3u);
    EXPECT_EQ(scripted.spanSelection, 2);

    openNamedDataFileCommand(path("missing.kvd").c_str());
    EXPECT_NE(access(path("missing.kvd").c_str(), F_OK), 0);
    writeBytes(path("short.kvd"), fileOf(20, 2, 5, 4));
    openNamedDataFileCommand(path("short.kvd").c_str());
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{
                                  "Unable to load data from disc!: 2 / Error:",
                                  "Error loading data from file! / Vantorix Data Acquisition"}));
    EXPECT_EQ(dataHeader.count, 3u);
}

// A file size limit stands in for a full disk: it cuts a write short at any
// byte the test chooses.
class DataFileShortWrite : public DataFile {
  protected:
    void saveWithLimit(const char* name, rlim_t limitBytes) {
        struct rlimit old;
        getrlimit(RLIMIT_FSIZE, &old);
        struct rlimit limit = old;
        limit.rlim_cur = limitBytes;
        auto previous = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        answerFile(path(name));
        mainWindowCommand(IDM_SAVE, 0);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
    }
};

// A save that cannot be written whole leaves what was there before: the old
// file byte for byte, or no file, and nothing beside it.
TEST_F(DataFileShortWrite, AShortHeaderGivesMessage86AndKeepsTheOldFile) {
    Bytes old = fileOf(50, 2, 3, 3);
    writeBytes(path("header.kvd"), old);
    fillStore(6, 20, 3);
    saveWithLimit("header.kvd", 10);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{
                                  "Error saving header to data file! / Vantorix Data Acquisition"});
    EXPECT_EQ(readBytes(path("header.kvd")), old);
    EXPECT_EQ(std::system(("test $(ls -A '" + dir + "' | wc -l) -eq 1").c_str()), 0);
}

TEST_F(DataFileShortWrite, ShortRecordsGiveMessage85AndLeaveNoFile) {
    fillStore(6, 20, 3);
    saveWithLimit("records.kvd", 20 + 9 * 2);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{
                                  "Error saving data to data file! / Vantorix Data Acquisition"});
    EXPECT_EQ(std::system(("test -z \"$(ls -A '" + dir + "')\"").c_str()), 0);
}

} // namespace
