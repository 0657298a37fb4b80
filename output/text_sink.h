// Text written a line at a time into a buffer that is handed on whenever it
// fills, so that one formatter can feed standard output, a clipboard or a
// window without holding the whole text.
#pragma once
#include <cstddef>

constexpr size_t TEXT_SINK_BUFFER = 8192;
// The longest line one call writes; a longer one is cut at it.
constexpr size_t TEXT_SINK_LINE_MOST = 1024;

struct TextSink {
    char buffer[TEXT_SINK_BUFFER];
    size_t used;
    // Takes the buffer's bytes (not terminated); called as it fills and on
    // textSinkFlush.
    void (*take)(const char* text, size_t length);
};

void textSinkStart(TextSink* sink, void (*take)(const char* text, size_t length));
void textSinkPrintf(TextSink* sink, const char* format, ...) __attribute__((format(printf, 2, 3)));
void textSinkPut(TextSink* sink, const char* text);
// Hands on what the buffer holds.
void textSinkFlush(TextSink* sink);
