// Fields as the system clipboard holds them: under a format of this editor's own, so they travel between
// two running editors and between maps, and as text at the same time: the tile numbers,
// tab-separated, one row of fields per line, which a spreadsheet or text editor takes; such
// text (numbers separated by tabs, spaces or commas) comes back as fields.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "editor/Selection.h"

namespace editor {

inline constexpr std::string_view kFieldsFormat = "application/x-karteneditor-felder";

// The editor's own format: "KEF1", the width and the height (32-bit little-endian), then the
// tiles column by column. Anything else (a wrong size, a side of 0 or beyond 1000) is none.
std::string EncodeFields(const FieldBlock& block);
std::optional<FieldBlock> DecodeFields(std::string_view bytes);

// The text form. ParseFieldText gives the fields or, in `problem`, why the text is none: rows
// of different lengths, something that is no whole number, nothing at all, more than 1000
// fields along a side.
std::string FieldsAsText(const FieldBlock& block);
std::optional<FieldBlock> ParseFieldText(std::string_view text, std::string* problem);

}  // namespace editor
