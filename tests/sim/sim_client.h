// The program's side of the simulator's pty with plain POSIX calls, so the
// simulator is tested without the platform layer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/simulator.h"

class SimClient {
 public:
  explicit SimClient(const std::string &device);
  ~SimClient();
  SimClient(const SimClient &) = delete;
  SimClient &operator=(const SimClient &) = delete;

  bool ok() const { return fd_ >= 0; }
  void send(const std::vector<uint8_t> &bytes);
  void request(int order, const sim::Words16 &words = {});
  // Reads until count bytes have come or the time is up.
  std::vector<uint8_t> read(std::size_t count, double seconds = 2.0);
  // Whatever arrives within the time.
  std::vector<uint8_t> readFor(double seconds);
  // True when the far end has hung up (seen within the time).
  bool hungUp(double seconds);

 private:
  int fd_ = -1;
};

uint16_t WordOf(const std::vector<uint8_t> &bytes, std::size_t byteOffset);
