// Control attributes (dimmed, visible, position and size on the panel,
// colours, font, chart settings), text messages made at run time, pictures.
// Positions are panel coordinates, also for controls inside a container.
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>

#include "platform/ui/color.h"
#include "platform/ui/editmark.h"
#include "platform/ui/limits.h"
#include "platform/ui/registry.h"
#include "platform/ui/runtime.h"
#include "platform/ui/screenreader.h"
#include "platform/ui/stripchart.h"
#include "platform/ui/text.h"
#include "platform/ui/userint.h"
#include "platform/ui/widgets.h"
#include "platform/ui/xygraph.h"

namespace {

// Edit fields paint their text on the Base role, everything else on Window.
bool paintsOnBase(const QWidget *w) {
  return qobject_cast<const QLineEdit *>(w) != nullptr ||
         qobject_cast<const QAbstractSpinBox *>(w) != nullptr ||
         qobject_cast<const QPlainTextEdit *>(w) != nullptr ||
         qobject_cast<const QComboBox *>(w) != nullptr;
}

QPalette::ColorRole textRole(const QWidget *w) {
  if (paintsOnBase(w)) return QPalette::Text;
  if (w->inherits("QAbstractButton")) return QPalette::ButtonText;
  return QPalette::WindowText;
}

void setTextColor(QWidget *w, const QColor &color) {
  QPalette palette = w->palette();
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    palette.setColor(role, color);
  }
  w->setPalette(palette);
}

void setBackgroundColor(QWidget *w, const QColor &color) {
  QPalette palette = w->palette();
  palette.setColor(paintsOnBase(w) ? QPalette::Base : QPalette::Window, color);
  w->setPalette(palette);
  if (!paintsOnBase(w)) w->setAutoFillBackground(true);
}

QColor backgroundColor(const QWidget *w) {
  return w->palette().color(paintsOnBase(w) ? QPalette::Base : QPalette::Window);
}

void changeFont(QWidget *w, const QFont &font) {
  w->setFont(font);
  FitAutoSized(w);
}

QPoint originInPanel(const QWidget *panel, const QWidget *w) {
  return w->parentWidget() == panel ? QPoint(0, 0) : w->parentWidget()->mapTo(panel, QPoint(0, 0));
}

void moveInPanel(const QWidget *panel, QWidget *w, int left, int top) {
  w->move(QPoint(left, top) - originInPanel(panel, w));
}

int setStripChartAttribute(StripChart *chart, int attribute, int value) {
  switch (attribute) {
    case ATTR_NUM_TRACES:
      return chart->setNumTraces(value) ? 0 : UIE_BAD_VALUE_TYPE;
    case ATTR_POINTS_PER_SCREEN:
      return chart->setPointsPerScreen(value) ? 0 : UIE_BAD_VALUE_TYPE;
    case ATTR_SCROLL_MODE_STRIP:
      return 0;  // scrolling is the chart's only mode
    default:
      return UIE_BAD_ATTRIBUTE;
  }
}

int setChartAttribute(QWidget *w, int attribute, int value) {
  if (auto *chart = dynamic_cast<StripChart *>(w)) {
    return setStripChartAttribute(chart, attribute, value);
  }
  if (auto *graph = dynamic_cast<XYGraph *>(w); graph != nullptr && attribute == ATTR_NUM_CURSORS) {
    return graph->setNumCursors(value) ? 0 : UIE_BAD_VALUE_TYPE;
  }
  return UIE_BAD_ATTRIBUTE;
}

int setIntAttribute(const QWidget *panel, QWidget *w, int attribute, int value) {
  const QPoint at = w->mapTo(panel, QPoint(0, 0));
  QFont font = w->font();
  switch (attribute) {
    case ATTR_DIMMED:
      w->setEnabled(value == 0);
      return 0;
    case ATTR_VISIBLE:
      w->setVisible(value != 0);
      return 0;
    case ATTR_TOP:
      moveInPanel(panel, w, at.x(), value);
      return 0;
    case ATTR_LEFT:
      moveInPanel(panel, w, value, at.y());
      return 0;
    case ATTR_WIDTH:
    case ATTR_HEIGHT:
      if (value < 0) return UIE_BAD_VALUE_TYPE;
      w->resize(attribute == ATTR_WIDTH ? value : w->width(),
                attribute == ATTR_HEIGHT ? value : w->height());
      return 0;
    case ATTR_TEXT_COLOR:
      setTextColor(w, ColorFromValue(value));
      return 0;
    case ATTR_TEXT_BGCOLOR:
      setBackgroundColor(w, ColorFromValue(value));
      return 0;
    case ATTR_TEXT_BOLD:
      font.setBold(value != 0);
      changeFont(w, font);
      return 0;
    case ATTR_TEXT_POINT_SIZE:
      if (value <= 0) return UIE_BAD_VALUE_TYPE;
      // Panel positions are pixels and the banner's texts are placed for a
      // point that is one pixel; at 96 dpi a typographic point is 1.33 px
      // and the name would run into the version beside it.
      font.setPixelSize(value);
      changeFont(w, font);
      return 0;
    case ATTR_FRAME_COLOR:
      if (qobject_cast<QFrame *>(w) == nullptr) return UIE_BAD_ATTRIBUTE;
      setBackgroundColor(w, ColorFromValue(value));
      return 0;
    case ATTR_MARK_REFERENCE:
      return SetEditMarkReference(w, value);
    default:
      return setChartAttribute(w, attribute, value);
  }
}

int getChartAttribute(const QWidget *w, int attribute, int *value) {
  if (auto *chart = dynamic_cast<const StripChart *>(w)) {
    if (attribute == ATTR_NUM_TRACES) *value = chart->numTraces();
    if (attribute == ATTR_POINTS_PER_SCREEN) *value = chart->pointsPerScreen();
    if (attribute == ATTR_NUM_TRACES || attribute == ATTR_POINTS_PER_SCREEN) return 0;
  }
  if (auto *graph = dynamic_cast<const XYGraph *>(w);
      graph != nullptr && attribute == ATTR_NUM_CURSORS) {
    *value = graph->numCursors();
    return 0;
  }
  return UIE_BAD_ATTRIBUTE;
}

int getIntAttribute(const QWidget *panel, const QWidget *w, int attribute, int *value) {
  const QPoint at = w->mapTo(panel, QPoint(0, 0));
  switch (attribute) {
    case ATTR_DIMMED:  // the control's own state, not its container's
      *value = w->testAttribute(Qt::WA_ForceDisabled) ? 1 : 0;
      return 0;
    case ATTR_VISIBLE:
      *value = w->isHidden() ? 0 : 1;
      return 0;
    case ATTR_TOP:
      *value = at.y();
      return 0;
    case ATTR_LEFT:
      *value = at.x();
      return 0;
    case ATTR_WIDTH:
      *value = w->width();
      return 0;
    case ATTR_HEIGHT:
      *value = w->height();
      return 0;
    case ATTR_TEXT_COLOR:
      *value = ValueFromColor(w->palette().color(textRole(w)));
      return 0;
    case ATTR_TEXT_BGCOLOR:
      *value = ValueFromColor(backgroundColor(w));
      return 0;
    case ATTR_TEXT_BOLD:
      *value = w->font().bold() ? 1 : 0;
      return 0;
    case ATTR_TEXT_POINT_SIZE:
      *value = w->font().pixelSize() > 0 ? w->font().pixelSize() : w->font().pointSize();
      return 0;
    case ATTR_FRAME_COLOR:
      if (qobject_cast<const QFrame *>(w) == nullptr) return UIE_BAD_ATTRIBUTE;
      *value = ValueFromColor(w->palette().color(QPalette::Window));
      return 0;
    case ATTR_MARKED:
      *value = EditMarked(w) ? 1 : 0;
      return 0;
    case ATTR_MIN_VALUE:
    case ATTR_MAX_VALUE:
      return GetValueLimit(w, attribute == ATTR_MAX_VALUE, value);
    default:
      return getChartAttribute(w, attribute, value);
  }
}

int setTextAttribute(QWidget *w, int attribute, const QString &text) {
  if (attribute == ATTR_TOOLTIP_TEXT) {
    SetControlHelp(w, text);
    return 0;
  }
  if (attribute == ATTR_TEXT_FONT) {
    QFont font = w->font();
    if (text == QLatin1String("NIApp")) {
      font = ApplicationFont();
    } else {
      font.setFamily(text);
    }
    changeFont(w, font);
    return 0;
  }
  if (attribute == ATTR_MARK_TEXT) return SetEditMarkText(w, text);
  if (attribute != ATTR_YNAME && attribute != ATTR_XNAME) return UIE_BAD_ATTRIBUTE;
  const bool y = attribute == ATTR_YNAME;
  if (auto *chart = dynamic_cast<ChartWidget *>(w)) {
    y ? chart->setYName(text) : chart->setXName(text);
    return 0;
  }
  return UIE_BAD_ATTRIBUTE;
}

}  // namespace

int SetCtrlAttribute(int panel, int control, int attribute, int value) {
  int error = 0;
  QWidget *w = FindControl(panel, control, &error);
  if (w == nullptr) return error;
  return setIntAttribute(FindPanel(panel)->window, w, attribute, value);
}

int SetCtrlAttribute(int panel, int control, int attribute, const char *value) {
  int error = 0;
  QWidget *w = FindControl(panel, control, &error);
  if (w == nullptr) return error;
  if (value == nullptr) return UIE_BAD_VALUE_TYPE;
  return setTextAttribute(w, attribute, TextFromBytes(value));
}

int GetCtrlAttribute(int panel, int control, int attribute, int *value) {
  int error = 0;
  QWidget *w = FindControl(panel, control, &error);
  if (w == nullptr) return error;
  if (value == nullptr) return UIE_BAD_VALUE_TYPE;
  return getIntAttribute(FindPanel(panel)->window, w, attribute, value);
}

int NewCtrl(int panel, int style, const char *label, int top, int left) {
  PanelRecord *record = FindPanel(panel);
  if (record == nullptr || record->window.isNull()) return UIE_BAD_HANDLE;
  if (style != CTRL_TEXT_MSG) return UIE_BAD_VALUE_TYPE;
  auto *text = new QLabel(record->window);
  text->setTextFormat(Qt::PlainText);
  text->setText(TextFromBytes(label));
  MarkAutoSized(text);
  text->adjustSize();
  text->move(left, top);
  text->show();
  const int id = record->nextNewCtrlId++;
  record->controls[id] = ControlRecord{text, nullptr};
  return id;
}

int DisplayImageFile(int panel, int control, const char *fileName) {
  int error = 0;
  auto *picture = ControlAs<QLabel>(FindControl(panel, control, &error));
  if (picture == nullptr) return error != 0 ? error : UIE_BAD_CONTROL;
  if (fileName == nullptr || *fileName == '\0') return UIE_FILE_NOT_FOUND;
  QPixmap image;
  if (!image.load(QFile::decodeName(fileName))) return UIE_FILE_NOT_FOUND;
  picture->setPixmap(image);
  picture->resize(image.size());  // the picture takes the image's size at its top left
  return 0;
}
