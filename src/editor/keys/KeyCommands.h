// The editor's keyboard commands: their numbers, their descriptions and the keys bound to them
// in a fresh key map.
#pragma once

#include "platform/VirtualKeys.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

// Command numbers are stored in key maps and settings, so they never change.
enum TEditorCommand : int32_t
{
    cmdCursorLeft = 0,
    cmdCursorRight = 1,
    cmdLineStart = 2,
    cmdLineEnd = 3,
    cmdUpOneLine = 4,
    cmdDownOneLine = 5,
    cmdUpOnePage = 6,
    cmdDownOnePage = 7,
    cmdWordBefore = 8,
    cmdWordAfter = 9,
    cmdDocumentStart = 10,
    cmdDocumentEnd = 11,
    cmdCut = 12,
    cmdCopy = 13,
    cmdPaste = 14,
    cmdDeleteChar = 15,
    cmdDeletePrevChar = 16,
    cmdIndentBlock = 17,
    cmdUnindentBlock = 18,
    cmdToggleInsertMode = 19,
    cmdSetBookmark0 = 20,  // 20..29: set bookmark 0..9
    cmdGotoBookmark0 = 30, // 30..39: go to bookmark 0..9
    cmdDeleteLine = 40,
    cmdUndo = 41,
    cmdRedo = 42,
    cmdDeletePrevWord = 43,
    cmdPrintSelection = 44,
    cmdDeleteNextWord = 45,
    cmdScrollUp = 46,
    cmdScrollDown = 47,
};

constexpr int32_t EditorCommandCount = 48;

constexpr bool isEditorCommand(int32_t command)
{
    return command >= 0 && command < EditorCommandCount;
}

// The description of command 0..47 as the key assignment page lists it ("Cursor left" ...);
// an empty view for any other number.
std::string_view editorCommandDescription(int32_t command);

// One binding of the default map: a first key, a second key or 0, the command.
struct TDefaultKeyBinding
{
    TShortCut first;
    TShortCut second;
    int32_t command;
};

// The bindings of a fresh key map in the order they are made: every command 0..47 has at least
// one; the bookmark commands use two-key sequences under Ctrl+K and Ctrl+Q.
std::span<const TDefaultKeyBinding> defaultKeyBindings();
