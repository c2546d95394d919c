#include "app/demo.h"

#include <memory>

#include "sim/simulator.h"

namespace {
std::unique_ptr<sim::Simulator> demo;
}

std::string StartDemoController() {
  if (!demo) {
    auto started = std::make_unique<sim::Simulator>(sim::Pacing::Line);
    started->setKeepRecord(false);  // runs as long as the program does
    if (!started->start()) return {};
    demo = std::move(started);
  }
  return demo->slavePath();
}

void StopDemoController() {
  if (demo) demo->stop();
  demo.reset();
}
