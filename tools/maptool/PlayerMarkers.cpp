// Player markers in bands of the map picture.
#include "tools/maptool/PlayerMarkers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "editor/MapDocument.h"
#include "editor/MapPicture.h"
#include "runtime/RtString.h"
#include "screen/Raster.h"

namespace maptool {
namespace {

using editor::Document;

// Rows above and below a marker's centre that its circle, dot and number may reach: the
// circle's radius, and the number's cell below its top (16 pixels) with room for overhangs.
constexpr std::int64_t kMarkerReach = 48;

// The view's values are 32-bit and wrap.
std::int32_t Wrap(std::int64_t v) { return static_cast<std::int32_t>(v); }

// 0x00BBGGRR as a display pixel, and as the text module's 0x00RRGGBB (the same value).
std::uint32_t Pixel(std::int32_t colour) {
    const auto c = static_cast<std::uint32_t>(colour);
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// Where the module may lie: beside the tool (the build), or in the installed library folder.
QStringList ModuleCandidates() {
    const QString tool = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    const QDir folder = QFileInfo(tool).absoluteDir();
    const QString name = QString::fromLatin1(kTextModuleFile);
    return {folder.filePath(name),
            QDir::cleanPath(folder.filePath(QStringLiteral(MAPTOOL_MODULE_DIR)) + "/" + name)};
}

}  // namespace

PlayerMarkers::~PlayerMarkers() {
    if (end_ != nullptr) end_();
    // The module stays mapped: the toolkit it started registers handlers that run at exit.
}

bool PlayerMarkers::Load(std::string& error) {
    for (const QString& candidate : ModuleCandidates()) {
        if (!QFileInfo::exists(candidate)) continue;
        module_.setFileName(candidate);
        if (!module_.load()) {
            // The system's own reason (in its language) follows the German sentence.
            error = "das Textmodul " + candidate.toStdString() +
                    " lässt sich nicht laden (" + module_.errorString().toStdString() + ")";
            return false;
        }
        draw_ = reinterpret_cast<TextModuleDrawFn>(module_.resolve(kTextModuleDraw));
        end_ = reinterpret_cast<TextModuleEndFn>(module_.resolve(kTextModuleEnd));
        if (draw_ == nullptr || end_ == nullptr) {
            error = candidate.toStdString() + " ist kein Textmodul von maptool";
            draw_ = nullptr;
            end_ = nullptr;
            return false;
        }
        return true;
    }
    error = "das Textmodul " + std::string(kTextModuleFile) +
            " ist nicht installiert (gesucht: " + ModuleCandidates().join(", ").toStdString() + ")";
    return false;
}

void PlayerMarkers::Draw(std::int64_t top, std::int32_t rows, std::uint32_t* band,
                         std::int64_t width) const {
    const screen::RasterTarget target{band, static_cast<std::int32_t>(width), rows,
                                      static_cast<std::int32_t>(width)};
    const std::int32_t count = std::min(Document.PlayerCount, editor::kPlayersUpperBound);
    for (std::int32_t p = 1; p <= count; ++p) {
        const editor::PlayerStart& player = Document.Players(p);
        // Scroll (0, 0): the marker's centre is the player's map pixel.
        const std::int32_t markerX = player.X;
        const std::int32_t markerY = player.Y;
        if (markerY + kMarkerReach < top || markerY - kMarkerReach >= top + rows) continue;
        const std::uint32_t colour =
            Pixel(p == 1 ? editor::kCurrentMarkerColour : editor::kMarkerColour);
        // Band coordinates: the same points, moved up by the band's first row.
        const auto y = [top](std::int64_t mapY) { return std::int64_t{Wrap(mapY)} - top; };
        const screen::RasterPaint outline{false, colour, std::nullopt};
        const screen::RasterPaint filled{false, colour, colour};
        const std::int32_t r = editor::kMarkerRadius;
        screen::RasterCircle(target, markerX, y(markerY), r, outline);
        // Lines stop short of their end point, which is then set on its own.
        const std::int32_t left = Wrap(std::int64_t{markerX} - r);
        const std::int32_t right = Wrap(std::int64_t{markerX} + r);
        screen::RasterLine(target, left, y(markerY), right, y(markerY), outline);
        screen::RasterSetPixel(target, right, y(markerY), colour);
        screen::RasterLine(target, markerX, y(std::int64_t{markerY} - r), markerX,
                           y(std::int64_t{markerY} + r), outline);
        screen::RasterSetPixel(target, markerX, y(std::int64_t{markerY} + r), colour);
        const editor::DotOffset dot = editor::DirectionDot(markerX, markerY, player.Direction);
        screen::RasterCircle(target, Wrap(std::int64_t{markerX} + dot.dx),
                             y(std::int64_t{markerY} + dot.dy), editor::kDotRadius, filled);
        if (draw_ != nullptr) {
            const std::string number = runtime::StringFromLong(p);
            draw_(band, static_cast<std::int32_t>(width), rows, static_cast<std::int32_t>(width),
                  Wrap(std::int64_t{markerX} + editor::kNumberOffsetX),
                  static_cast<std::int32_t>(y(std::int64_t{markerY} + editor::kNumberOffsetY)),
                  number.c_str(), colour);
        }
    }
}

}  // namespace maptool
