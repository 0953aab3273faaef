// Parameter templates of the user-defined programmer and downloader. "%FILENAME" (the file name
// part of the HEX file), "%FULL" (the HEX file's path) and "%PIC" (the device, "16F84" when
// there is none) are replaced wherever they occur, in any letter case. The template is scanned
// once from left to right, trying the three words in that order at each position; inserted
// values are never scanned again, so a path or device that happens to contain "%PIC" or a
// value that completes a word with the text after it is passed on unchanged.
// The two paths reach the program whole: outside quotes a path is inserted as quotedArgument
// makes it one argument; inside a quoted part the template opens ("%FULL") it is escaped for
// that place.
#pragma once

#include <string>
#include <string_view>

std::string ExpandCommandTemplate(std::string_view commandTemplate, std::string_view hexFile,
                                  std::string_view device);

// The caption of a user-defined tool's menu item: its name, "Undefined" when it has none.
std::string userToolCaption(std::string_view name);
