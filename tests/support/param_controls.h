// The parameter controls of both panels, main panel first, for comparing
// what the panels show with a file or a controller's sets.
#pragma once

#include "ui/RVIMZEL4V14.h"

struct ParamControl {
  bool onPopup;
  int control;
};
inline const ParamControl kParamControls[] = {
    {false, PANEL_POWERA},       {false, PANEL_POWERB},  {false, PANEL_REFA},
    {false, PANEL_REFB},         {false, PANEL_TOLA},    {false, PANEL_TOLB},
    {false, PANEL_HYSTERESIS},   {false, PANEL_HWMODE},  {true, POPUP_MAXMODE},
    {true, POPUP_AVERAGE},       {true, POPUP_POLARITY}, {true, POPUP_HOLD},
    {true, POPUP_DROP_EVALMODE}, {true, POPUP_TRIGLVLA}, {true, POPUP_TRIGLVLB},
    {true, POPUP_DROPTRIGMODE},  {true, POPUP_SDELAY},   {true, POPUP_OUTMODE},
    {true, POPUP_ANAMODE}};
