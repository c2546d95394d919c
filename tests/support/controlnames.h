// Names of the control constants of RVIMZEL4V14.h, for checks against the resource file.
#pragma once

struct ControlName {
  const char *name;  // constant name, also the control's object name in the file
  int panel;         // panel resource number: PANEL or POPUP
  int id;            // control id
};

extern const ControlName kControlNames[];
extern const int kControlNameCount;
