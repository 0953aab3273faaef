#include "editor/dialogs/NumberFields.h"

#include <algorithm>

namespace {

bool isDigitKey(uint8_t key)
{
    return (key >= '0' && key <= '9') || (key >= vk::Numpad0 && key <= vk::Numpad0 + 9);
}

bool isDialogKey(TShortCut shortCut)
{
    const auto key = static_cast<uint8_t>(shortCut & vk::scKeyMask);
    return (shortCut & (vk::scCtrl | vk::scAlt)) != 0 || key == vk::Tab || key == vk::Return ||
           key == vk::Escape;
}

} // namespace

int widthFieldValue(std::string_view text)
{
    if (text.empty() || text.size() > static_cast<size_t>(kWidthFieldLength))
        return -1;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value <= kMaxWidthFieldValue ? value : -1;
}

std::string correctedWidthField(std::string_view text)
{
    return widthFieldValue(text) >= 0 ? std::string(text) : kWidthFieldFallback;
}

std::string spunWidthField(std::string_view text, int step)
{
    const int value = widthFieldValue(text);
    if (value < 0)
        return kWidthFieldFallback;
    return std::to_string(std::clamp(value + step, 0, kMaxWidthFieldValue));
}

bool widthFieldAcceptsKey(TShortCut shortCut)
{
    if (isDialogKey(shortCut))
        return true;
    const auto key = static_cast<uint8_t>(shortCut & vk::scKeyMask);
    if (isDigitKey(key))
        return (shortCut & vk::scShift) == 0;
    return key == vk::Back || key == vk::Left || key == vk::Right || key == vk::Insert ||
           key == vk::Delete;
}

bool stepFieldAcceptsKey(TShortCut shortCut)
{
    if (isDialogKey(shortCut))
        return true;
    const auto key = static_cast<uint8_t>(shortCut & vk::scKeyMask);
    if (isDigitKey(key))
        return (shortCut & vk::scShift) == 0;
    return key == vk::Back || key == vk::End || key == vk::Home ||
           key == vk::Left || key == vk::Right || key == vk::Delete;
}
