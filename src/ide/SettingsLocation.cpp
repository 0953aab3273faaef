#include "ide/SettingsLocation.h"

#include "platform/FileAccess.h"
#include "platform/FileLookup.h"

#include <filesystem>

TSettingsFileLocation kaltorDatLocation(const std::string& applicationFolder,
                                        const std::string& perUserFolder)
{
    const std::string inProgramFolder = resolveIgnoringCase(applicationFolder, "KALTOR.DAT");
    if (userMayWrite(inProgramFolder))
        return {inProgramFolder, {}};
    std::error_code ignored;
    std::filesystem::create_directories(perUserFolder, ignored);
    return {resolveIgnoringCase(perUserFolder, "KALTOR.DAT"), inProgramFolder};
}
