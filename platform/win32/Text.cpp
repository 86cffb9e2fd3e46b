// The text rasterizer on GDI: fonts matched by the font mapper, text drawn by GDI into a
// DIB section that holds a copy of the caller's pixels, then copied back.
//
// Heights are GDI's own convention (negative: character height, positive: cell height,
// 0: default), so they pass through unchanged.
#include "platform/Text.h"

#include <windows.h>

#include <algorithm>
#include <map>

#include "platform/win32/Wide.h"

namespace platform {

namespace {

using win32::Utf8FromWide;
using win32::WideFromCp1252;

constexpr std::int32_t kMaxHeight = 32767;
constexpr std::int32_t kDefaultCellHeight = 16;

// Handles are numbers handed out once, so a deleted font's handle never names another font.
constexpr TextFont kSystemFontHandle = 1;
TextFont gNextHandle = 2;

std::map<TextFont, HFONT>& Fonts() {
    static std::map<TextFont, HFONT> fonts;
    return fonts;
}

int CALLBACK TakePitch(const LOGFONTW* found, const TEXTMETRICW*, DWORD, LPARAM pitch) {
    *reinterpret_cast<BYTE*>(pitch) = found->lfPitchAndFamily;
    return 0;  // the first is enough
}

// The pitch and family of an installed face, also of a bitmap font that only its outline
// substitute can draw ("Courier" becomes a fixed-pitch outline font, not just any font).
BYTE PitchAndFamilyOf(const std::wstring& face) {
    BYTE pitch = DEFAULT_PITCH | FF_DONTCARE;
    if (face.empty() || face.size() >= LF_FACESIZE) return pitch;
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    std::copy(face.begin(), face.end(), query.lfFaceName);
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::EnumFontFamiliesExW(dc, &query, &TakePitch, reinterpret_cast<LPARAM>(&pitch), 0);
    ::DeleteDC(dc);
    return static_cast<BYTE>((pitch & 0xF0) | ((pitch & 0x03) == FIXED_PITCH ? FIXED_PITCH
                                                                               : DEFAULT_PITCH));
}

HFONT MakeFont(const std::wstring& face, std::int32_t height, const TextFontStyle& style) {
    LOGFONTW logFont{};
    logFont.lfHeight = height == 0 ? kDefaultCellHeight : height;
    logFont.lfWeight = std::clamp(style.weight, 1, 1000);
    logFont.lfItalic = style.italic ? TRUE : FALSE;
    logFont.lfUnderline = style.underline ? TRUE : FALSE;
    logFont.lfStrikeOut = style.strikeOut ? TRUE : FALSE;
    logFont.lfCharSet = ANSI_CHARSET;
    logFont.lfOutPrecision = OUT_TT_PRECIS;
    logFont.lfQuality =
        static_cast<BYTE>(style.smooth ? ANTIALIASED_QUALITY : NONANTIALIASED_QUALITY);
    logFont.lfPitchAndFamily = PitchAndFamilyOf(face);
    const std::size_t length = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
    std::copy_n(face.begin(), length, logFont.lfFaceName);
    return ::CreateFontIndirectW(&logFont);
}

HFONT SystemFont() {
    static const HFONT font = [] {
        TextFontStyle style;
        style.weight = FW_BOLD;
        HFONT made = MakeFont(L"Arial", kDefaultCellHeight, style);
        return made != nullptr ? made : static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    }();
    return font;
}

HFONT Resolve(TextFont font) {
    const auto found = Fonts().find(font);
    return found != Fonts().end() ? found->second : SystemFont();
}

// A memory device context with the font selected, for measuring and drawing.
class FontDc {
public:
    explicit FontDc(HFONT font) : dc_(::CreateCompatibleDC(nullptr)) {
        old_ = ::SelectObject(dc_, font);
    }
    ~FontDc() {
        ::SelectObject(dc_, old_);
        ::DeleteDC(dc_);
    }
    FontDc(const FontDc&) = delete;
    FontDc& operator=(const FontDc&) = delete;
    HDC Dc() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

TEXTMETRICW Metrics(HDC dc) {
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    return metrics;
}

std::int32_t Advance(HDC dc, const std::wstring& text) {
    SIZE size{};
    if (text.empty()) return 0;
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

COLORREF ColourOf(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

TextFont TextFontCreate(std::string_view cp1252Face, std::int32_t height,
                        const TextFontStyle& style) {
    if (height < -kMaxHeight || height > kMaxHeight) return 0;
    HFONT font = MakeFont(WideFromCp1252(cp1252Face), height, style);
    if (font == nullptr) return 0;
    const TextFont handle = gNextHandle++;
    Fonts().emplace(handle, font);
    return handle;
}

void TextFontDelete(TextFont font) {
    const auto found = Fonts().find(font);
    if (found == Fonts().end()) return;
    ::DeleteObject(found->second);
    Fonts().erase(found);
}

bool TextFontValid(TextFont font) { return Fonts().count(font) != 0 || font == TextSystemFont(); }

TextFont TextSystemFont() { return kSystemFontHandle; }

TextFontInfo TextFontDescribe(TextFont font) {
    if (!TextFontValid(font)) return {};
    const FontDc dc(Resolve(font));
    const TEXTMETRICW metrics = Metrics(dc.Dc());
    wchar_t face[LF_FACESIZE] = {};
    const int length = ::GetTextFaceW(dc.Dc(), LF_FACESIZE, face);
    TextFontInfo out;
    const std::wstring wideFace(face, static_cast<std::size_t>(std::max(0, length - 1)));
    out.family = Utf8FromWide(wideFace);
    out.emHeight = metrics.tmHeight - metrics.tmInternalLeading;
    out.cellHeight = metrics.tmHeight;
    out.weight = metrics.tmWeight;
    out.italic = metrics.tmItalic != 0;
    out.underline = metrics.tmUnderlined != 0;
    out.strikeOut = metrics.tmStruckOut != 0;
    // The bit is set for a variable pitch, despite its name.
    out.fixedPitch = (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
    return out;
}

std::int32_t TextWidth(TextFont font, std::string_view cp1252Text) {
    const FontDc dc(Resolve(font));
    return Advance(dc.Dc(), WideFromCp1252(cp1252Text));
}

std::int32_t TextCellHeight(TextFont font) {
    const FontDc dc(Resolve(font));
    return Metrics(dc.Dc()).tmHeight;
}

std::int32_t TextDraw(const TextTarget& target, TextFont font, std::int32_t x, std::int32_t y,
                      std::string_view cp1252Text, std::uint32_t rgb, bool opaque,
                      std::uint32_t backgroundRgb) {
    const FontDc dc(Resolve(font));
    const std::wstring text = WideFromCp1252(cp1252Text);
    const std::int32_t advance = Advance(dc.Dc(), text);
    if (target.pixels == nullptr || target.width <= 0 || target.height <= 0 || text.empty()) {
        return advance;
    }
    // Glyphs may reach beyond their cell (italics, overhangs); a margin of one cell covers
    // them. GDI draws into a copy of that part of the array.
    const std::int32_t cell = Metrics(dc.Dc()).tmHeight;
    const std::int64_t left = std::max<std::int64_t>(0, std::int64_t{x} - cell);
    const std::int64_t top = std::max<std::int64_t>(0, std::int64_t{y} - cell);
    const std::int64_t right = std::min<std::int64_t>(target.width, std::int64_t{x} + advance + cell);
    const std::int64_t bottom = std::min<std::int64_t>(target.height, std::int64_t{y} + 2 * cell);
    if (left >= right || top >= bottom) return advance;
    const auto width = static_cast<std::int32_t>(right - left);
    const auto height = static_cast<std::int32_t>(bottom - top);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, like our arrays
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(dc.Dc(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section == nullptr) return advance;
    auto* copy = static_cast<std::uint32_t*>(bits);
    const auto rowOf = [&](std::uint32_t* base, std::int64_t pitch, std::int64_t row) {
        return base + row * pitch;
    };
    for (std::int32_t row = 0; row < height; ++row) {
        std::copy_n(rowOf(target.pixels, target.pitch, top + row) + left, width,
                    rowOf(copy, width, row));
    }
    HGDIOBJ oldBitmap = ::SelectObject(dc.Dc(), section);
    ::SetTextAlign(dc.Dc(), TA_LEFT | TA_TOP | TA_NOUPDATECP);
    ::SetTextColor(dc.Dc(), ColourOf(rgb));
    const int dx = static_cast<int>(x - left);
    const int dy = static_cast<int>(y - top);
    if (opaque) {
        ::SetBkColor(dc.Dc(), ColourOf(backgroundRgb));
        ::SetBkMode(dc.Dc(), OPAQUE);
        const RECT box{dx, dy, dx + advance, dy + cell};
        ::ExtTextOutW(dc.Dc(), dx, dy, ETO_OPAQUE, &box, text.c_str(),
                      static_cast<UINT>(text.size()), nullptr);
    } else {
        ::SetBkMode(dc.Dc(), TRANSPARENT);
        ::ExtTextOutW(dc.Dc(), dx, dy, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()),
                      nullptr);
    }
    ::GdiFlush();
    for (std::int32_t row = 0; row < height; ++row) {
        const std::uint32_t* from = rowOf(copy, width, row);
        std::uint32_t* to = rowOf(target.pixels, target.pitch, top + row) + left;
        for (std::int32_t column = 0; column < width; ++column) {
            to[column] = from[column] & 0x00FFFFFFu;
        }
    }
    ::SelectObject(dc.Dc(), oldBitmap);
    ::DeleteObject(section);
    return advance;
}

}  // namespace platform
