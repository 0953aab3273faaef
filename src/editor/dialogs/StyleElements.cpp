#include "editor/dialogs/StyleElements.h"

#include <algorithm>

namespace {

bool isStyle(int element)
{
    return element >= 0 && element < 256;
}

StyleRecord& styleOf(TSM_Settings& settings, int element)
{
    StyleRecord& style = settings.styles[static_cast<size_t>(element)];
    style.defined = 1;
    return style;
}

// The colour and derived flag of a special element's background; null for a style. Settings
// is TSM_Settings or const TSM_Settings, and the pointers follow its constness.
template <typename Settings> auto specialBackground(Settings& settings, int element)
{
    struct
    {
        decltype(&settings.selTextBack) color;
        decltype(&settings.selTextBackDerived) derived;
    } background{nullptr, nullptr};
    switch (element) {
    case kSelectedTextElement:
        background = {&settings.selTextBack, &settings.selTextBackDerived};
        break;
    case kLeftMarginElement:
        background = {&settings.marginColor, &settings.marginColorDerived};
        break;
    case kGutterElement:
        background = {&settings.gutterColor, &settings.gutterColorDerived};
        break;
    default:
        break;
    }
    return background;
}

} // namespace

std::vector<TStyleElement> styleElements(const TSM_Settings& settings)
{
    std::vector<TStyleElement> elements;
    for (const EditableStyle& style : settings.editableStyles)
        elements.push_back({style.name, style.style});
    elements.push_back({"Selected text", kSelectedTextElement});
    elements.push_back({"Left margin", kLeftMarginElement});
    elements.push_back({"Gutter", kGutterElement});
    return elements;
}

TElementLook elementLook(const TSM_Settings& settings, int element)
{
    TElementLook look;
    if (isStyle(element)) {
        const StyleRecord& style = settings.styles[static_cast<size_t>(element)];
        look.foreground = style.foreground;
        look.background = style.background;
        look.foregroundDefault = style.foregroundDefault != 0;
        look.backgroundDefault = style.backgroundDefault != 0;
        look.fontStyle = style.fontStyle;
        return look;
    }
    look.hasAttributes = false;
    if (element == kSelectedTextElement) {
        look.foreground = settings.selTextColor;
        look.foregroundDefault = settings.selTextColorDerived != 0;
    } else {
        look.hasForeground = false;
    }
    const auto background = specialBackground(settings, element);
    if (background.color) {
        look.background = *background.color;
        look.backgroundDefault = *background.derived != 0;
    }
    return look;
}

void setElementForeground(TSM_Settings& settings, int element, TColorValue color)
{
    if (isStyle(element)) {
        StyleRecord& style = styleOf(settings, element);
        if (!style.foregroundDefault)
            style.foreground = color;
    } else if (element == kSelectedTextElement && !settings.selTextColorDerived) {
        settings.selTextColor = color;
    }
}

void setElementBackground(TSM_Settings& settings, int element, TColorValue color)
{
    if (isStyle(element)) {
        StyleRecord& style = styleOf(settings, element);
        if (!style.backgroundDefault)
            style.background = color;
        return;
    }
    const auto background = specialBackground(settings, element);
    if (background.color && !*background.derived)
        *background.color = color;
}

void setElementDefaults(TSM_Settings& settings, int element, bool foreground, bool background)
{
    if (isStyle(element)) {
        StyleRecord& style = styleOf(settings, element);
        style.foregroundDefault = foreground ? 1 : 0;
        style.backgroundDefault = background ? 1 : 0;
        return;
    }
    if (element == kSelectedTextElement)
        settings.selTextColorDerived = foreground ? 1 : 0;
    const auto special = specialBackground(settings, element);
    if (special.derived)
        *special.derived = background ? 1 : 0;
}

void setElementFontStyle(TSM_Settings& settings, int element, uint8_t fontStyle)
{
    if (isStyle(element))
        styleOf(settings, element).fontStyle = fontStyle;
}

int elementOfToken(const TSM_Settings& settings, uint8_t token)
{
    const int style = settings.tokenStyles[token];
    const auto& editable = settings.editableStyles;
    const bool listed = std::any_of(editable.begin(), editable.end(),
                                    [style](const EditableStyle& entry) { return entry.style == style; });
    return listed ? style : -1;
}
