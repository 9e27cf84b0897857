#include "sound/wav.h"

#include "platform/bytes.h"
#include "sound/sounds.h"

static const int HEADER_BYTES = 44;

static const uint8_t* at(const std::string& bytes, size_t offset) { return (const uint8_t*)bytes.data() + offset; }

// The fmt chunk's body: PCM, one channel, the game's rate and sample size.
static bool format_fits(const std::string& bytes, size_t body, uint32_t size, std::string* why) {
    if (size < 16) {
        *why = "has a short format chunk";
        return false;
    }
    if (read_le16(at(bytes, body)) != 1 || read_le16(at(bytes, body + 2)) != 1 ||
        read_le32(at(bytes, body + 4)) != SOUND_RATE || read_le16(at(bytes, body + 14)) != SOUND_BITS) {
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
    for (size_t chunk = 12; chunk + 8 <= bytes.size();) {
        uint32_t size = (uint32_t)read_le32(at(bytes, chunk + 4));
        size_t   body = chunk + 8;
        if (size > bytes.size() - body) {
            *why = "is cut short";
            return false;
        }
        if (bytes.compare(chunk, 4, "fmt ") == 0) {
            if (!format_fits(bytes, body, size, why))
                return false;
            format_seen = true;
        } else if (bytes.compare(chunk, 4, "data") == 0 && format_seen) {
            samples->resize(size / 2);
            for (size_t i = 0; i < samples->size(); i++)
                (*samples)[i] = read_le16(at(bytes, body + 2 * i));
            return true;
        }
        chunk = body + size + (size & 1);
    }
    *why = format_seen ? "has no samples" : "has no format chunk";
    return false;
}

std::string wav_bytes(const std::vector<int16_t>& samples) {
    uint32_t    data_size = (uint32_t)(samples.size() * 2);
    std::string bytes(HEADER_BYTES + data_size, '\0');
    uint8_t*    p = (uint8_t*)bytes.data();
    bytes.replace(0, 4, "RIFF");
    write_le32(p + 4, HEADER_BYTES - 8 + data_size);
    bytes.replace(8, 8, "WAVEfmt ");
    write_le32(p + 16, 16);
    write_le16(p + 20, 1);   // PCM
    write_le16(p + 22, 1);   // mono
    write_le32(p + 24, SOUND_RATE);
    write_le32(p + 28, SOUND_RATE * 2);   // bytes a second
    write_le16(p + 32, 2);                // bytes a sample
    write_le16(p + 34, SOUND_BITS);
    bytes.replace(36, 4, "data");
    write_le32(p + 40, data_size);
    for (size_t i = 0; i < samples.size(); i++)
        write_le16(p + HEADER_BYTES + 2 * i, (uint16_t)samples[i]);
    return bytes;
}
