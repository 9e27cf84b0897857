// The pads through SDL's game controllers: its mapping database names each device's buttons.
#include <SDL.h>
#include <cstdio>

#include "pad/pad.h"
#include "pad/pad_stick.h"

enum { MAX_PADS = 8 };

struct pad_t {
    SDL_GameController* controller;
    SDL_JoystickID      id;
    int                 stick_x, stick_y;   // the left stick's side, kept for its hysteresis
};

static pad_t pads[MAX_PADS];
static int   pads_open;
static bool  subsystem_up;

bool pad_open() {
    // the game owns its signals and its window: SDL only reads the controllers
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        fprintf(stderr, "quovix: no game controllers (%s); playing with the keyboard\n", SDL_GetError());
        return false;
    }
    subsystem_up = true;
    return true;
}

static int pad_index(SDL_JoystickID id) {
    for (int i = 0; i < pads_open; i++)
        if (pads[i].id == id)
            return i;
    return -1;
}

// Pads plugged in before start arrive here too, as SDL announces each one it finds.
static void plug_in(int device_index) {
    SDL_GameController* controller = SDL_GameControllerOpen(device_index);
    if (!controller)
        return;
    SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (pad_index(id) >= 0 || pads_open == MAX_PADS) {
        SDL_GameControllerClose(controller);
        return;
    }
    pads[pads_open++] = pad_t{controller, id, 0, 0};
}

static void unplug(SDL_JoystickID id) {
    int i = pad_index(id);
    if (i < 0)
        return;
    SDL_GameControllerClose(pads[i].controller);
    pads[i] = pads[--pads_open];
}

// Only the controllers' events are taken: anything else queued is another part's to read.
static void take_plug_events() {
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_CONTROLLERDEVICEADDED, SDL_CONTROLLERDEVICEREMOVED) > 0) {
        if (event.type == SDL_CONTROLLERDEVICEADDED)
            plug_in(event.cdevice.which);
        else if (event.type == SDL_CONTROLLERDEVICEREMOVED)
            unplug(event.cdevice.which);
    }
    // the state is read directly each frame; motion events would only pile up
    SDL_FlushEvents(SDL_JOYAXISMOTION, SDL_FINGERDOWN - 1);
}

static bool button(const pad_t& pad, SDL_GameControllerButton b) {
    return SDL_GameControllerGetButton(pad.controller, b) != 0;
}

static unsigned controls_of(pad_t* pad) {
    pad->stick_x = pad_stick_side(SDL_GameControllerGetAxis(pad->controller, SDL_CONTROLLER_AXIS_LEFTX), pad->stick_x);
    pad->stick_y = pad_stick_side(SDL_GameControllerGetAxis(pad->controller, SDL_CONTROLLER_AXIS_LEFTY), pad->stick_y);
    unsigned controls = 0;
    if (button(*pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT) || pad->stick_x < 0)
        controls |= PAD_LEFT;
    if (button(*pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) || pad->stick_x > 0)
        controls |= PAD_RIGHT;
    // the stick's y grows downward
    if (button(*pad, SDL_CONTROLLER_BUTTON_DPAD_UP) || pad->stick_y < 0)
        controls |= PAD_UP;
    if (button(*pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN) || pad->stick_y > 0)
        controls |= PAD_DOWN;
    if (button(*pad, SDL_CONTROLLER_BUTTON_A))
        controls |= PAD_SOUTH;
    if (button(*pad, SDL_CONTROLLER_BUTTON_START))
        controls |= PAD_START;
    if (button(*pad, SDL_CONTROLLER_BUTTON_BACK))
        controls |= PAD_BACK;
    if (button(*pad, SDL_CONTROLLER_BUTTON_B))
        controls |= PAD_EAST;
    if (button(*pad, SDL_CONTROLLER_BUTTON_X))
        controls |= PAD_WEST;
    return controls;
}

unsigned pad_poll() {
    if (!subsystem_up)
        return 0;
    SDL_PumpEvents();
    take_plug_events();
    unsigned controls = 0;
    for (int i = 0; i < pads_open; i++)
        controls |= controls_of(&pads[i]);
    return controls;
}

void pad_close() {
    while (pads_open > 0)
        unplug(pads[0].id);
    if (subsystem_up)
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    subsystem_up = false;
}

int pad_count() { return pads_open; }
