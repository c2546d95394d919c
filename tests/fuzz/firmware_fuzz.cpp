// The firmware text conversion: arbitrary words in the controller's 64-byte
// info block, read over a pty from the simulator by GetVERSIONInfo and turned
// into the status text.
//
// Input: up to 64 bytes, the block's 32 big-endian words (missing bytes 0).
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "link/link.h"
#include "platform/serial/porttable.h"
#include "sim/simulator.h"
#include "tests/fuzz/fuzz_runtime.h"
#include "tests/link/link_port.h"

namespace {

sim::Simulator &Controller() {
  static sim::Simulator *controller = [] {
    if (!fuzzsupport::StartRuntime()) std::abort();
    auto *s = new sim::Simulator(sim::Pacing::Instant);
    if (!s->start()) std::abort();
    com = PortTableAddDevice(s->slavePath());
    if (com <= 0 || OpenLinkPort(com) != 0) std::abort();
    return s;
  }();
  return *controller;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  if (size > 64) return 0;
  std::array<uint16_t, 32> words{};
  for (std::size_t i = 0; i < size; ++i) {
    words[i / 2] = static_cast<uint16_t>(words[i / 2] | data[i] << (i % 2 == 0 ? 8 : 0));
  }
  sim::Simulator &controller = Controller();
  controller.setFirmwareText(words);
  controller.clearRecord();
  if (GetVERSIONInfo() != 64) std::abort();
  // Shown as it is, one character a word: never longer than the block,
  // never a control or non-ASCII byte, and the status line says the same.
  const std::size_t length = std::strlen(szVersion);
  if (length > 32) std::abort();
  for (std::size_t i = 0; i < length; ++i) {
    const auto c = static_cast<unsigned char>(szVersion[i]);
    if (c < 0x20 || c >= 0x7F) std::abort();
    if (c != '?' && c != (words[i] & 0xFF)) std::abort();
  }
  if (std::strcmp(szStatus, szVersion) != 0) std::abort();
  return 0;
}
