// maptool render: the map picture streamed band by band through the box filter, the markers
// drawn on bands of the scaled picture, into the PNG writer, into a temporary file that
// replaces the output only when the picture is complete.
#include <algorithm>
#include <vector>

#include "editor/DocumentRanges.h"
#include "editor/MapDocument.h"
#include "editor/MapReduction.h"
#include "screen/PngEncoder.h"
#include "tools/maptool/Commands.h"
#include "tools/maptool/Findings.h"
#include "tools/maptool/MapInput.h"
#include "tools/maptool/MapRenderer.h"
#include "tools/maptool/Messages.h"
#include "tools/maptool/PlayerMarkers.h"
#include "tools/maptool/Progress.h"
#include "tools/maptool/ToolFiles.h"

namespace maptool {
namespace {

using editor::Document;

// The widest and tallest 1:1 picture drawn: a band row stays at most 32 MB.
constexpr std::int64_t kMaxPictureSide = 8000000;
// The most pixels of the 1:1 picture drawn and filtered, whatever the scale: 1000 x 1000
// fields of 262 x 262 pixels, about a minute of work (64000 x 64000 take a few seconds).
constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 36;

std::string SizeText(PictureSize size) { return Number(size.width) + " x " + Number(size.height); }

}  // namespace

int RenderCommand(const std::string& map, const std::string& out, const RenderOptions& options) {
    MapInput input;
    if (!ReadMapInput(map, TileSetRead::Pixels, input)) return kInputProblem;
    if (OutputIsAnInput(out, {input.runtimePath, input.tileSetRuntimePath})) return kInputProblem;
    if (const std::string problem = TileSetProblem(input); !problem.empty()) {
        Message(map, problem);
        return kInputProblem;
    }
    // The map as the editor shows it right after loading.
    editor::CorrectDocument(Document);
    const PictureSize size = MapPictureSize();
    if (size.width == 0) {
        Message(map, "die Karte hat keine Felder, es gibt nichts zu zeichnen");
        return kInputProblem;
    }
    if (size.width > kMaxPictureSide || size.height > kMaxPictureSide) {
        Message(map, "die Karte ist " + SizeText(size) + " Pixel groß, mehr als " +
                         Number(kMaxPictureSide) + " je Seite werden nicht gezeichnet");
        return kInputProblem;
    }
    // Every pixel at 1:1 is drawn and filtered also when the picture is scaled down.
    if (size.width * size.height > kMaxPicturePixels) {
        Message(map, "die Karte ist " + SizeText(size) + " = " + Number(size.width * size.height) +
                         " Pixel groß, mehr als " + Number(kMaxPicturePixels) +
                         " werden nicht gezeichnet (auch verkleinert wird jedes Pixel gezeichnet)");
        return kInputProblem;
    }
    const std::int64_t scale =
        options.fit > 0
            ? std::max<std::int64_t>(
                  1, (std::max(size.width, size.height) + options.fit - 1) / options.fit)
            : options.scale;
    const PictureSize outSize = ScaledSize(size, scale);
    if (outSize.width > screen::kPngMaxSide || outSize.height > screen::kPngMaxSide) {
        Message(map, "das Bild wäre " + SizeText(outSize) + " Pixel groß, mehr als " +
                         Number(screen::kPngMaxSide) +
                         " je Seite; --scale oder --fit machen es kleiner");
        return kInputProblem;
    }

    PlayerMarkers markers;
    if (options.players) {
        std::string error;
        if (!markers.Load(error)) {
            Message(map, "die Spieler können nicht gezeichnet werden: " + error);
            return kInputProblem;
        }
    }
    const BandRenderer renderer(input.tileSet, options.zmask);
    const auto draw = [&] {
        screen::PngRowWriter writer;
        bool written = writer.Start(static_cast<std::int32_t>(outSize.width),
                                    static_cast<std::int32_t>(outSize.height), WriteOutput);
        editor::BoxFilter filter(size.width, size.height, scale);
        const std::int32_t bandRows = BandRows(size.width, Document.FieldHeight);
        std::vector<std::uint32_t> band(static_cast<std::size_t>(size.width * bandRows));
        // With markers, the scaled rows wait in a band of their own until the markers are drawn
        // on them.
        const std::int32_t scaledRows = options.players ? BandRows(outSize.width, 1) : 0;
        std::vector<std::uint32_t> scaled(static_cast<std::size_t>(outSize.width * scaledRows));
        std::int64_t scaledTop = 0;
        std::int32_t waiting = 0;
        const auto flush = [&] {
            markers.Draw(scaledTop, waiting, scaled.data(), outSize.width, scale);
            for (std::int32_t r = 0; written && r < waiting; ++r) {
                written =
                    writer.WriteRow(scaled.data() + static_cast<std::size_t>(r) * outSize.width);
            }
            scaledTop += waiting;
            waiting = 0;
        };
        Progress progress(map + " → " + out, size.height);
        for (std::int64_t top = 0; written && top < size.height; top += bandRows) {
            const auto rows =
                static_cast<std::int32_t>(std::min<std::int64_t>(bandRows, size.height - top));
            renderer.Draw(top, rows, band.data());
            for (std::int32_t r = 0; written && r < rows; ++r) {
                if (!filter.Add(band.data() + static_cast<std::size_t>(r) * size.width)) continue;
                if (!options.players) {
                    written = writer.WriteRow(filter.Row());
                    continue;
                }
                std::copy_n(filter.Row(), outSize.width,
                            scaled.data() + static_cast<std::size_t>(waiting) * outSize.width);
                if (++waiting == scaledRows) flush();
            }
            progress.Update(top + rows);
        }
        if (written && waiting > 0) flush();
        return written && writer.Finish();
    };
    return WriteOutputFile(out, draw) ? kSuccess : kInputProblem;
}

}  // namespace maptool
