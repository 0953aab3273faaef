// The editor's option word and the settings the editing commands read. Option values are bit
// positions of the stored option word, so they never change.
#pragma once

#include <cstdint>
#include <vector>

enum TSourceMemoOption : uint32_t
{
    smoLineNumbers = 1u << 0,
    smoSyntaxHighlight = 1u << 4,
    smoPrintWrap = 1u << 5,
    smoPrintLineNos = 1u << 6,
    smoPrintFilename = 1u << 7,
    smoPrintDate = 1u << 8,
    smoPrintPageNos = 1u << 9,
    smoWordWrap = 1u << 10,
    smoAutoIndent = 1u << 11,
    smoTabToColumn = 1u << 12,
    smoWrapOverride = 1u << 13,
    smoWordSelect = 1u << 14,
    smoShowRMargin = 1u << 15,
    smoShowGutter = 1u << 16,
    smoShowWrapColumn = 1u << 17,
    smoTitleAsFilename = 1u << 18,
    smoProcessDroppedFiles = 1u << 19,
    smoBlockOverwriteCursor = 1u << 20,
    smoShowWrapGlyph = 1u << 21,
    smoColumnTrack = 1u << 22,
    smoUseTAB = 1u << 23,
    smoSmartFill = 1u << 24,
    smoOLEDragSource = 1u << 25,
    smoShowAllChars = 1u << 26,
    smoCaretAfterEOL = 1u << 27,
};

// Every option except smoWordWrap, smoWrapOverride, smoShowAllChars, smoCaretAfterEOL and
// smoLineNumbers.
constexpr uint32_t kDefaultOptionWord = 0x3FFDBF0;

// Formats a copy puts on the clipboard.
enum TClipCopyFormat : uint32_t
{
    smTEXT = 1,
    smRTF = 2,
};

struct TEditorSettings
{
    uint32_t Options = kDefaultOptionWord;
    // Tab stop columns, 0-based and ascending, at most 32; past the last one stops fall every
    // TabDefault columns.
    std::vector<int> TabColumns;
    int TabDefault = 4;  // above 0
    int IndentStep = 1;  // 1 to 19
    uint32_t ClipCopyFormats = smTEXT | smRTF;
    bool ReadOnly = false;
    bool WantReturns = true;

    bool Has(TSourceMemoOption option) const { return (Options & option) != 0; }
};
