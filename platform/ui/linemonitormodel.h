// Internal to the line monitor: the rows of the window over the event ring.
// A row holds only its event's number; its texts are made when the view
// draws it and kept for the rows drawn last.
#pragma once

#include <QAbstractTableModel>
#include <QCache>
#include <QStaticText>
#include <cstdint>
#include <set>
#include <vector>

#include "platform/util/linelog.h"

class LineMonitorModel : public QAbstractTableModel {
 public:
  enum Column { kMs, kDirection, kOrder, kContent, kColumnCount };
  static constexpr int kAllGroups = -1;
  static constexpr int kAllOrders = -1;

  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Takes in new events (unless paused) and lets go of rows the ring has
  // overwritten. True when rows were added.
  bool pull();
  void setPaused(bool paused) { paused_ = paused; }
  bool paused() const { return paused_; }
  // Forgets the rows shown; events from now on are shown.
  void clear();
  void setFilter(int group, int order);
  // Order codes met so far, for the filter.
  const std::set<int> &ordersSeen() const { return orders_; }
  bool event(int row, LineEvent *event) const;
  // The rows as LineEventLine lines under LineLogHeader.
  std::string text() const;

  // A cell's text laid out for a width and font, kept with the row: rows
  // that scroll up by one are drawn again without laying their text out
  // again. nullptr for a row the ring no longer holds.
  const QStaticText *cellText(int row, int column, int width, const QFont &font,
                              bool *problem) const;

 private:
  struct RowText {
    QString columns[kColumnCount];
    QString wall;
    bool problem = false;
    QStaticText laidOut[kColumnCount];
    int laidOutWidth[kColumnCount] = {-1, -1, -1, -1};
  };
  bool passes(const LineEvent &event) const;
  void dropOverwritten();
  void rebuild();
  RowText *rowText(int row) const;

  std::vector<uint64_t> rows_;
  uint64_t from_ = 0;  // first event after the last Clear
  uint64_t next_ = 0;  // first event not yet looked at
  bool paused_ = false;
  int group_ = kAllGroups;
  int order_ = kAllOrders;
  std::set<int> orders_;
  mutable QCache<uint64_t, RowText> texts_{512};
};
