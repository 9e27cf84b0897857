#include "sound/wav.h"

#include "sound/sounds.h"

static const int HEADER_BYTES = 44;

static uint32_t read_le(const std::string& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; i--)
        value = value << 8 | (uint8_t)bytes[at + i];
    return value;
}

static void put_le(std::string* bytes, uint32_t value, int size) {
    for (int i = 0; i < size; i++)
        bytes->push_back((char)(value >> (8 * i) & 0xff));
}

// The fmt chunk's body: PCM, one channel, the game's rate and sample size.
static bool format_fits(const std::string& bytes, size_t at, uint32_t size, std::string* why) {
    if (size < 16) {
        *why = "has a short format chunk";
        return false;
    }
    if (read_le(bytes, at, 2) != 1 || read_le(bytes, at + 2, 2) != 1 || read_le(bytes, at + 4, 4) != SOUND_RATE ||
        read_le(bytes, at + 14, 2) != SOUND_BITS) {
        *why = "is not 16-bit mono PCM at 22050 Hz";
        return false;
    }
    return true;
}

bool wav_read(const std::string& bytes, std::vector<int16_t>* samples, std::string* why) {
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
        *why = "is not a WAV file";
        return false;
    }
    bool format_seen = false;
    // chunks one after another, each its id, its size and its body padded to an even size
    for (size_t at = 12; at + 8 <= bytes.size();) {
        uint32_t size = read_le(bytes, at + 4, 4);
        size_t   body = at + 8;
        if (size > bytes.size() - body) {
            *why = "is cut short";
            return false;
        }
        if (bytes.compare(at, 4, "fmt ") == 0) {
            if (!format_fits(bytes, body, size, why))
                return false;
            format_seen = true;
        } else if (bytes.compare(at, 4, "data") == 0 && format_seen) {
            samples->resize(size / 2);
            for (size_t i = 0; i < samples->size(); i++)
                (*samples)[i] = (int16_t)read_le(bytes, body + 2 * i, 2);
            return true;
        }
        at = body + size + (size & 1);
    }
    *why = format_seen ? "has no samples" : "has no format chunk";
    return false;
}

std::string wav_bytes(const std::vector<int16_t>& samples) {
    uint32_t    data_size = (uint32_t)(samples.size() * 2);
    std::string bytes = "RIFF";
    put_le(&bytes, HEADER_BYTES - 8 + data_size, 4);
    bytes += "WAVEfmt ";
    put_le(&bytes, 16, 4);
    put_le(&bytes, 1, 2);   // PCM
    put_le(&bytes, 1, 2);   // mono
    put_le(&bytes, SOUND_RATE, 4);
    put_le(&bytes, SOUND_RATE * 2, 4);   // bytes a second
    put_le(&bytes, 2, 2);                // bytes a sample
    put_le(&bytes, SOUND_BITS, 2);
    bytes += "data";
    put_le(&bytes, data_size, 4);
    for (int16_t s : samples)
        put_le(&bytes, (uint16_t)s, 2);
    return bytes;
}
