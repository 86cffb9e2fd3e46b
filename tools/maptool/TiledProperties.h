// The rules of custom property values that the TMX and the TMJ files share. Whatever file a
// property came from, its value is kept as text in one spelling: an int (or an object reference)
// in decimal, a float as the shortest decimal that reads back exactly, a bool as "true" or
// "false"; a class keeps no value (its members are not kept); any other type is text.
#pragma once

#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "tools/maptool/TiledMap.h"

namespace maptool {

enum class TiledValueKind { Integer, Float, Bool, Class, Text };
TiledValueKind KindOfTiledType(std::string_view type);

// "die Eigenschaft <name> hat keinen Wert vom Typ <type>".
std::string WrongTiledValueText(const TiledProperty& property);

// A value read as text (TMX) into its spelling. False when it is none of its type.
bool SpellTiledTextValue(TiledProperty& property);
// A value read from JSON (TMJ) into the property's value. False when it is none of its type.
bool SpellTiledJsonValue(const nlohmann::json& value, TiledProperty& property);

// A number as TMX attributes and property texts carry it: white space around it, a sign, the
// decimal or exponent form ("inf" and "nan" too, which callers refuse as not finite). False for
// anything else, beyond the range of a double, or so small that it would become 0.
bool ParseTiledDouble(std::string_view text, double& out);
// A whole number of the 32-bit range as a TMX property text carries it: ASCII white space
// around it, a sign, decimal digits.
bool ParseTiledWholeNumber(std::string_view text, std::int32_t& out);
// A float as the Tiled files are written with it: 17 significant digits in the shorter of the
// decimal and the exponent form ("%.17g"), "0" for either zero, "nan" for any NaN.
std::string TiledFloatText(double number);

// A JSON number that is a whole number of the 32-bit range; none for anything else.
std::optional<std::int32_t> JsonInt32(const nlohmann::json& value);

// The value as TMJ writes it.
nlohmann::json TiledJsonValue(const TiledProperty& property);
// What TMX writes of a property besides its name: the type unless it is "string", the value
// unless it is a class.
bool TmxWritesType(const TiledProperty& property);
bool TmxWritesValue(const TiledProperty& property);

}  // namespace maptool
