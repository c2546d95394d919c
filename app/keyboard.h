// The operator's keys beside the buttons' mnemonics: Esc stops a run or a
// recording, Ctrl+Q closes the program.
#pragma once

void BindOperatorKeys();
