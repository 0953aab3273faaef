// Splits the bytes of a text file into lines the way our text file reading does: CR LF, LF and
// a lone CR each end a line, a line end just before the end of the bytes does not start another
// (empty) line, and a last line without a line end still counts. Any byte, NUL included, is text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

std::vector<std::string> splitTextLines(std::string_view bytes);
