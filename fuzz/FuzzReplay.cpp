// Runs a fuzz target over files without libFuzzer: each argument is a file or a folder whose
// files are run in name order; a folder that does not exist is skipped. Built with every
// compiler, so the seed corpora and the saved regression inputs run in each test build.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

int RunFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    std::fprintf(stderr, "running %s (%zu bytes)\n", path.c_str(), bytes.size());
    // A copy of exactly the input's size, so that a read past its end is caught.
    std::vector<std::uint8_t> input(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(input.data(), input.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
    int failures = 0;
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg = argv[i];
        std::error_code error;
        if (std::filesystem::is_directory(arg, error)) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(arg)) {
                if (entry.is_regular_file()) files.push_back(entry.path());
            }
            std::sort(files.begin(), files.end());
            for (const auto& file : files) {
                failures += RunFile(file);
                ++runs;
            }
        } else if (std::filesystem::exists(arg, error)) {
            failures += RunFile(arg);
            ++runs;
        } else {
            std::fprintf(stderr, "skipped %s: not there\n", argv[i]);
        }
    }
    std::fprintf(stderr, "%d inputs run\n", runs);
    return failures == 0 ? 0 : 1;
}
