// Keys held this frame become action codes; the menu and Esc are handled here.
#pragma once

enum input_request_t {
    INPUT_GO_ON,
    INPUT_STARTUP,    // play confirmed on the menu: start-up runs again
    INPUT_NEW_GAME,   // Enter on the summary: a fresh game from the menu
};

input_request_t input_step();
