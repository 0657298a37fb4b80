#include "app/messages.h"

#include <cstdio>

#include "app/texts.h"
#include "frontend/frontend.h"
#include "res/text_table.h"

void showMessage(int messageId, int captionId, int32_t number) {
    // 63 characters of text, ": " and a signed 32-bit number stay below 80.
    char message[80];
    int length = loadText(message, messageId) - 1;
    if (number != 0) {
        std::snprintf(message + length, sizeof message - size_t(length), ": %ld", long(number));
    }
    char caption[TEXT_SLOT_SIZE];
    loadText(caption, captionId);

    char messageUtf8[3 * sizeof message];
    char captionUtf8[TEXT_UTF8_SIZE];
    cp1252ToUtf8(message, messageUtf8, sizeof messageUtf8);
    cp1252ToUtf8(caption, captionUtf8, sizeof captionUtf8);
    uiMessageBox(messageUtf8, captionUtf8,
                 messageId < MSG_FIRST_ERROR ? MB_ICONINFORMATION : MB_ICONHAND);
}
