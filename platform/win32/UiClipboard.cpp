// The system clipboard on USER32: the program's own format, registered by its name, and the
// text as CF_UNICODETEXT.
#include <cstring>

#include "platform/win32/WinApi.h"
#include "platform/win32/Wide.h"

namespace platform {
namespace {

UINT Format(std::string_view name) {
    return ::RegisterClipboardFormatW(win32::WideFromCp1252(name).c_str());
}

// Another program may hold the clipboard open for a moment.
bool OpenIt() {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (::OpenClipboard(nullptr)) return true;
        ::Sleep(10);
    }
    return false;
}

// A movable block holding the bytes; its size is kept in front of them, since the system may
// give a block more room than was asked for.
HGLOBAL Block(const void* bytes, std::size_t size, bool counted) {
    const std::size_t head = counted ? sizeof(std::uint64_t) : 0;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, head + size);
    if (block == nullptr) return nullptr;
    auto* out = static_cast<unsigned char*>(::GlobalLock(block));
    if (counted) {
        const std::uint64_t count = size;
        std::memcpy(out, &count, sizeof count);
    }
    std::memcpy(out + head, bytes, size);
    ::GlobalUnlock(block);
    return block;
}

}  // namespace

bool ClipboardPut(std::string_view format, const std::string& data, std::string_view text) {
    if (!OpenIt()) return false;
    ::EmptyClipboard();
    bool put = true;
    if (!data.empty()) {
        HGLOBAL own = Block(data.data(), data.size(), true);
        put = own != nullptr && ::SetClipboardData(Format(format), own) != nullptr;
    }
    const std::wstring wide = win32::WideFromCp1252(text);
    HGLOBAL unicode = Block(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t), false);
    put = put && unicode != nullptr && ::SetClipboardData(CF_UNICODETEXT, unicode) != nullptr;
    ::CloseClipboard();
    return put;
}

std::string ClipboardData(std::string_view format) {
    if (!OpenIt()) return {};
    std::string data;
    if (HANDLE block = ::GetClipboardData(Format(format))) {
        const std::size_t room = ::GlobalSize(block);
        if (const auto* in = static_cast<const unsigned char*>(::GlobalLock(block))) {
            std::uint64_t count = 0;
            if (room >= sizeof count) {
                std::memcpy(&count, in, sizeof count);
                if (count <= room - sizeof count) {
                    data.assign(reinterpret_cast<const char*>(in + sizeof count),
                                static_cast<std::size_t>(count));
                }
            }
            ::GlobalUnlock(block);
        }
    }
    ::CloseClipboard();
    return data;
}

std::string ClipboardText() {
    if (!OpenIt()) return {};
    std::string text;
    if (HANDLE block = ::GetClipboardData(CF_UNICODETEXT)) {
        const std::size_t room = ::GlobalSize(block) / sizeof(wchar_t);
        if (const auto* in = static_cast<const wchar_t*>(::GlobalLock(block))) {
            text = win32::Cp1252FromWide(std::wstring_view(in, ::wcsnlen(in, room)));
            ::GlobalUnlock(block);
        }
    }
    ::CloseClipboard();
    return text;
}

std::uint32_t ClipboardChangeCount() { return ::GetClipboardSequenceNumber(); }

}  // namespace platform
