#include "game/input.h"

#include "app/frame.h"
#include "app/keys.h"
#include "app/platform.h"
#include "assets/startup.h"
#include "game/actions.h"
#include "game/motion.h"
#include "results/results.h"

// Queue a steering code in place of the opposite one.
static void queue_steer(int code, int opposite) {
    if (!actions_has(code)) {
        actions_remove(opposite);
        actions_add_front(code);
    }
}

// One steering key: its own rate climbs while held and falls back after, and
// the code keeps being queued while the ship still drifts. Rates are floats:
// compare with float bounds, or the idle rate 0.1f would read as above 0.1
// and drift the ship.
static void steer_key(int key, float* rate, float* other_rate, int code, int opposite) {
    if (key_table[key]) {
        *other_rate = 0.1f;
        if (*rate < 1.0f)
            *rate += 0.05;
        queue_steer(code, opposite);
    } else if (*rate > 0.1f) {
        *rate -= 0.05;
        queue_steer(code, opposite);
    }
}

static void jump_key() {
    if (key_table[KEY_SPACE] && !ship.falling && !ship.jump) {
        if (ship.on_wall == 0.0f && ship.on_ground == 1) {
            if (!ship.jump_descending)
                ship.jump = 1;
        } else if (ship.on_ground == 0 && ship.on_wall == 1.0f && !ship.jump_descending) {
            ship.jump = 1;
            ship.jump_apex = (float)(ship.jump_apex * 1.5);
        }
    }
    if (ship.jump == 1 && !actions_has(ACT_RISE))
        actions_add_front(ACT_RISE);
}

static void end_game_when_over() {
    if (!(flow.lives == 0 || (flow.current_level == 5 && flow.level_complete)))
        return;
    if (!flow.game_over)
        sum_results();
    flow.game_over = 1;
    static const int play_codes[] = {ACT_TRACK, ACT_SHIP, ACT_HUD, ACT_BACKGROUND, ACT_LEVEL_START, ACT_ON_TRACK};
    for (int code : play_codes)
        actions_remove(code);
    actions_add_front(ACT_SUMMARY);
}

static void menu_keys() {
    if (key_table[KEY_W])
        flow.menu_selection = 0;
    if (key_table[KEY_S])
        flow.menu_selection = 1;
    if (!key_table[KEY_ENTER] || flow.ship_drawn)
        return;
    if (flow.menu_selection == 1) {
        platform_exit(0);
    } else if (flow.menu_selection == 0) {
        flow.game_started = 1;
        actions_remove(ACT_MENU);
        startup();
    }
}

void input_step() {
    if (key_table[KEY_ESC]) {
        platform_exit(0);
        return;
    }
    steer_key(KEY_A, &ship.left_rate, &ship.right_rate, ACT_STEER_LEFT, ACT_STEER_RIGHT);
    steer_key(KEY_D, &ship.right_rate, &ship.left_rate, ACT_STEER_RIGHT, ACT_STEER_LEFT);
    if (!actions_has(ACT_FORWARD))
        actions_add_front(ACT_FORWARD);
    jump_key();
    if (!actions_has(ACT_VERTICAL))
        actions_add_front(ACT_VERTICAL);
    end_game_when_over();
    menu_keys();
}
