#include "tools/korvex_fetch/fetch_frontend.h"

#include <cstdio>
#include <cstring>

#include "app/transfer_command.h"
#include "tools/common/tool_command_line.h"
#include "ui/frontend.h"

FetchAnswers fetchAnswers;
FetchOutcome fetchOutcome;

namespace {

constexpr int POSTED_SIZE = 16;
int posted[POSTED_SIZE];
int postedHead;
int postedTail;

int lastPosition = -1;
bool barOpen;

constexpr int BAR_WIDTH = 40;

} // namespace

bool takePostedCommand(int* commandId) {
    if (postedHead == postedTail)
        return false;
    *commandId = posted[postedHead];
    postedHead = (postedHead + 1) % POSTED_SIZE;
    return true;
}

void finishProgressLine() {
    if (barOpen) {
        std::fputc('\n', stderr);
        barOpen = false;
    }
}

void uiMessageBox(const char* text, const char* caption, unsigned) {
    finishProgressLine();
    printProgramMessage(text, caption);
    fetchOutcome.messageShown = true;
}

void uiPostCommand(int commandId) {
    int next = (postedTail + 1) % POSTED_SIZE;
    if (next == postedHead)
        return;
    posted[postedTail] = commandId;
    postedTail = next;
}

int uiRunAcquisitionDialog(const AcquisitionDialogContent* content) {
    int span = fetchAnswers.span;
    if (!content->spanEnabled[span]) {
        finishProgressLine();
        std::fprintf(stderr,
                     "%s: \"%s\" is not offered at a sample time of %s s; offered:", TOOL_NAME,
                     content->spanLabels[span], content->intervalText);
        for (int k = 0; k < ACQUISITION_SPANS; ++k) {
            if (content->spanEnabled[k])
                std::fprintf(stderr, " \"%s\" (%d)", content->spanLabels[k], k);
        }
        std::fputc('\n', stderr);
        fetchOutcome.spanRefused = true;
        return 0;
    }
    // Answered as a user would: click the span, then Get.
    int result = 0;
    acquisitionDialogCommand(1001 + span, &result);
    acquisitionDialogCommand(1, &result);
    return result;
}

void uiProgressCreate(const char*, const char*) {
    fetchOutcome.progressShown = true;
    lastPosition = -1;
}

void uiProgressSetPosition(int position) {
    if (position == lastPosition)
        return;
    if (fetchAnswers.drawBar) {
        int filled = position * BAR_WIDTH / 100;
        char bar[BAR_WIDTH + 1];
        for (int i = 0; i < BAR_WIDTH; ++i)
            bar[i] = i < filled ? '#' : '.';
        bar[BAR_WIDTH] = '\0';
        std::fprintf(stderr, "\r[%s] %3d%%", bar, position);
        barOpen = true;
    } else if (position / 10 != lastPosition / 10 || lastPosition < 0) {
        std::fprintf(stderr, "%d%%\n", position);
    }
    std::fflush(stderr);
    lastPosition = position;
}

void uiProgressDestroy() {
    finishProgressLine();
}

bool fetchOutputPath(const char* name, const char* defaultExtension, char* path, size_t size) {
    // As the save dialog does: a name typed without an extension gets the default one.
    const char* base = std::strrchr(name, '/');
    bool hasExtension = std::strchr(base != nullptr ? base + 1 : name, '.') != nullptr;
    int written = hasExtension ? std::snprintf(path, size, "%s", name)
                               : std::snprintf(path, size, "%s.%s", name, defaultExtension);
    return written > 0 && size_t(written) < size;
}

bool uiRunFileDialog(const FileDialogSpec* spec, char* path, size_t size, int* dialogError) {
    *dialogError = 0;
    const char* name = fetchAnswers.output;
    if (spec->kind != FILE_DIALOG_SAVE || name == nullptr || name[0] == '\0')
        return false;
    if (fetchOutputPath(name, spec->defaultExtension, path, size) &&
        std::strlen(path) < sizeof fetchOutcome.savedPath) {
        std::strcpy(fetchOutcome.savedPath, path);
        return true;
    }
    *dialogError = FNERR_BUFFERTOOSMALL;
    return false;
}

// Nothing of a window exists here.
void uiSetMenuBar(const MenuEntry*, int) {}
void uiDestroyMenuBar() {}
void uiCheckMenuItem(int, bool) {}
void uiEnableMenuItem(int, bool) {}
void uiStartTimer(int, unsigned) {}
void uiStopTimer(int) {}
void uiDestroyMainWindow() {}
void uiInvalidate(bool) {}
void uiSetWaitCursor(bool) {}
void uiFocusMainWindow() {}
void uiSpanSetItems(const char* const*, int) {}
int uiSpanGetSelection() {
    return -1;
}
void uiSpanSetSelection(int) {}
void uiScrollGetInfo(ScrollInfo* info) {
    *info = ScrollInfo{};
}
void uiScrollSetInfo(const ScrollInfo*, unsigned) {}
void uiScrollShow(bool) {}
int uiRunAboutDialog(const char*) {
    return 2;
}
void uiDialogMessageBox(const char* text, const char* caption, unsigned icon) {
    uiMessageBox(text, caption, icon);
}
