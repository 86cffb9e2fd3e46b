// Reading a Tiled map with its tileset and image.
#include "tools/maptool/TiledFiles.h"

#include <algorithm>
#include <filesystem>

#include "screen/ImageHeader.h"
#include "screen/ImageRows.h"
#include "screen/PixelBuffer.h"
#include "screen/PixelConversion.h"
#include "screen/PngEncoder.h"
#include "tools/maptool/MapInput.h"
#include "tools/maptool/Messages.h"
#include "tools/maptool/TiledConvert.h"
#include "tools/maptool/TmjFormat.h"
#include "tools/maptool/TmxFormat.h"
#include "tools/maptool/ToolFiles.h"

namespace maptool {
namespace {

// A tile set is always written as PNG: an image in another format (BMP) is encoded anew from the
// pixels the editor reads from it. False when memory is short.
bool AsPng(std::vector<std::uint8_t>& image) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (image.size() >= 8 && std::equal(kSignature, kSignature + 8, image.begin())) return true;
    screen::ImageRows rows;
    screen::PixelBuffer pixels;
    if (!screen::ReadImageRows(image, 32, rows) || !pixels.Allocate(rows.width, rows.height)) {
        return false;
    }
    screen::ConvertImageRows(rows, pixels, 32, screen::kFormat32Bgr);
    std::vector<std::uint8_t> png;
    const std::span<const std::uint32_t> all(pixels.Row(0),
                                             static_cast<std::size_t>(rows.width) * rows.height);
    if (!EncodePng(rows.width, rows.height, all, png)) return false;
    image = std::move(png);  // the rows may point into the old bytes: they are done with
    return true;
}

bool EndsWith(std::string_view text, std::string_view end) {
    if (text.size() < end.size()) return false;
    for (std::size_t i = 0; i < end.size(); ++i) {
        char c = text[text.size() - end.size() + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        if (c != end[i]) return false;
    }
    return true;
}

// A path named inside a file, as a path from the current folder.
std::string Beside(const std::string& file, const std::string& named) {
    return PathIsAbsolute(named) ? named : FolderOf(file) + named;
}

// Whether a path named inside a file (resolved as `path`) lies in the map file's folder or
// below it; an absolute path or one that climbs above it with ".." does not.
bool InsideMapFolder(const std::string& mapFile, const std::string& named,
                     const std::string& path) {
    if (PathIsAbsolute(named)) return false;
    const std::filesystem::path folder = std::filesystem::path(FolderOf(mapFile) + ".");
    const std::filesystem::path relative =
        std::filesystem::path(path).lexically_normal().lexically_relative(
            folder.lexically_normal());
    return !relative.empty() && *relative.begin() != "..";
}

// Resolves a path named in `holder` and refuses it, naming it, when it leads outside the map
// file's folder and that is not allowed.
bool NamedPath(const std::string& mapFile, const std::string& holder, const std::string& named,
               bool outsideAllowed, std::string& path) {
    path = Beside(holder, named);
    if (outsideAllowed || InsideMapFolder(mapFile, named, path)) return true;
    Message(holder, "verweist auf \"" + named +
                        "\" außerhalb des Ordners der Karte; --externe-pfade erlaubt das");
    return false;
}

// Reads a file that another file names; false, with a message, when it cannot be had.
bool ReadNamed(const std::string& file, std::int64_t limit, std::vector<std::uint8_t>& bytes) {
    const std::optional<std::string> path = RuntimePath(file);
    if (!path) {
        Message(file, kPathNotNameable);
        return false;
    }
    switch (runtime::FileReadWhole(*path, bytes, limit)) {
        case runtime::WholeFile::Missing:
            Message(file, OpenProblemText(runtime::FileLastError()));
            return false;
        case runtime::WholeFile::TooLarge:
            Message(file, "ist größer als " + Number(limit) + " Bytes");
            return false;
        case runtime::WholeFile::Read:
            break;
    }
    return true;
}

// Reads an external tileset into `tileset`; its image is then named from the tileset's folder.
bool ReadExternalTileset(const std::string& file, TiledTileset& tileset) {
    std::vector<std::uint8_t> bytes;
    if (!ReadNamed(file, kTiledFileLimit, bytes)) return false;
    std::string error;
    const bool xml =
        TiledFormatOf(file) == TiledFormat::Xml ||
        (TiledFormatOf(file) == TiledFormat::None && !bytes.empty() && bytes[0] == '<');
    if (!(xml ? ReadTsx(bytes, tileset, error) : ReadTsj(bytes, tileset, error))) {
        Message(file, error);
        return false;
    }
    return true;
}

}  // namespace

bool EncodePng(std::int32_t width, std::int32_t height, std::span<const std::uint32_t> pixels,
               std::vector<std::uint8_t>& png) {
    png.clear();
    screen::PngRowWriter writer;
    bool written = writer.Start(width, height, [&png](const std::uint8_t* bytes, std::size_t count) {
        png.insert(png.end(), bytes, bytes + count);
        return true;
    });
    for (std::int32_t y = 0; written && y < height; ++y) {
        written = writer.WriteRow(pixels.data() + static_cast<std::size_t>(y) * width);
    }
    return written && writer.Finish();
}

TiledFormat TiledFormatOf(std::string_view path) {
    if (EndsWith(path, ".tmx") || EndsWith(path, ".tsx")) return TiledFormat::Xml;
    if (EndsWith(path, ".tmj") || EndsWith(path, ".tsj") || EndsWith(path, ".json")) {
        return TiledFormat::Json;
    }
    return TiledFormat::None;
}

bool ReadTiledInput(const std::string& file, bool outsideAllowed, TiledInput& input) {
    std::vector<std::uint8_t> bytes;
    if (!ReadNamed(file, kTiledFileLimit, bytes)) return false;
    std::string error;
    const bool read =
        IsXmlMapFile(file) ? ReadTmx(bytes, input.map, error) : ReadTmj(bytes, input.map, error);
    if (!read) {
        Message(file, error);
        return false;
    }
    TiledMap& map = input.map;
    // A map of another kind is refused as such, whatever its tilesets are.
    if (map.orientation != "orthogonal") {
        Message(file, "die Karte ist " + map.orientation + ", nicht orthogonal");
        return false;
    }
    input.files = {file};
    // The tilesets the tile layers use: only their images are read.
    std::vector<bool> used(map.tilesets.size(), false);
    const TileFinder finder(map, input.pictures);
    for (const TiledLayer& layer : map.layers) {
        std::uint32_t last = 0;
        for (const std::uint32_t cell : layer.cells) {
            if (cell == 0 || cell == last) continue;
            last = cell;
            const std::int32_t index = finder.TilesetOf(cell & ~kTiledFlipBits);
            if (index >= 0) used[static_cast<std::size_t>(index)] = true;
        }
    }
    input.pictures.resize(map.tilesets.size());
    std::int64_t pixelBudget = screen::kMaxImagePixels;
    for (std::size_t i = 0; i < map.tilesets.size(); ++i) {
        TiledTileset& tileset = map.tilesets[i];
        std::string holder = file;  // the file that names the images
        if (!tileset.source.empty()) {
            if (!NamedPath(file, file, tileset.source, outsideAllowed, holder) ||
                !ReadExternalTileset(holder, tileset)) {
                return false;
            }
            input.files.push_back(holder);
        }
        const bool single = map.tilesets.size() == 1 && !tileset.image.empty();
        if (!used[i] && !single) continue;
        TilesetPictures& pictures = input.pictures[i];
        pictures.loaded = true;
        if (tileset.image.empty() && tileset.tileImages.empty()) {
            Message(holder, "der Kachelsatz \"" + tileset.name + "\" hat kein Bild");
            return false;
        }
        const auto decode = [&](const std::string& named, ArgbPicture& picture,
                                std::vector<std::uint8_t>& image, std::string& imageFile) {
            if (!NamedPath(file, holder, named, outsideAllowed, imageFile) ||
                !ReadNamed(imageFile, kTileSetFileLimit, image)) {
                return false;
            }
            input.files.push_back(imageFile);
            std::string problem;
            if (!DecodeArgb(image, tileset.trans, pixelBudget, picture, problem)) {
                Message(imageFile, problem);
                return false;
            }
            return true;
        };
        std::vector<std::uint8_t> image;
        std::string imageFile;
        if (!tileset.image.empty()) {
            if (!decode(tileset.image, pictures.image, image, imageFile)) return false;
            if (single) {
                input.image = std::move(image);
                input.imageFile = imageFile;
                input.imageWidth = pictures.image.width;
                input.imageHeight = pictures.image.height;
            }
            continue;
        }
        for (const TiledTileset::TileImage& tile : tileset.tileImages) {
            pictures.tiles.emplace_back(tile.id, ArgbPicture{});
            if (!decode(tile.image, pictures.tiles.back().second, image, imageFile)) return false;
        }
    }
    if (!input.image.empty()) {
        if (!AsPng(input.image)) {
            Message(input.imageFile, "kann nicht als PNG geschrieben werden: der Speicher reicht nicht");
            return false;
        }
    }
    return true;
}

}  // namespace maptool
