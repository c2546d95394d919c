// Control attributes, text messages made at run time and pictures.
#include <QImage>
#include <QLabel>
#include <QPixmap>

#include "platform/ui/runtime.h"
#include "tests/platform/ui_fixture.h"

namespace {

TEST_F(UiTest, ContainerAndControlKeepTheirOwnDimmedStates) {
  const int panel = LoadMain();
  QWidget *inner = ControlWidget(panel, MAIN_INNER);
  SetCtrlAttribute(panel, MAIN_GROUP, ATTR_DIMMED, 1);
  EXPECT_FALSE(inner->isEnabled());
  EXPECT_EQ(Attr(panel, MAIN_INNER, ATTR_DIMMED), 0);
  EXPECT_EQ(Attr(panel, MAIN_GROUP, ATTR_DIMMED), 1);
  SetCtrlAttribute(panel, MAIN_INNER, ATTR_DIMMED, 1);
  SetCtrlAttribute(panel, MAIN_GROUP, ATTR_DIMMED, 0);
  EXPECT_FALSE(inner->isEnabled());  // still dimmed by itself
  SetCtrlAttribute(panel, MAIN_INNER, ATTR_DIMMED, 0);
  EXPECT_TRUE(inner->isEnabled());
}

TEST_F(UiTest, VisibilityIsTheControlsOwn) {
  const int panel = LoadMain();
  HidePanel(panel);
  EXPECT_EQ(Attr(panel, MAIN_U16, ATTR_VISIBLE), 1);
  SetCtrlAttribute(panel, MAIN_U16, ATTR_VISIBLE, 0);
  EXPECT_EQ(Attr(panel, MAIN_U16, ATTR_VISIBLE), 0);
  DisplayPanel(panel);
  EXPECT_FALSE(ControlWidget(panel, MAIN_U16)->isVisible());
  SetCtrlAttribute(panel, MAIN_U16, ATTR_VISIBLE, 1);
  EXPECT_TRUE(ControlWidget(panel, MAIN_U16)->isVisible());
}

TEST_F(UiTest, PositionsArePanelCoordinatesAlsoInsideContainers) {
  const int panel = LoadMain();
  EXPECT_EQ(Attr(panel, MAIN_INNER, ATTR_LEFT), 310);  // group at 300, button at 10
  EXPECT_EQ(Attr(panel, MAIN_INNER, ATTR_TOP), 190);
  SetCtrlAttribute(panel, MAIN_INNER, ATTR_LEFT, 350);
  SetCtrlAttribute(panel, MAIN_INNER, ATTR_TOP, 200);
  EXPECT_EQ(ControlWidget(panel, MAIN_INNER)->pos(), QPoint(50, 30));
  EXPECT_EQ(Attr(panel, MAIN_INNER, ATTR_LEFT), 350);
  SetCtrlAttribute(panel, MAIN_PICTURE, ATTR_LEFT, 175);
  SetCtrlAttribute(panel, MAIN_PICTURE, ATTR_TOP, 6);
  EXPECT_EQ(ControlWidget(panel, MAIN_PICTURE)->pos(), QPoint(175, 6));
  SetCtrlAttribute(panel, MAIN_U16, ATTR_WIDTH, 77);
  SetCtrlAttribute(panel, MAIN_U16, ATTR_HEIGHT, 33);
  EXPECT_EQ(ControlWidget(panel, MAIN_U16)->size(), QSize(77, 33));
}

TEST_F(UiTest, ColoursAndFontAreSetAndReadBack) {
  const int panel = LoadMain();
  SetCtrlAttribute(panel, MAIN_TEXT, ATTR_TEXT_COLOR, VAL_WHITE);
  SetCtrlAttribute(panel, MAIN_TEXT, ATTR_TEXT_BGCOLOR, 0x0080FF);
  SetCtrlAttribute(panel, MAIN_TEXT, ATTR_TEXT_BOLD, 1);
  SetCtrlAttribute(panel, MAIN_TEXT, ATTR_TEXT_POINT_SIZE, 16);
  EXPECT_EQ(Attr(panel, MAIN_TEXT, ATTR_TEXT_COLOR), VAL_WHITE);
  EXPECT_EQ(Attr(panel, MAIN_TEXT, ATTR_TEXT_BGCOLOR), 0x0080FF);
  EXPECT_EQ(Attr(panel, MAIN_TEXT, ATTR_TEXT_BOLD), 1);
  EXPECT_EQ(Attr(panel, MAIN_TEXT, ATTR_TEXT_POINT_SIZE), 16);
  QWidget *label = ControlWidget(panel, MAIN_TEXT);
  EXPECT_TRUE(label->autoFillBackground());
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 255, 255));
  // Edit fields take the background on their text area.
  SetCtrlAttribute(panel, MAIN_TEXTBOX, ATTR_TEXT_BGCOLOR, VAL_RED);
  EXPECT_EQ(ControlWidget(panel, MAIN_TEXTBOX)->palette().color(QPalette::Base), QColor(255, 0, 0));
  EXPECT_EQ(Attr(panel, MAIN_TEXTBOX, ATTR_TEXT_BGCOLOR), VAL_RED);
  EXPECT_EQ(SetCtrlAttribute(panel, MAIN_TEXT, ATTR_TEXT_FONT, "NIApp"), 0);
  EXPECT_EQ(label->font().family(), ApplicationFont().family());
}

TEST_F(UiTest, FrameColourPaintsTheBanner) {
  const int panel = LoadMain();
  EXPECT_EQ(SetCtrlAttribute(panel, MAIN_BANNER, ATTR_FRAME_COLOR, 0x0080FF), 0);
  EXPECT_EQ(Attr(panel, MAIN_BANNER, ATTR_FRAME_COLOR), 0x0080FF);
  const QImage image = ControlWidget(panel, MAIN_BANNER)->grab().toImage();
  EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), QColor(0, 128, 255));
  EXPECT_EQ(SetCtrlAttribute(panel, MAIN_U16, ATTR_FRAME_COLOR, 0), UIE_BAD_ATTRIBUTE);
}

TEST_F(UiTest, UnsupportedAttributesAreRefused) {
  const int panel = LoadMain();
  EXPECT_EQ(SetCtrlAttribute(panel, MAIN_U16, ATTR_NUM_TRACES, 2), UIE_BAD_ATTRIBUTE);
  EXPECT_EQ(SetCtrlAttribute(panel, MAIN_TEXT, ATTR_YNAME, "y"), UIE_BAD_ATTRIBUTE);
  EXPECT_EQ(SetCtrlAttribute(panel, MAIN_TEXT, 9999, 1), UIE_BAD_ATTRIBUTE);
  int value = 0;
  EXPECT_EQ(GetCtrlAttribute(panel, MAIN_TEXT, ATTR_NUM_CURSORS, &value), UIE_BAD_ATTRIBUTE);
  EXPECT_EQ(SetCtrlAttribute(panel, 99, ATTR_VISIBLE, 1), UIE_BAD_CONTROL);
}

TEST_F(UiTest, NewTextMessageIsAPlainLabelThatFollowsItsText) {
  const int panel = LoadMain();
  const int first = NewCtrl(panel, CTRL_TEXT_MSG, "", 7, 15);
  const int second = NewCtrl(panel, CTRL_TEXT_MSG, "", 22, 15);
  EXPECT_GE(first, 1000);
  EXPECT_NE(first, second);
  auto *label = qobject_cast<QLabel *>(ControlWidget(panel, first));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->parentWidget(), PanelWidget(panel));
  EXPECT_EQ(label->pos(), QPoint(15, 7));
  EXPECT_TRUE(label->isVisible());
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
  SetCtrlAttribute(panel, first, ATTR_TEXT_FONT, "NIApp");
  SetCtrlVal(panel, first, "R-VIM");
  const int shortWidth = label->width();
  SetCtrlVal(panel, first, "R-VIM-ZEL4-Diruz");
  const int longWidth = label->width();
  EXPECT_GT(longWidth, shortWidth);
  SetCtrlAttribute(panel, first, ATTR_TEXT_POINT_SIZE, 16);
  EXPECT_GT(label->width(), longWidth);
  EXPECT_EQ(label->pos(), QPoint(15, 7));
  EXPECT_EQ(NewCtrl(panel, 77, "", 0, 0), UIE_BAD_VALUE_TYPE);
  EXPECT_EQ(NewCtrl(panel + 50, CTRL_TEXT_MSG, "", 0, 0), UIE_BAD_HANDLE);
}

TEST_F(UiTest, PictureLoadsAnImageAndKeepsItWhenAFileFails) {
  const int panel = LoadMain();
  QImage logo(30, 20, QImage::Format_RGB32);
  logo.fill(Qt::red);
  const QString path = dir_.filePath("logo.bmp");
  ASSERT_TRUE(logo.save(path, "BMP"));
  EXPECT_EQ(DisplayImageFile(panel, MAIN_PICTURE, path.toUtf8().constData()), 0);
  auto *picture = static_cast<QLabel *>(ControlWidget(panel, MAIN_PICTURE));
  EXPECT_EQ(picture->pixmap().size(), QSize(30, 20));
  const std::string missing = (dir_.path() + "/missing.bmp").toStdString();
  EXPECT_LT(DisplayImageFile(panel, MAIN_PICTURE, missing.c_str()), 0);
  const std::string junk = WriteFile("junk.bmp", "not an image");
  EXPECT_LT(DisplayImageFile(panel, MAIN_PICTURE, junk.c_str()), 0);
  EXPECT_EQ(picture->pixmap().size(), QSize(30, 20));
  EXPECT_EQ(picture->pixmap().toImage().pixelColor(5, 5), QColor(255, 0, 0));
}

}  // namespace
