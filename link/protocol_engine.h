// The PC's side of the T596 protocol: inbound bytes become registers, reply
// events and samples; outbound codes go out at once or paced by the pump.
#pragma once
#include <atomic>
#include <cstdint>

#include "platform/event.h"
#include "platform/serial_link.h"

// Registers. countRegister is the reader thread's alone; the others are shared
// with the user-interface thread.
extern uint8_t countRegister[4];
extern std::atomic<uint32_t> expectedCount;
// The interval the device reported last, in hundredths of a second. It is kept
// apart from the header of the data on display so that a ping never changes
// the interval of data already shown or loaded from a file.
extern std::atomic<uint16_t> deviceInterval;
// Created by start-up after the link may already be open; a reply that comes
// while one is null is dropped.
extern std::atomic<EventHandle> pingReplyEvent;
extern std::atomic<EventHandle> countReplyEvent;
extern bool countConfirmPending;

// Reader thread: receiveBytes (platform/serial_link.h) decodes the bytes and
// dispatches each frame's value.
void dispatchValue(uint16_t value);

// User-interface thread.
void sendCode(uint16_t code);
void sendPing();
void sendStop();
// Queues the three count codes, low byte first, or none of them when the queue
// lacks room for all three (returns false).
bool queueCount(uint32_t count);
// The 50 ms pump: one queued code per tick, else a pending count confirmation.
void pumpTick();
// The confirmation pumpTick runs once the queue is empty; the transfer sequence
// installs it. With none installed a pending confirmation is simply cleared.
using CountConfirmHandler = void (*)();
void setCountConfirmHandler(CountConfirmHandler handler);
// What a tick with nothing else to do runs: the transfer sequence paces its
// repeated pings with it. None by default.
using PumpIdleHandler = void (*)();
void setPumpIdleHandler(PumpIdleHandler handler);
