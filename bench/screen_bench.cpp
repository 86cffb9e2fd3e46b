// The map view's hot paths against their plain baselines from the same run:
// SpriteDisplay of a whole 500 x 500 view of 64 x 64 tiles against one memcpy of its pixels,
// and SpriteLoad of a large PNG tile set against bare libpng decoding of the same file.
#include <png.h>

#include <QWidget>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "BenchRatio.h"
#include "platform/QtApp.h"
#include "screen/ImageDecoder.h"
#include "screen/PngDecoder.h"
#include "screen/Screen.h"
#include "screen/Sprite.h"

namespace {

constexpr int kTile = 64;
constexpr int kTiles = 128;  // the tile set: 128 tiles wide, picture and Z-mask rows
constexpr int kSetWidth = kTile * kTiles, kSetHeight = 2 * kTile;
constexpr int kView = 500;
constexpr int kScroll = 30;  // fields cut at every edge of the view

// A tile set with some texture in it: a colour per tile, a gradient, and noise.
void WriteTileSet(const char* path) {
    std::vector<png_byte> pixels(static_cast<std::size_t>(kSetWidth) * kSetHeight * 3);
    std::uint32_t seed = 12345;
    for (int y = 0; y < kSetHeight; ++y) {
        for (int x = 0; x < kSetWidth; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int tile = x / kTile, noise = static_cast<int>((seed >> 16) & 15);
            png_byte* p = &pixels[(static_cast<std::size_t>(y) * kSetWidth + x) * 3];
            p[0] = static_cast<png_byte>(tile * 37 + y + noise);
            p[1] = static_cast<png_byte>(tile * 91 + (x % kTile) * 2 + noise);
            p[2] = static_cast<png_byte>(tile * 13 + (x ^ y) % 32);
        }
    }
    std::FILE* file = std::fopen(path, "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, kSetWidth, kSetHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kSetHeight; ++y)
        png_write_row(png, &pixels[static_cast<std::size_t>(y) * kSetWidth * 3]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

struct Setup {
    Setup() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "screenbench-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
        std::filesystem::current_path(dir);
        std::filesystem::create_directory("Karten");
        WriteTileSet("Karten/Gross.PNG");
        platform::EnsureApplication();
        window = std::make_unique<QWidget>();
        window->resize(760, 560);
        screen::ImageDecoderInit();
        screen::SpriteInit();
        screen::DecoderPngRegister();
        screen::ScreenOpenWindowed(reinterpret_cast<std::intptr_t>(window.get()), 4, 4, kView,
                                   kView, 0, 0, 0);
        if (screen::SpriteLoad(0, "Karten\\Gross.PNG") == 0) std::abort();
        from.assign(static_cast<std::size_t>(kView) * kView, 0x123456);
        to.assign(from.size(), 0);
    }
    ~Setup() {
        screen::SpriteEnd();
        std::filesystem::remove_all(dir);
    }
    std::filesystem::path dir;
    std::unique_ptr<QWidget> window;
    std::vector<std::uint32_t> from, to;
};

Setup& Fixture() {
    static Setup setup;
    return setup;
}

// The fields that meet the view, as the map view draws them; field (x, y) shows tile
// (7x + 3y) mod `tiles`.
void DrawView(int tiles) {
    for (int fy = 0; fy * kTile - kScroll < kView; ++fy) {
        for (int fx = 0; fx * kTile - kScroll < kView; ++fx) {
            screen::SpriteClip(0, ((fx * 7 + fy * 3) % tiles) * kTile, 0, kTile, kTile);
            screen::SpriteDisplay(0, fx * kTile - kScroll, fy * kTile - kScroll);
        }
    }
}

// Every field a different tile of the large set: the source rows come from all over it.
void SpriteDisplayView(benchmark::State& state) {
    Fixture();
    for (auto _ : state) {
        DrawView(kTiles);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kView * kView * 4);
}

// A map of a few tile kinds, as maps usually are.
void SpriteDisplayViewFewTiles(benchmark::State& state) {
    Fixture();
    for (auto _ : state) {
        DrawView(8);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kView * kView * 4);
}

void MemcpyView(benchmark::State& state) {
    Setup& f = Fixture();
    for (auto _ : state) {
        std::memcpy(f.to.data(), f.from.data(), f.from.size() * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kView * kView * 4);
}

void SpriteLoadTileSet(benchmark::State& state) {
    Fixture();
    for (auto _ : state) {
        if (screen::SpriteLoad(0, "Karten\\Gross.PNG") == 0) state.SkipWithError("load failed");
    }
}

struct Reader {
    const std::uint8_t* data;
    std::size_t at;
};

void ReadMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    std::memcpy(out, reader->data + reader->at, length);
    reader->at += length;
}

// The same file read into memory and decoded by libpng into rows of its own layout.
void LibpngDecodeTileSet(benchmark::State& state) {
    Fixture();
    for (auto _ : state) {
        std::FILE* file = std::fopen("Karten/Gross.PNG", "rb");
        std::fseek(file, 0, SEEK_END);
        const auto size = static_cast<std::size_t>(std::ftell(file));
        std::fseek(file, 0, SEEK_SET);
        auto data = std::make_unique_for_overwrite<std::uint8_t[]>(size);
        if (std::fread(data.get(), 1, size, file) != size) std::abort();
        std::fclose(file);
        Reader reader{data.get(), 0};
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        png_set_read_fn(png, &reader, ReadMemory);
        png_read_info(png, info);
        png_read_update_info(png, info);
        const std::size_t rowBytes = png_get_rowbytes(png, info);
        const png_uint_32 height = png_get_image_height(png, info);
        auto rows = std::make_unique_for_overwrite<std::uint8_t[]>(rowBytes * height);
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, rows.get() + y * rowBytes, nullptr);
        png_destroy_read_struct(&png, &info, nullptr);
        benchmark::DoNotOptimize(rows.get());
    }
}

BENCHMARK(SpriteDisplayView)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(SpriteDisplayViewFewTiles)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(MemcpyView)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(SpriteLoadTileSet)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(LibpngDecodeTileSet)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    // The screen needs a window; without a display the toolkit's offscreen one serves.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return bench_support::RunWithRatios(argc, argv,
                                        {{"SpriteDisplayView", "MemcpyView"},
                                         {"SpriteDisplayViewFewTiles", "MemcpyView"},
                                         {"SpriteLoadTileSet", "LibpngDecodeTileSet"}},
                                        {1.5, 1.5, 1.2});
}
