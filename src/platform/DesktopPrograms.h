// The desktop's own programs that the IDE starts on the user's behalf: the calculator, and
// documents opened with whatever application the desktop has registered for them.
#pragma once

#include <string>
#include <vector>

// The calculator programs desktops install, the most common first.
const std::vector<std::string>& calculatorCandidates();
// The full path of the first calculator of calculatorCandidates() found as an executable file
// in one of the folders of searchPath (a PATH value, folders separated by ':'); empty when
// none is installed.
std::string findCalculator(const std::string& searchPath);
// The same, with the PATH of this process.
std::string findCalculator();
// The candidates, joined by ", ", for telling the user what was looked for.
std::string calculatorCandidateList();
