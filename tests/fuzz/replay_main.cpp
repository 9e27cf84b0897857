// Replays fuzz inputs without libFuzzer: every file named, and every file in
// every folder named, goes through the target once. A missing folder is
// skipped (git keeps no empty crasher folders); no input at all is a failure.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

static bool replay_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) {
        fprintf(stderr, "cannot read %s\n", p.string().c_str());
        return false;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // the input is printed first so a crash names it
    fprintf(stderr, "replaying %s (%zu bytes)\n", p.string().c_str(), bytes.size());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return true;
}

int main(int argc, char** argv) {
    int  replayed = 0;
    bool ok = true;
    for (int i = 1; i < argc; i++) {
        fs::path        arg = argv[i];
        std::error_code ec;
        if (fs::is_directory(arg, ec)) {
            std::vector<fs::path> files;
            for (const auto& e : fs::recursive_directory_iterator(arg, ec))
                if (e.is_regular_file())
                    files.push_back(e.path());
            std::sort(files.begin(), files.end());
            for (const fs::path& f : files)
                replayed += replay_file(f) ? 1 : (ok = false, 0);
        } else if (fs::exists(arg, ec)) {
            replayed += replay_file(arg) ? 1 : (ok = false, 0);
        } else {
            fprintf(stderr, "no inputs at %s, skipped\n", argv[i]);
        }
    }
    printf("%d inputs replayed\n", replayed);
    return ok && replayed > 0 ? 0 : 1;
}
