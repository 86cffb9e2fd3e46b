// Custom property values of Tiled files, read and written in one spelling.
#include "tools/maptool/TiledProperties.h"

#include <QJsonObject>
#include <QString>
#include <climits>
#include <cmath>
#include <cstdint>

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

std::optional<std::int32_t> JsonInt32(const QJsonValue& value) {
    const double d = value.toDouble(NAN);
    if (!value.isDouble() || d != std::floor(d) || d < INT32_MIN || d > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(d);
}

bool SpellTiledJsonValue(const QJsonValue& value, TiledProperty& property) {
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
            if (!value.isDouble()) return false;
            property.value = FloatSpelling(value.toDouble());
            return true;
        case TiledValueKind::Bool:
            if (!value.isBool()) return false;
            property.value = value.toBool() ? "true" : "false";
            return true;
        case TiledValueKind::Text:
            if (!value.isString()) return false;
            property.value = value.toString().toStdString();
            return true;
    }
    return false;
}

QJsonValue TiledJsonValue(const TiledProperty& property) {
    switch (KindOfTiledType(property.type)) {
        case TiledValueKind::Integer:
            return QString::fromStdString(property.value).toInt();
        case TiledValueKind::Float:
            return QString::fromStdString(property.value).toDouble();
        case TiledValueKind::Bool:
            return property.value == "true";
        case TiledValueKind::Class:
            return QJsonObject();
        case TiledValueKind::Text:
            break;
    }
    return QString::fromUtf8(property.value.data(), static_cast<qsizetype>(property.value.size()));
}

bool TmxWritesType(const TiledProperty& property) { return property.type != "string"; }

bool TmxWritesValue(const TiledProperty& property) {
    return KindOfTiledType(property.type) != TiledValueKind::Class;
}

}  // namespace maptool
