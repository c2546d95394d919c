// The controller simulator: a ZEL4-type two-channel controller on the master
// side of a pseudo-terminal. The program (or a test) opens slavePath() as its
// serial device. Plain C++ and POSIX; knows nothing of the program.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// Line = 19200 baud, 10 bits a byte, in both directions; Instant = no pacing.
enum class Pacing { Line, Instant };

// Misbehaviour for tests. Applied to every answer sent while set. Under a
// latitude (Simulator::setLatitude) a field the test sets wins over the
// latitude's choice of the same thing; a field left at its default leaves that
// thing open: answerDelay > 0 fixes the delay, splitChunk > 0 the pieces and
// gaps, ffHeader or header the header, answerWord0 word 0. wrongSync touches
// only what latitude keeps fixed.
// truncateTo, extraBytes and garbageBefore act on the varied answer; silent,
// silentFromRequest, silentAtRequest, dropOrder9Offset and hangUpAtRequest leave
// nothing to vary.
struct Faults {
  bool silent = false;        // answer nothing
  double answerDelay = 0;     // seconds between a complete request and its answer
  int truncateTo = -1;        // send only the first N bytes of each answer
  int extraBytes = 0;         // append N bytes 0xEE to each answer
  bool wrongSync = false;     // echo/info answers carry word 0 as AA 00 instead of 00 AA
  bool ffHeader = false;      // frame answers start FF FF instead of 00 55
  int splitChunk = 0;         // write answers in chunks of N bytes with a short pause
  double splitPause = 0.02;   // seconds of that pause
  int dropOrder9Offset = -1;  // leave unanswered the data block request for this offset
  int garbageBefore = 0;      // put N bytes of line noise (no 00 55 among them) before each answer
  int hangUpAtRequest = 0;    // hang up instead of answering the Nth request after setFaults
  int silentFromRequest = 0;  // answer nothing from the Nth request after setFaults on
  int silentAtRequest = 0;    // leave the Nth request after setFaults unanswered
  int header = -1;            // frame answers start with this word instead of 00 55
  // Word 0 of the answers to parameter reads and commands (orders 2, 4, 6, 10,
  // 11), which the controller may fill as it likes; -1: the request's word 0.
  int answerWord0 = -1;
  // Stop taking bytes in after the Nth request after setFaults (0: at once),
  // with the line's input full: what the far end writes next waits in its
  // output queue, as behind a busy UART. The next setFaults takes them in.
  int stallAfterRequest = -1;
  // Bytes the line carries at once when the Nth request after setFaults has
  // come (-1: never), before that request's answer: a stray frame in the
  // middle of an exchange, placed whatever the machine's load.
  int strayAtRequest = -1;
  std::vector<uint8_t> strayBytes = {};
  // Runs on the simulator's thread for each complete request, before its
  // answer is scheduled; tests move their clock here. Must not call the simulator.
  std::function<void()> onRequest = nullptr;
};

using Words16 = std::array<uint16_t, 16>;
using RequestFrame = std::array<uint8_t, 36>;

class Simulator {
 public:
  explicit Simulator(Pacing pacing = Pacing::Line);
  ~Simulator();
  Simulator(const Simulator &) = delete;
  Simulator &operator=(const Simulator &) = delete;

  // Opens the pty (raw, no echo) and starts the I/O thread. False on failure.
  bool start();
  std::string slavePath() const;
  void stop();
  // Closes the master and the simulator's own slave: the far end sees a hang-up.
  void hangUp();

  void setFaults(const Faults &faults);
  // Skips the caller's idle waiting, for tests: shift(s) moves the caller's
  // clock s seconds on, and the simulator sends what it has still to send s
  // sooner, so on that clock every byte keeps its time. 40 ms after a request
  // that gets no whole answer, and every 40 ms after that until the next
  // request, it skips `most` seconds while nothing is on its way. Before a
  // whole answer later than those 40 ms it skips once, at most `most` and
  // never past a byte still to send. The caller's waits for an answer must be
  // longer than `most` plus 40 ms. Faults come and go beneath it; most 0
  // turns it off. With `waiting`, a skip comes only once waiting(t) says the
  // caller has begun its wait for the request that came at t: a wait begun
  // on a clock already moved on would last the skip longer.
  void setClockShift(double most, std::function<void(double seconds)> shift,
                     std::function<bool(std::chrono::steady_clock::time_point)> waiting = {});
  void setPacing(Pacing pacing);
  // With a seed, every answer varies what the protocol leaves to the
  // controller: the header of frame answers (00 55, FF FF, random); word 0 of
  // parameter-read and command answers (0, the request's, 0x00AA, 0xFFFF,
  // random); the words nobody stores (of command answers, of the echo and the
  // info block after the sync value, of channel-B reads after word 4): as
  // built, zero or random; whether a parameter send is answered; the answer's
  // delay, pieces and gaps, all well inside the answer's bound. Fixed: the
  // order word, the sync value, parameter and live words, firmware text and
  // data blocks. The same seed and requests give the same answers.
  // nullopt (the default): the same answer every time, parameter sends unanswered.
  void setLatitude(std::optional<uint64_t> seed);
  std::optional<uint64_t> latitude() const;

  std::vector<uint8_t> received() const;       // every byte received, in order
  std::vector<RequestFrame> requests() const;  // complete request frames
  std::size_t requestCount() const;
  // When each kept request was complete on the line, in seconds of the
  // monotonic clock: the cycle times of a polling loop, without its start and end.
  std::vector<double> requestTimes() const;
  std::size_t answerCount() const;  // answers completely written
  // True when every byte sent to the simulator has been read and nothing is
  // left to send: no answer waits for its time or is being written.
  bool idle() const;
  void clearRecord();  // forgets received bytes, requests and answers
  // false: count requests and answers but keep no bytes or frames, so a
  // controller that runs for hours (the demo) does not grow without end.
  void setKeepRecord(bool keep);
  void sendRaw(const std::vector<uint8_t> &bytes);  // writes the bytes now, unpaced
  // CPU time of the I/O thread so far, in seconds; 0 when it is not running.
  // A process that runs the simulator in-house subtracts it to see its own.
  double threadCpuSeconds() const;

  // The controller model. store: 1 RAM, 2 EEPROM; set: 0 full, 1 channel B.
  void setParameterSet(int store, int set, const Words16 &words);
  Words16 parameterSet(int store, int set) const;
  void setFirmwareText(const std::array<uint16_t, 32> &words);
  // selector 0: raw data set, 1: normalised data set.
  void setDataMemory(int selector, const std::array<uint16_t, 256> &words);
  // Fixed live words; switches the moving values off.
  void setLiveWords(const Words16 &words);
  // Moving values (the default) or the last values held still.
  void setLiveMoving(bool moving);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace sim
