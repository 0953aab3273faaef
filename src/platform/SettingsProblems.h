// Reads and writes of the settings files (ZBX.INI, KALTOR.DAT) happen while the user works, on
// every open, close, menu choice and window move. A settings file that cannot be read or
// written (a read-only installation, a full disk, a folder in its place, a damaged file) must
// neither end the program nor interrupt every command: each such problem is shown once, in the
// standard error box with the file and the reason, and the program goes on with what it has.
// A file is reported again only after an access to it succeeded in between.
#pragma once

#include <functional>
#include <string>

// Runs access (a read or write of fileName); an Exception it throws is reported as above and
// answered false. Anything else (a logic error, a scripted test answer) passes through.
bool trySettingsAccess(const std::string& fileName, const std::function<void()>& access);

// Reports message about fileName as above, unless it is already reported.
void reportSettingsProblem(const std::string& fileName, const std::string& message);
