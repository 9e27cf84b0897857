// WAV files as the sound generator writes them: PCM, 16-bit, mono, SOUND_RATE.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The samples of a WAV file's bytes; false with the reason in *why for any other kind of file.
bool wav_read(const std::string& bytes, std::vector<int16_t>* samples, std::string* why);
// A WAV file's bytes holding the samples.
std::string wav_bytes(const std::vector<int16_t>& samples);
