// Opens a port as start-up does (kept apart: the sync value cannot be seen
// beside <unistd.h>, which the C++ library headers pull in).
#pragma once

// 19200 8N1, queues of 4096, time-out 2.0 s, queues flushed, no handshake,
// the receive callback installed. Returns 0 or a negative error.
int OpenLinkPortForBench(int port);
