#include "editor/KeyMap.h"

namespace lumavox {

int VirtualKeyToQtKey(uint16_t keyCode) {
    if ((keyCode >= '0' && keyCode <= '9') || (keyCode >= 'A' && keyCode <= 'Z')) return keyCode;
    if (keyCode >= 0x60 && keyCode <= 0x69) {
        return static_cast<int>(Qt::KeypadModifier) | (Qt::Key_0 + (keyCode - 0x60));
    }
    if (keyCode >= 0x70 && keyCode <= 0x87) return Qt::Key_F1 + (keyCode - 0x70);
    switch (keyCode) {
        case 0x08:
            return Qt::Key_Backspace;
        case 0x09:
            return Qt::Key_Tab;
        case 0x0D:
            return Qt::Key_Return;
        case 0x1B:
            return Qt::Key_Escape;
        case 0x20:
            return Qt::Key_Space;
        case 0x21:
            return Qt::Key_PageUp;
        case 0x22:
            return Qt::Key_PageDown;
        case 0x23:
            return Qt::Key_End;
        case 0x24:
            return Qt::Key_Home;
        case 0x25:
            return Qt::Key_Left;
        case 0x26:
            return Qt::Key_Up;
        case 0x27:
            return Qt::Key_Right;
        case 0x28:
            return Qt::Key_Down;
        case 0x2D:
            return Qt::Key_Insert;
        case 0x2E:
            return Qt::Key_Delete;
        case 0x6A:
            return static_cast<int>(Qt::KeypadModifier) | Qt::Key_Asterisk;
        case 0x6B:
            return static_cast<int>(Qt::KeypadModifier) | Qt::Key_Plus;
        case 0x6D:
            return static_cast<int>(Qt::KeypadModifier) | Qt::Key_Minus;
        case 0x6E:
            return static_cast<int>(Qt::KeypadModifier) | Qt::Key_Delete;
        case 0x6F:
            return static_cast<int>(Qt::KeypadModifier) | Qt::Key_Slash;
        default:
            return 0;
    }
}

QList<QKeySequence> ShortCutToKeySequences(ShortCut shortCut) {
    const int key = VirtualKeyToQtKey(shortCut & kKeyMask);
    if (key == 0) return {};
    int modifiers = 0;
    if ((shortCut & kShiftBit) != 0) modifiers |= static_cast<int>(Qt::ShiftModifier);
    if ((shortCut & kCtrlBit) != 0) modifiers |= static_cast<int>(Qt::ControlModifier);
    if ((shortCut & kAltBit) != 0) modifiers |= static_cast<int>(Qt::AltModifier);
    QList<QKeySequence> sequences{QKeySequence(key | modifiers)};
    if ((shortCut & kKeyMask) == 0x0D) {
        sequences.append(
            QKeySequence(Qt::Key_Enter | static_cast<int>(Qt::KeypadModifier) | modifiers));
    }
    return sequences;
}

}  // namespace lumavox
