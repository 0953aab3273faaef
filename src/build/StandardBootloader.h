// The standard serial downloader: two programs, chosen by the device name of the last compile
// result compared exactly (letter case included); devices of neither list cannot use it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// "BOOTLOAD.EXE" or "BOOTLOAD_A.EXE" (found in the include folder); nothing for other devices.
std::optional<std::string_view> standardBootloaderProgram(std::string_view device);

// The information shown when the device cannot use the standard downloader. deviceText is the
// device name or "16F84" when there is none; for "16F84" the message also suggests that the
// compilation failed. Lines are separated by a carriage return.
std::string notSuitableForBootloaderMessage(std::string_view deviceText);
