// Opens a port as start-up does, through the program's own routine.
#pragma once

// 19200 8N1, queues of 4096, time-out 2.0 s, queues flushed, no handshake,
// the receive callback installed. Returns 0 or a negative error.
int OpenLinkPortForBench(int port);
