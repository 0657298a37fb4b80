// The steps of a transfer on the link, from the ping to the stamped result.
// The Transfer command (app/transfer_command.h) runs them in order on the
// user-interface thread and shows what the user sees around them.
#pragma once
#include <cstdint>

// How long the PC waits for each reply of the device.
constexpr uint32_t REPLY_WAIT_MS = 2000;

// From the start of a reception until it completes or is abandoned.
extern bool transferActive;
// The received values per percent of the progress bar.
extern uint32_t progressDivisor;

// Pings the device and waits up to 2000 ms for its reply.
bool pingForTransfer();
// Tells the device to send span amountIndex's samples at interval (the one
// the acquisition dialog showed) and arms the pump's count confirmation. False
// when the command queue lacks room for the count.
bool requestCount(int amountIndex, uint16_t interval);
// The pump's count confirmation: waits up to 2000 ms for the device's echo of
// the count, then starts the device and the reception. False when no echo
// came.
bool beginReception();
// The bar's position, 0..100.
int receptionPercent();
// Once the staged values hold what the echoed count asks of the store: ends
// the reception, stops a device that has more to send than the store holds,
// makes the staged values the data with the requested span and interval,
// stamps them backward from the PC's clock and returns true. False while the
// reception runs.
bool completeReception();
// Ends a reception without touching the data on display.
void endReception();

// The first count staged values become the value bytes of records
// 0..count-1 and count becomes the header's count.
void commitStagedValues(uint32_t count);
