#include "app/command_routing.h"

#include "acquire/port_select.h"
#include "app/analysis_window.h"
#include "app/data_file_commands.h"
#include "app/export_commands.h"
#include "app/main_window.h"
#include "app/print_command.h"
#include "app/report_command.h"
#include "app/screen_dump_command.h"
#include "app/set_time_command.h"
#include "app/transfer_command.h"
#include "base/messages.h"
#include "base/texts.h"
#include "data/sample_store.h"
#include "res/added_texts.h"
#include "res/resource_ids.h"
#include "res/text_table.h"
#include "ui/frontend.h"
#include "view/navigation.h"

namespace {

// Returns 0 or an error number; only routes under the error rule show it.
using CommandHandler = int (*)(int commandId, int notifyCode);

struct CommandRoute {
    int firstId;
    int lastId;
    int needsDataCaption; // 0: runs without samples; else message 45 under this caption
    bool errorRule;       // a nonzero result becomes message 84
    CommandHandler handler;
    // Commands the program gained later name their caption among the added
    // texts; -1: none.
    int needsDataAddedCaption = -1;
};

int runAboutBox(int, int) {
    char caption[TEXT_UTF8_SIZE];
    loadTextUtf8(caption, TEXT_ABOUT);
    uiRunAboutDialog(caption);
    return 0;
}

// File > Exit skips the close steps: no configuration write.
int exitProgram(int, int) {
    if (mayDropShownData())
        uiDestroyMainWindow();
    return 0;
}

int languageCommand(int commandId, int) {
    switchLanguage(commandId);
    return 0;
}

// One line per command or id range; an id found in no row goes to default
// processing. A command that needs samples names the caption of its message
// 45; Save, the exports and Report set errorRule and return their result.
constexpr CommandRoute ROUTES[] = {
    {IDC_SPAN_COMBO, IDC_SPAN_COMBO, 0, false,
     [](int, int notifyCode) { return onSpanNotify(notifyCode), 0; }},
    {IDM_ABOUT, IDM_ABOUT, 0, false, runAboutBox},
    {IDM_EXIT, IDM_EXIT, 0, false, exitProgram},
    {IDM_LANG_ENGLISH, IDM_LANG_ENGLISH, 0, false, languageCommand},
    {IDM_LANG_GERMAN, IDM_LANG_GERMAN, 0, false, languageCommand},
    {IDM_LANG_DANISH, IDM_LANG_DANISH, 0, false, languageCommand},
    {IDM_COM1, IDM_COM8, 0, false, [](int id, int) { return selectPort(id - IDM_COM_BASE), 0; }},
    {IDM_AUTO_CONNECT, IDM_AUTO_CONNECT, 0, false, [](int, int) { return autoConnect(), 0; }},
    {IDM_SCREEN_DUMP, IDM_SCREEN_DUMP, CAPTION_SCREEN_DUMP, false,
     [](int, int) { return screenDumpCommand(), 0; }},
    {IDM_PRINT, IDM_PRINT, CAPTION_PRINT, false, [](int, int) { return printCommand(), 0; }},
    {IDM_TRANSFER, IDM_TRANSFER, 0, false, [](int, int) { return transferCommand(), 0; }},
    {CMD_TRANSFER_ABORT, CMD_TRANSFER_ABORT, 0, false,
     [](int, int) { return transferAbortCommand(), 0; }},
    {IDM_SAVE, IDM_SAVE, CAPTION_SAVING, true, [](int, int) { return saveDataFile(); }},
    {IDM_OPEN, IDM_OPEN, 0, false, [](int, int) { return openDataFileCommand(), 0; }},
    {IDM_EXPORT_ZOOM, IDM_EXPORT_ZOOM, CAPTION_SAVING, true,
     [](int, int) { return exportZoomWindow(); }},
    {IDM_EXPORT_MAIN, IDM_EXPORT_MAIN, CAPTION_SAVING, true,
     [](int, int) { return exportMainWindow(); }},
    {IDM_EXPORT_ALL, IDM_EXPORT_ALL, CAPTION_SAVING, true,
     [](int, int) { return exportAllSamples(); }},
    {IDM_SET_TIME, IDM_SET_TIME, CAPTION_SET_TIME, false,
     [](int, int) { return setTimeCommand(), 0; }},
    {IDM_ANALYSIS_SUMMARY, IDM_ANALYSIS_SUMMARY, 0, false,
     [](int, int) { return analysisSummaryCommand(), 0; }, ADDED_SUMMARY_CAPTION},
    {IDM_ANALYSIS_REPORT, IDM_ANALYSIS_REPORT, 0, true,
     [](int, int) { return analysisReportCommand(); }, ADDED_REPORT_CAPTION},
};

} // namespace

bool commandHasData(int captionId) {
    if (dataPresent) {
        return true;
    }
    showMessage(MSG_NO_DATA, captionId, 0);
    return false;
}

bool mainWindowCommand(int commandId, int notifyCode) {
    // Greyed out while a transfer runs, and ignored should one arrive anyway.
    if (transferRefuses(commandId)) {
        return true;
    }
    for (const CommandRoute& route : ROUTES) {
        if (commandId < route.firstId || commandId > route.lastId) {
            continue;
        }
        if (route.needsDataCaption != 0 && !commandHasData(route.needsDataCaption)) {
            return true;
        }
        if (route.needsDataAddedCaption >= 0 && !dataPresent) {
            showMessageUnder(MSG_NO_DATA, addedText(route.needsDataAddedCaption), 0);
            return true;
        }
        int result = route.handler(commandId, notifyCode);
        if (route.errorRule) {
            reportSaveResult(result);
        }
        return true;
    }
    return false;
}
