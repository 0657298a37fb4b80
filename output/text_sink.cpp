#include "output/text_sink.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

void textSinkStart(TextSink* sink, void (*take)(const char* text, size_t length)) {
    sink->used = 0;
    sink->take = take;
}

void textSinkFlush(TextSink* sink) {
    if (sink->used > 0)
        sink->take(sink->buffer, sink->used);
    sink->used = 0;
}

void textSinkPut(TextSink* sink, const char* text) {
    for (size_t length = std::strlen(text); length > 0;) {
        if (sink->used == TEXT_SINK_BUFFER)
            textSinkFlush(sink);
        size_t part = TEXT_SINK_BUFFER - sink->used;
        part = part < length ? part : length;
        std::memcpy(sink->buffer + sink->used, text, part);
        sink->used += part;
        text += part;
        length -= part;
    }
}

void textSinkPrintf(TextSink* sink, const char* format, ...) {
    char line[TEXT_SINK_LINE_MOST];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    textSinkPut(sink, line);
}
