// Internal to the user-interface run-time: a strip chart's frame (legend,
// axes, grid) drawn once into a pixmap and reused while nothing in it changes,
// so a repaint for new points draws no text.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>

#include "platform/ui/chartframe.h"
#include "platform/ui/userint.h"

// Everything the frame shows; equal contents draw the same frame.
struct FrameContent {
  QSize size;
  qreal pixelRatio = 1.0;
  QFont font;
  QColor background;
  std::array<LegendEntry, kMaxTraces> legend;
  int legendCount = 0;
  ChartAxes axes;

  bool operator==(const FrameContent &) const = default;
};

class FrameCache {
 public:
  // Draws the frame, from the pixmap unless the content has changed since.
  void draw(QPainter &painter, const FrameContent &content);
  // The plot area of the frame drawn last.
  QRect plot() const { return plot_; }
  // True when the frame drawn last shows this content.
  bool shows(const FrameContent &content) const { return valid_ && content == content_; }

 private:
  void render(const FrameContent &content);

  FrameContent content_;
  QPixmap pixmap_;
  QRect plot_;
  bool valid_ = false;
};
