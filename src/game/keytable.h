// The key table: presses and releases as they arrive between frames, and the frame's view of them.
#pragma once

void key_press(int key, int source);
// A release of a press no frame has seen yet waits for the end of the next frame.
void key_release(int key, int source);
void keys_frame_begin();
void keys_frame_end();
// Every key let go of, from every source, held back or not.
void keys_release_all();
// Held this frame and not the last.
bool key_pressed_now(int key);
