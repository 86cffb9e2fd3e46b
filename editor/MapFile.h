// MAP files: the whole document, little-endian, no magic, no version.
//
//   int16 L, L bytes MapName, int32 PlayerCount, SlotCount, BallCount, FieldWidth,
//   FieldHeight, LastFieldX, LastFieldY, then players 1..PlayerCount (X, Y, Direction),
//   then the fields column by column: for x 0..LastFieldX, for y 0..LastFieldY.
//
// The file is "Karten\" + FileName + ".MAP"; its tile set is the PNG of the same base name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace editor {

// Folder of the maps, relative to the current directory.
inline constexpr std::string_view kMapFolder = "Karten";

// Longest MapName a file can hold: the length is a signed 16-bit word.
inline constexpr std::int32_t kMaxStoredStringLength = 32767;

// Writes a length word and the text's bytes; texts longer than 32767 bytes are cut there.
void WriteStoredString(int file, std::string_view text);

// Reads a length word and that many bytes; a negative length reads as "". Bytes the file no
// longer has stay blanks; the result ends at its first zero byte.
std::string ReadStoredString(int file);

// Writes the document to its MAP file through WriteFileSafely, so a failed save leaves the
// previous map untouched and a read-only map is not replaced. Creates the folder "Karten"
// when it is missing. Returns 1 when the map was saved, else 0.
int WriteMapFile();
// The same bytes to another file of the map folder (the recovery copy).
int WriteMapFileTo(std::string_view path);

// Re-dimensions the document's arrays and fills the document from its MAP file. Values that
// do not fit the arrays (players above 1000, fields beyond 999) are read and dropped, and
// reading stops where the file ends; missing values are 0. Values are not range-checked here.
// Returns 1 when the MAP file could be opened, else 0 (the document is then the empty one).
int ReadMapFile();
// The same from another file in MAP layout (the recovery copy).
int ReadMapFileFrom(std::string_view path);

// "Karten\" + FileName + ".MAP" for the current document.
std::string MapFilePath();
// "Karten\" + fileName + ".MAP" for another base name.
std::string MapFilePathOf(std::string_view fileName);

// "Karten\" + FileName + ".PNG": the tile set beside the MAP file.
std::string TileSetPath();

}  // namespace editor
