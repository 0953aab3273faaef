// The search option word shared by every search operation of the editor control (16 bits).
#pragma once

#include <cstdint>

enum TSearchFlag : uint16_t
{
    srDirect = 8,     // search with the given text (without it the control's find dialog opens)
    srMatchCase = 16, // plain search only: regular expressions always match case
    srRegExp = 32,
    srWholeWord = 64, // plain search only
    srBackward = 128,
    srReplaceAll = 256, // replace operations only
};

enum class TSearchDirection
{
    Forward,
    Backward
};

inline TSearchDirection directionOf(uint16_t flags)
{
    return (flags & srBackward) ? TSearchDirection::Backward : TSearchDirection::Forward;
}

// The undo group of a replace-all: the whole run is one undo step.
constexpr int32_t ugReplaceAll = 23;
