// The element list of the properties dialog's Highlighting page and what each element edits in
// the settings: an editable style edits its style record; "Selected text" the selection
// colours; "Left margin" and "Gutter" one background colour each. An element's "default" flags
// are the style's as-default flags or, for the special elements, the derived-colour flags.
#pragma once

#include "highlight/ParserSettings.h"

#include <string>
#include <vector>

inline constexpr int kSelectedTextElement = 16384;
inline constexpr int kLeftMarginElement = 16385;
inline constexpr int kGutterElement = 16386;

struct TStyleElement
{
    std::string name;
    int value; // the style number, or one of the special values above
};

// One entry per editable style, in the settings' order, then the three special elements.
std::vector<TStyleElement> styleElements(const TSM_Settings& settings);

struct TElementLook
{
    TColorValue foreground = clBlack;
    TColorValue background = clWhite;
    bool foregroundDefault = false;
    bool backgroundDefault = false;
    uint8_t fontStyle = 0;      // FontStyleBits
    bool hasForeground = true;  // the margin and the gutter have a background only
    bool hasAttributes = true;  // bold, italic and underline belong to styles only
};

TElementLook elementLook(const TSM_Settings& settings, int element);

// Whether the colour buttons can be used: a colour that follows its default cannot be chosen.
inline bool foregroundButtonEnabled(const TElementLook& look)
{
    return look.hasForeground && !look.foregroundDefault;
}
inline bool backgroundButtonEnabled(const TElementLook& look)
{
    return !look.backgroundDefault;
}

// Changes of one element. A colour is stored only while its default flag is clear; a style that
// is changed becomes defined. Changes an element does not have are ignored.
void setElementForeground(TSM_Settings& settings, int element, TColorValue color);
void setElementBackground(TSM_Settings& settings, int element, TColorValue color);
void setElementDefaults(TSM_Settings& settings, int element, bool foreground, bool background);
void setElementFontStyle(TSM_Settings& settings, int element, uint8_t fontStyle);

// The element that paints a token: its style's entry in the list, or -1 when that style is not
// editable.
int elementOfToken(const TSM_Settings& settings, uint8_t token);
