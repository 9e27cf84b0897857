// No controllers: the tools and the window-free runner play from the buttons they are given.
#include "pad/pad.h"

bool     pad_open() { return false; }
unsigned pad_poll() { return 0; }
void     pad_close() {}
int      pad_count() { return 0; }
