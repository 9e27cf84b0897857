// The settings file's text: what is read is written back and reads again the same; what is
// refused leaves the settings as they were and says why.
#include <string>

#include "app/settings.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text((const char*)data, size), why;
    settings_t  read = settings_defaults(), kept = read;
    if (!settings_from_text(text, &read, &why)) {
        FUZZ_CHECK(!why.empty());
        FUZZ_CHECK(settings_to_text(read) == settings_to_text(kept));
        return 0;
    }
    std::string written = settings_to_text(read);
    settings_t  again;
    FUZZ_CHECK(settings_from_text(written, &again, &why));
    FUZZ_CHECK(settings_to_text(again) == written);
    return 0;
}
