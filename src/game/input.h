// Keys held this frame become action codes; the menu and Esc are handled here.
#pragma once

// True when the player confirmed play on the menu: start-up runs again.
bool input_step();
