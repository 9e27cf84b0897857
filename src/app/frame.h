// The frame function: scale, input, camera, then the action list walked in order.
#pragma once

// Start-up: load, then the menu or play.
void run_startup();
void run_frame();
