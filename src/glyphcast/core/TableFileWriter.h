// Writes panel text to a file, one CR LF line per text line. A line longer than 80 characters
// is broken after the first comma past column 80: that part ends in ",_" and the rest goes on
// a continuation line that starts with 10 spaces and is broken again the same way.
#pragma once

#include "base/Stream.h"

#include <functional>
#include <string>

// Receives 0..100 after every character of the text.
using WriteProgress = std::function<void(int percent)>;

inline constexpr int BreakColumn = 80;
inline constexpr int ContinuationIndent = 10;

// text uses CR LF (or a lone CR) as line break. A final line without a line break is written
// too, ended with CR LF, so text typed at the end of the panel is never lost.
// Stream errors propagate as EStreamError.
void writeTableText(const std::string& text, TStream& out, const WriteProgress& progress = {});
