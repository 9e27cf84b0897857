// Makes the game's sounds: each a few tones (sine or square sweeps, noise bursts)
// under short envelopes, written as WAV. Fixed seeds and no clock: the same bytes on every build.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "sound/sounds.h"
#include "sound/wav.h"

enum wave_t { SINE, SQUARE, NOISE };

// One tone: its time in the sound, its pitch sweeping from one frequency to the
// other (for noise, the brightness), and how loud it starts, 0 to 1.
struct tone_t {
    int    start_ms, length_ms;
    double from_hz, to_hz;
    wave_t wave;
    double level;
};

struct recipe_t {
    const char*         name;
    int                 length_ms;
    std::vector<tone_t> tones;
};

// Notes of the tunes, in Hz.
const double C5 = 523.25, E5 = 659.26, G5 = 783.99, A5 = 880.0, B5 = 987.77, C6 = 1046.5, E6 = 1318.5, G6 = 1568.0;
const double G4 = 392.0, E4 = 329.63, C4 = 261.63;

static const recipe_t recipes[] = {
    {"jump.wav", 180, {{0, 180, 260, 620, SQUARE, 0.22}, {0, 180, 260, 620, SINE, 0.25}}},
    {"high_jump.wav", 260, {{0, 260, 330, 1050, SQUARE, 0.2}, {0, 260, 660, 2100, SINE, 0.12}}},
    {"land.wav", 110, {{0, 110, 110, 55, SINE, 0.5}, {0, 60, 900, 300, NOISE, 0.3}}},
    {"star.wav",
     320,
     {{0, 160, B5, B5, SINE, 0.4}, {70, 250, E6, E6, SINE, 0.4}, {70, 200, 2 * E6, 2 * E6, SINE, 0.08}}},
    {"heart.wav",
     380,
     {{0, 150, C5, C5, SINE, 0.35},
      {70, 150, E5, E5, SINE, 0.35},
      {140, 150, G5, G5, SINE, 0.35},
      {210, 170, C6, C6, SINE, 0.4}}},
    {"life_lost.wav", 560, {{0, 560, 620, 90, SQUARE, 0.25}, {0, 420, 2500, 200, NOISE, 0.25}}},
    {"level.wav",
     560,
     {{0, 120, G4, G4, SQUARE, 0.18},
      {110, 120, C5, C5, SQUARE, 0.18},
      {220, 120, E5, E5, SQUARE, 0.18},
      {330, 230, G5, G5, SQUARE, 0.2},
      {330, 230, G5 / 2, G5 / 2, SINE, 0.2}}},
    {"game_won.wav",
     600,
     {{0, 110, C5, C5, SINE, 0.3},
      {90, 110, E5, E5, SINE, 0.3},
      {180, 110, G5, G5, SINE, 0.3},
      {270, 110, C6, C6, SINE, 0.3},
      {360, 240, E6, E6, SINE, 0.3},
      {360, 240, G6, G6, SINE, 0.15},
      {360, 240, C5, C5, SQUARE, 0.1}}},
    {"game_lost.wav",
     600,
     {{0, 180, G4, G4, SQUARE, 0.2}, {180, 180, E4, E4, SQUARE, 0.2}, {360, 240, C4, C4 * 0.94, SQUARE, 0.22}}},
    {"menu_move.wav", 60, {{0, 60, A5, A5, SQUARE, 0.15}}},
    {"menu_confirm.wav", 150, {{0, 70, E5, E5, SQUARE, 0.18}, {60, 90, A5, A5, SQUARE, 0.18}}},
    {"pause.wav", 120, {{0, 120, 720, 480, SINE, 0.35}}},
    {"resume.wav", 120, {{0, 120, 480, 720, SINE, 0.35}}},
};

// A fixed sequence: noise is the same in every build.
static uint32_t noise_state;
static double   next_noise() {
      noise_state = noise_state * 1664525u + 1013904223u;
      return (double)(noise_state >> 8) / (1 << 23) - 1.0;
}

// Quick to rise so it starts crisp, falling away to nothing at the tone's end.
static double envelope(double t, double length) {
    const double ATTACK = 0.004;
    if (t < ATTACK)
        return t / ATTACK;
    double left = 1.0 - t / length;
    return left * left;
}

static void add_tone(const tone_t& tone, std::vector<double>* mix) {
    double phase = 0, low = 0;
    noise_state = 12345;
    int first = tone.start_ms * SOUND_RATE / 1000, count = tone.length_ms * SOUND_RATE / 1000;
    for (int i = 0; i < count && first + i < (int)mix->size(); i++) {
        double t = (double)i / SOUND_RATE, length = (double)count / SOUND_RATE;
        double hz = tone.from_hz + (tone.to_hz - tone.from_hz) * t / length;
        phase += 2 * M_PI * hz / SOUND_RATE;
        double v = 0;
        if (tone.wave == SINE)
            v = sin(phase);
        else if (tone.wave == SQUARE)
            v = tanh(4 * sin(phase));   // its edges rounded off: a square without the buzz
        else {
            // one pole low-pass: the frequency sets how bright the hiss is
            double a = 1 - exp(-2 * M_PI * hz / SOUND_RATE);
            low += a * (next_noise() - low);
            v = low * 2;
        }
        (*mix)[first + i] += tone.level * envelope(t, length) * v;
    }
}

static std::vector<int16_t> to_samples(const std::vector<double>& mix) {
    std::vector<int16_t> samples(mix.size());
    for (size_t i = 0; i < mix.size(); i++) {
        double v = mix[i] > 1 ? 1 : mix[i] < -1 ? -1 : mix[i];
        samples[i] = (int16_t)lrint(v * 32767);
    }
    return samples;
}

// The hum under play: a low tone and its octave, a whole number of turns in one
// second so the loop joins without a click, quiet under the effects.
static std::vector<int16_t> engine_hum() {
    std::vector<double> mix(SOUND_RATE);
    for (int i = 0; i < SOUND_RATE; i++) {
        double t = (double)i / SOUND_RATE;
        double wobble = 1 + 0.25 * sin(2 * M_PI * 6 * t);
        mix[i] = 0.045 * wobble * sin(2 * M_PI * 55 * t) + 0.025 * sin(2 * M_PI * 110 * t) +
                 0.012 * tanh(3 * sin(2 * M_PI * 165 * t));
    }
    return to_samples(mix);
}

static bool write_sound(const std::string& path, const std::vector<int16_t>& samples) {
    std::string bytes = wav_bytes(samples), why;
    if (platform_write_file(path.c_str(), bytes.data(), bytes.size(), &why))
        return true;
    fprintf(stderr, "quovix-gen-sounds: %s %s\n", path.c_str(), why.c_str());
    return false;
}

// The recipe for an event's file; every event with a file must have one.
static const recipe_t* recipe_named(const char* name) {
    for (const recipe_t& r : recipes)
        if (std::string(r.name) == name)
            return &r;
    return nullptr;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: quovix-gen-sounds FOLDER\n");
        return 2;
    }
    std::string folder = std::string(argv[1]) + "/";
    for (int e = 0; e < EV_COUNT; e++) {
        const char* name = sound_file((game_event_t)e);
        if (!name)
            continue;
        const recipe_t* recipe = recipe_named(name);
        if (!recipe) {
            fprintf(stderr, "quovix-gen-sounds: no recipe for %s\n", name);
            return 1;
        }
        std::vector<double> mix(recipe->length_ms * SOUND_RATE / 1000);
        for (const tone_t& tone : recipe->tones)
            add_tone(tone, &mix);
        if (!write_sound(folder + name, to_samples(mix)))
            return 1;
    }
    return write_sound(folder + ENGINE_SOUND, engine_hum()) ? 0 : 1;
}
