// CP1252 runtime text and UTF-8 <-> the UTF-16 of the Windows API.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/Cp1252.h"

namespace platform::win32 {

// A runtime string ends at its first zero byte.
inline std::wstring WideFromCp1252(std::string_view cp1252) {
    const std::size_t end = cp1252.find('\0');
    if (end != std::string_view::npos) cp1252 = cp1252.substr(0, end);
    std::wstring wide;
    wide.reserve(cp1252.size());
    for (const char c : cp1252) {
        wide.push_back(static_cast<wchar_t>(Cp1252ToCodePoint(static_cast<unsigned char>(c))));
    }
    return wide;
}

inline std::string Cp1252FromWide(std::wstring_view wide) {
    std::string text;
    text.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = wide[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(wide[++i]) - 0xDC00);
        }
        text.push_back(static_cast<char>(Cp1252FromCodePoint(c)));
    }
    return text;
}

// UTF-8 <-> UTF-16; bytes that are no UTF-8 become U+FFFD, unpaired surrogates likewise.
inline std::wstring WideFromUtf8(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int size =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                          size);
    return wide;
}

inline std::string Utf8FromWide(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                          size, nullptr, nullptr);
    return text;
}

}  // namespace platform::win32
