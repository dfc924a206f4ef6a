// Replays a fuzz target's corpus as an ordinary test: every file of the directories (or files) named on
// the command line goes through LLVMFuzzerTestOneInput once. Builds without libFuzzer (gcc) still run
// every committed input this way, and the sanitizer build runs them under AddressSanitizer and
// UndefinedBehaviorSanitizer. An empty corpus is a failure: a target without inputs tests nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsOf(const fs::path& where) {
    std::vector<fs::path> out;
    if (fs::is_directory(where)) {
        for (const auto& entry : fs::directory_iterator(where)) {
            if (entry.is_regular_file()) out.push_back(entry.path());
        }
        std::sort(out.begin(), out.end());
    } else if (fs::is_regular_file(where)) {
        out.push_back(where);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& path : InputsOf(argv[i])) {
            std::ifstream in(path, std::ios::binary);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
            // A copy of exactly the input's size, so that AddressSanitizer sees a read past its end.
            std::vector<uint8_t> exact(bytes);
            LLVMFuzzerTestOneInput(exact.empty() ? nullptr : exact.data(), exact.size());
            ++replayed;
        }
    }
    std::printf("replayed %zu inputs\n", replayed);
    return replayed == 0 ? 1 : 0;
}
