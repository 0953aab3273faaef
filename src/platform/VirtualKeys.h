// Keys as the editor's key map stores them: a Windows virtual-key code in the low byte and the
// shift state in the high bits of a 16-bit shortcut. Stored key maps and settings strings hold
// these values, so they must not change. The mapping from Qt key events is KeyEventMapping.h.
#pragma once

#include <cstdint>

using TShortCut = uint16_t;

namespace vk {
// Shift-state bits of a shortcut.
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scKeyMask = 0x00FF;

// Virtual-key codes.
constexpr uint8_t Back = 0x08, Tab = 0x09, Clear = 0x0C, Return = 0x0D;
constexpr uint8_t Shift = 0x10, Control = 0x11, Menu = 0x12, Pause = 0x13, Capital = 0x14;
constexpr uint8_t Escape = 0x1B, Space = 0x20, Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24;
constexpr uint8_t Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28;
constexpr uint8_t Select = 0x29, Print = 0x2A, Execute = 0x2B, Snapshot = 0x2C;
constexpr uint8_t Insert = 0x2D, Delete = 0x2E, Help = 0x2F;
// '0'..'9' are 0x30..0x39 and 'A'..'Z' are 0x41..0x5A, as their characters.
constexpr uint8_t LWin = 0x5B, RWin = 0x5C, Apps = 0x5D;
constexpr uint8_t Numpad0 = 0x60; // Numpad0..Numpad9 are 0x60..0x69
constexpr uint8_t Multiply = 0x6A, Add = 0x6B, Separator = 0x6C, Subtract = 0x6D;
constexpr uint8_t Decimal = 0x6E, Divide = 0x6F;
constexpr uint8_t F1 = 0x70; // F1..F24 are 0x70..0x87
constexpr uint8_t NumLock = 0x90, Scroll = 0x91;
// The punctuation keys of a US keyboard.
constexpr uint8_t Oem1 = 0xBA;      // ;:
constexpr uint8_t OemPlus = 0xBB;   // =+
constexpr uint8_t OemComma = 0xBC;  // ,<
constexpr uint8_t OemMinus = 0xBD;  // -_
constexpr uint8_t OemPeriod = 0xBE; // .>
constexpr uint8_t Oem2 = 0xBF;      // /?
constexpr uint8_t Oem3 = 0xC0;      // `~
constexpr uint8_t Oem4 = 0xDB;      // [{
constexpr uint8_t Oem5 = 0xDC;      // \|
constexpr uint8_t Oem6 = 0xDD;      // ]}
constexpr uint8_t Oem7 = 0xDE;      // '"

constexpr TShortCut shortCut(uint8_t key, TShortCut shiftState) { return static_cast<TShortCut>(key | shiftState); }
} // namespace vk
