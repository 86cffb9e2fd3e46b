// The range rules: fields at least 1 pixel, bounds at most 999, 1 to 64 players, 1 to 12 slots,
// at most as many balls as slots. Bounds below 0, balls below 0, field sizes, positions and
// directions have no rule.
#include "editor/DocumentRanges.h"

namespace editor {
namespace {

struct RangeRule {
    std::int32_t MapDocument::*value;
    const char* name;
    bool lower;  // true: the value must be at least the bound, false: at most
    std::int32_t bound;
    std::int32_t MapDocument::*boundValue = nullptr;  // the bound is this value instead
};

constexpr RangeRule kRules[] = {
    {&MapDocument::FieldWidth, "FieldWidth", true, 1},
    {&MapDocument::FieldHeight, "FieldHeight", true, 1},
    {&MapDocument::LastFieldX, "LastFieldX", false, 999},
    {&MapDocument::LastFieldY, "LastFieldY", false, 999},
    {&MapDocument::PlayerCount, "PlayerCount", false, 64},
    {&MapDocument::PlayerCount, "PlayerCount", true, 1},
    {&MapDocument::SlotCount, "SlotCount", true, 1},
    {&MapDocument::SlotCount, "SlotCount", false, 12},
    {&MapDocument::BallCount, "BallCount", false, 0, &MapDocument::SlotCount},
};

}  // namespace

std::vector<Correction> DocumentCorrections(const MapDocument& document) {
    std::vector<Correction> corrections;
    // A value as the corrections so far have left it (the document itself is not changed).
    const auto current = [&](std::int32_t MapDocument::*member) {
        for (auto c = corrections.rbegin(); c != corrections.rend(); ++c) {
            if (c->value == member) return c->corrected;
        }
        return document.*member;
    };
    for (const RangeRule& rule : kRules) {
        const std::int32_t value = current(rule.value);
        const std::int32_t bound =
            rule.boundValue != nullptr ? current(rule.boundValue) : rule.bound;
        if (rule.lower ? value >= bound : value <= bound) continue;
        corrections.push_back({rule.value, rule.name, rule.lower, value, bound});
    }
    return corrections;
}

void CorrectDocument(MapDocument& document) {
    for (const Correction& correction : DocumentCorrections(document)) {
        document.*correction.value = correction.corrected;
    }
}

}  // namespace editor
