// Opens a port the way start-up does, so the link's tests run on the same
// line settings and receive callback as the program.
#pragma once

// 19200 8N1, queues of 4096, time-out 2.0 s, both queues flushed, no
// handshake, RX_Receive_Function for eventMask with 36 bytes and the sync
// character. deviceName "" takes the device from the port table. Returns 0 or
// the negative result of the step that failed.
int OpenLinkPort(int port, const char *deviceName = "");
