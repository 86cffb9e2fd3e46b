// Fuzz target: the clipboard's two forms of fields, which come from other programs. The input
// is read as text and as the editor's own format; whatever either takes must come back
// unchanged through its writer, and nothing may be taken beyond the sizes a map has.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "editor/FieldClipboard.h"
#include "editor/MapDocument.h"

namespace {

void CheckBlock(const editor::FieldBlock& block) {
    FUZZ_CHECK(block.Width >= 1 && block.Width <= editor::kFieldsSize);
    FUZZ_CHECK(block.Height >= 1 && block.Height <= editor::kFieldsSize);
    FUZZ_CHECK(block.Tiles.size() ==
               static_cast<std::size_t>(block.Width) * static_cast<std::size_t>(block.Height));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string problem;
    if (const auto text = editor::ParseFieldText(input, &problem)) {
        CheckBlock(*text);
        std::string again;
        const auto back = editor::ParseFieldText(editor::FieldsAsText(*text), &again);
        FUZZ_CHECK(back.has_value() && back->Tiles == text->Tiles && back->Width == text->Width);
    } else {
        FUZZ_CHECK(!problem.empty());
    }
    if (const auto own = editor::DecodeFields(input)) {
        CheckBlock(*own);
        FUZZ_CHECK(editor::EncodeFields(*own) == input);
    }
    return 0;
}
