#include "tests/sim/sim_client.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "tests/support/sim_line.h"

namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point until) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

Clock::time_point after(double seconds) {
  return Clock::now() +
         std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

}  // namespace

SimClient::SimClient(const std::string &device) {
  fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd_ < 0) return;
  termios tio{};
  tcgetattr(fd_, &tio);
  cfmakeraw(&tio);
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  tcsetattr(fd_, TCSANOW, &tio);
}

SimClient::~SimClient() {
  if (fd_ >= 0) ::close(fd_);
}

void SimClient::send(const std::vector<uint8_t> &bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

void SimClient::request(int order, const sim::Words16 &words) {
  send(testsupport::RequestBytes(order, words));
}

std::vector<uint8_t> SimClient::read(std::size_t count, double seconds) {
  const auto until = after(seconds);
  std::vector<uint8_t> bytes;
  uint8_t chunk[512];
  while (bytes.size() < count) {
    const ssize_t n = ::read(fd_, chunk, std::min(sizeof chunk, count - bytes.size()));
    if (n > 0) {
      bytes.insert(bytes.end(), chunk, chunk + n);
      continue;
    }
    if (n == 0 || (errno != EAGAIN && errno != EINTR)) break;
    pollfd entry{fd_, POLLIN, 0};
    if (::poll(&entry, 1, remainingMs(until)) <= 0) break;
  }
  return bytes;
}

std::vector<uint8_t> SimClient::readFor(double seconds) {
  return read(static_cast<std::size_t>(-1) / 2, seconds);
}

bool SimClient::hungUp(double seconds) {
  pollfd entry{fd_, POLLIN, 0};
  if (::poll(&entry, 1, remainingMs(after(seconds))) <= 0) return false;
  uint8_t byte = 0;
  const ssize_t n = ::read(fd_, &byte, 1);
  return (entry.revents & POLLHUP) != 0 || n == 0 || (n < 0 && errno == EIO);
}

uint16_t WordOf(const std::vector<uint8_t> &bytes, std::size_t byteOffset) {
  if (bytes.size() < byteOffset + 2) return 0;
  return static_cast<uint16_t>(bytes[byteOffset] << 8 | bytes[byteOffset + 1]);
}
