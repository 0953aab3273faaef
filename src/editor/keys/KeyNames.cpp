#include "editor/keys/KeyNames.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

constexpr std::array<TKeyName, 26> keyNames = {{
    {"backspace", vk::Back, "Backspace"},
    {"delete", vk::Delete, "Delete"},
    {"down", vk::Down, "Down"},
    {"end", vk::End, "End"},
    {"f1", 112, "F1"},
    {"f10", 121, "F10"},
    {"f11", 122, "F11"},
    {"f12", 123, "F12"},
    {"f2", 113, "F2"},
    {"f3", 114, "F3"},
    {"f4", 115, "F4"},
    {"f5", 116, "F5"},
    {"f6", 117, "F6"},
    {"f7", 118, "F7"},
    {"f8", 119, "F8"},
    {"f9", 120, "F9"},
    {"home", vk::Home, "Home"},
    {"insert", vk::Insert, "Insert"},
    {"left", vk::Left, "Left"},
    {"pagedown", vk::Next, "PageDown"},
    {"pageup", vk::Prior, "PageUp"},
    {"return", vk::Return, "Return"},
    {"right", vk::Right, "Right"},
    {"space", vk::Space, "Space"},
    {"tab", vk::Tab, "Tab"},
    {"up", vk::Up, "Up"},
}};

// The punctuation keys written as the character they give without Shift.
struct TPunctuationKey
{
    char character;
    uint8_t key;
};
constexpr std::array<TPunctuationKey, 11> punctuationKeys = {{
    {';', vk::Oem1},
    {'=', vk::OemPlus},
    {',', vk::OemComma},
    {'-', vk::OemMinus},
    {'.', vk::OemPeriod},
    {'/', vk::Oem2},
    {'`', vk::Oem3},
    {'[', vk::Oem4},
    {'\\', vk::Oem5},
    {']', vk::Oem6},
    {'\'', vk::Oem7},
}};

char lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Case-insensitive three-way comparison of a and the lower-case b.
int compareFolded(std::string_view a, std::string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const char ca = lower(a[i]);
        if (ca != b[i])
            return static_cast<unsigned char>(ca) < static_cast<unsigned char>(b[i]) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool startsWithFolded(std::string_view text, std::string_view lowerPrefix)
{
    return text.size() >= lowerPrefix.size() &&
           compareFolded(text.substr(0, lowerPrefix.size()), lowerPrefix) == 0;
}

std::string keyText(uint8_t key)
{
    for (const TKeyName& entry : keyNames) {
        if (entry.key == key)
            return std::string(entry.text);
    }
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    for (const TPunctuationKey& p : punctuationKeys) {
        if (p.key == key)
            return std::string(1, p.character);
    }
    return "#" + std::to_string(key);
}

// "#" and a decimal number 1..255; -1 for anything else.
int numberedKey(std::string_view text)
{
    if (text.size() < 2 || text.size() > 4 || text[0] != '#')
        return -1;
    int value = 0;
    for (char c : text.substr(1)) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value >= 1 && value <= 255 ? value : -1;
}

int keyOfText(std::string_view text)
{
    if (text.size() == 1) {
        const char c = text[0];
        if (c >= '0' && c <= '9')
            return c;
        if (c >= 'a' && c <= 'z')
            return c - 'a' + 'A';
        if (c >= 'A' && c <= 'Z')
            return c;
        for (const TPunctuationKey& p : punctuationKeys) {
            if (p.character == c)
                return p.key;
        }
        return -1;
    }
    const int named = keyCodeOfName(text);
    return named >= 0 ? named : numberedKey(text);
}

} // namespace

std::span<const TKeyName> keyNameTable()
{
    return keyNames;
}

int keyCodeOfName(std::string_view name)
{
    const auto it = std::lower_bound(
        keyNames.begin(), keyNames.end(), name,
        [](const TKeyName& entry, std::string_view n) { return compareFolded(n, entry.name) > 0; });
    if (it != keyNames.end() && compareFolded(name, it->name) == 0)
        return it->key;
    return -1;
}

std::string shortCutToText(TShortCut shortCut)
{
    const uint8_t key = static_cast<uint8_t>(shortCut & vk::scKeyMask);
    if (key == 0)
        return {};
    std::string text;
    if (shortCut & vk::scCtrl)
        text += "Ctrl+";
    if (shortCut & vk::scAlt)
        text += "Alt+";
    if (shortCut & vk::scShift)
        text += "Shift+";
    return text + keyText(key);
}

TShortCut textToShortCut(std::string_view text)
{
    static constexpr std::array<std::pair<std::string_view, TShortCut>, 3> modifiers = {{
        {"ctrl+", vk::scCtrl},
        {"alt+", vk::scAlt},
        {"shift+", vk::scShift},
    }};
    TShortCut shiftState = 0;
    for (bool found = true; found;) {
        found = false;
        for (const auto& [prefix, bit] : modifiers) {
            if (text.size() > prefix.size() && startsWithFolded(text, prefix)) {
                shiftState |= bit;
                text.remove_prefix(prefix.size());
                found = true;
            }
        }
    }
    const int key = keyOfText(text);
    return key > 0 ? vk::shortCut(static_cast<uint8_t>(key), shiftState) : TShortCut(0);
}
