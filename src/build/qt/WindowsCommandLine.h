// Splitting a parameters string into program arguments the way a Windows program's start-up
// code does, so that parameter texts written for Windows programs ("D:\W\A.HEX -p18F452",
// "\"C:\My Files\A.HEX\"") reach our children with the same arguments.
// Rules: blanks (space, tab) separate arguments outside quotes; a double quote starts or ends a
// quoted part; inside quotes two double quotes give one literal quote; 2n backslashes before a
// quote give n backslashes and the quote acts, 2n+1 give n backslashes and a literal quote;
// backslashes elsewhere are literal (so Windows paths pass unchanged).
#pragma once

#include <string>
#include <string_view>
#include <vector>

std::vector<std::string> splitWindowsCommandLine(std::string_view parameters);

// The path as one argument of a parameters string: in double quotes when it holds a blank,
// else unchanged.
std::string quotedArgument(std::string_view path);
