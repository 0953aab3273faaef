// The positional body of a settings string (versions 1 to 4): numbers and counted texts in a
// fixed order, each missing number taking its default.
#include "highlight/registry/SettingsStringForms.h"
#include "highlight/registry/StyleEntries.h"
#include "highlight/registry/TabColumnsText.h"

#include <algorithm>

namespace {

constexpr size_t kMaxWrapOverride = 20;

// A count followed by that many characters (fewer at the end of the text).
std::string_view countedText(TSettingsCursor& in)
{
    const int32_t count = in.entryNumber(0);
    return in.take(static_cast<size_t>(std::max(count, 0)));
}

void readFontAndColours(TSettingsCursor& in, int version, TSM_Settings& s)
{
    if (version == 1) {
        s.font = FontSpec{"Courier New", 10, 1};
    } else {
        s.font.name = countedText(in);
        s.font.size = in.entryNumber(10);
    }
    s.selTextColor = clHighlightText;
    s.selTextBack = clHighlight;
    if (version >= 3) {
        s.selTextColor = in.entryNumber(clHighlightText);
        s.selTextBack = in.entryNumber(clHighlight);
    }
}

} // namespace

void readPositionalSettings(TSettingsCursor& in, int version, TSM_Settings& s)
{
    s.options = in.entryNumber(TSM_Settings::kDefaultOptions);
    s.gutterWidth = in.entryNumber(34);
    s.wordWrapColumn = in.entryNumber(0);
    s.indentStep = in.entryNumber(1);
    s.wrapOverride = countedText(in).substr(0, kMaxWrapOverride);
    in.skip();
    readFontAndColours(in, version, s);
    if (version == 4) {
        const std::string_view tabText = countedText(in);
        in.skip();
        s.tabStops = readTabColumnsText(tabText);
        s.tabDefault = checkedTabDefault(in.entryNumber(4));
    }
    readStyleEntries(in, s.styles);
}
