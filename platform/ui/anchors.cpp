// Anchored children follow the panel's edges as the window is resized.
#include "platform/ui/anchors.h"

#include <QEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace {

enum : unsigned { kLeft = 1, kTop = 2, kRight = 4, kBottom = 8 };
constexpr unsigned kDefaultEdges = kLeft | kTop;
// What a shrinking panel leaves between a control and what it must not meet.
constexpr int kMinGap = 4;

// The edges a child names, or false for an unknown word.
bool ParseEdges(const QWidget *child, unsigned *edges) {
  *edges = kDefaultEdges;
  const QVariant given = child->property("anchors");
  if (!given.isValid()) return true;
  *edges = 0;
  for (const QString &word : given.toString().split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
    const QString edge = word.trimmed().toLower();
    if (edge == QLatin1String("left")) {
      *edges |= kLeft;
    } else if (edge == QLatin1String("top")) {
      *edges |= kTop;
    } else if (edge == QLatin1String("right")) {
      *edges |= kRight;
    } else if (edge == QLatin1String("bottom")) {
      *edges |= kBottom;
    } else {
      return false;
    }
  }
  return true;
}

// One axis: a child anchored on both sides grows, on the far side alone moves.
void Follow(unsigned edges, unsigned nearEdge, unsigned farEdge, int delta, int *position,
            int *length) {
  if ((edges & farEdge) == 0) return;
  if ((edges & nearEdge) != 0) {
    *length += delta;
  } else {
    *position += delta;
  }
}

class AnchorKeeper : public QObject {
 public:
  explicit AnchorKeeper(QWidget *panel) : QObject(panel), last_(panel->size()) {
    for (QWidget *child : panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
      unsigned edges = kDefaultEdges;
      ParseEdges(child, &edges);
      if ((edges & (kRight | kBottom)) != 0) anchored_.push_back({child, edges});
    }
  }

  bool eventFilter(QObject * /*watched*/, QEvent *event) override {
    if (event->type() == QEvent::Resize) follow(static_cast<QResizeEvent *>(event)->size());
    return false;
  }

 private:
  struct Anchored {
    QPointer<QWidget> widget;
    unsigned edges;
  };

  // Moves by the change since the last size, so a control the program has
  // moved in the meantime keeps its new place.
  void follow(const QSize &size) {
    const int dx = size.width() - last_.width();
    const int dy = size.height() - last_.height();
    last_ = size;
    if (dx == 0 && dy == 0) return;
    for (const Anchored &a : anchored_) {
      if (a.widget.isNull()) continue;
      QRect g = a.widget->geometry();
      int x = g.x(), y = g.y(), w = g.width(), h = g.height();
      Follow(a.edges, kLeft, kRight, dx, &x, &w);
      Follow(a.edges, kTop, kBottom, dy, &y, &h);
      a.widget->setGeometry(x, y, w, h);
    }
  }

  QSize last_;
  std::vector<Anchored> anchored_;
};

// One axis of a child's geometry: where it starts and how long it is, the
// same across, and the anchors that act along the axis.
struct Extent {
  int start, length, crossStart, crossLength, minLength;
  bool nearAnchored, farAnchored;

  int end() const { return start + length; }
  bool crosses(const Extent &other) const {
    return crossStart < other.crossStart + other.crossLength &&
           other.crossStart < crossStart + crossLength;
  }
  bool moves() const { return farAnchored && !nearAnchored; }
  bool stretches() const { return farAnchored && nearAnchored; }
  bool stays() const { return !farAnchored; }
};

Extent ExtentOf(const QWidget *child, bool vertical) {
  unsigned edges = kDefaultEdges;
  ParseEdges(child, &edges);
  const QRect g = child->geometry();
  if (vertical) {
    return {g.y(),
            g.height(),
            g.x(),
            g.width(),
            child->minimumHeight(),
            (edges & kTop) != 0,
            (edges & kBottom) != 0};
  }
  return {g.x(),
          g.width(),
          g.y(),
          g.height(),
          child->minimumWidth(),
          (edges & kLeft) != 0,
          (edges & kRight) != 0};
}

int Slack(int gap) {
  return std::max(gap - kMinGap, 0);
}

// How much one child lets the panel shrink along the axis: a stretching child
// down to its minimum, a moving one until it would come near a staying child
// before it (or the panel's near edge), a staying one until the far edge would
// come near it.
int RoomOf(const Extent &c, const std::vector<Extent> &all, int panelLength) {
  if (c.stretches()) return std::max(c.length - c.minLength, 0);
  if (c.stays()) return Slack(panelLength - c.end());
  int room = Slack(c.start);
  for (const Extent &other : all) {
    if (other.stays() && other.end() <= c.start && other.crosses(c)) {
      room = std::min(room, Slack(c.start - other.end()));
    }
  }
  return room;
}

// The smallest length of the panel along one axis.
int LeastLength(const QWidget *panel, bool vertical) {
  std::vector<Extent> all;
  for (const QWidget *child : panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
    all.push_back(ExtentOf(child, vertical));
  }
  const int length = vertical ? panel->height() : panel->width();
  int room = length;
  for (const Extent &c : all) room = std::min(room, RoomOf(c, all, length));
  return length - room;
}

}  // namespace

bool AnchorsValid(const QWidget *panel) {
  for (const QWidget *child : panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
    unsigned edges = 0;
    if (!ParseEdges(child, &edges)) return false;
  }
  return true;
}

void SetPanelSizing(QWidget *panel) {
  if (!panel->property("resizable").toBool()) {
    panel->setFixedSize(panel->size());
    return;
  }
  panel->setMinimumSize(LeastLength(panel, false), LeastLength(panel, true));
  panel->installEventFilter(new AnchorKeeper(panel));
}
