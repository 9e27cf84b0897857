// The game's clock, sleep and exit: the real ones, or a window-free run's fakes.
#pragma once
#include <cstdint>

int32_t process_ticks_ms();
// A fake clock moves by the time slept, as the real one does.
void process_sleep_ms(int32_t ms);
// Ends the process; a window-free run records the first exit and carries on.
void process_exit(int status);
