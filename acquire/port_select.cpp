// Port choice and search. comPort carries PORT_FAILED_MARK while its port
// could not be opened, which tells the next command that no link is open.
#include "acquire/port_select.h"

#include "base/config_file.h"
#include "base/messages.h"
#include "link/protocol_engine.h"
#include "link/reply_wait.h"
#include "platform/event.h"
#include "platform/serial_link.h"
#include "platform/serial_ports.h"
#include "res/resource_ids.h"
#include "res/text_table.h"
#include "ui/frontend.h"

namespace {

void saveChosenPort() {
    int err = writeConfig(&configBlock);
    if (err != 0)
        showMessage(MSG_CONFIG_FILE, CAPTION_ERROR, err);
}

int plainPort(uint16_t comPort) {
    return comPort > PORT_FAILED_MARK ? comPort - PORT_FAILED_MARK : comPort;
}

} // namespace

bool closeLostLink() {
    if (!linkIsOpen() || !linkDeviceGone())
        return false;
    closeLink();
    if (configBlock.comPort >= SERIAL_PORT_FIRST && configBlock.comPort <= SERIAL_PORT_LAST)
        configBlock.comPort += PORT_FAILED_MARK;
    return true;
}

void reopenChosenPort() {
    closeLostLink();
    int port = plainPort(configBlock.comPort);
    if (linkIsOpen() || port < SERIAL_PORT_FIRST || port > SERIAL_PORT_LAST)
        return;
    bool opened = openLink(port, LINK_BAUD);
    configBlock.comPort = uint16_t(opened ? port : port + PORT_FAILED_MARK);
}

// A port whose device went away counts as one that failed: choosing it again
// opens it again.
void selectPort(int port) {
    closeLostLink();
    if (port == configBlock.comPort)
        return;
    if (configBlock.comPort > PORT_FAILED_MARK)
        configBlock.comPort -= PORT_FAILED_MARK;
    else
        closeLink();
    uiCheckMenuItem(IDM_COM_BASE + configBlock.comPort, false);
    uiCheckMenuItem(IDM_COM_BASE + port, true);
    configBlock.comPort = uint16_t(port);
    if (openLink(port, LINK_BAUD)) {
        saveChosenPort();
    } else {
        showMessage(MSG_PORT_FAILED, CAPTION_COMMUNICATION, 0);
        configBlock.comPort += PORT_FAILED_MARK;
    }
}

namespace {

bool answersPing() {
    EventHandle reply = pingReplyEvent.load(std::memory_order_acquire);
    if (reply != nullptr)
        eventReset(reply);
    sendPing();
    return awaitReply(pingReplyEvent, PORT_PING_WAIT_MS);
}

} // namespace

int searchPorts() {
    for (int port = SERIAL_PORT_FIRST; port <= SERIAL_PORT_LAST; ++port) {
        if (!openLink(port, LINK_BAUD))
            continue;
        if (answersPing())
            return port;
        closeLink();
    }
    return 0;
}

// The search reads "below 10" as an open link where the port command reads
// "10 or less"; both agree on every number comPort can hold (1..8, 11..18).
void autoConnect() {
    uiSetWaitCursor(true);
    if (configBlock.comPort < PORT_FAILED_MARK)
        closeLink();
    int found = searchPorts();
    uiSetWaitCursor(false);
    if (found != 0) {
        if (configBlock.comPort > PORT_FAILED_MARK)
            configBlock.comPort -= PORT_FAILED_MARK;
        uiCheckMenuItem(IDM_COM_BASE + configBlock.comPort, false);
        configBlock.comPort = uint16_t(found);
        uiCheckMenuItem(IDM_COM_BASE + found, true);
        saveChosenPort();
        return;
    }
    if (configBlock.comPort < PORT_FAILED_MARK && !openLink(configBlock.comPort, LINK_BAUD))
        configBlock.comPort += PORT_FAILED_MARK;
    showMessage(MSG_DEVICE_NOT_FOUND, CAPTION_COMMUNICATION, 0);
}
