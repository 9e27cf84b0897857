// No controllers: the tools and the window-free runner play from the keys they are given.
#include "pad/pad.h"

bool pad_open() { return false; }
void pad_poll() {}
void pad_close() {}
int  pad_count() { return 0; }
