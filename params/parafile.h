// The parameter file: 32 lines, one unsigned decimal value each, the full set
// followed by the channel-B set as CopyVarsToPP builds them.
#pragma once

// Asks the operator for a parameter file in proj_dir (default "ZEL4para.cfg")
// with the given popup button (VAL_OK_BUTTON to save, VAL_LOAD_BUTTON to
// load); the choice goes to file_name. Returns the popup's result: 0 when no
// file was chosen.
int SelectParaFile(int buttonLabel);
// Panels to the file named by file_name; the old file is replaced whole or
// not at all. The outcome is shown in the status line.
void SendParaToFile();
// Asks for a file and reads it into the parameter variables. A file that
// cannot be read whole changes no variable; the status line says why.
void ReadParaFromFile();
