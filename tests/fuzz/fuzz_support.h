// Helpers for the fuzz targets: inputs as read-only C files, checks that abort.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#ifdef _WIN32
// Windows has no fmemopen: the bytes are read back from a temporary file.
inline FILE* open_bytes(std::vector<uint8_t>*, const uint8_t* data, size_t size) {
    FILE* f = tmpfile();
    if (f) {
        fwrite(data, 1, size, f);
        rewind(f);
    }
    return f;
}
#else
// A read-only FILE* over a copy of the bytes; the copy must outlive the FILE*.
// fmemopen refuses a zero-sized buffer, so an empty input is a file of no name.
inline FILE* open_bytes(std::vector<uint8_t>* copy, const uint8_t* data, size_t size) {
    if (size == 0)
        return tmpfile();
    copy->assign(data, data + size);
    return fmemopen(copy->data(), copy->size(), "rb");
}
#endif

// A broken promise of the code under test: a crash the fuzzer keeps.
#define FUZZ_CHECK(cond)                                                                                               \
    do {                                                                                                               \
        if (!(cond)) {                                                                                                 \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);                                   \
            abort();                                                                                                   \
        }                                                                                                              \
    } while (0)
