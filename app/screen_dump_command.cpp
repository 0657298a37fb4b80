// Print > Screen dump. The picture is taken before the save dialog opens, so
// the dialog is never in it.
#include "app/screen_dump_command.h"

#include <cstdlib>

#include "base/messages.h"
#include "output/bmp_file.h"
#include "output/screen_dump.h"
#include "res/text_table.h"
#include "ui/frontend.h"

namespace {
constexpr size_t BMP_PATH_SIZE = 256;
} // namespace

void screenDumpCommand() {
    ScreenCapture* capture = screenCaptureMainWindow();
    if (uint8_t* block = buildBitmapInfo(capture)) {
        writeBmpFile(block, capture);
        std::free(block);
    }
    screenCaptureRelease(capture);
}

int chooseBmpFile(FileReplacement* replacement, bool* chosen) {
    *chosen = false;
    const FileDialogSpec spec = {FILE_DIALOG_SAVE,
                                 BMP_FILE_FILTER_NAME,
                                 BMP_FILE_FILTER_PATTERN,
                                 BMP_FILE_EXTENSION,
                                 true,
                                 false};
    char path[BMP_PATH_SIZE] = "";
    int dialogError = 0;
    if (!uiRunFileDialog(&spec, path, sizeof path, &dialogError))
        return dialogError;
    const int err = fileReplaceBegin(path, replacement);
    *chosen = err == 0;
    return err;
}

void writeBmpFile(uint8_t* block, const ScreenCapture* capture) {
    FileReplacement file;
    bool chosen = false;
    const int err = chooseBmpFile(&file, &chosen);
    if (err != 0)
        showMessage(MSG_BMP_CREATE, CAPTION_SCREEN_DUMP, err);
    else if (chosen)
        writeBmpImage(&file, block, capture);
}
