// The line monitor's rows: event numbers over the ring, texts made on demand.
#include "platform/ui/linemonitormodel.h"

#include <QBrush>
#include <QColor>
#include <QFontMetrics>
#include <algorithm>

namespace {

const QColor kProblemColor(0xB0, 0, 0);

QString Text(const std::string &text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

int LineMonitorModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int LineMonitorModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant LineMonitorModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char *const kNames[kColumnCount] = {"ms", "dir", "order", "content"};
  return section >= 0 && section < kColumnCount ? QString::fromLatin1(kNames[section]) : QString();
}

bool LineMonitorModel::event(int row, LineEvent *event) const {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return false;
  return LineLogGet(rows_[static_cast<std::size_t>(row)], event);
}

LineMonitorModel::RowText *LineMonitorModel::rowText(int row) const {
  LineEvent e;
  if (!event(row, &e)) return nullptr;
  if (RowText *cached = texts_.object(e.seq)) return cached;
  const LineEventText described = DescribeLineEvent(e);
  auto *text = new RowText;
  text->columns[kMs] = Text(LineEventMs(e));
  text->columns[kDirection] = QString::fromLatin1(LineEventDirection(e.kind));
  text->columns[kOrder] = Text(described.order);
  text->columns[kContent] = Text(described.content);
  text->wall = Text(LineEventWallClock(e));
  text->problem = LineEventInGroup(e.kind, kGroupProblems);
  texts_.insert(e.seq, text);
  return text;
}

const QStaticText *LineMonitorModel::cellText(int row, int column, int width, const QFont &font,
                                              bool *problem) const {
  RowText *text = rowText(row);
  if (text == nullptr || column < 0 || column >= kColumnCount) return nullptr;
  *problem = text->problem;
  QStaticText &laidOut = text->laidOut[column];
  if (text->laidOutWidth[column] != width) {
    text->laidOutWidth[column] = width;
    laidOut.setText(QFontMetrics(font).elidedText(text->columns[column], Qt::ElideRight, width));
    laidOut.setTextFormat(Qt::PlainText);
    laidOut.prepare(QTransform(), font);
  }
  return &laidOut;
}

QVariant LineMonitorModel::data(const QModelIndex &index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::ForegroundRole) return {};
  const RowText *text = rowText(index.row());
  if (text == nullptr || index.column() < 0 || index.column() >= kColumnCount) return {};
  if (role == Qt::ForegroundRole) return text->problem ? QBrush(kProblemColor) : QVariant();
  if (role == Qt::ToolTipRole) {
    if (index.column() == kMs) return text->wall;  // the wall clock on hover
    return index.column() == kContent ? text->columns[kContent] : QVariant();
  }
  return text->columns[index.column()];
}

bool LineMonitorModel::passes(const LineEvent &event) const {
  if (group_ != kAllGroups && !LineEventInGroup(event.kind, group_)) return false;
  return order_ == kAllOrders || LineEventOrder(event) == order_;
}

void LineMonitorModel::dropOverwritten() {
  const uint64_t begin = LineLogBegin();
  const auto kept = std::lower_bound(rows_.begin(), rows_.end(), begin);
  const auto gone = static_cast<int>(kept - rows_.begin());
  if (gone == 0) return;
  beginRemoveRows({}, 0, gone - 1);
  rows_.erase(rows_.begin(), kept);
  endRemoveRows();
}

bool LineMonitorModel::pull() {
  dropOverwritten();
  if (paused_) return false;
  const uint64_t end = LineLogEnd();
  next_ = std::max(next_, LineLogBegin());
  std::vector<uint64_t> added;
  LineEvent e;
  for (; next_ < end; ++next_) {
    if (!LineLogGet(next_, &e)) continue;
    const int order = LineEventOrder(e);
    if (order >= 0) orders_.insert(order);
    if (passes(e)) added.push_back(next_);
  }
  if (added.empty()) return false;
  const int first = static_cast<int>(rows_.size());
  beginInsertRows({}, first, first + static_cast<int>(added.size()) - 1);
  rows_.insert(rows_.end(), added.begin(), added.end());
  endInsertRows();
  return true;
}

void LineMonitorModel::clear() {
  beginResetModel();
  rows_.clear();
  from_ = LineLogEnd();
  next_ = from_;
  endResetModel();
}

void LineMonitorModel::setFilter(int group, int order) {
  group_ = group;
  order_ = order;
  rebuild();
}

void LineMonitorModel::rebuild() {
  beginResetModel();
  rows_.clear();
  LineEvent e;
  for (uint64_t seq = std::max(from_, LineLogBegin()); seq < next_; ++seq) {
    if (LineLogGet(seq, &e) && passes(e)) rows_.push_back(seq);
  }
  endResetModel();
}

std::string LineMonitorModel::text() const {
  std::string text = std::string(LineLogHeader()) + '\n';
  LineEvent e;
  for (const uint64_t seq : rows_) {
    if (LineLogGet(seq, &e)) text += LineEventLine(e) + '\n';
  }
  return text;
}
