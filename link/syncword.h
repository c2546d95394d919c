// The sync value: low byte of the request's sync word and the receive event
// character. Kept out of com232.h because <unistd.h> declares a function
// sync(); a file that includes both cannot see this variable. The assembler
// name keeps the symbol apart from the C library's function.
#pragma once

extern int sync __asm__("rvim_sync_word");
