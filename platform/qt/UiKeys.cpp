// Windows virtual key codes of the toolkit's keys. Keys that give a character map by their
// place on a German keyboard, as on the original system with its German layout.
#include <Qt>

#include "platform/qt/UiInternal.h"

namespace platform::qtui {

std::uint32_t VirtualKeyOf(int qtKey, bool keypad) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<std::uint32_t>(qtKey);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return keypad ? VK_NUMPAD0 + static_cast<std::uint32_t>(qtKey - Qt::Key_0)
                      : static_cast<std::uint32_t>(qtKey);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return 0x70 + static_cast<std::uint32_t>(qtKey - Qt::Key_F1);
    }
    if (keypad) {
        switch (qtKey) {
            case Qt::Key_Asterisk:
                return 0x6A;
            case Qt::Key_Plus:
                return VK_ADD;
            case Qt::Key_Minus:
                return VK_SUBTRACT;
            case Qt::Key_Comma:
            case Qt::Key_Period:
                return 0x6E;
            case Qt::Key_Slash:
                return 0x6F;
            default:
                break;
        }
    }
    switch (qtKey) {
        case Qt::Key_Backspace:
            return VK_BACK;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return VK_TAB;
        case Qt::Key_Clear:
            return 0x0C;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK_RETURN;
        case Qt::Key_Shift:
            return VK_SHIFT;
        case Qt::Key_Control:
            return VK_CONTROL;
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
            return VK_MENU;
        case Qt::Key_Pause:
            return 0x13;
        case Qt::Key_CapsLock:
            return 0x14;
        case Qt::Key_Escape:
            return VK_ESCAPE;
        case Qt::Key_Space:
            return VK_SPACE;
        case Qt::Key_PageUp:
            return 0x21;
        case Qt::Key_PageDown:
            return 0x22;
        case Qt::Key_End:
            return 0x23;
        case Qt::Key_Home:
            return 0x24;
        case Qt::Key_Left:
            return VK_LEFT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Right:
            return VK_RIGHT;
        case Qt::Key_Down:
            return VK_DOWN;
        case Qt::Key_Print:
            return 0x2C;
        case Qt::Key_Insert:
            return 0x2D;
        case Qt::Key_Delete:
            return VK_DELETE;
        case Qt::Key_Meta:
            return 0x5B;
        case Qt::Key_Menu:
            return 0x5D;
        case Qt::Key_NumLock:
            return 0x90;
        case Qt::Key_ScrollLock:
            return 0x91;
        // Shifted and AltGr characters of the digit row.
        case Qt::Key_Exclam:
            return '1';
        case Qt::Key_QuoteDbl:
        case Qt::Key_twosuperior:
            return '2';
        case Qt::Key_section:
        case Qt::Key_threesuperior:
            return '3';
        case Qt::Key_Dollar:
            return '4';
        case Qt::Key_Percent:
            return '5';
        case Qt::Key_Ampersand:
            return '6';
        case Qt::Key_Slash:
        case Qt::Key_BraceLeft:
            return '7';
        case Qt::Key_ParenLeft:
        case Qt::Key_BracketLeft:
            return '8';
        case Qt::Key_ParenRight:
        case Qt::Key_BracketRight:
            return '9';
        case Qt::Key_Equal:
        case Qt::Key_BraceRight:
            return '0';
        case Qt::Key_At:
            return 'Q';
        case 0x20AC:
            return 'E';  // the Euro sign
        case Qt::Key_mu:
            return 'M';
        // The keys beside the letters.
        case Qt::Key_Udiaeresis:
            return 0xBA;
        case Qt::Key_Plus:
        case Qt::Key_Asterisk:
        case Qt::Key_AsciiTilde:
            return VK_OEM_PLUS;
        case Qt::Key_Comma:
        case Qt::Key_Semicolon:
            return 0xBC;
        case Qt::Key_Minus:
        case Qt::Key_Underscore:
            return VK_OEM_MINUS;
        case Qt::Key_Period:
        case Qt::Key_Colon:
            return 0xBE;
        case Qt::Key_NumberSign:
        case Qt::Key_Apostrophe:
            return 0xBF;
        case Qt::Key_Odiaeresis:
            return 0xC0;
        case Qt::Key_ssharp:
        case Qt::Key_Question:
        case Qt::Key_Backslash:
            return 0xDB;
        case Qt::Key_AsciiCircum:
        case Qt::Key_degree:
        case Qt::Key_Dead_Circumflex:
            return 0xDC;
        case Qt::Key_acute:
        case Qt::Key_QuoteLeft:
        case Qt::Key_Dead_Acute:
        case Qt::Key_Dead_Grave:
            return 0xDD;
        case Qt::Key_Adiaeresis:
            return 0xDE;
        case Qt::Key_Less:
        case Qt::Key_Greater:
        case Qt::Key_Bar:
            return 0xE2;
        default:
            return 0;
    }
}

}  // namespace platform::qtui
