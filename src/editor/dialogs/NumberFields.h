// The rules of the number fields of the properties dialog's Options page. The gutter width and
// the right margin are checked on every change and never refused with a message: text that is
// no number from 0 to 199 becomes "1". The other fields are given to the preview editor when
// they are left, and the editor's rules decide (see TOptionsDialog).
#pragma once

#include "platform/VirtualKeys.h"

#include <string>
#include <string_view>

inline constexpr int kMaxWidthFieldValue = 199;
inline constexpr int kWidthFieldLength = 3;
// What a width field shows in place of text that is no number from 0 to 199.
inline constexpr const char* kWidthFieldFallback = "1";

// The value of a width field's text: a number from 0 to 199, or -1 when the text is anything
// else (empty, not digits, out of range).
int widthFieldValue(std::string_view text);
// The text a width field shows for what was typed: the text itself when it holds a value,
// else "1".
std::string correctedWidthField(std::string_view text);
// The text after a spin button step (+1 or -1): kept within 0..199; empty or non-numeric text
// becomes "1".
std::string spunWidthField(std::string_view text, int step);

// The keys each kind of field lets through: digits and a few editing keys. Keys with Ctrl or
// Alt are not typing and pass (the dialog's own shortcuts), and so do the keys that move
// between the dialog's controls or close it (Tab, Return, Escape).
bool widthFieldAcceptsKey(TShortCut key);
bool stepFieldAcceptsKey(TShortCut key);
