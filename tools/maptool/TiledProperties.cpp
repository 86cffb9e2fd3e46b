// Custom property values of Tiled files, read and written in one spelling.
#include "tools/maptool/TiledProperties.h"

#include <QString>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>

#include "tools/maptool/TiledLimits.h"

namespace maptool {
namespace {

std::string FloatSpelling(double number) { return QString::number(number, 'g', 17).toStdString(); }

}  // namespace

TiledValueKind KindOfTiledType(std::string_view type) {
    if (type == "int" || type == "object") return TiledValueKind::Integer;
    if (type == "float") return TiledValueKind::Float;
    if (type == "bool") return TiledValueKind::Bool;
    if (type == "class") return TiledValueKind::Class;
    return TiledValueKind::Text;
}

std::string WrongTiledValueText(const TiledProperty& property) {
    return "die Eigenschaft " + property.name + " hat keinen Wert vom Typ " + property.type;
}

bool SpellTiledTextValue(TiledProperty& property) {
    const QString value = QString::fromStdString(property.value);
    bool ok = true;
    switch (KindOfTiledType(property.type)) {
        case TiledValueKind::Integer:
            property.value = std::to_string(value.toInt(&ok));
            break;
        case TiledValueKind::Float: {
            const double number = value.toDouble(&ok);
            ok = ok && std::isfinite(number);
            property.value = FloatSpelling(number);
            break;
        }
        case TiledValueKind::Bool:
            ok = property.value == "true" || property.value == "false";
            break;
        case TiledValueKind::Class:
        case TiledValueKind::Text:
            break;
    }
    return ok;
}

std::optional<std::int32_t> JsonInt32(const nlohmann::json& value) {
    if (!value.is_number()) return std::nullopt;
    const double d = value.get<double>();
    if ( d != std::floor(d) || d < INT32_MIN || d > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(d);
}

bool SpellTiledJsonValue(const nlohmann::json& value, TiledProperty& property) {
    switch (KindOfTiledType(property.type)) {
        case TiledValueKind::Class:
            return true;  // members are not kept
        case TiledValueKind::Integer: {
            const std::optional<std::int32_t> number = JsonInt32(value);
            if (!number) return false;
            property.value = std::to_string(*number);
            return true;
        }
        case TiledValueKind::Float:
            if (!value.is_number()) return false;
            property.value = FloatSpelling(value.get<double>());
            return true;
        case TiledValueKind::Bool:
            if (!value.is_boolean()) return false;
            property.value = value.get<bool>() ? "true" : "false";
            return true;
        case TiledValueKind::Text:
            if (!value.is_string()) return false;
            property.value = value.get<std::string>();
            return true;
    }
    return false;
}

nlohmann::json TiledJsonValue(const TiledProperty& property) {
    switch (KindOfTiledType(property.type)) {
        case TiledValueKind::Integer: {
            std::int32_t number = 0;  // a value that is none is written as 0
            if (!ParseTiledInt(property.value, number)) number = 0;
            return number;
        }
        case TiledValueKind::Float: {
            double number = 0;
            const char* end = property.value.data() + property.value.size();
            if (std::from_chars(property.value.data(), end, number).ptr != end) number = 0;
            return number;
        }
        case TiledValueKind::Bool:
            return property.value == "true";
        case TiledValueKind::Class:
            return nlohmann::json::object();
        case TiledValueKind::Text:
            break;
    }
    return property.value;
}

bool TmxWritesType(const TiledProperty& property) { return property.type != "string"; }

bool TmxWritesValue(const TiledProperty& property) {
    return KindOfTiledType(property.type) != TiledValueKind::Class;
}

}  // namespace maptool
