#include "highlight/registry/StyleEntries.h"

#include "highlight/registry/SettingsErrors.h"

#include <algorithm>

namespace {

constexpr int32_t kDefaultStyleNumber = 255;
constexpr int kMaxWrittenCount = 255;

std::string entryText(int number, const StyleRecord& style)
{
    std::string text = std::to_string(number) + ',' + std::to_string(style.foreground) + ',' +
                       std::to_string(style.background) + ',';
    if (style.backgroundDefault)
        text += 'X';
    if (style.foregroundDefault)
        text += 'Y';
    if (style.fontStyle & fsBold)
        text += 'B';
    if (style.fontStyle & fsItalic)
        text += 'I';
    if (style.fontStyle & fsUnderline)
        text += 'U';
    return text + ';';
}

// The flag letters of an entry, up to and including its semicolon.
void readLetters(TSettingsCursor& in, StyleRecord& style)
{
    for (;;) {
        switch (in.peek()) {
        case 'b': case 'B': style.fontStyle |= fsBold; break;
        case 'i': case 'I': style.fontStyle |= fsItalic; break;
        case 'u': case 'U': style.fontStyle |= fsUnderline; break;
        case 'x': case 'X': style.backgroundDefault = 1; break;
        case 'y': case 'Y': style.foregroundDefault = 1; break;
        case ';': in.skip(); return;
        default: return;
        }
        in.skip();
    }
}

void readEntry(TSettingsCursor& in, TStyleTable& styles)
{
    const int32_t number = in.entryNumber(kDefaultStyleNumber);
    const int32_t foreground = in.entryNumber(clBlack);
    const int32_t background = in.entryNumber(clWhite);
    if (number < 0 || number > 255)
        throw invalidStyleString();
    StyleRecord& style = styles[static_cast<size_t>(number)];
    style.fontStyle = 0;
    style.defined = 1;
    style.foregroundDefault = 0;
    style.backgroundDefault = 0;
    style.foreground = foreground;
    style.background = background;
    readLetters(in, style);
}

} // namespace

std::string styleEntriesText(const TStyleTable& styles)
{
    int count = 0;
    std::string entries;
    for (size_t i = 0; i < styles.size(); ++i) {
        if (styles[i].defined) {
            ++count;
            entries += entryText(static_cast<int>(i), styles[i]);
        }
    }
    std::string text = std::to_string(std::min(count, kMaxWrittenCount));
    return count > 0 ? text + ',' + entries : text;
}

void readStyleEntries(TSettingsCursor& in, TStyleTable& styles)
{
    const int32_t count = in.entryNumber(0);
    int32_t read = 0;
    for (; read < count && read < 256 && !in.atEnd(); ++read)
        readEntry(in, styles);
    if (read == kMaxWrittenCount && count == kMaxWrittenCount && !in.atEnd())
        readEntry(in, styles);
}
