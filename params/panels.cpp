// Start-up assigns these; they live here, below every subsystem that reads them.
#include "params/panels.h"

char proj_dir[260];
char file_name[260] = "ZEL4para.cfg";
uint16_t xArray[256];
