// The serial-line operations by port number, over the open ports.
#include <QCoreApplication>
#include <QTimer>
#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/serial/internal.h"
#include "platform/serial/port.h"
#include "platform/serial/porttable.h"
#include "platform/serial/rs232.h"
#include "platform/util/linelog.h"
#include "platform/util/utility.h"

namespace {

struct Ports {
  std::array<std::unique_ptr<SerialPort>, kMaxPortNumber + 1> open;
  // Ports closed from inside a callback: they are still on the call stack and
  // are deleted once no callback runs.
  std::vector<std::unique_ptr<SerialPort>> retired;
};

// Never destroyed: ports hold Qt objects, which must not outlive the
// application object at exit.
Ports &ports() {
  static Ports *state = new Ports;
  return *state;
}

bool validNumber(int port) {
  return port >= 1 && port <= kMaxPortNumber;
}

void deleteRetired() {
  if (!SerialPort::callbackActive()) ports().retired.clear();
}

void closePort(int port) {
  std::unique_ptr<SerialPort> &slot = ports().open[static_cast<std::size_t>(port)];
  if (!slot) return;
  slot->close();
  if (SerialPort::callbackActive()) {
    ports().retired.push_back(std::move(slot));
    if (QCoreApplication::instance() != nullptr) QTimer::singleShot(0, deleteRetired);
  }
  slot.reset();
}

// Runs action on an open, usable port, or returns the error for the number.
template <typename Action>
int withPort(int port, Action action) {
  deleteRetired();
  if (!validNumber(port)) return kRS232InvalidPort;
  SerialPort *open = ports().open[static_cast<std::size_t>(port)].get();
  if (open == nullptr || !open->usable()) return kRS232PortNotOpen;
  return action(*open);
}

ComOpenFailure gOpenFailure;

void RecordOpenFailure(int port, int error, const std::string &device,
                       const SerialPort::OpenFailure &failure) {
  gOpenFailure = ComOpenFailure{};
  gOpenFailure.cause = failure.cause;
  gOpenFailure.holderPid = failure.holderPid;
  std::snprintf(gOpenFailure.holderName, sizeof gOpenFailure.holderName, "%s",
                failure.holder.c_str());
  const std::string holder = std::string(1, '\0') + gOpenFailure.holderName;
  LineLogRecord(kLineOpenFailed, port, error, failure.cause, failure.holderPid, device.data(),
                static_cast<int>(device.size()), holder.data(), static_cast<int>(holder.size()));
}

void RecordOpened(int port, const std::string &device, const PortSettings &settings) {
  LineLogRecord(kLinePortOpened, port, static_cast<int>(settings.baudRate), settings.dataBits,
                settings.parity * 10 + settings.stopBits, device.data(),
                static_cast<int>(device.size()));
}

}  // namespace

void GetComOpenFailure(ComOpenFailure *failure) {
  *failure = gOpenFailure;
}

int OpenComConfig(int port, const char *deviceName, long baudRate, int parity, int dataBits,
                  int stopBits, int inputQueueSize, int outputQueueSize) {
  deleteRetired();
  if (!validNumber(port)) return kRS232InvalidPort;
  const PortSettings settings{baudRate, parity, dataBits, stopBits};
  if (!PortSettingsValid(settings) || inputQueueSize < 0 || outputQueueSize < 0) {
    return kRS232InvalidParameter;
  }
  std::string device = deviceName != nullptr ? deviceName : "";
  SerialPort::OpenFailure failure;
  if (device.empty()) {
    const int resolved = PortTableResolveDevice(port, &device);
    if (resolved < 0) {
      RecordOpenFailure(port, resolved, device, failure);
      return resolved;
    }
  }
  closePort(port);  // reopening: our own lock would refuse the device
  int error = 0;
  std::unique_ptr<SerialPort> opened = SerialPort::Open(port, device, settings, &error, &failure);
  if (!opened) {
    RecordOpenFailure(port, error, device, failure);
    return error;
  }
  ports().open[static_cast<std::size_t>(port)] = std::move(opened);
  RecordOpened(port, device, settings);
  return 0;
}

int SetComTime(int port, double timeoutSeconds) {
  return withPort(port, [timeoutSeconds](SerialPort &open) {
    if (!(timeoutSeconds >= 0.0) || !std::isfinite(timeoutSeconds)) {
      return static_cast<int>(kRS232InvalidParameter);
    }
    open.setTimeout(timeoutSeconds);
    return 0;
  });
}

int SetCTSMode(int port, int mode) {
  return withPort(port, [mode](SerialPort &open) {
    if (mode != 0 && mode != 1) return static_cast<int>(kRS232InvalidParameter);
    return open.setHardwareHandshake(mode == 1);
  });
}

int CloseCom(int port) {
  deleteRetired();
  if (!validNumber(port)) return kRS232InvalidPort;
  if (!ports().open[static_cast<std::size_t>(port)]) return kRS232PortNotOpen;
  closePort(port);
  LineLogRecord(kLinePortClosed, port, 0, 0, 0);
  return 0;
}

int FlushInQ(int port) {
  return withPort(port, [](SerialPort &open) { return open.flushInput(); });
}

int FlushOutQ(int port) {
  return withPort(port, [](SerialPort &open) { return open.drainOutput(); });
}

int ComWrt(int port, const char *buffer, int count) {
  const int result = withPort(port, [buffer, count](SerialPort &open) {
    if (count < 0 || (count > 0 && buffer == nullptr)) {
      return static_cast<int>(kRS232InvalidParameter);
    }
    if (WaitsEnded() != 0) return 0;  // the transaction under way ends: no new request
    return open.write(buffer, count);
  });
  LineLogRecord(result == count ? kLineWrite : kLineWriteFailed, port, count, result, 0, buffer,
                count);
  return result;
}

int ComRd(int port, char *buffer, int count) {
  return withPort(port, [buffer, count](SerialPort &open) {
    if (count < 0 || (count > 0 && buffer == nullptr)) {
      return static_cast<int>(kRS232InvalidParameter);
    }
    return open.read(buffer, count);
  });
}

int ComPeek(int port, char *buffer, int count) {
  return withPort(port, [buffer, count](SerialPort &open) {
    if (count < 0 || (count > 0 && buffer == nullptr)) {
      return static_cast<int>(kRS232InvalidParameter);
    }
    return open.peek(buffer, count);
  });
}

int GetInQLen(int port) {
  return withPort(port, [](SerialPort &open) { return open.inQueueLength(); });
}

int ComLineGone(int port) {
  deleteRetired();
  if (!validNumber(port)) return kRS232InvalidPort;
  SerialPort *open = ports().open[static_cast<std::size_t>(port)].get();
  if (open == nullptr) return kRS232PortNotOpen;
  return open->lineGone() ? 1 : 0;
}

int InstallComCallback(int port, int eventMask, int notifyCount, int eventCharacter,
                       ComCallbackPtr callback, void *callbackData) {
  return withPort(port, [=](SerialPort &open) {
    const bool on = eventMask != 0 && callback != nullptr;
    if (on && (notifyCount < 0 || eventCharacter < 0 || eventCharacter > 255)) {
      return static_cast<int>(kRS232InvalidParameter);
    }
    open.installCallback(eventMask, notifyCount, eventCharacter, callback, callbackData);
    return 0;
  });
}
