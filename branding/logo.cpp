// The banner of each brand: colours, logo and the lines of text. Brands that
// carry a company line also show telephone and web lines and move the program
// name to the right of them.
#include "branding/branding.h"
#include "link/link.h"
#include "params/panels.h"
#include "platform/ui/userint.h"
#include "platform/util/appdirs.h"
#include "platform/util/utility.h"
#include "ui/RVIMZEL4V14.h"

char szSoftname[64];
char szSoftversion[64];

namespace {

constexpr int kWhite = 0xFFFFFF;
constexpr int kGrey = 0x808080;
constexpr int kBlue = 0x0080FF;
constexpr int kLineSize = 11;
constexpr int kNameSize = 16;

struct Brand {
  int banner;
  int text;
  const char *logo;  // nullptr: no logo, the picture is hidden
  int logoLeft;
  int logoTop;
  const char *company;  // nullptr: only name and version
  const char *phone;
  const char *web;
};

constexpr Brand kBrands[] = {
    {kWhite, kGrey, nullptr, 0, 0, nullptr, nullptr, nullptr},
    {kBlue, kWhite, nullptr, 0, 0, nullptr, nullptr, nullptr},
    {kBlue, kWhite, "vd.bmp", 175, 6, "Vendrel GmbH", "Tel. +49 (0)30 555 0100", "www.example.com"},
    {kWhite, kGrey, "quintravolt.bmp", 470, 8, nullptr, nullptr, nullptr},
    {kBlue, kWhite, "korvanex.bmp", 470, 7, "KORVANEX Sensor-GmbH", "Tel.: +49 (0)40 555 0142",
     "www.example.org"},
    {0, 0, nullptr, 0, 0, nullptr, nullptr, nullptr},  // 5: left as it is
    {kWhite, kGrey, "pelmar.bmp", 470, 7, "PELMAR Industrieelektronik-GmbH",
     "Tel.: +49 (0)89 555 0177", "www.example.net"},
};
constexpr int kBrandCount = sizeof(kBrands) / sizeof(kBrands[0]);
constexpr int kUnchangedBrand = 5;

// Bare bitmap names are looked up where the resource file lies.
void LoadLogo(const char *fileName) {
  char dir[kMaxPathname] = "";
  char path[kMaxPathname] = "";
  GetResourceDir(dir);
  MakePathname(dir, fileName, path);
  DisplayImageFile(panelHandle, PANEL_LOGO, path);
}

void ShowLogoPicture(const Brand &b) {
  if (b.logo == nullptr) {
    SetCtrlAttribute(panelHandle, PANEL_LOGO, ATTR_VISIBLE, 0);
    return;
  }
  SetCtrlAttribute(panelHandle, PANEL_LOGO, ATTR_TOP, b.logoTop);
  SetCtrlAttribute(panelHandle, PANEL_LOGO, ATTR_LEFT, b.logoLeft);
  LoadLogo(b.logo);
}

void ShowBrandTexts(const Brand &b) {
  if (b.company == nullptr) {
    ShowInfoText(b.banner, b.text, szSoftname, 20, 20, kNameSize);
    ShowInfoText(b.banner, b.text, szSoftversion, 180, 24, kLineSize);
    return;
  }
  ShowInfoText(b.banner, b.text, b.company, 15, 7, kLineSize);
  ShowInfoText(b.banner, b.text, b.phone, 15, 22, kLineSize);
  ShowInfoText(b.banner, b.text, b.web, 15, 37, kLineSize);
  ShowInfoText(b.banner, b.text, szSoftname, 220, 32, kNameSize);
  ShowInfoText(b.banner, b.text, szSoftversion, 380, 36, kLineSize);
}

}  // namespace

void ShowLogo(int brand) {
  if (brand < 0 || brand >= kBrandCount || brand == kUnchangedBrand) return;
  const Brand &b = kBrands[brand];
  SetCtrlAttribute(panelHandle, PANEL_BANNER, ATTR_FRAME_COLOR, b.banner);
  ShowLogoPicture(b);
  ShowBrandTexts(b);
}

void ShowInfoText(int bgColor, int textColor, const char *text, int left, int top, int pointSize) {
  const int ctrl = NewCtrl(panelHandle, CTRL_TEXT_MSG, "", top, left);
  SetCtrlAttribute(panelHandle, ctrl, ATTR_TEXT_FONT, "NIApp");
  SetCtrlAttribute(panelHandle, ctrl, ATTR_TEXT_BOLD, 1);
  SetCtrlAttribute(panelHandle, ctrl, ATTR_TEXT_BGCOLOR, bgColor);
  SetCtrlAttribute(panelHandle, ctrl, ATTR_TEXT_COLOR, textColor);
  SetCtrlAttribute(panelHandle, ctrl, ATTR_TEXT_POINT_SIZE, pointSize);
  SetCtrlVal(panelHandle, ctrl, text);
}

int CC_TOGBTNparaII(int panel, int control, int event, void *, int, int) {
  if (event != EVENT_VAL_CHANGED) return 0;
  int on = 0;
  GetCtrlVal(panel, control, &on);
  if (on == 0) {
    HidePanel(panelPopUp);
  } else {
    DisplayPanel(panelPopUp);
  }
  return 0;
}
