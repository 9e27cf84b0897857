// Keys held this frame become action codes; the menu runs here.
#pragma once

void input_step();
