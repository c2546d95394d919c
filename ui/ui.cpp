#include "ui/ui.h"

int panelHandle = 0;
int panelPopUp = 0;
