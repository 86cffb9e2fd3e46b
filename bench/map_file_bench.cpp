// Writing and reading a 1000 x 1000 map through the MAP file procedures, against plain
// POSIX I/O of the same 4 MB with the same safety steps (temporary file, sync, rename).
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "BenchRatio.h"
#include "editor/MapDocument.h"
#include "editor/MapFile.h"
#include "runtime/File.h"

namespace {

struct Setup {
    Setup() {
        std::string pattern = (std::filesystem::temp_directory_path() / "mapbench-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
        std::filesystem::current_path(dir);
        runtime::FileLibraryInit();
        editor::ResetDocument();
        editor::Document.FileName = "Gross";
        editor::Document.LastFieldX = 999;
        editor::Document.LastFieldY = 999;
        for (int x = 0; x < 1000; ++x) {
            for (int y = 0; y < 1000; ++y) editor::Document.Fields(x, y) = (x * 31 + y) % 32;
        }
        editor::WriteMapFile();
        bytes = std::filesystem::file_size("Karten/Gross.MAP");
        data.assign(bytes, 7);
    }
    ~Setup() { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
    std::size_t bytes = 0;
    std::vector<char> data;
};

Setup& Fixture() {
    static Setup setup;
    return setup;
}

void PlainWrite(const std::vector<char>& data) {
    const int fd = ::open("plain.tmp", O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (::write(fd, data.data(), data.size()) != static_cast<ssize_t>(data.size())) std::abort();
    ::fsync(fd);
    ::close(fd);
    ::rename("plain.tmp", "plain.bin");
}

void PlainRead(std::vector<char>& data) {
    const int fd = ::open("plain.bin", O_RDONLY);
    if (::read(fd, data.data(), data.size()) != static_cast<ssize_t>(data.size())) std::abort();
    ::close(fd);
}

void MapFileRoundTrip(benchmark::State& state) {
    Fixture();
    for (auto _ : state) {
        editor::WriteMapFile();
        editor::ReadMapFile();
    }
    state.SetBytesProcessed(state.iterations() * 2 * Fixture().bytes);
}

void PlainRoundTrip(benchmark::State& state) {
    Setup& f = Fixture();
    for (auto _ : state) {
        PlainWrite(f.data);
        PlainRead(f.data);
    }
    state.SetBytesProcessed(state.iterations() * 2 * f.bytes);
}

// Reading alone has no sync in it: this shows the buffered layer's own cost.
void MapFileRead(benchmark::State& state) {
    Fixture();
    for (auto _ : state) editor::ReadMapFile();
    state.SetBytesProcessed(state.iterations() * Fixture().bytes);
}

void PlainRead(benchmark::State& state) {
    Setup& f = Fixture();
    PlainWrite(f.data);
    for (auto _ : state) PlainRead(f.data);
    state.SetBytesProcessed(state.iterations() * f.bytes);
}

BENCHMARK(MapFileRoundTrip)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(PlainRoundTrip)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(MapFileRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(PlainRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    return bench_support::RunWithRatios(
        argc, argv, {{"MapFileRoundTrip", "PlainRoundTrip"}, {"MapFileRead", "PlainRead"}},
        {2.0, 1.5});
}
