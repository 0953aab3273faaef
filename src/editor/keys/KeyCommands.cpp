#include "editor/keys/KeyCommands.h"

#include <vector>

namespace {

constexpr std::array<std::string_view, EditorCommandCount> commandDescriptions = {
    "Cursor left",
    "Cursor right",
    "Line start",
    "Line end",
    "Up one line",
    "Down one line",
    "Up one page",
    "Down one page",
    "Move to word before",
    "Move to word after",
    "Document start",
    "Document end",
    "Cut to clipboard",
    "Copy to clipboard",
    "Paste from clipboard",
    "Delete character at cursor",
    "Delete character before caret",
    "Indent selected block",
    "Un-indent selected block",
    "Toggle insert/overwrite mode",
    "Set Bookmark 0",
    "Set Bookmark 1",
    "Set Bookmark 2",
    "Set Bookmark 3",
    "Set Bookmark 4",
    "Set Bookmark 5",
    "Set Bookmark 6",
    "Set Bookmark 7",
    "Set Bookmark 8",
    "Set Bookmark 9",
    "Goto Bookmark 0",
    "Goto Bookmark 1",
    "Goto Bookmark 2",
    "Goto Bookmark 3",
    "Goto Bookmark 4",
    "Goto Bookmark 5",
    "Goto Bookmark 6",
    "Goto Bookmark 7",
    "Goto Bookmark 8",
    "Goto Bookmark 9",
    "Delete current line",
    "Undo",
    "Redo",
    "Delete previous word",
    "Print selection",
    "Delete next word",
    "Scroll display up one line",
    "Scroll display down one line",
};

constexpr TShortCut ctrl(uint8_t key)
{
    return vk::shortCut(key, vk::scCtrl);
}

std::vector<TDefaultKeyBinding> makeDefaultBindings()
{
    using namespace vk;
    std::vector<TDefaultKeyBinding> b = {
        {Left, 0, cmdCursorLeft},
        {Right, 0, cmdCursorRight},
        {Home, 0, cmdLineStart},
        {End, 0, cmdLineEnd},
        {Up, 0, cmdUpOneLine},
        {Down, 0, cmdDownOneLine},
        {Prior, 0, cmdUpOnePage},
        {Next, 0, cmdDownOnePage},
        {ctrl(Left), 0, cmdWordBefore},
        {ctrl(Right), 0, cmdWordAfter},
        {ctrl(Home), 0, cmdDocumentStart},
        {ctrl(End), 0, cmdDocumentEnd},
        {ctrl('X'), 0, cmdCut},
        {ctrl('C'), 0, cmdCopy},
        {ctrl('V'), 0, cmdPaste},
        {Delete, 0, cmdDeleteChar},
        {Back, 0, cmdDeletePrevChar},
        {ctrl('K'), 'I', cmdIndentBlock},
        {ctrl('K'), 'U', cmdUnindentBlock},
        {Insert, 0, cmdToggleInsertMode},
    };
    for (int n = 0; n < 10; ++n)
        b.push_back({ctrl('K'), static_cast<TShortCut>('0' + n), cmdSetBookmark0 + n});
    for (int n = 0; n < 10; ++n)
        b.push_back({ctrl('Q'), static_cast<TShortCut>('0' + n), cmdGotoBookmark0 + n});
    const std::vector<TDefaultKeyBinding> rest = {
        {ctrl('Y'), 0, cmdDeleteLine},
        {ctrl('Z'), 0, cmdUndo},
        {shortCut('Z', scCtrl | scShift), 0, cmdRedo},
        {ctrl(Back), 0, cmdDeletePrevWord},
        {ctrl('K'), 'P', cmdPrintSelection},
        {ctrl(Delete), 0, cmdDeleteNextWord},
        {ctrl(Up), 0, cmdScrollUp},
        {ctrl(Down), 0, cmdScrollDown},
    };
    b.insert(b.end(), rest.begin(), rest.end());
    return b;
}

} // namespace

std::string_view editorCommandDescription(int32_t command)
{
    return isEditorCommand(command) ? commandDescriptions[static_cast<size_t>(command)]
                                    : std::string_view();
}

std::span<const TDefaultKeyBinding> defaultKeyBindings()
{
    static const std::vector<TDefaultKeyBinding> bindings = makeDefaultBindings();
    return bindings;
}
