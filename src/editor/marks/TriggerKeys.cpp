#include "editor/marks/TriggerKeys.h"

#include "editor/keys/KeyNames.h"
#include "platform/VirtualKeys.h"

#include <algorithm>
#include <string>

namespace {

struct TTypedBy
{
    char Character;
    uint8_t Key;
    bool Shift;
};

// The characters of the US keyboard's punctuation and digit keys, without and with Shift.
constexpr TTypedBy kPunctuation[] = {
    {';', vk::Oem1, false},      {':', vk::Oem1, true},      {'=', vk::OemPlus, false},
    {'+', vk::OemPlus, true},    {',', vk::OemComma, false}, {'<', vk::OemComma, true},
    {'-', vk::OemMinus, false},  {'_', vk::OemMinus, true},  {'.', vk::OemPeriod, false},
    {'>', vk::OemPeriod, true},  {'/', vk::Oem2, false},     {'?', vk::Oem2, true},
    {'`', vk::Oem3, false},      {'~', vk::Oem3, true},      {'[', vk::Oem4, false},
    {'{', vk::Oem4, true},       {'\\', vk::Oem5, false},    {'|', vk::Oem5, true},
    {']', vk::Oem6, false},      {'}', vk::Oem6, true},      {'\'', vk::Oem7, false},
    {'"', vk::Oem7, true},       {'!', '1', true},           {'@', '2', true},
    {'#', '3', true},            {'$', '4', true},           {'%', '5', true},
    {'^', '6', true},            {'&', '7', true},           {'*', '8', true},
    {'(', '9', true},            {')', '0', true},           {' ', vk::Space, false},
    {'\t', vk::Tab, false},      {'\r', vk::Return, false},  {'\n', vk::Return, false},
};

// The key typing c with its Shift bit, or -1 when no key types it.
int keyOf(char c)
{
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 'A';
    if (c >= 'A' && c <= 'Z')
        return c + kTriggerShift;
    if (c >= '0' && c <= '9')
        return c;
    for (const TTypedBy& typed : kPunctuation)
        if (typed.Character == c)
            return typed.Key + (typed.Shift ? kTriggerShift : 0);
    return -1;
}

void addKey(std::vector<int>& keys, int key)
{
    if (key > 0 && std::find(keys.begin(), keys.end(), key) == keys.end())
        keys.push_back(key);
}

} // namespace

std::vector<int> parseTriggerKeys(std::string_view text)
{
    std::vector<int> keys;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            addKey(keys, keyOf(text[i]));
            continue;
        }
        if (++i == text.size())
            break;
        const char escaped = text[i];
        if (escaped == 'n' || escaped == 'r') {
            addKey(keys, vk::Return);
        } else if (escaped == 's') {
            addKey(keys, vk::Space);
        } else if (escaped == 't') {
            addKey(keys, vk::Tab);
        } else if (escaped == '{' && text.find('}', i) != std::string_view::npos) {
            const size_t close = text.find('}', i);
            addKey(keys, keyCodeOfName(text.substr(i + 1, close - i - 1)));
            i = close;
        } else {
            const int key = keyOf(escaped);
            addKey(keys, key < 0 ? key : key % kTriggerShift);
        }
    }
    return keys;
}
