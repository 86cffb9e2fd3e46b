// Player markers in bands of the map picture.
#include "tools/maptool/PlayerMarkers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <string>
#include <string_view>

#include "editor/MapDocument.h"
#include "editor/MapPicture.h"

namespace maptool {
namespace {

using editor::Document;

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
                         std::int64_t width, std::int64_t scale) const {
    const screen::PixelView target{band, static_cast<std::int32_t>(width), rows,
                                   static_cast<std::int32_t>(width)};
    // Scroll (0, 0): a marker's centre is the pixel that shows the player's map pixel.
    const auto place = [scale](std::int64_t m) {
        return static_cast<std::int32_t>(editor::FloorDiv(m, scale));
    };
    const editor::MarkerPlacement placement{place, place, 1};
    editor::MarkerText text;
    if (draw_ != nullptr) {
        text = [&](std::int32_t x, std::int32_t y, std::string_view number, std::int32_t colour) {
            const std::string terminated(number);
            draw_(band, static_cast<std::int32_t>(width), rows, static_cast<std::int32_t>(width), x,
                  y, terminated.c_str(), editor::DisplayPixel(colour));
        };
    }
    editor::DrawPlayerMarkers(target, top, Document, placement, text);
}

}  // namespace maptool
