#include "platform/KeyEventMapping.h"

#include <QKeyEvent>

#include <algorithm>
#include <iterator>

namespace {

struct KeyPair {
    int qtKey;
    uint8_t virtualKey;
};

// Keys whose code does not follow from a range. Shifted characters of the US keyboard map to
// their key ('!' is the 1 key, ':' the ';' key).
constexpr KeyPair namedKeys[] = {
    {Qt::Key_Backspace, vk::Back}, {Qt::Key_Tab, vk::Tab}, {Qt::Key_Backtab, vk::Tab},
    {Qt::Key_Clear, vk::Clear}, {Qt::Key_Return, vk::Return}, {Qt::Key_Enter, vk::Return},
    {Qt::Key_Shift, vk::Shift}, {Qt::Key_Control, vk::Control}, {Qt::Key_Alt, vk::Menu},
    {Qt::Key_Pause, vk::Pause}, {Qt::Key_CapsLock, vk::Capital}, {Qt::Key_Escape, vk::Escape},
    {Qt::Key_Space, vk::Space}, {Qt::Key_PageUp, vk::Prior}, {Qt::Key_PageDown, vk::Next},
    {Qt::Key_End, vk::End}, {Qt::Key_Home, vk::Home}, {Qt::Key_Left, vk::Left}, {Qt::Key_Up, vk::Up},
    {Qt::Key_Right, vk::Right}, {Qt::Key_Down, vk::Down}, {Qt::Key_Select, vk::Select},
    {Qt::Key_Printer, vk::Print}, {Qt::Key_Execute, vk::Execute}, {Qt::Key_Print, vk::Snapshot},
    {Qt::Key_SysReq, vk::Snapshot}, {Qt::Key_Insert, vk::Insert}, {Qt::Key_Delete, vk::Delete},
    {Qt::Key_Help, vk::Help}, {Qt::Key_Super_L, vk::LWin}, {Qt::Key_Super_R, vk::RWin},
    {Qt::Key_Meta, vk::LWin}, {Qt::Key_Menu, vk::Apps}, {Qt::Key_NumLock, vk::NumLock},
    {Qt::Key_ScrollLock, vk::Scroll},
    {Qt::Key_Exclam, '1'}, {Qt::Key_At, '2'}, {Qt::Key_NumberSign, '3'}, {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'}, {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'}, {Qt::Key_ParenLeft, '9'}, {Qt::Key_ParenRight, '0'},
    {Qt::Key_Semicolon, vk::Oem1}, {Qt::Key_Colon, vk::Oem1}, {Qt::Key_Equal, vk::OemPlus},
    {Qt::Key_Plus, vk::OemPlus}, {Qt::Key_Comma, vk::OemComma}, {Qt::Key_Less, vk::OemComma},
    {Qt::Key_Minus, vk::OemMinus}, {Qt::Key_Underscore, vk::OemMinus}, {Qt::Key_Period, vk::OemPeriod},
    {Qt::Key_Greater, vk::OemPeriod}, {Qt::Key_Slash, vk::Oem2}, {Qt::Key_Question, vk::Oem2},
    {Qt::Key_QuoteLeft, vk::Oem3}, {Qt::Key_AsciiTilde, vk::Oem3}, {Qt::Key_BracketLeft, vk::Oem4},
    {Qt::Key_BraceLeft, vk::Oem4}, {Qt::Key_Backslash, vk::Oem5}, {Qt::Key_Bar, vk::Oem5},
    {Qt::Key_BracketRight, vk::Oem6}, {Qt::Key_BraceRight, vk::Oem6}, {Qt::Key_Apostrophe, vk::Oem7},
    {Qt::Key_QuoteDbl, vk::Oem7},
};

// The numeric pad's own keys. Navigation keys of the pad (NumLock off) stay navigation keys.
constexpr KeyPair keypadKeys[] = {
    {Qt::Key_Asterisk, vk::Multiply}, {Qt::Key_Plus, vk::Add}, {Qt::Key_Minus, vk::Subtract},
    {Qt::Key_Period, vk::Decimal}, {Qt::Key_Comma, vk::Decimal}, {Qt::Key_Slash, vk::Divide},
    {Qt::Key_Enter, vk::Return},
};

template <size_t N>
uint8_t lookUp(const KeyPair (&table)[N], int qtKey)
{
    const auto found = std::find_if(std::begin(table), std::end(table), [qtKey](const KeyPair& pair) { return pair.qtKey == qtKey; });
    return found == std::end(table) ? 0 : found->virtualKey;
}

} // namespace

uint8_t virtualKeyOf(int qtKey, bool keypad)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return static_cast<uint8_t>(keypad ? vk::Numpad0 + (qtKey - Qt::Key_0) : qtKey);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return static_cast<uint8_t>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<uint8_t>(vk::F1 + (qtKey - Qt::Key_F1));
    if (keypad) {
        if (const uint8_t key = lookUp(keypadKeys, qtKey))
            return key;
    }
    return lookUp(namedKeys, qtKey);
}

TShortCut shortCutOf(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const uint8_t key = virtualKeyOf(qtKey, modifiers.testFlag(Qt::KeypadModifier));
    if (key == 0)
        return 0;
    TShortCut shortCut = key;
    if (modifiers.testFlag(Qt::ShiftModifier) || qtKey == Qt::Key_Backtab)
        shortCut |= vk::scShift;
    if (modifiers.testFlag(Qt::ControlModifier))
        shortCut |= vk::scCtrl;
    if (modifiers.testFlag(Qt::AltModifier))
        shortCut |= vk::scAlt;
    return shortCut;
}

TShortCut shortCutOf(const QKeyEvent& event)
{
    return shortCutOf(event.key(), event.modifiers());
}
