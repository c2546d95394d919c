// The line monitor window: a table over the event ring, a bar of commands
// above it and the raw bytes of the selected row below.
#include "platform/ui/linemonitor.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/ui/linemonitormodel.h"
#include "platform/ui/registry.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"

namespace {

void (*gReport)(const char *text) = nullptr;

void Report(const std::string &text) {
  if (gReport != nullptr) gReport(text.c_str());
}

// Draws a cell from the text its row keeps laid out; the style's own item
// drawing lays every visible text out again at each repaint.
class CellDrawer : public QStyledItemDelegate {
 public:
  CellDrawer(const LineMonitorModel *model, QObject *parent)
      : QStyledItemDelegate(parent), model_(model) {}

  void paint(QPainter *painter, const QStyleOptionViewItem &option,
             const QModelIndex &index) const override {
    constexpr int kMargin = 3;
    const int width = option.rect.width() - 2 * kMargin;
    bool problem = false;
    const QStaticText *text =
        model_->cellText(index.row(), index.column(), width, option.font, &problem);
    if (text == nullptr) return;
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    if (selected) painter->fillRect(option.rect, option.palette.highlight());
    QColor color = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    if (problem && !selected) color = QColor(0xB0, 0, 0);
    painter->setPen(color);
    painter->setFont(option.font);
    const int top = option.rect.top() + (option.rect.height() - option.fontMetrics.height()) / 2;
    painter->drawStaticText(option.rect.left() + kMargin, top, *text);
  }

 private:
  const LineMonitorModel *model_;
};

class LineMonitorWindow : public QWidget {
 public:
  explicit LineMonitorWindow(QWidget *owner);
  void refresh();

 protected:
  void showEvent(QShowEvent *event) override;
  void hideEvent(QHideEvent *event) override;

 private:
  QWidget *makeBar();
  void fillOrders();
  void applyFilter();
  void showSelected();
  void saveLog();

  LineMonitorModel model_;
  QTableView *table_ = nullptr;
  QPlainTextEdit *bytes_ = nullptr;
  QPushButton *pause_ = nullptr;
  QComboBox *groups_ = nullptr;
  QComboBox *orders_ = nullptr;
  QTimer poll_;
  std::size_t ordersListed_ = 0;
  bool following_ = true;
};

LineMonitorWindow::LineMonitorWindow(QWidget *owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("LINE_MONITOR"));
  setWindowTitle(QStringLiteral("R-VIM-ZEL4 Line monitor"));
  table_ = new QTableView(this);
  table_->setModel(&model_);
  table_->setItemDelegate(new CellDrawer(&model_, table_));
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setWordWrap(false);
  table_->setAlternatingRowColors(true);
  table_->setShowGrid(false);
  table_->verticalHeader()->hide();
  // Fixed sizes: the view never measures every row's text.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  table_->horizontalHeader()->setStretchLastSection(true);
  const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  table_->setColumnWidth(LineMonitorModel::kMs, 9 * digit);
  table_->setColumnWidth(LineMonitorModel::kDirection, 7 * digit);
  table_->setColumnWidth(LineMonitorModel::kOrder, 22 * digit);
  bytes_ = new QPlainTextEdit(this);
  bytes_->setObjectName(QStringLiteral("LINE_MONITOR_BYTES"));
  bytes_->setReadOnly(true);
  bytes_->setFixedHeight(5 * fontMetrics().height());
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(makeBar());
  layout->addWidget(table_, 1);
  layout->addWidget(bytes_);
  // The row the operator selected, not the view's current cell: a table
  // that takes the focus makes its first row current without selecting it.
  connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { showSelected(); });
  connect(&poll_, &QTimer::timeout, this, [this] { refresh(); });
  // Following: the view stays at the bottom as rows come, until the operator
  // scrolls away from it; back at the bottom it follows again.
  QScrollBar *scroll = table_->verticalScrollBar();
  connect(scroll, &QScrollBar::valueChanged, this,
          [this, scroll](int value) { following_ = value >= scroll->maximum(); });
  connect(scroll, &QScrollBar::rangeChanged, this, [this, scroll](int, int maximum) {
    if (following_) scroll->setValue(maximum);
  });
  resize(900, 520);
}

QWidget *LineMonitorWindow::makeBar() {
  auto *bar = new QWidget(this);
  auto *row = new QHBoxLayout(bar);
  row->setContentsMargins(0, 0, 0, 0);
  pause_ = new QPushButton(QStringLiteral("Pause"), bar);
  pause_->setCheckable(true);
  auto *clear = new QPushButton(QStringLiteral("Clear"), bar);
  groups_ = new QComboBox(bar);
  groups_->addItem(QStringLiteral("All events"), LineMonitorModel::kAllGroups);
  for (int g = 0; g < kGroupCount; ++g) groups_->addItem(LineEventGroupName(g), g);
  orders_ = new QComboBox(bar);
  orders_->addItem(QStringLiteral("All orders"), LineMonitorModel::kAllOrders);
  orders_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  auto *save = new QPushButton(QStringLiteral("Save log..."), bar);
  for (QWidget *w : {static_cast<QWidget *>(pause_), static_cast<QWidget *>(clear),
                     static_cast<QWidget *>(groups_), static_cast<QWidget *>(orders_)}) {
    row->addWidget(w);
  }
  row->addStretch(1);
  row->addWidget(save);
  pause_->setObjectName(QStringLiteral("LINE_MONITOR_PAUSE"));
  clear->setObjectName(QStringLiteral("LINE_MONITOR_CLEAR"));
  groups_->setObjectName(QStringLiteral("LINE_MONITOR_GROUP"));
  orders_->setObjectName(QStringLiteral("LINE_MONITOR_ORDER"));
  save->setObjectName(QStringLiteral("LINE_MONITOR_SAVE"));
  connect(pause_, &QPushButton::toggled, this, [this](bool on) {
    model_.setPaused(on);
    if (!on) refresh();
  });
  connect(clear, &QPushButton::clicked, this, [this] {
    model_.clear();
    bytes_->clear();
  });
  connect(groups_, &QComboBox::activated, this, [this] { applyFilter(); });
  connect(orders_, &QComboBox::activated, this, [this] { applyFilter(); });
  connect(save, &QPushButton::clicked, this, [this] { saveLog(); });
  return bar;
}

void LineMonitorWindow::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  refresh();
  poll_.start(kLineMonitorPollMs);
}

void LineMonitorWindow::hideEvent(QHideEvent *event) {
  poll_.stop();
  QWidget::hideEvent(event);
}

void LineMonitorWindow::refresh() {
  model_.pull();
  fillOrders();
}

void LineMonitorWindow::fillOrders() {
  const std::set<int> &seen = model_.ordersSeen();
  if (seen.size() == ordersListed_) return;
  ordersListed_ = seen.size();
  const QVariant chosen = orders_->currentData();
  while (orders_->count() > 1) orders_->removeItem(1);
  for (const int order : seen) {
    orders_->addItem(QString::fromStdString(LineOrderName(order)), order);
  }
  orders_->setCurrentIndex(std::max(0, orders_->findData(chosen)));
}

void LineMonitorWindow::applyFilter() {
  following_ = true;
  model_.setFilter(groups_->currentData().toInt(), orders_->currentData().toInt());
  bytes_->clear();
}

void LineMonitorWindow::showSelected() {
  const QModelIndexList selected = table_->selectionModel()->selectedRows();
  LineEvent e;
  if (selected.isEmpty() || !model_.event(selected.first().row(), &e)) {
    bytes_->clear();
    return;
  }
  std::string hex = LineEventHex(e);
  // A time-out holds the request, then what came of the answer: a line each.
  const std::size_t answerAt = 3 * static_cast<std::size_t>(std::max(e.c, 0));
  if (e.kind == kLineTimeout && answerAt > 0 && answerAt < hex.size()) hex[answerAt - 1] = '\n';
  const std::string text = LineEventWallClock(e) + "  " + LineEventKindName(e.kind) + ", " +
                           std::to_string(e.size) + " bytes\n" + hex;
  bytes_->setPlainText(QString::fromStdString(text));
}

void LineMonitorWindow::saveLog() {
  char dir[kMaxPathname] = "";
  char path[kMaxPathname] = "";
  GetProjectDir(dir);
  if (FileSelectPopup(dir, "RVimLine.txt", "*.txt", "Save line log", VAL_SAVE_BUTTON, 0, 0, 1, 1,
                      path) == VAL_NO_FILE_SELECTED) {
    return;
  }
  const std::string text = model_.text();
  if (WriteFileAtomically(path, text.data(), text.size()) == kFileOk) {
    Report(std::string("Line log saved: ") + path);
  } else {
    Report(std::string("Line log NOT saved - cannot write ") + path);
  }
}

QPointer<LineMonitorWindow> gMonitor;

}  // namespace

int DisplayLineMonitor(int panel) {
  PanelRecord *record = FindPanel(panel);
  if (record == nullptr || record->window == nullptr) return UIE_BAD_HANDLE;
  if (gMonitor == nullptr) gMonitor = new LineMonitorWindow(record->window);
  gMonitor->show();
  gMonitor->raise();
  gMonitor->activateWindow();
  return 0;
}

int HideLineMonitor() {
  if (gMonitor != nullptr) gMonitor->hide();
  return 0;
}

int LineMonitorVisible() {
  return gMonitor != nullptr && gMonitor->isVisible() ? 1 : 0;
}

void RefreshLineMonitor() {
  if (gMonitor != nullptr) gMonitor->refresh();
}

void SetLineMonitorReport(void (*report)(const char *text)) {
  gReport = report;
}
