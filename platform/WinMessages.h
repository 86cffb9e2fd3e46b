// Message numbers, notification codes, key codes and style bits of the window system the
// runtime was written for. The program sees these numbers as event codes, so the platform
// layer speaks them too; each is defined here once.
#pragma once

#include <cstdint>

namespace platform {

// Window messages.
inline constexpr std::uint32_t WM_NULL = 0;
inline constexpr std::uint32_t WM_DESTROY = 2;
inline constexpr std::uint32_t WM_MOVE = 3;
inline constexpr std::uint32_t WM_SIZE = 5;
inline constexpr std::uint32_t WM_ACTIVATE = 6;
inline constexpr std::uint32_t WM_SETFOCUS = 7;
inline constexpr std::uint32_t WM_KILLFOCUS = 8;
inline constexpr std::uint32_t WM_PAINT = 15;
inline constexpr std::uint32_t WM_CLOSE = 16;
inline constexpr std::uint32_t WM_ERASEBKGND = 20;
inline constexpr std::uint32_t WM_NOTIFY = 78;
inline constexpr std::uint32_t WM_NCDESTROY = 130;
inline constexpr std::uint32_t WM_NCMOUSEMOVE = 160;
inline constexpr std::uint32_t WM_NCLBUTTONDOWN = 161;
inline constexpr std::uint32_t WM_NCLBUTTONUP = 162;
inline constexpr std::uint32_t WM_NCLBUTTONDBLCLK = 163;
inline constexpr std::uint32_t WM_NCRBUTTONDOWN = 164;
inline constexpr std::uint32_t WM_NCRBUTTONUP = 165;
inline constexpr std::uint32_t WM_NCRBUTTONDBLCLK = 166;
inline constexpr std::uint32_t WM_NCMBUTTONDOWN = 167;
inline constexpr std::uint32_t WM_NCMBUTTONUP = 168;
inline constexpr std::uint32_t WM_NCMBUTTONDBLCLK = 169;
inline constexpr std::uint32_t WM_KEYDOWN = 256;
inline constexpr std::uint32_t WM_KEYUP = 257;
inline constexpr std::uint32_t WM_CHAR = 258;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 260;
inline constexpr std::uint32_t WM_SYSKEYUP = 261;
inline constexpr std::uint32_t WM_SYSCHAR = 262;
inline constexpr std::uint32_t WM_COMMAND = 273;
inline constexpr std::uint32_t WM_SYSCOMMAND = 274;
inline constexpr std::uint32_t WM_HSCROLL = 276;
inline constexpr std::uint32_t WM_VSCROLL = 277;
inline constexpr std::uint32_t WM_CTLCOLOREDIT = 307;
inline constexpr std::uint32_t WM_CTLCOLORLISTBOX = 308;
inline constexpr std::uint32_t WM_CTLCOLORBTN = 309;
inline constexpr std::uint32_t WM_CTLCOLORSTATIC = 312;
inline constexpr std::uint32_t WM_MOUSEMOVE = 512;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 513;
inline constexpr std::uint32_t WM_LBUTTONUP = 514;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 515;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 516;
inline constexpr std::uint32_t WM_RBUTTONUP = 517;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 518;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 519;
inline constexpr std::uint32_t WM_MBUTTONUP = 520;
inline constexpr std::uint32_t WM_MBUTTONDBLCLK = 521;
inline constexpr std::uint32_t WM_MOUSEWHEEL = 522;
inline constexpr std::uint32_t WM_XBUTTONDOWN = 523;
inline constexpr std::uint32_t WM_XBUTTONUP = 524;
inline constexpr std::uint32_t WM_XBUTTONDBLCLK = 525;
inline constexpr std::uint32_t WM_MOUSEHWHEEL = 526;
// The first number the window system leaves to programs for messages of their own.
inline constexpr std::uint32_t WM_APP = 0x8000;

// Parameters of some messages.
inline constexpr std::uintptr_t WA_INACTIVE = 0;
inline constexpr std::uintptr_t WA_ACTIVE = 1;
inline constexpr std::uintptr_t SIZE_RESTORED = 0;
inline constexpr std::uintptr_t SIZE_MINIMIZED = 1;
inline constexpr std::uintptr_t SIZE_MAXIMIZED = 2;
inline constexpr std::uintptr_t SC_CLOSE = 0xF060;
inline constexpr std::uintptr_t HTCLIENT = 1;
inline constexpr std::uintptr_t HTMENU = 5;
inline constexpr std::uintptr_t MK_LBUTTON = 0x01;
inline constexpr std::uintptr_t MK_RBUTTON = 0x02;
inline constexpr std::uintptr_t MK_SHIFT = 0x04;
inline constexpr std::uintptr_t MK_CONTROL = 0x08;
inline constexpr std::uintptr_t MK_MBUTTON = 0x10;
inline constexpr std::uintptr_t MK_XBUTTON1 = 0x20;
inline constexpr std::uintptr_t MK_XBUTTON2 = 0x40;

// Control notifications (high half of a command's first parameter, or a scroll code).
inline constexpr std::uint32_t BN_CLICKED = 0;
inline constexpr std::uint32_t EN_SETFOCUS = 0x0100;
inline constexpr std::uint32_t EN_KILLFOCUS = 0x0200;
inline constexpr std::uint32_t EN_CHANGE = 0x0300;
inline constexpr std::uint32_t EN_UPDATE = 0x0400;
inline constexpr std::uint32_t EN_MAXTEXT = 0x0501;
inline constexpr std::uint32_t TB_LINEUP = 0;
inline constexpr std::uint32_t TB_LINEDOWN = 1;
inline constexpr std::uint32_t TB_PAGEUP = 2;
inline constexpr std::uint32_t TB_PAGEDOWN = 3;
inline constexpr std::uint32_t TB_THUMBPOSITION = 4;
inline constexpr std::uint32_t TB_THUMBTRACK = 5;
inline constexpr std::uint32_t TB_TOP = 6;
inline constexpr std::uint32_t TB_BOTTOM = 7;
inline constexpr std::uint32_t TB_ENDTRACK = 8;

// Window styles.
inline constexpr std::uint32_t WS_POPUP = 0x80000000u;
inline constexpr std::uint32_t WS_CHILD = 0x40000000u;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000u;
inline constexpr std::uint32_t WS_DISABLED = 0x08000000u;
inline constexpr std::uint32_t WS_CLIPSIBLINGS = 0x04000000u;
inline constexpr std::uint32_t WS_MAXIMIZE = 0x01000000u;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000u;
inline constexpr std::uint32_t WS_BORDER = 0x00800000u;
inline constexpr std::uint32_t WS_DLGFRAME = 0x00400000u;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000u;
inline constexpr std::uint32_t WS_THICKFRAME = 0x00040000u;
inline constexpr std::uint32_t WS_GROUP = 0x00020000u;
inline constexpr std::uint32_t WS_TABSTOP = 0x00010000u;
inline constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000u;
inline constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000u;
inline constexpr std::uint32_t WS_EX_CLIENTEDGE = 0x00000200u;
inline constexpr std::uint32_t WS_EX_STATICEDGE = 0x00020000u;

// Control styles.
inline constexpr std::uint32_t SS_CENTER = 0x1;
inline constexpr std::uint32_t SS_RIGHT = 0x2;
inline constexpr std::uint32_t SS_TYPEMASK = 0x1F;
inline constexpr std::uint32_t SS_LEFTNOWORDWRAP = 0xC;
inline constexpr std::uint32_t SS_CENTERIMAGE = 0x200;
inline constexpr std::uint32_t BS_AUTOCHECKBOX = 0x3;
inline constexpr std::uint32_t BS_GROUPBOX = 0x7;
inline constexpr std::uint32_t BS_TYPEMASK = 0xF;
inline constexpr std::uint32_t BS_LEFTTEXT = 0x20;
inline constexpr std::uint32_t ES_CENTER = 0x1;
inline constexpr std::uint32_t ES_RIGHT = 0x2;
inline constexpr std::uint32_t ES_UPPERCASE = 0x8;
inline constexpr std::uint32_t ES_LOWERCASE = 0x10;
inline constexpr std::uint32_t ES_PASSWORD = 0x20;
inline constexpr std::uint32_t ES_AUTOHSCROLL = 0x80;
inline constexpr std::uint32_t ES_READONLY = 0x800;
inline constexpr std::uint32_t ES_NUMBER = 0x2000;
inline constexpr std::uint32_t TBS_AUTOTICKS = 0x1;
inline constexpr std::uint32_t TBS_VERT = 0x2;
inline constexpr std::uint32_t TBS_TOP = 0x4;
inline constexpr std::uint32_t TBS_BOTH = 0x8;
inline constexpr std::uint32_t TBS_NOTICKS = 0x10;

// Check box states.
inline constexpr std::int32_t BST_UNCHECKED = 0;
inline constexpr std::int32_t BST_CHECKED = 1;

// Shortcut entry flags.
inline constexpr std::uint8_t FVIRTKEY = 1;
inline constexpr std::uint8_t FNOINVERT = 2;
inline constexpr std::uint8_t FSHIFT = 4;
inline constexpr std::uint8_t FCONTROL = 8;
inline constexpr std::uint8_t FALT = 16;

// Menu entry flags.
inline constexpr std::uint32_t MF_STRING = 0x0;
inline constexpr std::uint32_t MF_ENABLED = 0x0;
inline constexpr std::uint32_t MF_GRAYED = 0x1;
inline constexpr std::uint32_t MF_UNCHECKED = 0x0;
inline constexpr std::uint32_t MF_CHECKED = 0x8;
inline constexpr std::uint32_t MFT_RADIOCHECK = 0x200;
inline constexpr std::uint32_t MF_POPUP = 0x10;
inline constexpr std::uint32_t MF_SEPARATOR = 0x800;

// Virtual key codes (letters and digits are their upper-case ASCII codes).
inline constexpr std::uint32_t VK_BACK = 0x08;
inline constexpr std::uint32_t VK_TAB = 0x09;
inline constexpr std::uint32_t VK_RETURN = 0x0D;
inline constexpr std::uint32_t VK_SHIFT = 0x10;
inline constexpr std::uint32_t VK_CONTROL = 0x11;
inline constexpr std::uint32_t VK_MENU = 0x12;
inline constexpr std::uint32_t VK_ESCAPE = 0x1B;
inline constexpr std::uint32_t VK_SPACE = 0x20;
inline constexpr std::uint32_t VK_LEFT = 0x25;
inline constexpr std::uint32_t VK_UP = 0x26;
inline constexpr std::uint32_t VK_RIGHT = 0x27;
inline constexpr std::uint32_t VK_DOWN = 0x28;
inline constexpr std::uint32_t VK_DELETE = 0x2E;
inline constexpr std::uint32_t VK_NUMPAD0 = 0x60;   // to 0x69: the keypad's digits
inline constexpr std::uint32_t VK_ADD = 0x6B;       // the keypad's +
inline constexpr std::uint32_t VK_SUBTRACT = 0x6D;  // the keypad's -
inline constexpr std::uint32_t VK_F4 = 0x73;
inline constexpr std::uint32_t VK_F10 = 0x79;
inline constexpr std::uint32_t VK_OEM_PLUS = 0xBB;  // beside the letters, whatever it shows
inline constexpr std::uint32_t VK_OEM_MINUS = 0xBD;

// Small helpers for the packed parameters.
constexpr std::uint32_t LoWord(std::uintptr_t value) {
    return static_cast<std::uint32_t>(value & 0xFFFF);
}
constexpr std::uint32_t HiWord(std::uintptr_t value) {
    return static_cast<std::uint32_t>((value >> 16) & 0xFFFF);
}
constexpr std::uintptr_t MakeWParam(std::uint32_t low, std::uint32_t high) {
    return static_cast<std::uintptr_t>((low & 0xFFFF) | ((high & 0xFFFF) << 16));
}
// Two signed 16-bit coordinates or sizes in one parameter.
constexpr std::intptr_t MakeLParam(std::int32_t low, std::int32_t high) {
    return static_cast<std::intptr_t>(static_cast<std::uint32_t>(low & 0xFFFF) |
                                      (static_cast<std::uint32_t>(high & 0xFFFF) << 16));
}
constexpr std::int32_t SignedLoWord(std::intptr_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}
constexpr std::int32_t SignedHiWord(std::intptr_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((value >> 16) & 0xFFFF));
}

}  // namespace platform
