// Serial-line operations of the run-time. Ports are numbered through the port
// table (porttable.h). All calls run on the user-interface thread; the receive
// callback runs only inside event processing (ProcessSystemEvents or the main
// loop), never concurrently with other program code.
#pragma once

// Error results (negative) of the serial operations.
enum {
  kRS232UnknownSysError = -1,  // "Unknown system error"
  kRS232InvalidPort = -2,      // port number not in the table
  kRS232PortNotOpen = -3,      // port not open (or hung up)
  kRS232UnknownIOError = -4,   // read/write failed
  kRS232NoPortFound = -6,      // no serial port on the machine
  kRS232CannotOpenPort = -7,   // busy, no permission, gone
  kRS232InvalidParameter = -13,
  kRS232Timeout = -99
};

// Events of the receive callback.
enum {
  LWRS_RXFLAG = 0x0002,   // the event character was received
  LWRS_TXEMPTY = 0x0004,  // the output queue became empty
  LWRS_RECEIVE = 0x8000   // at least notifyCount bytes are in the input queue
};

// Why a port did not open (kRS232CannotOpenPort).
enum {
  kComOpenOtherCause = 0,
  kComOpenNoPermission = 1,  // the user may not use the device
  kComOpenInUse = 2,         // another program holds it
  kComOpenNoDevice = 3       // no device at that path
};
struct ComOpenFailure {
  int cause = kComOpenOtherCause;
  int holderPid = 0;         // the program holding the port, where it can be found
  char holderName[32] = "";  // its name, "" when unknown
};
// What the last failed OpenComConfig found out about its failure.
void GetComOpenFailure(ComOpenFailure *failure);

using ComCallbackPtr = void (*)(int portNumber, int eventMask, void *callbackData);

// Opens port `port` (deviceName "" = the device the port table gives).
// parity 0 = none. Returns 0 or a negative error.
int OpenComConfig(int port, const char *deviceName, long baudRate, int parity, int dataBits,
                  int stopBits, int inputQueueSize, int outputQueueSize);
// Time-out in seconds that bounds every synchronous read and write.
int SetComTime(int port, double timeoutSeconds);
int SetCTSMode(int port, int mode);  // 0: no hardware handshake
// Closing a closed or unknown port is harmless (returns a negative result).
int CloseCom(int port);
int FlushInQ(int port);  // drops every byte received and not yet read
// Lets what was written go out: returns once the output queue is empty, or
// after about 50 ms. Never discards a byte: a request once written is never
// cut on the line.
int FlushOutQ(int port);
// Writes count bytes; returns the count written (bounded by the time-out) or a
// negative error. Writes nothing (0) once the waits are ended (utility.h).
int ComWrt(int port, const char *buffer, int count);
// Reads up to count bytes, waiting at most the port time-out (run-time clock)
// and no longer once the waits are ended; returns the count read (possibly
// short) or a negative error.
int ComRd(int port, char *buffer, int count);
// Copies up to count of the bytes waiting in the input queue without taking
// them: a later ComRd still reads them. Never waits; returns the count copied
// or a negative error. Bytes it takes in from the line are offered to the
// receive callback at the next event processing.
int ComPeek(int port, char *buffer, int count);
// Bytes waiting in the input queue, including bytes no event processing has
// seen yet. A query only: the receive wake-up stays as it was.
int GetInQLen(int port);
// 1 when the line of an opened port has gone: it hung up, or its device path
// names another device node now (an adapter pulled and plugged in again,
// however quickly); 0 while it is the one opened. kRS232PortNotOpen when the
// port was not opened (or was closed).
int ComLineGone(int port);
// Installs the receive callback. eventMask 0 (or a null callback) switches it
// off. The callback is called with the events that occurred, LWRS_RECEIVE once
// each time new bytes arrive while the queue holds at least notifyCount.
int InstallComCallback(int port, int eventMask, int notifyCount, int eventCharacter,
                       ComCallbackPtr callback, void *callbackData);
