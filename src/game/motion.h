// The ship's motion: gravity and support, jumps, forward steps, steering, walls and gaps.
#pragma once

void compute_steps(float scale);
void vertical_motion();   // ACT_VERTICAL
void rise();              // ACT_RISE
void forward_motion();    // ACT_FORWARD: also the fly-off, the pickups, the finish and the wall stop
// The rest of the forward action once a level change's wait is over.
void forward_motion_after_wait();
void steer_left();    // ACT_STEER_LEFT
void steer_right();   // ACT_STEER_RIGHT
