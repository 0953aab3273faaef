#include "editor/keys/KeyDownHandler.h"

#include "editor/keys/KeyCommands.h"
#include "editor/keys/KeyboardActionController.h"

namespace {

// Keys whose commands read Shift as "extend the selection" rather than as part of the key.
bool selectsWithShift(uint16_t key)
{
    return key == vk::Back || (key >= vk::Prior && key <= vk::Down);
}

} // namespace

bool isModifierKey(uint16_t key)
{
    // Shift, Control, Menu and their left and right variants.
    return (key >= vk::Shift && key <= vk::Menu) || (key >= 0xA0 && key <= 0xA5);
}

void TKeyDownHandler::Attach(TKeyboardActionContoller& controller, TKeyExpansionHook* hook)
{
    Detach();
    m_controller = &controller;
    m_hook = hook;
    controller.SetOnCommand([this](int32_t command) { CommandRecognised(command); }, this);
}

void TKeyDownHandler::Detach()
{
    if (m_controller)
        m_controller->ReleaseOnCommand(this);
    m_controller = nullptr;
    m_hook = nullptr;
}

TKeyDownResult TKeyDownHandler::KeyDown(uint16_t& key, TShortCut shiftState)
{
    m_keyHandled = false;
    if (m_hook &&
        (m_hook->ExpandCodeTemplate(key, shiftState) || m_hook->AutoCorrect(key, shiftState))) {
        key = 0;
        return TKeyDownResult::Expanded;
    }
    m_shiftDown = (shiftState & vk::scShift) != 0;
    // Pressing Shift on its way to the second key of a sequence must not end the sequence.
    if (!m_controller || key == 0 || isModifierKey(key))
        return TKeyDownResult::PassedOn;
    if (key > vk::scKeyMask) {
        m_controller->Keys().ResetMatcher();
        return TKeyDownResult::PassedOn;
    }
    TShortCut modifiers = shiftState & ModifierBits;
    if (selectsWithShift(key))
        modifiers &= static_cast<TShortCut>(~vk::scShift);
    switch (m_controller->ProcessKey(vk::shortCut(static_cast<uint8_t>(key), modifiers))) {
    case TKeyMatch::Prefix:
        key = 0;
        return TKeyDownResult::Prefix;
    case TKeyMatch::Command:
        key = 0;
        return TKeyDownResult::Command;
    case TKeyMatch::NoMatch:
        break;
    }
    return TKeyDownResult::PassedOn;
}

void TKeyDownHandler::CommandRecognised(int32_t command)
{
    m_keyHandled = true;
    if (OnCommandRecognised)
        OnCommandRecognised(command);
    if (isEditorCommand(command))
        m_executor.ExecuteCommand(command, m_shiftDown);
}

bool TKeyDownHandler::AcceptKeyPress()
{
    const bool accept = !m_keyHandled;
    m_keyHandled = false;
    return accept;
}
