// The RS-232 link to the T596: one port, a reader thread that feeds every
// received byte to the protocol engine, and a writer thread that drains the
// transmit ring. Implemented once per operating system; the engine and the
// ring it calls are the link layer's (link/protocol_engine.h, link/tx_ring.h).
#pragma once
#include <cstdint>

constexpr uint32_t LINK_BAUD = 57600;
constexpr uint32_t LINK_QUEUE_SIZE = 1500;

// COM1..COM8 (or a number whose device the system names); false leaves
// nothing open.
bool openLink(int port, uint32_t baud);
// The same on a device given by path.
bool openLinkDevice(const char* path, uint32_t baud);
// Returns once both threads have ended; nothing on a closed link.
void closeLink();
bool linkIsOpen();
// Whether the device of the open link has gone away (a USB adapter pulled
// out, the other end of a pseudo-terminal closed): the reader saw the end of
// the port, and nothing more will arrive on this link. The reader thread sets
// it; the user-interface thread polls it on its ticks. False on a closed link.
bool linkDeviceGone();
// Why the last openLink or openLinkDevice failed: a system error number, 0
// when the last one succeeded.
int linkOpenError();
// Called by txRingPut: wakes the writer thread of an open link.
void linkWakeWriter();
// How many bytes have reached the port of the open link since it was first
// opened (those the reader thread has taken and those still queued), and how
// many of them have been through the receive path. On a loaded machine the
// reader may run well after its bytes arrived; the difference tells what is
// still on its way to the engine.
uint64_t linkBytesArrived();
uint64_t linkBytesHandled();

// What the threads call on the link layer above. The reader thread runs the
// whole receive path with every byte it takes; the writer thread copies every
// unsent byte of the transmit ring (at most TX_RING_SIZE - 1) into buffer.
constexpr uint32_t TX_RING_SIZE = 32;
void receiveBytes(const uint8_t* bytes, uint32_t count);
uint32_t txRingTake(uint8_t buffer[TX_RING_SIZE]);
