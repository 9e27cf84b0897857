// Full-screen pictures: menu, background and the summary with its points; the pause over the scene.
#include <GL/freeglut.h>
#include <algorithm>
#include <cstdio>

#include "game/points.h"
#include "game/screen.h"
#include "game/state.h"
#include "game/timer.h"
#include "platform/platform.h"
#include "render/numbers.h"
#include "render/render.h"
#include "render/render_local.h"
#include "render/text.h"

// The grey of a full-screen picture that could not be loaded.
static const float MISSING_PICTURE_GREY = 0.08f;
// Pixels from one centred line down to the next.
static const int CENTRED_LINE_STEP = 36;
// The summary's lines about the bests, smaller than the designed text beside them.
#define SMALL_FONT GLUT_BITMAP_HELVETICA_12
static const int SMALL_LINE_STEP = 16;
// The menu's second line of keys, as a share of the height from the bottom.
static const double MENU_SECOND_KEYS_HEIGHT = 0.125;
// The summary's line that tells a win from a loss, as a share of the height from the bottom.
static const double SUMMARY_OUTCOME_HEIGHT = 0.69;

static void full_screen_picture(uint32_t texture, double near_plane) {
    double w = view_width, h = view_height;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, w, 0, h, near_plane, PICTURE_FAR);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    // a picture that is missing leaves a dark screen, so white words on it still read
    if (texture == 0) {
        glColor3f(MISSING_PICTURE_GREY, MISSING_PICTURE_GREY, MISSING_PICTURE_GREY);
    } else {
        glColor3f(1, 1, 1);
        texture_ready(texture);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
    }
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(0, 0, 0);
    glTexCoord2f(0, 1);
    glVertex3f(0, (float)h, 0);
    glTexCoord2f(1, 1);
    glVertex3f((float)w, (float)h, 0);
    glTexCoord2f(1, 0);
    glVertex3f((float)w, 0, 0);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

// A line in the middle of the screen, whatever the camera.
static void centred_line(const char* text, double y) {
    glRasterPos2d((view_width - text_width(text)) / 2.0, y);
    draw_text(text);
}

// Without its picture the menu still names both choices, the one Enter takes marked.
static void menu_words() {
    bool play = game.flow.menu_selection == 0;
    glDisable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    centred_line(play ? "> PLAY GAME <" : "PLAY GAME", view_height * 0.55);
    centred_line(play ? "EXIT GAME" : "> EXIT GAME <", view_height * 0.55 - CENTRED_LINE_STEP);
    glEnable(GL_DEPTH_TEST);
}

// Text over whatever is drawn: screen pixels, no light, no depth.
static void begin_flat_text() {
    push_screen_pixels();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
}

static void end_flat_text() {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    pop_screen_pixels();
}

// The records' lines from the top down, left-aligned at a tenth of the width; as many
// as fit above the keys' line, scrolled so the chosen one shows.
static void records_lines(const std::vector<std::string>& lines, double top, int chosen) {
    const double step = CENTRED_LINE_STEP * 0.75;
    int          fit = std::max(1, (int)((top - 110) / step));
    int          first = std::max(0, chosen - fit + 1);
    double       y = top;
    for (int i = first; i < (int)lines.size() && i < first + fit; i++, y -= step) {
        glRasterPos2d(view_width * 0.1, y);
        draw_text(((i == chosen ? "> " : "  ") + lines[i]).c_str());
    }
}

static void draw_records_screen() {
    full_screen_picture(render_assets.background_tex, SCREEN_PICTURE_NEAR);
    pop_screen_pixels();
    begin_flat_text();
    centred_line("RECORDS AND REPLAYS", view_height - 50.0);
    records_lines(records_view.lines, view_height - 100.0, game.flow.records_selection);
    if (!records_view.note.empty())
        centred_line(records_view.note.c_str(), 70);
    centred_line("W S CHOOSE    ENTER WATCH    ESC BACK", 30);
    end_flat_text();
}

// Each row's name and its value in two columns, scrolled as the records' lines are.
static void settings_rows(double top, int chosen) {
    const std::vector<std::string>& names = records_view.setting_names;
    const double                    step = CENTRED_LINE_STEP * 0.7 * (renderer.large_text ? 1.6 : 1.0);
    int                             fit = std::max(1, (int)((top - 95) / step));
    int                             first = std::max(0, chosen - fit + 1);
    double                          y = top;
    for (int i = first; i < (int)names.size() && i < first + fit; i++, y -= step) {
        glRasterPos2d(view_width * 0.12, y);
        draw_text(((i == chosen ? "> " : "  ") + names[i]).c_str());
        glRasterPos2d(view_width * 0.62, y);
        if (i < (int)records_view.setting_values.size())
            draw_text(records_view.setting_values[i].c_str());
    }
}

// Over the menu or over play, on the background picture either way.
static void draw_settings_screen() {
    full_screen_picture(render_assets.background_tex, SCREEN_PICTURE_NEAR);
    pop_screen_pixels();
    begin_flat_text();
    centred_line("SETTINGS", view_height - 50.0);
    settings_rows(view_height - 100.0, game.flow.settings_selection);
    if (!records_view.setting_note.empty())
        centred_line(records_view.setting_note.c_str(), 70);
    centred_line(records_view.settings_keys.c_str(), 30);
    end_flat_text();
}

// The worlds a line each, the chosen one's note under them, as the records' lines are shown.
static void draw_worlds_screen() {
    full_screen_picture(render_assets.background_tex, SCREEN_PICTURE_NEAR);
    pop_screen_pixels();
    begin_flat_text();
    centred_line("WORLDS", view_height - 50.0);
    int chosen = game.flow.worlds_selection;
    records_lines(records_view.world_lines, view_height - 100.0, chosen);
    if (chosen >= 0 && chosen < (int)records_view.world_notes.size())
        centred_line(records_view.world_notes[chosen].c_str(), 90);
    if (!records_view.world_refusal.empty())
        centred_line(records_view.world_refusal.c_str(), 60);
    centred_line(records_view.worlds_keys.c_str(), 30);
    end_flat_text();
}

void draw_menu() {
    if (game_screen() == SCREEN_WORLDS) {
        draw_worlds_screen();
        return;
    }
    if (game_screen() == SCREEN_SETTINGS) {
        draw_settings_screen();
        return;
    }
    if (game_screen() == SCREEN_RECORDS) {
        draw_records_screen();
        return;
    }
    uint32_t picture = game.flow.menu_selection == 0 ? render_assets.playgame_tex : render_assets.exitgame_tex;
    full_screen_picture(picture, SCREEN_PICTURE_NEAR);
    if (picture == 0)
        menu_words();
    pop_screen_pixels();
    begin_flat_text();
    // the first under the picture's own hint of the menu keys, the next above it
    const double heights[] = {20.0, view_height * MENU_SECOND_KEYS_HEIGHT};
    for (size_t i = 0; i < records_view.menu_keys.size() && i < 2; i++)
        centred_line(records_view.menu_keys[i].c_str(), heights[i]);
    end_flat_text();
}

void draw_background_reference() {
    full_screen_picture(render_assets.background_tex, BACKGROUND_NEAR);
    glEnable(GL_LIGHTING);
    pop_screen_pixels();
}

// " x 1000 = ": what one of a line's things counts, as its label shows it
static std::string times_label(int32_t points_each) { return " x " + format_int(points_each) + " = "; }

static void small_line(const std::string& text, double x, double y) {
    glRasterPos2d(x, y);
    for (char c : text)
        glutBitmapCharacter(SMALL_FONT, c);
}

// This game's figures beside the bests, small, in the picture's top left corner, so the
// designed summary stays as it was.
static void summary_bests() {
    if (records_view.summary_lines.empty())
        return;
    begin_flat_text();
    double top = view_height - 24.0;
    for (const std::string& line : records_view.summary_lines) {
        small_line(line, 16, top);
        top -= SMALL_LINE_STEP;
    }
    end_flat_text();
}

// Under the picture's words, which say the same for both: a game won has lives left.
static void summary_outcome() {
    begin_flat_text();
    centred_line(game.flow.lives > 0 ? "ALL FIVE LEVELS DONE" : "NO LIVES LEFT", view_height * SUMMARY_OUTCOME_HEIGHT);
    end_flat_text();
}

void draw_summary() {
    const game_flow_t& flow = game.flow;
    const results_t&   results = game.results;
    full_screen_picture(render_assets.gameover_tex, SCREEN_PICTURE_NEAR);
    pop_screen_pixels();
    summary_outcome();
    glPushMatrix();
    glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);
    summary_points_t p = summary_points(flow.current_level, flow.lives, results.total_stars, results.total_time);
    float            x = (float)(flow.text_anchor[0] - 0.003);
    float            y = (float)(flow.text_anchor[1] - 0.01);
    const float*     a = flow.text_anchor;
    draw_labelled_pair(p.levels_completed, p.level_points, x, y, (float)(a[2] + 0.001),
                       "Levels Completed : ", times_label(POINTS_PER_LEVEL).c_str());
    std::string time_start = "Total Time : " + format_int(TIME_POINTS_START) + " - (";
    std::string time_rate = "ms x " + format_real(TIME_POINTS_PER_MS) + ") = ";
    draw_labelled_pair(results.total_time, p.time_points_shown, x, y, (float)(a[2] - 0.0005), time_start.c_str(),
                       time_rate.c_str());
    draw_labelled_pair(results.total_stars, p.star_points, x, y, (float)(a[2] - 0.002),
                       "Total Stars : ", times_label(POINTS_PER_STAR).c_str());
    draw_labelled_pair(flow.lives, p.live_points, x, y, (float)(a[2] - 0.0035),
                       "Live Points : ", times_label(POINTS_PER_LIFE).c_str());
    glRasterPos3f(x, y, (float)(a[2] - 0.005));
    draw_text("Total Points : ");
    draw_text(format_int(p.total_points).c_str());
    glRasterPos3f(x, y, (float)(a[2] - 0.01));
    draw_text("PRESS ESC KEY TO EXIT");
    glRasterPos3f(x, y, (float)(a[2] - 0.011));
    draw_text("PRESS ENTER KEY TO PLAY AGAIN");
    glEnable(GL_LIGHTING);
    glPopMatrix();
    summary_bests();
}

void draw_screen_notes() {
    screen_t screen = game_screen();
    bool     sound_shown = screen != SCREEN_SUMMARY && screen != SCREEN_RECORDS;
    if (records_view.watch_line.empty() && !(game.muted && sound_shown))
        return;
    begin_flat_text();
    if (!records_view.watch_line.empty())
        centred_line(records_view.watch_line.c_str(), 16);
    // bottom right, clear of the menu's line and the watching's
    if (game.muted && sound_shown) {
        int width = glutBitmapLength(SMALL_FONT, (const unsigned char*)records_view.sound_off.c_str());
        small_line(records_view.sound_off, view_width - width - 16.0, 16);
    }
    end_flat_text();
}

// The level change's last part, which names the level to come.
static const int GET_READY_MS = 1000;
// The band the level change's words stand on, dark so they read over any picture.
static const float LEVEL_CHANGE_BAND_GREY = 0.06f;

static void dark_band(double bottom, double top) {
    glColor3f(LEVEL_CHANGE_BAND_GREY, LEVEL_CHANGE_BAND_GREY, LEVEL_CHANGE_BAND_GREY);
    glRectd(0, bottom, view_width, top);
    glColor3f(1, 1, 1);
}

// "TIME 21.35 S     STARS 7": the level just finished, as the results keep it.
static std::string level_figures() {
    char time[32];
    snprintf(time, sizeof time, "%.2f", (double)game.flow.level_time / 1000.0);
    return std::string("TIME ") + time + " S     STARS " + format_int(game.flow.stars_collected);
}

void draw_level_change() {
    const game_flow_t& flow = game.flow;
    bool               ready =
        flow.current_level < LEVEL_COUNT && tick_sub(flow.level_change_end_ms, game.cmd.now_ms) <= GET_READY_MS;
    begin_flat_text();
    double middle = view_height * 0.5;
    dark_band(middle - CENTRED_LINE_STEP * 1.5, middle + CENTRED_LINE_STEP * 1.5);
    if (ready) {
        centred_line("GET READY", middle + 6);
        centred_line(("LEVEL " + format_int(flow.current_level + 1)).c_str(), middle + 6 - CENTRED_LINE_STEP);
    } else {
        centred_line(("LEVEL " + format_int(flow.current_level) + " COMPLETE").c_str(), middle + 6);
        centred_line(level_figures().c_str(), middle + 6 - CENTRED_LINE_STEP);
    }
    end_flat_text();
}

void draw_paused() {
    if (game_screen() == SCREEN_SETTINGS) {
        draw_settings_screen();
        return;
    }
    // over the track and the ship, however near they are
    begin_flat_text();
    // above the ship, which stays in view
    centred_line("PAUSED", view_height * 0.62);
    centred_line(PAUSED_HINT, view_height * 0.62 - CENTRED_LINE_STEP);
    centred_line(records_view.pause_keys.c_str(), view_height * 0.62 - 2 * CENTRED_LINE_STEP);
    end_flat_text();
}
