// Rules of the control's published properties and their application to a control.
#include "editor/widget/SourceMemoProperties.h"

#include "editor/text/SourceMemoErrors.h"
#include "editor/widget/SourceMemo.h"
#include "editor/widget/SourceMemoMessages.h"

const std::vector<TSourceMemoOption>& AllSourceMemoOptions()
{
    static const std::vector<TSourceMemoOption> all{
        smoLineNumbers,
        smoSyntaxHighlight,
        smoPrintWrap,
        smoPrintLineNos,
        smoPrintFilename,
        smoPrintDate,
        smoPrintPageNos,
        smoWordWrap,
        smoAutoIndent,
        smoTabToColumn,
        smoWrapOverride,
        smoWordSelect,
        smoShowRMargin,
        smoShowGutter,
        smoShowWrapColumn,
        smoTitleAsFilename,
        smoProcessDroppedFiles,
        smoBlockOverwriteCursor,
        smoShowWrapGlyph,
        smoColumnTrack,
        smoUseTAB,
        smoSmartFill,
        smoOLEDragSource,
        smoShowAllChars,
        smoCaretAfterEOL,
    };
    return all;
}

uint32_t OptionsToWord(const TSourceMemoOptions& options)
{
    uint32_t word = 0;
    for (const TSourceMemoOption option : options)
        word |= option;
    return word;
}

TSourceMemoOptions WordToOptions(uint32_t word)
{
    TSourceMemoOptions options;
    for (const TSourceMemoOption option : AllSourceMemoOptions())
        if (word & option)
            options.insert(option);
    return options;
}

// ---- the properties on a control ---------------------------------------------------------

std::string TabColumns(const TSourceMemo& memo)
{
    return FormatTabColumns(memo.Editor().Settings.TabColumns);
}

void SetTabColumns(TSourceMemo& memo, std::string_view text)
{
    memo.SetTabColumns(ParseTabColumns(text));
}

int TabDefault(const TSourceMemo& memo)
{
    return memo.Editor().Settings.TabDefault;
}

void SetTabDefault(TSourceMemo& memo, int width)
{
    CheckTabDefault(width);
    memo.SetTabDefault(width);
}

int IndentStep(const TSourceMemo& memo)
{
    return memo.Editor().Settings.IndentStep;
}

void SetIndentStep(TSourceMemo& memo, int step)
{
    memo.SetIndentStep(step); // ignores steps outside 1 to 19
}

std::string Version(const TSourceMemo&)
{
    return kSourceMemoVersion;
}

TSourceMemoOptions Options(TSourceMemo& memo)
{
    return WordToOptions(static_cast<uint32_t>(Perform(memo, SM_OPTIONS)));
}

void SetOptions(TSourceMemo& memo, const TSourceMemoOptions& options)
{
    Perform(memo, SM_OPTIONS, smSet, static_cast<TLParam>(OptionsToWord(options)));
}

bool WordWrap(TSourceMemo& memo)
{
    return (Perform(memo, SM_OPTIONS) & smoWordWrap) != 0;
}

void SetWordWrap(TSourceMemo& memo, bool wrap)
{
    const auto word = static_cast<uint32_t>(Perform(memo, SM_OPTIONS));
    const uint32_t next =
        wrap ? (word | smoWordWrap) : (word & ~static_cast<uint32_t>(smoWordWrap));
    Perform(memo, SM_OPTIONS, smSet, static_cast<TLParam>(next));
}

bool Modified(TSourceMemo& memo)
{
    return Perform(memo, SM_MODIFIED) != 0;
}

void SetModified(TSourceMemo& memo, bool modified)
{
    Perform(memo, SM_MODIFIED, smSet, modified ? 1 : 0);
}

bool WantReturns(const TSourceMemo& memo)
{
    return memo.Editor().Settings.WantReturns;
}

void SetWantReturns(TSourceMemo& memo, bool want)
{
    memo.Editor().Settings.WantReturns = want;
}
