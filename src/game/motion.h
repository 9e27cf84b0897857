// The ship's motion: gravity and support, jumps, forward steps, steering, walls and gaps.
#pragma once

void compute_steps(float scale);
void vertical_motion();   // action 1
void rise();              // action 13
void forward_step();      // action 4
void steer_left();        // action 2
void steer_right();       // action 3
