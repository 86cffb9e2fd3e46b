// The JSON that maptool writes: objects with their keys in byte order, four spaces of
// indentation a level, every value of an array or object on its own line, a newline at the
// end. Whole numbers up to 2^53 are written as such; other numbers in the shorter of the
// decimal and the exponent form (1e+20, 1e-04), a tie going to the decimal form.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace maptool {

std::string IndentedJson(const nlohmann::json& value);

// One number as IndentedJson writes it.
std::string JsonNumberText(double number);

}  // namespace maptool
