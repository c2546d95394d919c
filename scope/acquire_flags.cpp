#include "scope/acquire.h"

int stop_flag = 1;
int type = 1;
