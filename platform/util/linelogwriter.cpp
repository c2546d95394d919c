// The writers of the line's event stream: the log file of --log and the
// logging categories. They read the ring from the event loop, so the code
// that records an event never waits for a file or a message handler.
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

#include "platform/util/linelog.h"
#include "platform/util/logging.h"

Q_LOGGING_CATEGORY(lcSerial, "rvim.serial", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLink, "rvim.link", QtInfoMsg)
Q_LOGGING_CATEGORY(lcStatus, "rvim.status", QtInfoMsg)
Q_LOGGING_CATEGORY(lcFiles, "rvim.files", QtInfoMsg)
Q_LOGGING_CATEGORY(lcUi, "rvim.ui", QtInfoMsg)

namespace {

constexpr int kWriteIntervalMs = 100;

std::FILE *gFile = nullptr;
uint64_t gWritten = 0;  // the next event to write
QTimer *gTimer = nullptr;

const QLoggingCategory &CategoryOf(int kind) {
  switch (kind) {
    case kLineStatus:
      return lcStatus();
    case kLineFrameIn:
    case kLineBlockIn:
    case kLineTimeout:
    case kLineNoise:
    case kLineOtherAnswer:
    case kLineQuietWait:
      return lcLink();
    default:
      return lcSerial();
  }
}

bool AnyCategoryOn() {
  return lcSerial().isDebugEnabled() || lcLink().isDebugEnabled() || lcStatus().isDebugEnabled();
}

void WriteLine(const std::string &line, int kind) {
  if (gFile != nullptr) {
    std::fputs(line.c_str(), gFile);
    std::fputc('\n', gFile);
  }
  const QLoggingCategory &category = CategoryOf(kind);
  if (category.isDebugEnabled()) {
    QMessageLogger(nullptr, 0, nullptr, category.categoryName()).debug("%s", line.c_str());
  }
}

}  // namespace

bool SetLineLogFile(const char *path) {
  std::FILE *file = std::fopen(path, "we");
  if (file == nullptr) return false;
  if (gFile != nullptr) std::fclose(gFile);
  gFile = file;
  std::fprintf(gFile, "%s\n", LineLogHeader());
  std::fflush(gFile);
  gWritten = LineLogBegin();
  return true;
}

void WriteLineLog() {
  if (gFile == nullptr && !AnyCategoryOn()) {
    gWritten = LineLogEnd();
    return;
  }
  if (gWritten < LineLogBegin()) {
    const auto lost = static_cast<unsigned long long>(LineLogBegin() - gWritten);
    WriteLine("# " + std::to_string(lost) + " events not written: the ring moved on", kLineStatus);
    gWritten = LineLogBegin();
  }
  LineEvent event;
  for (; gWritten < LineLogEnd(); ++gWritten) {
    if (LineLogGet(gWritten, &event)) WriteLine(LineEventLine(event), event.kind);
  }
  if (gFile != nullptr) std::fflush(gFile);
}

void StartLineLogWriters() {
  if (gTimer != nullptr || QCoreApplication::instance() == nullptr) return;
  if (gFile == nullptr && !AnyCategoryOn()) return;
  gTimer = new QTimer(QCoreApplication::instance());
  QObject::connect(gTimer, &QTimer::timeout, [] { WriteLineLog(); });
  gTimer->start(kWriteIntervalMs);
}

void StopLineLogWriters() {
  delete gTimer;
  gTimer = nullptr;
  WriteLineLog();
  if (gFile != nullptr) std::fclose(gFile);
  gFile = nullptr;
}
