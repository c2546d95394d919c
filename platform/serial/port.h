// One open serial port: a termios file descriptor, an input buffer the event
// loop drains into, and the receive callback that runs from the event loop.
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/serial/rs232.h"

class QSocketNotifier;

struct PortSettings {
  long baudRate = 19200;
  int parity = 0;  // 0 none, 1 odd, 2 even, 3 mark, 4 space
  int dataBits = 8;
  int stopBits = 1;
};

// True when the settings can be applied to a line.
bool PortSettingsValid(const PortSettings &settings);

// The QObject base only serves as the context of queued calls: a call queued
// for a port that has been deleted is dropped.
class SerialPort : public QObject {
 public:
  // Why an opening failed: kComOpen... of rs232.h, and who holds the device.
  struct OpenFailure {
    int cause = kComOpenOtherCause;
    int holderPid = 0;
    std::string holder;
  };
  // Opens and configures the device for exclusive use. Returns null and sets
  // *error (kRS232CannotOpenPort) and *failure on failure.
  static std::unique_ptr<SerialPort> Open(int number, const std::string &device,
                                          const PortSettings &settings, int *error,
                                          OpenFailure *failure);
  ~SerialPort() override;
  SerialPort(const SerialPort &) = delete;
  SerialPort &operator=(const SerialPort &) = delete;

  // Open and not hung up.
  bool usable() const { return fd_ >= 0; }
  // The line hung up, or its device path now names another device node than
  // the one opened (an adapter pulled and plugged again).
  bool lineGone() const;
  void close();

  void setTimeout(double seconds) { timeout_ = seconds; }
  int setHardwareHandshake(bool on);
  int write(const char *buffer, int count);
  int read(char *buffer, int count);
  int peek(char *buffer, int count);
  int inQueueLength() const;
  int flushInput();
  // Waits until what was written has gone out (at most 50 ms); never discards.
  int drainOutput();
  void installCallback(int eventMask, int notifyCount, int eventCharacter, ComCallbackPtr callback,
                       void *callbackData);

  // True while any port's callback runs (callbacks never nest).
  static bool callbackActive() { return activeCallbacks_ > 0; }

 private:
  enum class Wait { Ready, Timeout, Gone };

  SerialPort(int number, int fd);
  // In seconds of the run-time clock (Timer).
  double deadline() const;
  // Waits for the events until the deadline, or until the waits are ended
  // (reported as a time-out).
  Wait waitFor(short events, double until) const;
  Wait waitForOwnBytes(double until);
  int takeBuffered(char *buffer, int count);
  bool drain(std::size_t *firstNew);
  bool lineFailed() const;
  void hangUp();
  // hangUp for a line that failed, not one the program closed: recorded.
  void hangUpFailedLine();
  void recordDroppedInput();
  void recordDrain(int queued, std::chrono::milliseconds waited, int left) const;
  void resumeNotifier();
  void onReadable();
  void notifyReceived(std::size_t firstNew);
  void onTransmitEmpty();
  void invoke(int events);
  // Offers the buffered bytes to the callback from the event loop, once no
  // callback runs.
  void notifyLater();
  // Bytes the line must hold to wake the event loop (the driver's VMIN): the
  // bytes the callback's count still lacks once some are in, else 1.
  int wakeThresholdWanted() const;
  void setWakeThreshold(int bytes);
  void updateWakeThreshold();
  bool waitsForCount() const;
  // Once the first bytes of a count are in, the event loop stops watching the
  // line until the rest can have crossed it.
  void pauseForRest();

  int number_;
  int fd_;
  std::string device_;
  unsigned long long openedNode_[3] = {};  // st_dev, st_ino, st_rdev of the node opened
  int savedSerialFlags_ = -1;              // driver flags to give back on close, -1 none
  double timeout_ = 5.0;
  double byteSeconds_ = 10.0 / 19200;  // one byte's time on the line
  QTimer *restPause_ = nullptr;        // child of this
  std::vector<char> buffer_;
  QSocketNotifier *notifier_ = nullptr;  // child of this
  int eventMask_ = 0;
  int notifyCount_ = 1;
  int eventCharacter_ = 0;
  ComCallbackPtr callback_ = nullptr;
  void *callbackData_ = nullptr;
  bool arrivedDuringCallback_ = false;
  int wakeThreshold_ = 1;  // as the line was configured
  static int activeCallbacks_;
};
