#include "app/analysis_settings.h"

#include <cstdio>
#include <cstring>

#include "base/config_file.h"
#include "base/error_codes.h"
#include "base/whole_number.h"
#include "data/load_request_text.h"
#include "platform/file.h"

namespace {

// Three short lines; anything longer is no file of ours.
constexpr uint32_t SETTINGS_FILE_MOST = 512;

bool offeredDemand(uint64_t minutes) {
    for (uint32_t offered : ANALYSIS_DEMAND_MINUTES)
        if (minutes == offered)
            return true;
    return false;
}

// One "key=value" line into request; false for anything else.
bool takeLine(const char* line, LoadSummaryRequest* request) {
    const char* equals = std::strchr(line, '=');
    if (equals == nullptr)
        return false;
    const size_t keyLength = size_t(equals - line);
    const char* value = equals + 1;
    auto isKey = [&](const char* key) {
        return keyLength == std::strlen(key) && std::strncmp(line, key, keyLength) == 0;
    };
    if (isKey("demand-minutes")) {
        uint64_t minutes = 0;
        if (!parseWholeNumber(value, MINUTES_PER_DAY, &minutes) || !offeredDemand(minutes))
            return false;
        request->demandMinutes = uint32_t(minutes);
        return true;
    }
    if (isKey("thresholds"))
        return parseThresholdText(value, request);
    if (isKey("rated-kw")) {
        request->ratedMilliKw = 0;
        return value[0] == '\0' || parseRatedKwText(value, &request->ratedMilliKw);
    }
    return false;
}

bool settingsPath(char* path, size_t size) {
    return configSiblingPath(ANALYSIS_SETTINGS_FILE_NAME, path, size);
}

} // namespace

LoadSummaryRequest loadAnalysisSettings() {
    const LoadSummaryRequest defaults = defaultLoadSummaryRequest();
    char path[FILE_PATH_SIZE];
    FileHandle file = FILE_NONE;
    if (!settingsPath(path, sizeof path) ||
        fileOpen(path, FILE_READ, FILE_OPEN_EXISTING, &file, nullptr) != 0)
        return defaults;
    char text[SETTINGS_FILE_MOST + 1];
    uint32_t moved = 0;
    const int readResult = fileRead(file, text, sizeof text, &moved);
    fileClose(file);
    if (readResult != 0 || moved > SETTINGS_FILE_MOST || std::memchr(text, '\0', moved) != nullptr)
        return defaults;
    text[moved] = '\0';

    LoadSummaryRequest request = defaults;
    for (char* line = text; *line != '\0';) {
        char* end = line + std::strcspn(line, "\n");
        const bool last = *end == '\0';
        *end = '\0';
        if (end > line && end[-1] == '\r')
            end[-1] = '\0';
        if (*line != '\0' && !takeLine(line, &request))
            return defaults;
        if (last)
            break;
        line = end + 1;
    }
    return request;
}

int saveAnalysisSettings(const LoadSummaryRequest& request) {
    char path[FILE_PATH_SIZE];
    if (!settingsPath(path, sizeof path))
        return ERR_CONFIG_SIZE;
    char thresholds[LOAD_THRESHOLDS_MAX * 5 + 1];
    char rated[32];
    thresholdText(request, thresholds, sizeof thresholds);
    ratedKwText(request.ratedMilliKw, rated, sizeof rated);
    char text[SETTINGS_FILE_MOST];
    const int length =
        std::snprintf(text, sizeof text, "demand-minutes=%u\nthresholds=%s\nrated-kw=%s\n",
                      unsigned(request.demandMinutes), thresholds, rated);

    FileReplacement replacement;
    int result = fileReplaceBegin(path, &replacement);
    if (result != 0)
        return result;
    uint32_t moved = 0;
    result = fileWrite(replacement.file, text, uint32_t(length), &moved);
    if (result == 0 && moved < uint32_t(length))
        result = ERR_CONFIG_SIZE;
    if (result != 0) {
        fileReplaceAbandon(&replacement);
        return result;
    }
    return fileReplaceCommit(&replacement);
}
