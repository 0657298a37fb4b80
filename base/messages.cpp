#include "base/messages.h"

#include <cstdio>

#include "base/texts.h"
#include "res/text_table.h"
#include "ui/frontend.h"

namespace {

struct ComposedMessage {
    // 63 characters of text, ": " and a signed 32-bit number stay below 80.
    char text[3 * 80];
    char caption[TEXT_UTF8_SIZE];
    unsigned icon;
};

ComposedMessage composeMessage(int messageId, int captionId, int32_t number) {
    char message[80];
    int length = loadText(message, messageId) - 1;
    if (number != 0) {
        std::snprintf(message + length, sizeof message - size_t(length), ": %ld", long(number));
    }
    char caption[TEXT_SLOT_SIZE];
    loadText(caption, captionId);

    ComposedMessage composed;
    cp1252ToUtf8(message, composed.text, sizeof composed.text);
    cp1252ToUtf8(caption, composed.caption, sizeof composed.caption);
    composed.icon = messageId < MSG_FIRST_ERROR ? MB_ICONINFORMATION : MB_ICONHAND;
    return composed;
}

} // namespace

void showMessage(int messageId, int captionId, int32_t number) {
    const ComposedMessage message = composeMessage(messageId, captionId, number);
    uiMessageBox(message.text, message.caption, message.icon);
}

void showDialogMessage(int messageId, int captionId, int32_t number) {
    const ComposedMessage message = composeMessage(messageId, captionId, number);
    uiDialogMessageBox(message.text, message.caption, message.icon);
}

void showMessageUnder(int messageId, const char* caption, int32_t number) {
    const ComposedMessage message = composeMessage(messageId, TEXT_PROGRAM_TITLE, number);
    uiMessageBox(message.text, caption, message.icon);
}
