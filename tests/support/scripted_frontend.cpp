#include "tests/support/scripted_frontend.h"

#include <algorithm>
#include <cstdio>

#include "app/analysis_window.h"
#include "app/main_window.h"
#include "app/set_time_command.h"
#include "app/transfer_command.h"
#include "tests/support/scripted_hardcopy.h"

ScriptedFrontend scripted;

namespace {

void record(const std::string& call) {
    scripted.calls.push_back(call);
}

std::string join(std::initializer_list<std::string> parts) {
    std::string joined;
    for (const std::string& part : parts) {
        if (!joined.empty()) {
            joined += '|';
        }
        joined += part;
    }
    return joined;
}

std::string number(long long value) {
    return std::to_string(value);
}

// The most Win32 SetScrollInfo lets the position reach.
int32_t lastPosition(const ScrollInfo& info) {
    int32_t page = info.nPage > 0 ? int32_t(info.nPage) - 1 : 0;
    return std::max(info.nMin, info.nMax - page);
}

} // namespace

void scriptedReset() {
    scripted = ScriptedFrontend{};
    scriptedHardcopyReset();
}

int scriptedRunPostedCommands() {
    int ran = 0;
    while (!scripted.postedCommands.empty()) {
        int commandId = scripted.postedCommands.front();
        scripted.postedCommands.pop_front();
        mainWindowCommand(commandId, 0);
        ++ran;
    }
    return ran;
}

int scriptedCount(const std::string& call) {
    return int(std::count(scripted.calls.begin(), scripted.calls.end(), call));
}

std::vector<std::string> scriptedCallsStartingWith(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& call : scripted.calls) {
        if (call.compare(0, prefix.size(), prefix) == 0) {
            found.push_back(call);
        }
    }
    return found;
}

const MenuEntry* scriptedMenuItem(int commandId) {
    for (const MenuEntry& entry : scripted.menuBar) {
        if (entry.kind == MENU_ITEM && entry.commandId == commandId) {
            return &entry;
        }
    }
    return nullptr;
}

std::vector<int> scriptedCheckedItems() {
    std::vector<int> ids;
    for (const auto& [id, isChecked] : scripted.checked) {
        if (isChecked) {
            ids.push_back(id);
        }
    }
    return ids;
}

// ---- ui/frontend.h ----

void uiMessageBox(const char* text, const char* caption, unsigned icon) {
    record(join({"messageBox", text, caption, number(icon)}));
    scripted.messageBoxes.push_back({text, caption, icon});
    if (scripted.duringMessageBox) {
        scripted.duringMessageBox();
    }
}

void uiDialogMessageBox(const char* text, const char* caption, unsigned icon) {
    record(join({"dialogMessageBox", text, caption, number(icon)}));
    scripted.messageBoxes.push_back({text, caption, icon, true});
}

void uiSetMenuBar(const MenuEntry* entries, int count) {
    record(join({"setMenuBar", number(count)}));
    scripted.menuBar.assign(entries, entries + count);
    scripted.menuBarAttached = true;
    // A new bar carries no check marks and greys nothing out.
    scripted.checked.clear();
    scripted.greyed.clear();
}

void uiDestroyMenuBar() {
    record("destroyMenuBar");
    scripted.menuBar.clear();
    scripted.menuBarAttached = false;
    scripted.checked.clear();
    scripted.greyed.clear();
}

void uiCheckMenuItem(int commandId, bool checked) {
    record(join({"checkMenuItem", number(commandId), number(checked)}));
    scripted.checked[commandId] = checked;
}

void uiEnableMenuItem(int commandId, bool enabled) {
    record(join({"enableMenuItem", number(commandId), number(enabled)}));
    if (enabled) {
        scripted.greyed.erase(commandId);
    } else {
        scripted.greyed.insert(commandId);
    }
}

void uiPostCommand(int commandId) {
    record(join({"postCommand", number(commandId)}));
    scripted.postedCommands.push_back(commandId);
}

void uiStartTimer(int timerId, unsigned periodMs) {
    record(join({"startTimer", number(timerId), number(periodMs)}));
    scripted.runningTimers[timerId] = periodMs;
}

void uiStopTimer(int timerId) {
    record(join({"stopTimer", number(timerId)}));
    scripted.runningTimers.erase(timerId);
}

// As DestroyWindow sends WM_DESTROY before it returns, the window's destroy
// handler runs here, once.
void uiDestroyMainWindow() {
    record("destroyMainWindow");
    if (scripted.mainWindowDestroyed) {
        return;
    }
    scripted.mainWindowDestroyed = true;
    mainWindowDestroy();
    scripted.runningTimers.clear();
}

void uiInvalidate(bool erase) {
    record(join({"invalidate", number(erase)}));
    ++scripted.invalidations;
    if (erase) {
        ++scripted.erasingInvalidations;
    }
    analysisFollowCharts();
}

void uiSetWaitCursor(bool wait) {
    record(join({"waitCursor", number(wait)}));
    scripted.waitCursor = wait;
}

void uiFocusMainWindow() {
    record("focusMainWindow");
}

void uiSpanSetItems(const char* const* labels, int count) {
    record(join({"spanSetItems", number(count)}));
    scripted.spanItems.assign(labels, labels + count);
    // Emptying a combo box drops its selection.
    scripted.spanSelection = -1;
}

int uiSpanGetSelection() {
    return scripted.spanSelection;
}

void uiSpanSetSelection(int index) {
    record(join({"spanSetSelection", number(index)}));
    bool inRange = index >= 0 && index < int(scripted.spanItems.size());
    scripted.spanSelection = inRange ? index : -1;
}

void uiScrollGetInfo(ScrollInfo* info) {
    *info = scripted.scroll;
}

void uiScrollSetInfo(const ScrollInfo* info, unsigned mask) {
    record(join({"scrollSetInfo", number(info->nMin), number(info->nMax), number(info->nPage),
                 number(info->nPos), number(mask)}));
    ScrollInfo& scroll = scripted.scroll;
    if (mask & SIF_RANGE) {
        scroll.nMin = info->nMin;
        scroll.nMax = info->nMax;
    }
    if (mask & SIF_PAGE) {
        scroll.nPage = info->nPage;
    }
    uint32_t range = uint32_t(int64_t(scroll.nMax) - scroll.nMin + 1);
    scroll.nPage = std::min(scroll.nPage, range);
    if (mask & SIF_POS) {
        scroll.nPos = info->nPos;
    }
    scroll.nPos = std::clamp(scroll.nPos, scroll.nMin, lastPosition(scroll));
}

void uiScrollShow(bool show) {
    record(join({"scrollShow", number(show)}));
    scripted.scrollVisible = show;
}

int uiRunAboutDialog(const char* caption) {
    record(join({"aboutDialog", caption}));
    scripted.aboutCaptions.push_back(caption);
    return scripted.aboutResult;
}

int uiRunAcquisitionDialog(const AcquisitionDialogContent* content) {
    record(join({"acquisitionDialog", content->title}));
    if (!scripted.acquisitionAvailable) {
        return -1;
    }
    scripted.acquisitionDialogs.push_back(*content);
    int result = 0;
    while (!scripted.acquisitionClicks.empty()) {
        int controlId = scripted.acquisitionClicks.front();
        scripted.acquisitionClicks.pop_front();
        record(join({"acquisitionClick", number(controlId)}));
        if (acquisitionDialogCommand(controlId, &result)) {
            return result;
        }
    }
    record("acquisitionClick|2");
    return acquisitionDialogCommand(2, &result) ? result : -1;
}

int uiRunSetTimeDialog(const SetTimeDialogContent* content) {
    record(join({"setTimeDialog", content->title}));
    if (!scripted.setTimeAvailable) {
        return -1;
    }
    scripted.setTimeDialogs.push_back(*content);
    int result = 0;
    while (!scripted.setTimeClicks.empty()) {
        ScriptedSetTimeClick click = scripted.setTimeClicks.front();
        scripted.setTimeClicks.pop_front();
        record(join({"setTimeClick", number(click.controlId)}));
        std::string texts[SET_TIME_FIELDS];
        const char* entries[SET_TIME_FIELDS];
        for (int field = 0; field < SET_TIME_FIELDS; ++field) {
            texts[field] = field < int(click.entries.size()) ? click.entries[size_t(field)]
                                                             : number(content->position[field]);
            entries[field] = texts[field].c_str();
        }
        if (setTimeDialogCommand(click.controlId, entries, &result)) {
            return result;
        }
    }
    record("setTimeClick|2");
    return setTimeDialogCommand(SET_TIME_CANCEL, nullptr, &result) ? result : -1;
}

void uiProgressCreate(const char* text, const char* abortLabel) {
    record(join({"progressCreate", text, abortLabel}));
    scripted.progressOpen = true;
    scripted.progressPosition = 0;
    scripted.progressText = text;
    scripted.progressAbortLabel = abortLabel;
}

void uiProgressSetPosition(int position) {
    record(join({"progressSetPosition", number(position)}));
    scripted.progressPosition = position;
}

void uiProgressDestroy() {
    record("progressDestroy");
    scripted.progressOpen = false;
}

int uiAskQuestion(const QuestionContent* content) {
    record(join({"question", content->text}));
    scripted.questions.push_back(*content);
    int answer = QUESTION_ANSWERS - 1;
    if (!scripted.questionAnswers.empty()) {
        answer = scripted.questionAnswers.front();
        scripted.questionAnswers.pop_front();
    }
    return answer;
}

bool uiRunFileDialog(const FileDialogSpec* spec, char* path, size_t size, int* dialogError) {
    record(join({"fileDialog", spec->kind == FILE_DIALOG_SAVE ? "save" : "open"}));
    scripted.fileDialogs.push_back({spec->kind, spec->filterName, spec->filterPattern,
                                    spec->defaultExtension, spec->overwritePrompt,
                                    spec->createPrompt, spec->startFolder});
    ScriptedFileAnswer answer{false, "", 0};
    if (!scripted.fileAnswers.empty()) {
        answer = scripted.fileAnswers.front();
        scripted.fileAnswers.pop_front();
    }
    *dialogError = answer.dialogError;
    // A name that does not fit is a failed dialog, as GetSaveFileName's
    // FNERR_BUFFERTOOSMALL (0x3003) is.
    if (answer.chosen && answer.path.size() >= size) {
        *dialogError = 0x3003;
        return false;
    }
    if (!answer.chosen) {
        return false;
    }
    std::snprintf(path, size, "%s", answer.path.c_str());
    *dialogError = 0;
    return true;
}

void uiAnalysisShow(const AnalysisWindowTexts* texts, bool toFront) {
    record(join({"analysisShow", texts->caption, number(toFront)}));
    scripted.analysisShown = true;
    scripted.analysisTexts = *texts;
}

void uiAnalysisSetSettings(int scope, int demandChoice, const char* thresholds,
                           const char* ratedKw) {
    scripted.analysisScope = scope;
    scripted.analysisDemandChoice = demandChoice;
    scripted.analysisThresholds = thresholds;
    scripted.analysisRated = ratedKw;
}

void uiAnalysisSetFigures(const char* text) {
    scripted.analysisFigures = text;
}

void uiAnalysisSetList(const char* const* rows, int count) {
    scripted.analysisRows.assign(rows, rows + count);
}

void uiClipboardAppend(const char* text, size_t length) {
    scripted.clipboardPending.append(text, length);
}

void uiClipboardCommit() {
    scripted.clipboard = scripted.clipboardPending;
    scripted.clipboardPending.clear();
}

int uiOpenDocument(const char* path) {
    record(join({"openDocument", path}));
    scripted.openedDocuments.push_back(path);
    return 0;
}
