#include "tools/common/output_file.h"

#include <cctype>
#include <cstring>

#include "base/error_codes.h"
#include "base/messages.h"
#include "data/csv_export.h"
#include "data/data_file_format.h"
#include "data/sample_store.h"
#include "data/text_export.h"
#include "output/printing.h"
#include "platform/file.h"
#include "res/text_table.h"
#include "tools/common/file_notices.h"
#include "tools/common/tool_command_line.h"

namespace {

// A failure the writer has not reported itself, as the program's Save and
// Export report it.
int reported(int result) {
    if (result != 0)
        showMessage(MSG_SAVE_FAILED, CAPTION_ERROR, result);
    return result;
}

int reason(int systemError) {
    return systemError != 0 ? systemError : OUTPUT_FAILED;
}

int writeDataOutput(const char* path) {
    const int result = writeDataFile(path);
    if (dataFileFaultMessage(result, true) != 0) {
        showMessage(dataFileFaultMessage(result, true), TEXT_PROGRAM_TITLE, 0);
        return reason(dataFileShortWriteError());
    }
    return reported(result);
}

// What File > Export > All writes, and refuses, in the program.
int writeExportOutput(const char* path) {
    if (dataHeader.count == 0) {
        showMessage(MSG_NO_DATA, CAPTION_SAVING, 0);
        return OUTPUT_FAILED;
    }
    const int result = writeExportFile(path, 0, int64_t(dataHeader.count) - 1, 1);
    if (exportWriteMessage(result) == 0)
        return reported(result);
    showMessage(exportWriteMessage(result), TEXT_PROGRAM_TITLE, result);
    reported(result);
    return reason(exportShortWriteError());
}

int writeCsvOutput(const char* path) {
    return reported(writeCsvFile(path));
}

#ifdef KORVEX_PDF_OUTPUT
// The page Print gives right after the data file is opened, failing as
// Print fails. The program's own codes (from ERR_OPEN_CANCELLED up) name no
// system reason.
int writePdfOutput(const char* path) {
    const int result = printNewDataToPdf(path);
    if (result == 0)
        return 0;
    showMessage(MSG_PRINT_FAILED, CAPTION_ERROR, result);
    return result < ERR_OPEN_CANCELLED ? reason(result) : OUTPUT_FAILED;
}
#endif

const OutputWriter OUTPUT_WRITERS[] = {
    {DATA_FILE_EXTENSION, writeDataOutput},
    {EXPORT_EXTENSION, writeExportOutput},
    {CSV_EXTENSION, writeCsvOutput},
#ifdef KORVEX_PDF_OUTPUT
    {"pdf", writePdfOutput},
#endif
};

} // namespace

const OutputWriter* outputWriterFor(const char* path) {
    const char* base = std::strrchr(path, '/');
    const char* dot = std::strrchr(base != nullptr ? base + 1 : path, '.');
    if (dot == nullptr)
        return nullptr;
    char extension[8] = {};
    for (size_t i = 0; dot[i + 1] != '\0'; ++i) {
        if (i + 1 >= sizeof extension)
            return nullptr;
        extension[i] = char(std::tolower(static_cast<unsigned char>(dot[i + 1])));
    }
    for (const OutputWriter& writer : OUTPUT_WRITERS) {
        if (std::strcmp(extension, writer.extension) == 0)
            return &writer;
    }
    return nullptr;
}

bool writeOutputFile(const char* path) {
    const int failure = outputWriterFor(path)->write(path);
    if (failure > 0)
        reportWriteFailure(path, failure);
    else if (failure == 0)
        reportSaveOutcome(path);
    return failure == 0;
}

void reportWriteFailure(const char* path, int systemError) {
    reportPathError(path, systemError);
    reportSaveOutcome(path);
}

const char* outputExtensions() {
    static char list[64];
    if (list[0] == '\0') {
        for (const OutputWriter& writer : OUTPUT_WRITERS) {
            if (list[0] != '\0')
                std::strcat(list, ", ");
            std::strcat(list, ".");
            std::strcat(list, writer.extension);
        }
    }
    return list;
}
