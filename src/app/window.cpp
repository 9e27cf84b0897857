#include "app/window.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <vector>

#include "app/bindings.h"
#include "app/devices.h"
#include "app/frame.h"
#include "app/ghost.h"
#include "app/keeping.h"
#include "app/pace.h"
#include "app/recorder.h"
#include "app/setting_rows.h"
#include "app/settings.h"
#include "app/watch.h"
#include "app/world_picker.h"
#include "assets/icon.h"
#include "assets/startup.h"
#include "game/screen.h"
#include "game/state.h"
#include "pad/pad.h"
#include "platform/platform.h"
#include "render/render.h"
#include "sound/sound.h"
#include "sound/sounds.h"

// WM_CLASS: docks group the window under the desktop entry whose StartupWMClass
// names the class, QUOVIX_WINDOW_CLASS, set with the package's other names.
static const char WINDOW_INSTANCE[] = "quovix";
static const char WINDOW_CLASS[] = QUOVIX_WINDOW_CLASS;

// What the rules asked for that only the real process does: its end.
static void leave_when_asked() {
    if (!game.requests.exit)
        return;
    fflush(stdout);
    platform_exit(game.requests.exit_status);
}

// Enter on a records line: its game watched, or the line says why not.
static void watch_when_asked() {
    requests_t& requests = game.requests;
    if (!requests.watch_asked)
        return;
    requests.watch_asked = false;
    std::string path = records_line_replay(requests.watch_line), why;
    if (path.empty()) {
        records_view.note = "NO GAME TO WATCH ON THIS LINE";
    } else if (!watch_start(path, &why)) {
        fprintf(stderr, "quovix: %s: %s\n", path.c_str(), why.c_str());
        records_view.note = "CANNOT WATCH IT: " + why;
    }
}

// A frame played: run, kept (its command recorded, the bests, the ghost's path), then carried out.
static uint32_t play_frame(const command_t& cmd) {
    ghost_before_frame();
    run_frame(cmd);
    ghost_after_frame(presses(cmd, BUTTON_GHOST));
    recorder_frame(cmd);
    keep_frame();
    frame_done();
    leave_when_asked();
    list_records_when_asked();
    list_settings_when_asked();
    change_setting_when_asked();
    watch_when_asked();
    return game.events;
}

// Full screen or a window, and the size a window takes when full screen is left: the
// one asked for, or most of the screen.
static bool full_screen;
static int  windowed_width, windowed_height;
// Start-up has loaded the pictures: a new size loads the set nearest it.
static bool pictures_follow_size;

// A window manager takes the full-screen request; without one the window covers the
// screen itself. Leaving it restores the size before it, so the window's own size is
// asked for a frame later.
static bool window_size_due;

static void switch_full_screen() {
    full_screen = !full_screen;
    if (full_screen) {
        glutPositionWindow(0, 0);
        glutReshapeWindow(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
        glutFullScreen();
    } else {
        glutLeaveFullScreen();
        window_size_due = true;
    }
}

static void size_window_when_due() {
    if (!window_size_due || glutGet(GLUT_FULL_SCREEN))
        return;
    window_size_due = false;
    glutReshapeWindow(windowed_width, windowed_height);
}

static void reshape(int width, int height) {
    if (width <= 0 || height <= 0)
        return;
    bool changed = width != view_width || height != view_height;
    view_width = width;
    view_height = height;
    render_view_resized();
    if (changed && pictures_follow_size)
        load_pictures_for_view();
}

// The pointer hides in full screen, and in a window while keys or a controller are in use.
static struct {
    bool keys_in_use;
    bool hidden;
} pointer;

static void pointer_moved(int, int) { pointer.keys_in_use = false; }

static void hide_pointer_while_playing(const command_t& cmd) {
    if (cmd.pressed)
        pointer.keys_in_use = true;
    bool hide = full_screen || pointer.keys_in_use;
    if (hide != pointer.hidden)
        glutSetCursor(hide ? GLUT_CURSOR_NONE : GLUT_CURSOR_INHERIT);
    pointer.hidden = hide;
}

// Alt+Enter is the window's, not the menu's confirm.
static void keyboard_down(unsigned char key, int x, int y) {
    if ((glutGetModifiers() & GLUT_ACTIVE_ALT) && alt_key_down(key))
        return;
    key_down(key, x, y);
}

static void display() {
    bool      focused = platform_window_has_focus(platform_current_window());
    command_t cmd = build_command(focused, pad_poll(), platform_ticks_ms());
    size_window_when_due();
    if (presses(cmd, BUTTON_WINDOW)) {
        settings.full_screen = !settings.full_screen;
        settings_save();
    }
    if (settings.full_screen != full_screen)
        switch_full_screen();
    sound_set_volumes(settings.effects_volume, settings.engine_volume);
    renderer.large_text = settings.large_text;
    hide_pointer_while_playing(cmd);
    uint32_t events = watching() ? watch_frame(cmd) : play_frame(cmd);
    sound_frame(events, game.muted, engine_heard());
    platform_frame_events(events);
    if (game.flow.level_change_waiting)
        pace_held_frame();
    else
        pace_window_frame();
}

void start_window_game(const char* watch_path, const world_t* first_world) {
    render_make_text_stamps_later();
    name_the_keys();
    keeping_start();
    start_program();
    pictures_follow_size = true;
    recorder_forget();
    frame_done();
    leave_when_asked();
    if (first_world && !play_world_at_start(*first_world))
        platform_exit(1);
    std::string why;
    if (watch_path && !watch_start(watch_path, &why))
        fprintf(stderr, "quovix: %s: %s\n", watch_path, why.c_str());
}

// The class and icon go on before the window is first shown, so the desktop links it to its entry at once.
static void name_window() {
    std::vector<uint32_t> icon = read_icon(ICON_PATH);
    platform_name_window(platform_current_window(), WINDOW_INSTANCE, WINDOW_CLASS, icon.data(), icon.size());
}

bool open_window(int* argc, char** argv, int width, int height) {
    glutInit(argc, argv);
    full_screen = width == 0;
    // the session's own: saved only when the player switches
    settings.full_screen = full_screen;
    // the screen is measured once, before anything is sized from it; a window is the screen to the game
    view_width = full_screen ? glutGet(GLUT_SCREEN_WIDTH) : width;
    view_height = full_screen ? glutGet(GLUT_SCREEN_HEIGHT) : height;
    if (view_width <= 0 || view_height <= 0) {
        printf("ERROR: cannot determine the screen size (%dx%d)\n", view_width, view_height);
        return false;
    }
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    // without a window manager freeglut would leave the window one pixel in; a
    // window is placed by the window manager, or by -geometry +X+Y
    if (full_screen)
        glutInitWindowPosition(0, 0);
    // the window is made the screen's size, so the first frames draw for the size they keep
    glutInitWindowSize(view_width, view_height);
    windowed_width = full_screen ? view_width * 3 / 4 : width;
    windowed_height = full_screen ? view_height * 3 / 4 : height;
    glutCreateWindow(WINDOW_TITLE);
    name_window();
    if (full_screen)
        glutFullScreen();
    pace_window_start();
    pad_open();
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutPassiveMotionFunc(pointer_moved);
    glutMotionFunc(pointer_moved);
    glutKeyboardFunc(keyboard_down);
    glutKeyboardUpFunc(key_up);
    glutSpecialFunc(special_down);
    glutSpecialUpFunc(special_up);
    // a held key is one press: repeats would end a pause or start play again
    glutIgnoreKeyRepeat(1);
    sound_open(SOUND_FOLDER);
    return true;
}

void run_main_loop() { glutMainLoop(); }
