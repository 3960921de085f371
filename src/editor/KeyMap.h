#pragma once

#include <QKeySequence>
#include <QList>

#include "settings/ShortCut.h"

namespace lumavox {

// The key sequences a stored shortcut (Windows virtual-key code plus modifier bits) stands for:
// usually one, two for "Enter" (the main Return key and the keypad's Enter), none for 0 or a code
// without a Qt key. UI thread (any thread in fact: pure).
QList<QKeySequence> ShortCutToKeySequences(ShortCut shortCut);

// The Qt key of a virtual-key code (keypad keys carry Qt::KeypadModifier); 0 when there is none.
int VirtualKeyToQtKey(uint16_t keyCode);

}  // namespace lumavox
