// The records file's text: what is read is written back the same and reads again
// as it was; what is refused says which line.
#include <string>

#include "fuzz_support.h"
#include "records/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text((const char*)data, size), why;
    records_t   records;
    if (!records_from_text(text, &records, &why)) {
        FUZZ_CHECK(why.rfind("line ", 0) == 0);
        FUZZ_CHECK(records.levels.empty() && records.games.empty());
        return 0;
    }
    std::string written = records_to_text(records);
    records_t   again;
    FUZZ_CHECK(records_from_text(written, &again, &why));
    FUZZ_CHECK(records_to_text(again) == written);
    FUZZ_CHECK(written.size() <= text.size());
    return 0;
}
