// File-name helpers for the files the build tools derive from the current source: the result
// file, the listing and the HEX file sit beside it with their own extensions. Both "\" and "/"
// separate folders (and ":" ends a drive), so names from either kind of path split alike.
#pragma once

#include <string>
#include <string_view>

// The device named when no compile result names one.
inline constexpr std::string_view kDefaultDevice = "16F84";

// The part after the last separator.
std::string ExtractFileName(std::string_view path);
// The extension with its dot ("" when the file name part has no dot).
std::string ExtractFileExt(std::string_view path);
// path with its extension replaced by extension (which carries its dot), or added when absent.
std::string ChangeFileExt(std::string_view path, std::string_view extension);

std::string resultFileName(std::string_view sourceShortPath);  // ".ZBE"
std::string listingFileName(std::string_view sourceShortPath); // ".ASM"
std::string hexFileName(std::string_view sourceShortPath);     // ".HEX"

// The device name, or "16F84" when it is empty.
std::string deviceText(std::string_view device);
