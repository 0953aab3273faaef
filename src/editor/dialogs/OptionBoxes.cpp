#include "editor/dialogs/OptionBoxes.h"

namespace {

constexpr TOptionGroup P = TOptionGroup::Print;
constexpr TOptionGroup G = TOptionGroup::General;

constexpr TOptionBox kBoxes[] = {
    {"WrapLineBox", "Wrap long lines", smoPrintWrap, P},
    {"LineNosBox", "Line numbers", smoPrintLineNos, P},
    {"FileNamBox", "Title in header", smoPrintFilename, P},
    {"DateBox", "Date in header", smoPrintDate, P},
    {"PageNosBox", "Page numbers", smoPrintPageNos, P},
    {"PrnSynHighlightBox", "Syntax highlight", smoSyntaxHighlight, P},
    {"DispWrapBox", "Word wrap", smoWordWrap, G},
    {"WrapOverrideBox", "Override wrapping", smoWrapOverride, G},
    {"AutoIndentBox", "Auto indent", smoAutoIndent, G},
    {"TabColBox", "Smart tab", smoTabToColumn, G},
    {"SmartFillBox", "Smart fill", smoSmartFill, G},
    {"UseTabBox", "Use tab character", smoUseTAB, G},
    {"EdLineNosBox", "Line numbers in gutter", smoLineNumbers, G},
    {"MarkWrapBox", "Mark wrapped lines", smoShowWrapGlyph, G},
    {"TitleAsFilenameBox", "Title as filename", smoTitleAsFilename, G},
    {"BlockCursorBox", "Block cursor for Overwrite", smoBlockOverwriteCursor, G},
    {"WordSelectBox", "Word select", smoWordSelect, G},
    {"CursorAfterEOLBox", "Cursor beyond EOL", smoCaretAfterEOL, G},
    {"ShowAllCharsBox", "Show all chars", smoShowAllChars, G},
    {"VisRMarginBox", "Visible right margin", smoShowRMargin, G},
    {"VisGutterBox", "Visible gutter", smoShowGutter, G},
    {"ShowWrapColumnBox", "Show word-wrap column", smoShowWrapColumn, G},
};

} // namespace

std::span<const TOptionBox> optionBoxes()
{
    return kBoxes;
}

bool optionBoxEnabled(const TOptionBox& box, uint32_t optionWord, bool caretPastEndPermitted)
{
    switch (box.option) {
    case smoTabToColumn:
        return (optionWord & smoWordWrap) == 0;
    case smoCaretAfterEOL:
        return caretPastEndPermitted;
    default:
        return true;
    }
}
