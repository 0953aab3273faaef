// Qt key events to the shortcuts the editor's key map stores (VirtualKeys.h): a Windows
// virtual-key code in the low byte and the Shift, Ctrl and Alt bits. Keys are those of a US
// keyboard; keypad keys (Qt::KeypadModifier) get the numeric-pad codes.
#pragma once

#include "platform/VirtualKeys.h"

#include <Qt>

class QKeyEvent;

// The virtual-key code of a Qt key, 0 when it has none. keypad: the key came from the numeric
// pad, which turns digits and the operator keys into the pad's codes.
uint8_t virtualKeyOf(int qtKey, bool keypad);
// The shortcut of a key with modifiers, 0 when the key has no virtual-key code. Shift+Tab
// arrives as Qt::Key_Backtab and gives Tab with the Shift bit, with or without Shift reported.
TShortCut shortCutOf(int qtKey, Qt::KeyboardModifiers modifiers);
TShortCut shortCutOf(const QKeyEvent& event);
