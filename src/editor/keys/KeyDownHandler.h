// The editor control's key-down path: code templates and auto-correct first, then the key map,
// then the command with the remembered Shift state; whatever is left passes on to typing.
#pragma once

#include "editor/keys/KeyStore.h"

#include <cstdint>
#include <functional>

class TKeyboardActionContoller;

// Runs the editing commands 0..47 of the control; shiftDown extends the selection.
class TEditorCommandExecutor
{
public:
    virtual ~TEditorCommandExecutor() = default;
    virtual void ExecuteCommand(int32_t command, bool shiftDown) = 0;
};

// The code templates and auto-correct entries of the active settings. Each returns true when
// it consumed the key, which ends the key-down processing.
class TKeyExpansionHook
{
public:
    virtual ~TKeyExpansionHook() = default;
    virtual bool ExpandCodeTemplate(uint16_t key, TShortCut shiftState) = 0;
    virtual bool AutoCorrect(uint16_t key, TShortCut shiftState) = 0;
};

enum class TKeyDownResult
{
    PassedOn, // not consumed: the key goes on to character handling
    Expanded, // consumed by a code template or auto-correct entry
    Prefix,   // consumed: the map waits for a second key
    Command,  // consumed: a command was recognised
};

class TKeyDownHandler
{
public:
    explicit TKeyDownHandler(TEditorCommandExecutor& executor) : m_executor(executor) {}
    ~TKeyDownHandler() { Detach(); }
    TKeyDownHandler(const TKeyDownHandler&) = delete;
    TKeyDownHandler& operator=(const TKeyDownHandler&) = delete;

    // On receiving the focus: installs this handler as the command handler of the active
    // settings' key map. Both must stay alive until Detach or another Attach; hook may be null.
    void Attach(TKeyboardActionContoller& controller, TKeyExpansionHook* hook);
    // Removes the command handler, when it is still this one's.
    void Detach();

    // A key-down with Shift, Ctrl and Alt as vk::scShift, scCtrl, scAlt in shiftState. A
    // consumed key is set to 0. Shift is taken off Backspace, PageUp, PageDown, End, Home and
    // the arrows before matching (their commands select instead); the bare modifier keys pass
    // on without disturbing a waiting prefix.
    TKeyDownResult KeyDown(uint16_t& key, TShortCut shiftState);

    // Whether the character of the current key stroke may be typed: false once after a key
    // stroke that ran a command.
    bool AcceptKeyPress();

    bool KeyHandled() const { return m_keyHandled; }
    bool ShiftDown() const { return m_shiftDown; }
    const TKeyboardActionContoller* Controller() const { return m_controller; }

    // Raised with every recognised command before it runs; the handler may replace the number
    // (a number outside 0..47 runs nothing).
    std::function<void(int32_t& actionCode)> OnCommandRecognised;

    // The command handler installed in the key map.
    void CommandRecognised(int32_t command);

private:
    TEditorCommandExecutor& m_executor;
    TKeyboardActionContoller* m_controller = nullptr;
    TKeyExpansionHook* m_hook = nullptr;
    bool m_keyHandled = false;
    bool m_shiftDown = false;
};

// Whether the key code is a Shift, Ctrl or Alt key on its own.
bool isModifierKey(uint16_t key);
