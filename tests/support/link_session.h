// The PC's side of a transfer, driven step by step the way the main window's
// timers drive it, for end-to-end tests and benchmarks over a real link.
// The caller opens the link; these run on the calling thread, which plays the
// user-interface thread.
#pragma once
#include <cstdint>

constexpr uint32_t LINK_REPLY_TIMEOUT_MS = 2000;
// Much faster than the 50 ms pump timer, so a test does not wait for it.
constexpr uint32_t LINK_PUMP_STEP_MS = 5;

// Creates the two reply events and hands them to the engine.
bool createReplyEvents();
// Takes them from the engine and closes them; close the link first.
void closeReplyEvents();
// Forgets what an earlier test left on the receive line and in the queue.
// Only while no link is open: the receive line is the reader thread's.
void clearLinkLeftovers();

// Pings and waits for the reply; the interval arrives right behind it.
bool pingDevice(uint32_t timeoutMs = LINK_REPLY_TIMEOUT_MS);
// Queues the count, pumps the three codes out and waits for the echo of the
// high part. expectedCount then holds the echoed count.
bool askCount(uint32_t count, uint32_t timeoutMs = LINK_REPLY_TIMEOUT_MS);
// Restarts the received count and pumps DEV_START out.
void startReception();
// The whole handshake: ping, count, start. False when a reply is missing.
bool beginTransfer(uint32_t count);
// Waits until receivedCount reaches target.
bool waitReceived(uint32_t target, uint32_t timeoutMs);
// Waits until receivedCount has not moved for quietMs; returns it.
uint32_t waitReceivedSettled(uint32_t quietMs, uint32_t timeoutMs);
