// The brand banner: colours, logo and the texts placed on the main panel, and
// the toggle that shows the second panel.
#include "branding/branding.h"

#include <QFrame>
#include <QLabel>
#include <QList>
#include <cstring>
#include <string>

#include "tests/params/loaded_panels.h"

namespace {

constexpr int kWhite = 0xFFFFFF;
constexpr int kGrey = 0x808080;
constexpr int kBlue = 0x0080FF;

struct Placed {
  std::string text;
  int left, top, size;
};

class Branding : public LoadedPanels {
 protected:
  void SetUp() override {
    LoadedPanels::SetUp();
    std::strcpy(szSoftname, "R-VIM-ZEL4-Diruz");
    std::strcpy(szSoftversion, "V1.4");
    // Away from every brand's look, so that each change shows.
    SetCtrlAttribute(panelHandle, PANEL_BANNER, ATTR_FRAME_COLOR, 0x123456);
    SetCtrlAttribute(panelHandle, PANEL_LOGO, ATTR_LEFT, 1);
    SetCtrlAttribute(panelHandle, PANEL_LOGO, ATTR_TOP, 2);
    before_ = Labels();
  }

  static QList<QLabel *> Labels() {
    return PanelWidget(panelHandle)->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
  }
  // Texts created since SetUp, in the order they were made.
  QList<QLabel *> NewTexts() const {
    QList<QLabel *> made;
    for (QLabel *l : Labels()) {
      if (!before_.contains(l)) made.append(l);
    }
    return made;
  }
  static int Attr(int control, int attribute) {
    int v = -1;
    GetCtrlAttribute(panelHandle, control, attribute, &v);
    return v;
  }
  static QLabel *Logo() { return Widget<QLabel>(panelHandle, PANEL_LOGO); }

  void ExpectTexts(const std::vector<Placed> &expected, int bg, int fg) {
    const QList<QLabel *> made = NewTexts();
    ASSERT_EQ(made.size(), static_cast<qsizetype>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
      const QLabel *l = made[static_cast<qsizetype>(i)];
      const Placed &p = expected[i];
      EXPECT_EQ(l->text().toStdString(), p.text);
      EXPECT_EQ(l->textFormat(), Qt::PlainText) << p.text;
      EXPECT_EQ(l->pos(), QPoint(p.left, p.top)) << p.text;
      EXPECT_EQ(l->font().pixelSize(), p.size) << p.text;
      EXPECT_TRUE(l->font().bold()) << p.text;
      EXPECT_EQ(l->font().family(), QApplication::font().family()) << p.text;
      EXPECT_EQ(l->palette().color(QPalette::WindowText).rgb() & 0xFFFFFF, unsigned(fg)) << p.text;
      EXPECT_EQ(l->palette().color(QPalette::Window).rgb() & 0xFFFFFF, unsigned(bg)) << p.text;
      EXPECT_TRUE(l->autoFillBackground()) << p.text;
      EXPECT_FALSE(l->isHidden()) << p.text;
    }
  }

  QList<QLabel *> before_;
};

TEST_F(Branding, BrandTwoShowsVendrelOnBlue) {
  ShowLogo(2);
  EXPECT_EQ(Attr(PANEL_BANNER, ATTR_FRAME_COLOR), kBlue);
  EXPECT_EQ(Logo()->pos(), QPoint(175, 6));
  EXPECT_FALSE(Logo()->pixmap().isNull()) << "vd.bmp not loaded";
  ExpectTexts({{"Vendrel GmbH", 15, 7, 11},
               {"Tel. +49 (0)30 555 0100", 15, 22, 11},
               {"www.example.com", 15, 37, 11},
               {"R-VIM-ZEL4-Diruz", 220, 32, 16},
               {"V1.4", 380, 36, 11}},
              kBlue, kWhite);
}

TEST_F(Branding, BrandZeroHidesTheLogoAndShowsNameAndVersionGreyOnWhite) {
  ShowLogo(0);
  EXPECT_EQ(Attr(PANEL_BANNER, ATTR_FRAME_COLOR), kWhite);
  EXPECT_TRUE(Logo()->isHidden());
  EXPECT_EQ(Logo()->pos(), QPoint(1, 2));
  ExpectTexts({{"R-VIM-ZEL4-Diruz", 20, 20, 16}, {"V1.4", 180, 24, 11}}, kWhite, kGrey);
}

TEST_F(Branding, BrandOneIsWhiteOnBlueWithoutLogo) {
  ShowLogo(1);
  EXPECT_EQ(Attr(PANEL_BANNER, ATTR_FRAME_COLOR), kBlue);
  EXPECT_TRUE(Logo()->isHidden());
  ExpectTexts({{"R-VIM-ZEL4-Diruz", 20, 20, 16}, {"V1.4", 180, 24, 11}}, kBlue, kWhite);
}

TEST_F(Branding, BrandThreeShowsItsLogoRightOfNameAndVersion) {
  ShowLogo(3);
  EXPECT_EQ(Attr(PANEL_BANNER, ATTR_FRAME_COLOR), kWhite);
  EXPECT_EQ(Logo()->pos(), QPoint(470, 8));
  EXPECT_FALSE(Logo()->pixmap().isNull());
  ExpectTexts({{"R-VIM-ZEL4-Diruz", 20, 20, 16}, {"V1.4", 180, 24, 11}}, kWhite, kGrey);
}

TEST_F(Branding, BrandsFourAndSixCarryCompanyPhoneAndWebLines) {
  ShowLogo(4);
  EXPECT_EQ(Attr(PANEL_BANNER, ATTR_FRAME_COLOR), kBlue);
  EXPECT_EQ(Logo()->pos(), QPoint(470, 7));
  EXPECT_FALSE(Logo()->pixmap().isNull());
  QList<QLabel *> made = NewTexts();
  ASSERT_EQ(made.size(), 5);
  EXPECT_EQ(made[0]->text(), QStringLiteral("KORVANEX Sensor-GmbH"));
  EXPECT_TRUE(made[1]->text().startsWith(QStringLiteral("Tel.: ")));
  EXPECT_EQ(made[3]->pos(), QPoint(220, 32));

  before_ = Labels();
  ShowLogo(6);
  EXPECT_EQ(Attr(PANEL_BANNER, ATTR_FRAME_COLOR), kWhite);
  EXPECT_EQ(Logo()->pos(), QPoint(470, 7));
  made = NewTexts();
  ASSERT_EQ(made.size(), 5);
  EXPECT_EQ(made[0]->text(), QStringLiteral("PELMAR Industrieelektronik-GmbH"));
  EXPECT_TRUE(made[1]->text().startsWith(QStringLiteral("Tel.: ")));
  EXPECT_EQ(made[4]->pos(), QPoint(380, 36));
  EXPECT_EQ(made[4]->palette().color(QPalette::WindowText).rgb() & 0xFFFFFF, unsigned(kGrey));
}

TEST_F(Branding, UnknownBrandsAndBrandFiveChangeNothing) {
  for (int brand : {5, -1, 7}) {
    ShowLogo(brand);
    EXPECT_EQ(Attr(PANEL_BANNER, ATTR_FRAME_COLOR), 0x123456) << brand;
    EXPECT_EQ(Logo()->pos(), QPoint(1, 2)) << brand;
    EXPECT_FALSE(Logo()->isHidden()) << brand;
    EXPECT_TRUE(Logo()->pixmap().isNull()) << brand;
    EXPECT_TRUE(NewTexts().isEmpty()) << brand;
  }
}

TEST_F(Branding, ASecondBannerAddsItsTextsOverTheFirst) {
  ShowLogo(0);
  ShowLogo(2);
  EXPECT_EQ(NewTexts().size(), 7);
}

TEST_F(Branding, ToggleShowsAndHidesTheSecondPanel) {
  DisplayPanel(panelHandle);
  QWidget *toggle = Widget(panelHandle, PANEL_TOGBTNPARAII);
  QWidget *popup = PanelWidget(panelPopUp);
  ASSERT_NE(toggle, nullptr);
  ASSERT_FALSE(popup->isVisible());
  QTest::mouseClick(toggle, Qt::LeftButton);
  EXPECT_TRUE(popup->isVisible());
  EXPECT_EQ(Value(panelHandle, PANEL_TOGBTNPARAII), 1);
  QTest::mouseClick(toggle, Qt::LeftButton);
  EXPECT_FALSE(popup->isVisible());
  EXPECT_EQ(Value(panelHandle, PANEL_TOGBTNPARAII), 0);
}

}  // namespace
