// The program's panels for the figures that drive them without start-up.
#pragma once

// Loads both panels as start-up leaves them, with the callbacks bound and
// the start values set; those of an earlier figure are reused. False when
// the resource file cannot be loaded.
bool PanelsReady();
