#include "platform/ui/framecache.h"

void FrameCache::render(const FrameContent &content) {
  pixmap_ = QPixmap(content.size * content.pixelRatio);
  pixmap_.setDevicePixelRatio(content.pixelRatio);
  pixmap_.fill(content.background);
  QPainter painter(&pixmap_);
  painter.setFont(content.font);
  plot_ = DrawChartFrame(painter, content.size, content.legend.data(), content.legendCount,
                         content.axes);
  content_ = content;
  valid_ = true;
}

void FrameCache::draw(QPainter &painter, const FrameContent &content) {
  if (!shows(content)) render(content);
  painter.drawPixmap(0, 0, pixmap_);
}
