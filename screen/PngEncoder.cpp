// The PNG row writer. libpng reports errors by jumping back to the armed point in each call.
//
// A picture of tiles repeats each tile's rows many times along a row, well inside deflate's
// window: unfiltered rows and zlib's fast matching (level 3) find those repeats and come out
// smaller than with libpng's default adaptive filters, in a fifth of the time; that matters
// for pictures of a gigabyte.
#include "screen/PngEncoder.h"

#include <png.h>

#include <csetjmp>
#include <vector>

namespace screen {

struct PngRowWriter::State {
    png_structp png = nullptr;
    png_infop info = nullptr;
    Sink sink;
    bool failed = false;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t rowsWritten = 0;
    std::vector<std::uint8_t> row;  // one row as R, G, B

    ~State() {
        if (png != nullptr) png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    }
};

namespace {

void WriteToSink(png_structp png, png_bytep bytes, png_size_t count) {
    auto* state = static_cast<PngRowWriter::State*>(png_get_io_ptr(png));
    if (!state->sink(bytes, count)) png_error(png, "sink failed");
}

void FlushNothing(png_structp) {}

[[noreturn]] void JumpBack(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void Quiet(png_structp, png_const_charp) {}

}  // namespace

PngRowWriter::PngRowWriter() = default;
PngRowWriter::~PngRowWriter() = default;

bool PngRowWriter::Start(std::int32_t width, std::int32_t height, Sink sink) {
    state_ = std::make_unique<State>();
    State& s = *state_;
    s.failed = true;
    if (width < 1 || height < 1 || width > kPngMaxSide || height > kPngMaxSide) return false;
    s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpBack, Quiet);
    if (s.png == nullptr) return false;
    s.info = png_create_info_struct(s.png);
    if (s.info == nullptr) return false;
    s.sink = std::move(sink);
    s.width = width;
    s.height = height;
    s.row.resize(static_cast<std::size_t>(width) * 3);
    if (setjmp(png_jmpbuf(s.png)) != 0) return false;
    png_set_write_fn(s.png, &s, WriteToSink, FlushNothing);
    png_set_user_limits(s.png, kPngMaxSide, kPngMaxSide);
    png_set_IHDR(s.png, s.info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(s.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(s.png, 3);
    png_write_info(s.png, s.info);
    s.failed = false;
    return true;
}

bool PngRowWriter::WriteRow(const std::uint32_t* pixels) {
    if (!state_ || state_->failed) return false;
    State& s = *state_;
    if (s.rowsWritten >= s.height) return false;
    std::uint8_t* out = s.row.data();
    for (std::int32_t x = 0; x < s.width; ++x, out += 3) {
        const std::uint32_t p = pixels[x];
        out[0] = static_cast<std::uint8_t>(p >> 16);
        out[1] = static_cast<std::uint8_t>(p >> 8);
        out[2] = static_cast<std::uint8_t>(p);
    }
    s.failed = true;
    if (setjmp(png_jmpbuf(s.png)) != 0) return false;
    png_write_row(s.png, s.row.data());
    ++s.rowsWritten;
    s.failed = false;
    return true;
}

bool PngRowWriter::Finish() {
    if (!state_ || state_->failed || state_->rowsWritten != state_->height) return false;
    State& s = *state_;
    s.failed = true;
    if (setjmp(png_jmpbuf(s.png)) != 0) return false;
    png_write_end(s.png, nullptr);
    s.failed = false;
    return true;
}

}  // namespace screen
