// The control's key-down path: selection keys, two-key sequences, the host's say over the
// command, template hooks and the character that follows a command.
#include "editor/keys/KeyDownHandler.h"
#include "editor/keys/DefaultKeyMap.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr TShortCut C = 0x4000, S = 0x2000, A = 0x8000;

struct RecordingExecutor : TEditorCommandExecutor
{
    struct Call
    {
        int32_t command;
        bool shift;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> calls;
    void ExecuteCommand(int32_t command, bool shiftDown) override
    {
        calls.push_back({command, shiftDown});
    }
};

struct ScriptedHook : TKeyExpansionHook
{
    uint16_t templateKey = 0;
    uint16_t correctKey = 0;
    std::vector<uint16_t> seen;
    bool ExpandCodeTemplate(uint16_t key, TShortCut) override
    {
        seen.push_back(key);
        return key == templateKey;
    }
    bool AutoCorrect(uint16_t key, TShortCut) override { return key == correctKey; }
};

class KeyDownTest : public ::testing::Test
{
protected:
    KeyDownTest() : map(defaultKeyMap()), handler(executor) { handler.Attach(map, &hook); }

    TKeyDownResult press(uint16_t key, TShortCut shiftState)
    {
        const uint16_t original = key;
        const TKeyDownResult result = handler.KeyDown(key, shiftState);
        EXPECT_EQ(key == 0, result != TKeyDownResult::PassedOn || original == 0);
        map.check();
        return result;
    }
    using Call = RecordingExecutor::Call;

    TKeyboardActionContoller map;
    RecordingExecutor executor;
    ScriptedHook hook;
    TKeyDownHandler handler;
};

} // namespace

TEST_F(KeyDownTest, ShiftOnSelectionKeysRunsTheCommandWithShift)
{
    EXPECT_EQ(press(0x23, S), TKeyDownResult::Command);     // Shift+End
    EXPECT_EQ(press(0x23, C | S), TKeyDownResult::Command); // Ctrl+Shift+End
    EXPECT_EQ(press(0x25, 0), TKeyDownResult::Command);     // Left
    EXPECT_EQ(press(0x08, S), TKeyDownResult::Command);     // Shift+Backspace
    EXPECT_EQ(press('Z', C | S), TKeyDownResult::Command);  // Z keeps its Shift: Redo
    EXPECT_EQ(press('Z', C), TKeyDownResult::Command);
    const std::vector<Call> expected = {{3, true},  {11, true}, {0, false},
                                        {16, true}, {42, true}, {41, false}};
    EXPECT_EQ(executor.calls, expected);
}

TEST_F(KeyDownTest, ShiftStaysOnOtherKeys)
{
    EXPECT_EQ(press(0x2E, S), TKeyDownResult::PassedOn); // Shift+Delete is not bound
    EXPECT_EQ(press('X', C | S), TKeyDownResult::PassedOn);
    EXPECT_EQ(press('X', C | A), TKeyDownResult::PassedOn);
    EXPECT_EQ(press('A', S), TKeyDownResult::PassedOn);
    EXPECT_TRUE(executor.calls.empty());
    EXPECT_TRUE(handler.AcceptKeyPress());
}

TEST_F(KeyDownTest, TwoKeySequences)
{
    EXPECT_EQ(press('K', C), TKeyDownResult::Prefix);
    EXPECT_TRUE(executor.calls.empty());
    EXPECT_EQ(press('I', 0), TKeyDownResult::Command);
    EXPECT_EQ(press('K', C), TKeyDownResult::Prefix);
    EXPECT_EQ(press('I', C), TKeyDownResult::Command);
    // Shift pressed on its own between the keys keeps the sequence alive.
    EXPECT_EQ(press('K', C), TKeyDownResult::Prefix);
    EXPECT_EQ(press(0x10, S), TKeyDownResult::PassedOn);
    EXPECT_EQ(press('I', S), TKeyDownResult::Command);
    EXPECT_EQ(press('Q', C), TKeyDownResult::Prefix);
    EXPECT_EQ(press(0x11, C), TKeyDownResult::PassedOn); // Ctrl repeating while held
    EXPECT_EQ(press('3', C), TKeyDownResult::Command);
    const std::vector<Call> expected = {{17, false}, {17, false}, {17, true}, {33, false}};
    EXPECT_EQ(executor.calls, expected);
}

TEST_F(KeyDownTest, EscapeAfterPrefixPassesOnAndResets)
{
    EXPECT_EQ(press('K', C), TKeyDownResult::Prefix);
    EXPECT_TRUE(handler.AcceptKeyPress()); // the prefix runs nothing
    EXPECT_EQ(press(0x1B, 0), TKeyDownResult::PassedOn);
    EXPECT_EQ(map.Keys().State(), nullptr);
    EXPECT_TRUE(handler.AcceptKeyPress());
    EXPECT_EQ(press('I', 0), TKeyDownResult::PassedOn); // I alone is typed
    EXPECT_EQ(press('K', C), TKeyDownResult::Prefix);
    uint16_t wide = 0x1234;
    EXPECT_EQ(handler.KeyDown(wide, 0), TKeyDownResult::PassedOn);
    EXPECT_EQ(map.Keys().State(), nullptr);
    EXPECT_TRUE(executor.calls.empty());
}

TEST_F(KeyDownTest, CharacterOfACommandKeyIsDiscardedOnce)
{
    EXPECT_EQ(press('V', C), TKeyDownResult::Command);
    EXPECT_TRUE(handler.KeyHandled());
    EXPECT_FALSE(handler.AcceptKeyPress());
    EXPECT_TRUE(handler.AcceptKeyPress());
    press('V', C);
    press('A', 0); // the next key-down clears the flag
    EXPECT_TRUE(handler.AcceptKeyPress());
}

TEST_F(KeyDownTest, HostMayReplaceOrCancelTheCommand)
{
    std::vector<int32_t> recognised;
    handler.OnCommandRecognised = [&](int32_t& code) {
        recognised.push_back(code);
        code = code == 13 ? 41 : (code == 12 ? -1 : code);
    };
    press('C', C); // Copy becomes Undo
    press('X', C); // Cut is cancelled: nothing runs, the character is still discarded
    EXPECT_FALSE(handler.AcceptKeyPress());
    press(0x25, S);
    const std::vector<int32_t> expectedRecognised = {13, 12, 0};
    EXPECT_EQ(recognised, expectedRecognised);
    const std::vector<Call> expected = {{41, false}, {0, true}};
    EXPECT_EQ(executor.calls, expected);

    map.Bind(0x71, 0, 48); // F2 bound to a number the control does not know
    handler.OnCommandRecognised = nullptr;
    EXPECT_EQ(press(0x71, 0), TKeyDownResult::Command);
    EXPECT_EQ(executor.calls.size(), 2u);
}

TEST_F(KeyDownTest, TemplatesThenAutoCorrectSeeTheKeyFirst)
{
    hook.templateKey = 'J';
    hook.correctKey = 0x20;
    EXPECT_EQ(press('K', C), TKeyDownResult::Prefix);
    EXPECT_EQ(press(0x20, 0), TKeyDownResult::Expanded); // consumed before the map sees it
    EXPECT_NE(map.Keys().State(), nullptr);
    EXPECT_EQ(press('J', C), TKeyDownResult::Expanded);
    EXPECT_EQ(press('U', 0), TKeyDownResult::Command);
    const std::vector<uint16_t> seen = {'K', 0x20, 'J', 'U'};
    EXPECT_EQ(hook.seen, seen);
    const std::vector<Call> expected = {{18, false}};
    EXPECT_EQ(executor.calls, expected);
}

TEST_F(KeyDownTest, TheFocusedControlOwnsTheCommands)
{
    RecordingExecutor otherExecutor;
    {
        TKeyDownHandler other(otherExecutor);
        other.Attach(map, nullptr); // the other control takes the focus
        EXPECT_EQ(map.OnCommandOwner(), &other);
        uint16_t key = 'Y';
        EXPECT_EQ(other.KeyDown(key, C), TKeyDownResult::Command);
        handler.Detach(); // no longer ours: the other handler stays
        EXPECT_EQ(map.OnCommandOwner(), &other);
    }
    EXPECT_EQ(map.OnCommandOwner(), nullptr);           // removed with its control
    EXPECT_EQ(press('Y', C), TKeyDownResult::PassedOn); // detached: no map
    handler.Attach(map, nullptr);
    EXPECT_EQ(press('Y', C), TKeyDownResult::Command);
    const std::vector<Call> expected = {{40, false}};
    EXPECT_EQ(otherExecutor.calls, expected);
    EXPECT_EQ(executor.calls, expected);

    // A new map loaded into the settings keeps the focused control's handler.
    map.Assign(defaultKeyMap());
    EXPECT_EQ(press('Y', C), TKeyDownResult::Command);
    EXPECT_EQ(executor.calls.size(), 2u);
}
