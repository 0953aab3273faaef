#include "platform/KeyEventMapping.h"

#include <gtest/gtest.h>

#include <QKeyEvent>

namespace {

struct KeyCase {
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    TShortCut expected;
};

constexpr Qt::KeyboardModifiers none = Qt::NoModifier;
constexpr Qt::KeyboardModifiers keypad = Qt::KeypadModifier;

} // namespace

TEST(KeyEventMapping, TableOfKeysAndModifiers)
{
    const KeyCase cases[] = {
        {Qt::Key_A, none, 'A'},
        {Qt::Key_Z, Qt::ControlModifier, static_cast<TShortCut>('Z' | vk::scCtrl)},
        {Qt::Key_S, Qt::ControlModifier | Qt::AltModifier, static_cast<TShortCut>('S' | vk::scCtrl | vk::scAlt)},
        {Qt::Key_0, none, '0'},
        {Qt::Key_9, Qt::AltModifier, static_cast<TShortCut>('9' | vk::scAlt)},
        {Qt::Key_F1, none, vk::F1},
        {Qt::Key_F5, Qt::ShiftModifier, static_cast<TShortCut>(0x74 | vk::scShift)},
        {Qt::Key_F12, none, 0x7B},
        {Qt::Key_F24, none, 0x87},
        {Qt::Key_Left, none, vk::Left},
        {Qt::Key_Up, none, vk::Up},
        {Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier, static_cast<TShortCut>(vk::Right | vk::scShift | vk::scCtrl)},
        {Qt::Key_Down, none, vk::Down},
        {Qt::Key_Home, none, vk::Home},
        {Qt::Key_End, Qt::ControlModifier, static_cast<TShortCut>(vk::End | vk::scCtrl)},
        {Qt::Key_PageUp, none, vk::Prior},
        {Qt::Key_PageDown, none, vk::Next},
        {Qt::Key_Insert, none, vk::Insert},
        {Qt::Key_Delete, none, vk::Delete},
        {Qt::Key_Backspace, none, vk::Back},
        {Qt::Key_Tab, none, vk::Tab},
        {Qt::Key_Backtab, Qt::ShiftModifier, static_cast<TShortCut>(vk::Tab | vk::scShift)},
        {Qt::Key_Backtab, none, static_cast<TShortCut>(vk::Tab | vk::scShift)},
        {Qt::Key_Return, none, vk::Return},
        {Qt::Key_Enter, keypad, vk::Return},
        {Qt::Key_Escape, none, vk::Escape},
        {Qt::Key_Space, Qt::ControlModifier, static_cast<TShortCut>(vk::Space | vk::scCtrl)},
        // The numeric pad.
        {Qt::Key_0, keypad, vk::Numpad0},
        {Qt::Key_7, keypad, 0x67},
        {Qt::Key_Asterisk, keypad, vk::Multiply},
        {Qt::Key_Plus, keypad, vk::Add},
        {Qt::Key_Minus, keypad | Qt::ControlModifier, static_cast<TShortCut>(vk::Subtract | vk::scCtrl)},
        {Qt::Key_Period, keypad, vk::Decimal},
        {Qt::Key_Slash, keypad, vk::Divide},
        {Qt::Key_Home, keypad, vk::Home},
        {Qt::Key_Clear, keypad, vk::Clear},
        // US punctuation, unshifted and shifted.
        {Qt::Key_Semicolon, none, vk::Oem1},
        {Qt::Key_Colon, Qt::ShiftModifier, static_cast<TShortCut>(vk::Oem1 | vk::scShift)},
        {Qt::Key_Equal, none, vk::OemPlus},
        {Qt::Key_Plus, Qt::ShiftModifier, static_cast<TShortCut>(vk::OemPlus | vk::scShift)},
        {Qt::Key_Comma, none, vk::OemComma},
        {Qt::Key_Less, Qt::ShiftModifier, static_cast<TShortCut>(vk::OemComma | vk::scShift)},
        {Qt::Key_Minus, none, vk::OemMinus},
        {Qt::Key_Underscore, Qt::ShiftModifier, static_cast<TShortCut>(vk::OemMinus | vk::scShift)},
        {Qt::Key_Period, none, vk::OemPeriod},
        {Qt::Key_Slash, none, vk::Oem2},
        {Qt::Key_Question, Qt::ShiftModifier, static_cast<TShortCut>(vk::Oem2 | vk::scShift)},
        {Qt::Key_QuoteLeft, none, vk::Oem3},
        {Qt::Key_BracketLeft, none, vk::Oem4},
        {Qt::Key_Backslash, none, vk::Oem5},
        {Qt::Key_BracketRight, Qt::ControlModifier, static_cast<TShortCut>(vk::Oem6 | vk::scCtrl)},
        {Qt::Key_Apostrophe, none, vk::Oem7},
        {Qt::Key_QuoteDbl, Qt::ShiftModifier, static_cast<TShortCut>(vk::Oem7 | vk::scShift)},
        // Shifted digits are their digit keys; '*' off the pad is Shift+8.
        {Qt::Key_Exclam, Qt::ShiftModifier, static_cast<TShortCut>('1' | vk::scShift)},
        {Qt::Key_Asterisk, Qt::ShiftModifier, static_cast<TShortCut>('8' | vk::scShift)},
        {Qt::Key_ParenRight, Qt::ShiftModifier, static_cast<TShortCut>('0' | vk::scShift)},
        // Keys without a code.
        {Qt::Key_unknown, Qt::ControlModifier, 0},
        {Qt::Key_Adiaeresis, none, 0},
        {Qt::Key_VolumeUp, none, 0},
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(shortCutOf(c.qtKey, c.modifiers), c.expected) << "Qt key 0x" << std::hex << c.qtKey << " modifiers 0x" << c.modifiers.toInt();
}

TEST(KeyEventMapping, EventsCarryTheirModifiers)
{
    const QKeyEvent ctrlF4(QEvent::KeyPress, Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(shortCutOf(ctrlF4), vk::shortCut(0x73, vk::scCtrl));
    const QKeyEvent keypadFive(QEvent::KeyPress, Qt::Key_5, Qt::KeypadModifier | Qt::ShiftModifier, QStringLiteral("5"));
    EXPECT_EQ(shortCutOf(keypadFive), vk::shortCut(0x65, vk::scShift));
}
