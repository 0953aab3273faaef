// Where the IDE keeps KALTOR.DAT: in the program folder while the user may write it there, as
// the installation always did; an installation the user cannot write (under /opt or /usr)
// keeps it in the per-user configuration folder instead, starting from the program folder's
// copy the first time.
#pragma once

#include <string>

struct TSettingsFileLocation
{
    std::string fileName;     // the file read and written
    std::string seedFileName; // empty, or the program folder's copy a new per-user file starts from
};

// Both folders end with '/'. The per-user folder is created when it is chosen.
TSettingsFileLocation kaltorDatLocation(const std::string& applicationFolder,
                                        const std::string& perUserFolder);
