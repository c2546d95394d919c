#include "platform/ui/framecache.h"

void FrameCache::render(const FrameContent &content) {
  pixmap_ = QPixmap(content.size * content.pixelRatio);
  pixmap_.setDevicePixelRatio(content.pixelRatio);
  pixmap_.fill(content.background);
  QPainter painter(&pixmap_);
  painter.setFont(content.font);
  const int width = content.size.width();
  const int legendHeight =
      LegendHeight(painter.fontMetrics(), content.legend.data(), content.legendCount, width);
  DrawLegend(painter, QRect(0, 0, width, legendHeight), content.legend.data(), content.legendCount);
  plot_ = ChartPlotArea(content.size, true, legendHeight);
  DrawChartFrame(painter, plot_, content.y, content.yName, &content.x, content.xName);
  content_ = content;
  valid_ = true;
}

void FrameCache::draw(QPainter &painter, const FrameContent &content) {
  if (!shows(content)) render(content);
  painter.drawPixmap(0, 0, pixmap_);
}
