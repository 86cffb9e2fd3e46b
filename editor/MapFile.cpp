// Writing and reading MAP files.
#include "editor/MapFile.h"

#include "editor/MapDocument.h"
#include "runtime/File.h"
#include "runtime/RtString.h"

namespace editor {
namespace {

constexpr int kMapFile = 0;

std::string BasePath() { return std::string(kMapFolder) + "\\" + Document.FileName; }

void WriteDocument() {
    WriteStoredString(kMapFile, Document.MapName);
    for (std::int32_t v : {Document.PlayerCount, Document.SlotCount, Document.BallCount,
                           Document.FieldWidth, Document.FieldHeight, Document.LastFieldX,
                           Document.LastFieldY}) {
        runtime::FileWriteLong(kMapFile, v);
    }
    // The main loop keeps the counts inside the arrays; should a caller not have, values
    // beyond them are written as 0 so that the file still matches its header.
    for (std::int64_t p = 1; p <= Document.PlayerCount; ++p) {
        const PlayerStart player = p <= kPlayersUpperBound
                                       ? Document.Players(static_cast<std::int32_t>(p))
                                       : PlayerStart{};
        runtime::FileWriteLong(kMapFile, player.X);
        runtime::FileWriteLong(kMapFile, player.Y);
        runtime::FileWriteLong(kMapFile, player.Direction);
    }
    if (Document.LastFieldY < 0) return;
    for (std::int64_t x = 0; x <= Document.LastFieldX; ++x) {
        for (std::int64_t y = 0; y <= Document.LastFieldY; ++y) {
            runtime::FileWriteLong(kMapFile, FieldInArray(x, y) ? Document.Fields(x, y) : 0);
        }
    }
}

}  // namespace

std::string MapFilePath() { return BasePath() + ".MAP"; }

void WriteStoredString(int file, std::string_view text) {
    std::int32_t n = runtime::StringLength(text);
    if (n > kMaxStoredStringLength) n = kMaxStoredStringLength;
    runtime::FileWriteWord(file, n);
    runtime::FileWriteData(file, text.data(), n);
}

std::string ReadStoredString(int file) {
    const std::int32_t n = runtime::FileReadWord(file);
    std::string text = runtime::StringSpace(n);
    runtime::FileReadData(file, text.data(), n);
    text.resize(static_cast<std::size_t>(runtime::StringLength(text)));
    return text;
}

int WriteMapFile() {
    const std::string target = MapFilePath();
    const std::string temporary = target + ".tmp";
    runtime::FolderCreate(kMapFolder);
    if (runtime::FileCreate(kMapFile, temporary) == 0) return 0;
    WriteDocument();
    const bool synced = runtime::FileSync(kMapFile) != 0;
    const bool closed = runtime::FileClose(kMapFile) != 0;
    if (!synced || !closed || runtime::FileReplace(temporary, target) == 0) {
        runtime::FileDelete(temporary);
        return 0;
    }
    return 1;
}

int ReadMapFile() {
    ResizeDocumentArrays();
    const bool opened = runtime::FileOpenRead(kMapFile, MapFilePath()) != 0;
    Document.MapName = ReadStoredString(kMapFile);
    for (std::int32_t* v : {&Document.PlayerCount, &Document.SlotCount, &Document.BallCount,
                            &Document.FieldWidth, &Document.FieldHeight, &Document.LastFieldX,
                            &Document.LastFieldY}) {
        *v = runtime::FileReadLong(kMapFile);
    }
    // A damaged file may announce more than the arrays hold, or far more than it has.
    const auto more = [&] { return opened && runtime::FileAtEnd(kMapFile) == 0; };
    const auto finish = [&] {
        runtime::FileClose(kMapFile);
        return opened ? 1 : 0;
    };
    for (std::int64_t p = 1; p <= Document.PlayerCount && more(); ++p) {
        PlayerStart player{};
        player.X = runtime::FileReadLong(kMapFile);
        player.Y = runtime::FileReadLong(kMapFile);
        player.Direction = runtime::FileReadLong(kMapFile);
        if (p <= kPlayersUpperBound) Document.Players(static_cast<std::int32_t>(p)) = player;
    }
    if (Document.LastFieldY < 0) return finish();
    for (std::int64_t x = 0; x <= Document.LastFieldX && more(); ++x) {
        for (std::int64_t y = 0; y <= Document.LastFieldY && more(); ++y) {
            const std::int32_t value = runtime::FileReadLong(kMapFile);
            if (FieldInArray(x, y)) Document.Fields(x, y) = value;
        }
    }
    return finish();
}

}  // namespace editor
