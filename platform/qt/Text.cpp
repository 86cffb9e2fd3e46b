// The text rasterizer on Qt: fonts through the toolkit's font matching (fontconfig), text
// painted straight into the caller's 32-bit pixel array.
#include "platform/Text.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <map>
#include <memory>

#include "platform/Cp1252.h"
#include "platform/QtApp.h"

namespace platform {

namespace {

constexpr std::int32_t kMaxHeight = 32767;
constexpr std::int32_t kDefaultCellHeight = 16;

// Handles are numbers handed out once, so a deleted font's handle never names another font.
constexpr TextFont kSystemFontHandle = 1;
TextFont gNextHandle = 2;

std::map<TextFont, std::unique_ptr<QFont>>& Fonts() {
    static std::map<TextFont, std::unique_ptr<QFont>> fonts;
    return fonts;
}

QString ToQString(std::string_view cp1252) {
    // A runtime string ends at its first zero byte.
    const std::size_t end = cp1252.find('\0');
    if (end != std::string_view::npos) cp1252 = cp1252.substr(0, end);
    return QString::fromStdString(Utf8FromCp1252(cp1252));
}

// Chooses the em size whose cell (ascent + descent) comes closest to `cell` without passing it.
void SetCellHeight(QFont& font, std::int32_t cell) {
    font.setPixelSize(cell);
    const int measured = QFontMetrics(font).height();
    if (measured <= cell || measured <= 0) return;
    int em = std::max(1, static_cast<int>(static_cast<std::int64_t>(cell) * cell / measured));
    font.setPixelSize(em);
    while (em > 1 && QFontMetrics(font).height() > cell) font.setPixelSize(--em);
}

QFont& SystemFont() {
    static QFont* font = [] {
        EnsureApplication();
        auto* made = new QFont(QStringLiteral("Sans Serif"));
        made->setWeight(QFont::Bold);
        made->setStyleStrategy(QFont::NoAntialias);
        made->setHintingPreference(QFont::PreferFullHinting);
        SetCellHeight(*made, kDefaultCellHeight);
        return made;
    }();
    return *font;
}

const QFont& Resolve(TextFont font) {
    const auto found = Fonts().find(font);
    return found != Fonts().end() ? *found->second : SystemFont();
}

// Clears the fourth byte that the toolkit writes as opaque alpha, inside `box`.
void ClearFourthByte(const TextTarget& target, QRect box) {
    box = box.intersected(QRect(0, 0, target.width, target.height));
    for (int row = box.top(); row <= box.bottom(); ++row) {
        std::uint32_t* line = target.pixels + static_cast<std::ptrdiff_t>(row) * target.pitch;
        for (int column = box.left(); column <= box.right(); ++column) {
            line[column] &= 0x00FFFFFFu;
        }
    }
}

}  // namespace

TextFont TextFontCreate(std::string_view cp1252Face, std::int32_t height,
                        const TextFontStyle& style) {
    if (height < -kMaxHeight || height > kMaxHeight) return 0;
    EnsureApplication();
    auto font = std::make_unique<QFont>(ToQString(cp1252Face));
    font->setWeight(static_cast<QFont::Weight>(std::clamp(style.weight, 1, 1000)));
    font->setItalic(style.italic);
    font->setUnderline(style.underline);
    font->setStrikeOut(style.strikeOut);
    font->setStyleStrategy(style.smooth ? QFont::PreferAntialias : QFont::NoAntialias);
    // Hinted glyphs advance by whole pixels, so a text's width is the sum of its letters'.
    font->setHintingPreference(QFont::PreferFullHinting);
    if (height < 0) {
        font->setPixelSize(-height);
    } else {
        SetCellHeight(*font, height == 0 ? kDefaultCellHeight : height);
    }
    const TextFont handle = gNextHandle++;
    Fonts().emplace(handle, std::move(font));
    return handle;
}

void TextFontDelete(TextFont font) { Fonts().erase(font); }

bool TextFontValid(TextFont font) { return Fonts().count(font) != 0 || font == TextSystemFont(); }

TextFont TextSystemFont() { return kSystemFontHandle; }

TextFontInfo TextFontDescribe(TextFont font) {
    if (!TextFontValid(font)) return {};
    const QFont& f = Resolve(font);
    const QFontInfo info(f);
    TextFontInfo out;
    out.family = info.family().toStdString();
    out.emHeight = f.pixelSize();
    out.cellHeight = QFontMetrics(f).height();
    out.weight = info.weight();
    out.italic = info.italic();
    out.underline = f.underline();
    out.strikeOut = f.strikeOut();
    out.fixedPitch = info.fixedPitch();
    return out;
}

std::int32_t TextWidth(TextFont font, std::string_view cp1252Text) {
    return QFontMetrics(Resolve(font)).horizontalAdvance(ToQString(cp1252Text));
}

std::int32_t TextCellHeight(TextFont font) { return QFontMetrics(Resolve(font)).height(); }

std::int32_t TextDraw(const TextTarget& target, TextFont font, std::int32_t x, std::int32_t y,
                      std::string_view cp1252Text, std::uint32_t rgb, bool opaque,
                      std::uint32_t backgroundRgb) {
    const QFont& f = Resolve(font);
    const QString text = ToQString(cp1252Text);
    const QFontMetrics metrics(f);
    const int advance = metrics.horizontalAdvance(text);
    if (target.pixels == nullptr || target.width <= 0 || target.height <= 0 || text.isEmpty()) {
        return advance;
    }
    // Glyphs may reach beyond their cell (italics, overhangs); a margin of one cell covers them.
    const int cell = metrics.height();
    const std::int64_t margin = cell;
    if (x - margin >= target.width || y - margin >= target.height ||
        static_cast<std::int64_t>(x) + advance + margin <= 0 ||
        static_cast<std::int64_t>(y) + cell + margin <= 0) {
        return advance;
    }
    QImage image(reinterpret_cast<uchar*>(target.pixels), target.width, target.height,
                 static_cast<qsizetype>(target.pitch) * 4, QImage::Format_RGB32);
    QRect box(x, y, advance, cell);
    {
        QPainter painter(&image);
        painter.setFont(f);
        if (opaque) painter.fillRect(box, QColor::fromRgb(backgroundRgb));
        painter.setPen(QColor::fromRgb(rgb));
        painter.drawText(QPoint(x, y + metrics.ascent()), text);
    }
    box = box.united(metrics.boundingRect(text).translated(x, y + metrics.ascent()));
    ClearFourthByte(target, box.adjusted(-cell, -cell, cell, cell));
    return advance;
}

}  // namespace platform
